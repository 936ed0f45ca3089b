// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

// The desktop's list of recently used files, shared by every program of the
// user: recently-used.xbel in the user's data folder, an XBEL bookmark file
// in the shape freedesktop.org desktops read and write.
namespace RecentlyUsed {

// Where the list lives: $XDG_DATA_HOME/recently-used.xbel.
QString ListPath();

// Who adds a file: the program's name and the command that opens a file
// with it ("%u" stands for the file's address).
struct Application
{
    QString name;
    QString exec;
};

// Adds file (an absolute path) to the list at listPath, or brings its entry
// up to date: the time it was used and how often this program used it.
// Every other entry and every other program's part of this one stay as
// they are. The list is replaced in one step, so a reader never sees half
// of it; a list that cannot be read as XBEL is left alone. False when the
// list was not written.
bool Add(const QString &listPath, const QString &file, const QString &mimeType, const Application &application,
         const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace RecentlyUsed
