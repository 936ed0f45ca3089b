// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Folders and files that only this user may change: where the editor keeps
// what another user must neither read nor plant (the hand-over's socket,
// unsaved work). On Windows the user's profile folders are private already
// and these only make the folder.

// True for a real folder (no link) of this user that nobody else may write
// to; false with the reason in *error otherwise.
bool IsOwnFolder(const QString &path, QString *error = nullptr);
// True for a regular file (no link) of this user that nobody else may write to.
bool IsOwnFile(const QString &path);

// Makes folder and every missing folder above it for this user alone (mode
// 0700, as the desktop's folders for user files ask, whatever the umask);
// folders that are there stay as they are. False when it is no folder then.
bool MakeFolders(const QString &folder);

// Removes the write permission of others from a file this user made, which
// the umask may have left open; a file of another user is left alone.
void KeepOthersFromWriting(const QString &file);

// Makes folder (mode 0700; missing folders above it the same) or takes it as it
// is when it is this user's own. Read and search bits of others are taken
// away; where others may write to it, tighten decides: the folder is made
// private too, or refused. The folder, or empty text with the reason in
// *error when it is no real folder, belongs to somebody else or stays open.
QString MakePrivateFolder(const QString &folder, bool tighten, QString *error = nullptr);
