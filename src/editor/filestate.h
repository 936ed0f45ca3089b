// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// What a file on disk was like when the editor read or wrote it: enough to
// notice that another program changed it, and to tell a real change from a
// file that was only touched.
struct FileState
{
    bool exists = false;
    qint64 size = -1;
    qint64 modified = 0;  // milliseconds since the epoch
    quint64 identity = 0; // the file's identity on its volume, where the system tells one
    QByteArray hash;      // of the contents

    // Same size, time and identity: nothing to look into.
    bool SameOnDisk(const FileState &other) const
    {
        return exists == other.exists && size == other.size && modified == other.modified && identity == other.identity;
    }

    // The state as one line of text, as unsaved work keeps it for recovery,
    // and back; a text that is no state gives the state of no file.
    QByteArray ToText() const;
    static FileState FromText(const QByteArray &text);
};

// The state of path now, its contents hashed from bytes; without bytes the
// hash is left empty and HashOfFile gives it when it is needed.
FileState FileStateOf(const QString &path, const QByteArray *bytes = nullptr);
QByteArray HashOfFile(const QString &path);

// Writes bytes to path so that the old contents survive whatever happens:
// through a temporary file that replaces the old one once complete; or,
// where the folder refuses a temporary file, in place, once the volume has
// room and the old bytes are kept for recovery (they go back if the write
// fails; a crash leaves them to the next start). False with the system's
// error number in error.
bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error);
