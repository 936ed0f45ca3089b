// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Registers the ".qrx" file type with the desktop for the current user, so that
// opening such a file starts the editor through the shell-open path. Done at
// every start; files are rewritten only when their content differs, and every
// failure is silent.
namespace ShellFileTypes {

inline const QString kTypeId = QStringLiteral("QuarnBASIC.Code");
inline const QString kTypeName = QStringLiteral("Quarn BASIC Code");
inline const QString kMimeType = QStringLiteral("text/x-quarnbasic");

// The contents written, for the program at programPath. The entry is empty
// for a path that an entry cannot name safely; nothing is registered then.
QString DesktopEntry(const QString &programPath);
QString MimePackage();

// Writes what differs; returns true when something was rewritten.
bool Register(const QString &programPath);

} // namespace ShellFileTypes
