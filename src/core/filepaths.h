// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// The message of a project folder that cannot become the current directory.
inline const QString kSetProjectDirectoryFailed = QStringLiteral("Failed to set project directory!");

// The folder that holds a file: the path cut at its last separator (on Windows
// also a backslash). A root keeps its separator ("/", "C:/") so that it still
// names a folder; a path without a separator is returned as it is.
QString FolderOf(const QString &path);

// The form two paths are compared in: the file itself where it exists, so
// that a second name for a file is the same file; an empty path stays empty.
QString ComparablePath(const QString &path);

// The local files a drag carries; empty when it carries none.
QStringList LocalFilesOf(const QMimeData *mime);
