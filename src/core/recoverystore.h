// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/filelock.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// Work that a crash must not take along: the unsaved text of each modified
// document, and the old bytes of a file while a save writes over it in place.
// Each running editor keeps its entries in a folder of its own, below the
// user's private recovery folder, marked by a lock that it holds while it
// runs; the entries of an editor that no longer runs are offered at the next
// start. Folders and entries that another user owns or may write to are
// never offered: they could have been planted.
struct RecoveryEntry
{
    enum Kind { UnsavedText, SaveBackup };
    Kind kind = UnsavedText;
    QString path;         // the document's file; empty for one that never had one
    QString title;        // the document's title
    QString encoding;     // UnsavedText: the name of the encoding the document is saved in
    QByteArray bytes;     // UnsavedText: the text as UTF-8; SaveBackup: the old file's bytes
    QByteArray fileState; // UnsavedText: the file as the document last read or wrote it, as the document tells it
    QString file;         // where the entry is kept
};

class CRecoveryStore
{
public:
    // This run's store; its folder and lock are made on first use.
    static CRecoveryStore &Session();

    // Keeps a document's unsaved text under key, replacing what was kept
    // before; false with the system's error number in *error, the copy kept
    // before staying as it was.
    bool KeepText(const QString &key, const RecoveryEntry &entry, int *error = nullptr);
    void DropText(const QString &key);
    // Keeps the bytes of path before a save writes over them in place; the
    // entry's file, or empty text when it could not be kept.
    QString KeepBackup(const QString &path, const QByteArray &bytes);
    void DropBackup(const QString &file);

    // The end of a normal run: everything kept goes, and the lock with it.
    void Close();

    // The entries of editors that no longer run. Their folders are this
    // run's from now on, so no other editor offers them too.
    static QList<RecoveryEntry> TakeOrphans();
    // An entry of TakeOrphans answered for: its file goes.
    static void DiscardOrphan(const RecoveryEntry &entry);
    // Lets the taken folders go: those without entries are removed, what
    // was not discarded stays for the next start.
    static void ReleaseOrphans();
    // Keeps a save's backup as a plain copy of the old file, where the user
    // can find it: its path, or empty text when it could not be kept. The
    // entry itself is discarded once the copy is in place.
    static QString KeepAsCopy(const RecoveryEntry &entry);

    // The folder that holds every editor's store.
    static QString BaseFolder();

    // An entry read back from its file; false when the file is not one.
    static bool Read(const QString &file, RecoveryEntry *entry);

    CRecoveryStore(const CRecoveryStore &) = delete;
    CRecoveryStore &operator=(const CRecoveryStore &) = delete;
    ~CRecoveryStore();

private:
    CRecoveryStore();
    bool Open();
    static bool Write(const QString &file, const RecoveryEntry &entry, int *error = nullptr);

    QString m_strFolder;
    CFileLock m_lock;
    int m_nBackups = 0;
};
