// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/filestate.h"

#include "core/recoverystore.h"
#include "editor/fileerrors.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray Hash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2b_256);
}

// Where times are kept in steps this coarse, a change soon after a read may keep the file's time.
constexpr qint64 kCoarseTimeMs = 2000;

#ifdef Q_OS_UNIX
quint64 Identity(const struct stat &info)
{
    return (quint64(info.st_dev) << 32) ^ quint64(info.st_ino);
}

// Whether a new file that replaces old can be given old's owner and group:
// root can give any; another user only their own file, in one of their
// groups. A file with further names must stay the one file they all name.
bool NewFileCanBeLikeOld(const struct stat &old)
{
    if (old.st_nlink > 1)
        return false;
    if (::geteuid() == 0)
        return true;
    if (old.st_uid != ::geteuid())
        return false;
    if (old.st_gid == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(qMax(count, 0)));
    return count > 0 && ::getgroups(count, groups.data()) == count
           && std::find(groups.begin(), groups.end(), old.st_gid) != groups.end();
}

// Gives the file now at path the owner and group of the one it replaced.
void TakeOwnerAndGroup(const QString &path, const struct stat &old)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat now = {};
    if (::stat(native.constData(), &now) != 0 || (now.st_uid == old.st_uid && now.st_gid == old.st_gid))
        return;
    const uid_t owner = ::geteuid() == 0 ? old.st_uid : uid_t(-1);
    if (::chown(native.constData(), owner, old.st_gid) != 0)
        qWarning("The owner and group of %s could not be kept", native.constData());
}

// Writes bytes into a new file beside path and renames it to path: whatever
// path names, a link too, is replaced and never followed.
bool ReplaceEntry(const QString &path, const QByteArray &bytes, int *error)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    ClearSystemError();
    if (!file.open()) {
        *error = LastSystemError();
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ClearSystemError();
    if (::fchmod(file.handle(), 0666 & ~mask) != 0 || file.write(bytes) != bytes.size() || !file.flush()
        || ::fsync(file.handle()) != 0
        || ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = LastSystemError() ? LastSystemError() : EIO;
        return false;
    }
    file.setAutoRemove(false);
    return true;
}
#endif

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
           + hash.toHex() + ' ' + QByteArray::number(int(link)) + ' ' + QByteArray::number(entryIdentity);
}

FileState FileState::FromText(const QByteArray &text)
{
    const QList<QByteArray> fields = text.split(' ');
    FileState state;
    bool ok[5] = {};
    if (fields.size() != 6)
        return state;
    state.size = fields.at(0).toLongLong(&ok[0]);
    state.modified = fields.at(1).toLongLong(&ok[1]);
    state.identity = fields.at(2).toULongLong(&ok[2]);
    state.hash = QByteArray::fromHex(fields.at(3));
    state.link = fields.at(4).toInt(&ok[3]) != 0;
    state.entryIdentity = fields.at(5).toULongLong(&ok[4]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !ok[4] || state.hash.isEmpty())
        return FileState();
    state.exists = true;
    state.settled = false;
    return state;
}

FileState FileStateOf(const QString &path, const QByteArray *bytes)
{
    FileState state;
    const QFileInfo info(path);
    state.link = info.isSymLink();
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat buffer = {};
    if (::lstat(native.constData(), &buffer) == 0)
        state.entryIdentity = Identity(buffer);
#endif
    if (!info.exists())
        return state;
    state.exists = true;
    state.size = info.size();
    state.modified = info.lastModified().toMSecsSinceEpoch();
    state.settled = QDateTime::currentMSecsSinceEpoch() - state.modified > kCoarseTimeMs;
#ifdef Q_OS_UNIX
    if (::stat(native.constData(), &buffer) == 0)
        state.identity = Identity(buffer);
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

bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error, bool replaceLink)
{
    *error = 0;
    const QFileInfo target(path);
    if (target.isDir()) {
        *error = EISDIR;
        return false;
    }
#ifdef Q_OS_UNIX
    if (replaceLink && target.isSymLink())
        return ReplaceEntry(path, bytes, error);
    struct stat old = {};
    const bool replacing = ::stat(QFile::encodeName(path).constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing && !NewFileCanBeLikeOld(old)) {
        if (target.isWritable())
            return WriteInPlace(path, bytes, error);
        *error = EACCES;
        return false;
    }
#else
    Q_UNUSED(replaceLink);
#endif
    // The old file is replaced only once the new one is completely written.
    // Symbolic links are followed and the file's permissions kept.
    bool opened = false;
    if (SaveWholeFile(path, bytes, error, &opened)) {
#ifdef Q_OS_UNIX
        if (replacing)
            TakeOwnerAndGroup(path, old);
#endif
        return true;
    }
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
