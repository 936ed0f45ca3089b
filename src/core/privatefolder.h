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

// Makes folder (mode 0700; the folders above it as usual) or takes it as it
// is when it is this user's own. Read and search bits of others are taken
// away; where others may write to it, tighten decides: the folder is made
// private too, or refused. The folder, or empty text with the reason in
// *error when it is no real folder, belongs to somebody else or stays open.
QString MakePrivateFolder(const QString &folder, bool tighten, QString *error = nullptr);
