// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Registers the ".qrx" file type with the desktop for the current user, so that
// opening such a file starts the editor through the shell-open path. Done at
// every start; files are rewritten only when their content differs, and every
// failure is silent. A program started by a desktop entry installed for all
// users (a distribution package) leaves the file type to that package.
namespace ShellFileTypes {

inline const QString kTypeId = QStringLiteral("QuarnBASIC.Code");
inline const QString kTypeName = QStringLiteral("Quarn BASIC Code");
inline const QString kMimeType = QStringLiteral("text/x-quarnbasic");

// The contents written, for the program at programPath. The entry is empty
// for a path that an entry cannot name safely; nothing is registered then.
QString DesktopEntry(const QString &programPath);
QString MimePackage();

// The places the decision below looks at.
struct Desktop
{
    QStringList systemDataDirs; // data folders shared by all users, e.g. /usr/share
    QString userDataDir;        // the user's own, $XDG_DATA_HOME
    QStringList searchPath;     // the folders of PATH
};
// The desktop as this process sees it.
Desktop CurrentDesktop();

// Whether a desktop entry installed for all users starts the program at
// programPath: a file named desktopFileName in the "applications" folder of
// one of the system data folders whose Exec names programPath, or a bare
// program name that the search path resolves to programPath.
bool InstalledEntryStarts(const QString &programPath, const QString &desktopFileName, const Desktop &desktop);

// Whether content is a per-user entry or MIME package this program writes (for
// whatever program path).
bool IsOwnDesktopEntry(const QString &content);
bool IsOwnMimePackage(const QString &content);

// Brings the per-user registration of the program at programPath up to date:
// writes what differs, unless an installed entry starts this program or
// writing is not wanted (packaged builds); then the per-user files this
// program wrote earlier are removed instead. Returns true when a file was
// written or removed.
bool Update(const QString &programPath, const QString &desktopFileName, const Desktop &desktop, bool writeWanted);

// Update() for this process's desktop; on Windows the registry's classes of
// the current user are written instead, when writing is wanted.
bool Register(const QString &programPath, bool writeWanted = true);

} // namespace ShellFileTypes
