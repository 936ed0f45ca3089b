// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// What a file on disk was like when the editor read or wrote it: enough to
// notice that another program changed it, and to tell a real change from a
// file that was only touched.
struct FileState
{
    bool exists = false; // a file is there, links followed
    qint64 size = -1;
    qint64 modified = 0;       // milliseconds since the epoch
    quint64 identity = 0;      // the file's identity on its volume, where the system tells one
    QByteArray hash;           // of the contents
    bool link = false;         // the path itself is a symbolic link
    quint64 entryIdentity = 0; // the identity of what the path names itself (the link, not its target)
    // The file had last changed well before it was read, so a later change
    // shows in its time; where the volume keeps coarse times, a change soon
    // after the read may keep size and time, and only the contents tell.
    bool settled = true;

    // Same size, time and identity: nothing to look into.
    bool SameOnDisk(const FileState &other) const
    {
        return exists == other.exists && size == other.size && modified == other.modified && identity == other.identity;
    }
    // Whether the path names what this state saw there: the same file, a link
    // only where there was one (the same link, to the same file), nothing
    // only where there was nothing.
    bool SameEntry(const FileState &now) const
    {
        return now.exists == exists && now.link == link && now.entryIdentity == entryIdentity
               && now.identity == identity;
    }

    // The state as one line of text, as unsaved work keeps it for recovery,
    // the state of no file too, and back; a text that is no state gives the
    // state of no file.
    QByteArray ToText() const;
    static FileState FromText(const QByteArray &text);
};

// Tests set this to act as another user would in the moment after the
// editor read or wrote a file; the program leaves it empty.
extern void (*g_afterFileAccessForTests)(const QString &path);
// Runs what tests put in the moment after a file was read or written.
void AfterFileAccess(const QString &path);

// The state of path now, its contents hashed from bytes; without bytes the
// hash is left empty and HashOfFile gives it when it is needed.
FileState FileStateOf(const QString &path, const QByteArray *bytes = nullptr);
// The state of the file read as bytes through file, opened at a path whose
// entry was looked at just before: should another file or link have taken
// the path's place in between, the state says so.
FileState FileStateOfRead(const FileState &entry, QFile &file, const QByteArray &bytes);
QByteArray HashOfFile(const QString &path);

// Writes bytes to path so that the old contents survive whatever happens:
// through a new file that takes the old one's place once complete, with the
// old file's permissions, owner and group; or in place, once the volume has
// room and the old bytes are kept for recovery (they go back if the write
// fails; a crash leaves them to the next start): where the folder refuses a
// new file, where a new file could not keep the old one's owner and group,
// and where the file has further names (hard links) that must stay the same
// file. A link at path is followed where seen saw that very chain of links,
// or, with nothing seen, where every link in it is the user's own; else the
// link itself is replaced by a new file no more open than the one it led to. Whatever took path's place after this
// function looked is replaced, never written through. written receives the state of what was written, as it was
// written: not what path names a moment later. False with the system's error number in error.
bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error, const FileState *seen = nullptr,
                     FileState *written = nullptr);
