// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/filestate.h"

#include "core/recoverystore.h"
#include "editor/fileerrors.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QByteArray Hash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256);
}

// Writes all of bytes into an open file; false with the error number in error.
bool WriteAll(QFile &file, const QByteArray &bytes, int *error)
{
    ClearSystemError();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = LastSystemError();
        return false;
    }
    return true;
}

// The folder refused the temporary file: the new bytes go over the old ones.
bool WriteInPlace(const QString &path, const QByteArray &bytes, int *error)
{
    QFile old(path);
    ClearSystemError();
    if (!old.open(QIODevice::ReadOnly)) {
        *error = LastSystemError();
        return false;
    }
    const QByteArray oldBytes = old.readAll();
    old.close();

    const QStorageInfo volume(QFileInfo(path).absolutePath());
    if (volume.isValid() && volume.bytesAvailable() + oldBytes.size() < bytes.size()) {
        *error = ENOSPC;
        return false;
    }
    // Until the new bytes are all written, the old ones live on elsewhere.
    const QString backup = CRecoveryStore::Session().KeepBackup(path, oldBytes);
    if (backup.isEmpty()) {
        *error = ENOSPC;
        return false;
    }
    QFile file(path);
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = LastSystemError();
        CRecoveryStore::Session().DropBackup(backup);
        return false;
    }
    if (!WriteAll(file, bytes, error)) {
        // Put the old bytes back; should even that fail, the backup stays for the next start.
        int ignored = 0;
        file.close();
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
            && WriteAll(file, oldBytes, &ignored))
            CRecoveryStore::Session().DropBackup(backup);
        return false;
    }
    file.close();
    CRecoveryStore::Session().DropBackup(backup);
    return true;
}

} // namespace

QByteArray FileState::ToText() const
{
    if (!exists)
        return QByteArray();
    return QByteArray::number(size) + ' ' + QByteArray::number(modified) + ' ' + QByteArray::number(identity) + ' '
           + hash.toHex();
}

FileState FileState::FromText(const QByteArray &text)
{
    const QList<QByteArray> fields = text.split(' ');
    FileState state;
    bool ok[3] = {};
    if (fields.size() != 4)
        return state;
    state.size = fields.at(0).toLongLong(&ok[0]);
    state.modified = fields.at(1).toLongLong(&ok[1]);
    state.identity = fields.at(2).toULongLong(&ok[2]);
    state.hash = QByteArray::fromHex(fields.at(3));
    if (!ok[0] || !ok[1] || !ok[2] || state.hash.isEmpty())
        return FileState();
    state.exists = true;
    return state;
}

FileState FileStateOf(const QString &path, const QByteArray *bytes)
{
    FileState state;
    const QFileInfo info(path);
    if (!info.exists())
        return state;
    state.exists = true;
    state.size = info.size();
    state.modified = info.lastModified().toMSecsSinceEpoch();
#ifdef Q_OS_UNIX
    struct stat buffer = {};
    if (::stat(QFile::encodeName(path).constData(), &buffer) == 0)
        state.identity = (quint64(buffer.st_dev) << 32) ^ quint64(buffer.st_ino);
#endif
    if (bytes)
        state.hash = Hash(*bytes);
    return state;
}

QByteArray HashOfFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? Hash(file.readAll()) : QByteArray();
}

bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error)
{
    *error = 0;
    if (QFileInfo(path).isDir()) {
        *error = EISDIR;
        return false;
    }
    // The old file is replaced only once the new one is completely written.
    // Symbolic links are followed and the file's permissions kept.
    bool opened = false;
    if (SaveWholeFile(path, bytes, error, &opened))
        return true;
    if (!opened) {
        const QFileInfo info(path);
        // A file that is not writable is refused before any system call says why.
        if (*error == 0 && info.exists() && !info.isWritable())
            *error = EACCES;
        const bool folderRefused = *error == EACCES || *error == EPERM || *error == EROFS;
        if (folderRefused && info.isFile() && info.isWritable())
            return WriteInPlace(path, bytes, error);
    }
    return false;
}
