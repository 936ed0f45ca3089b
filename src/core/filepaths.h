// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// The folder that holds a file: the path cut at its last separator (on Windows
// also a backslash). A root keeps its separator ("/", "C:/") so that it still
// names a folder; a path without a separator is returned as it is.
QString FolderOf(const QString &path);

// The form two paths are compared in: the file itself where it exists, so
// that a second name for a file is the same file; an empty path stays empty.
QString ComparablePath(const QString &path);

// For each of paths, the end of its folder that tells it apart from the other
// paths with the same file name: as few trailing folder names as differ
// ("game1" for /p/game1/a.qrx beside /p/game2/a.qrx), the whole folder when
// fewer do not; empty for a path whose file name no other path has, or that
// only its own copies have.
QStringList DistinctFolders(const QStringList &paths);

// The local files a drag carries; empty when it carries none.
QStringList LocalFilesOf(const QMimeData *mime);
