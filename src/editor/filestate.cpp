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

#include <fcntl.h>
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

// A file's identity on its volume, where the system tells one.
using FileIdentity = quint64;

#ifdef Q_OS_UNIX
FileIdentity Identity(const struct stat &info)
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

// Writes bytes into a new file beside path and renames it to path, so that
// whatever path names, a link too, is replaced and never followed. The new
// file takes the permissions, owner and group of old where there is one.
bool ReplaceEntry(const QString &path, const QByteArray &bytes, int *error, const struct stat *old)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    ClearSystemError();
    if (!file.open()) {
        *error = LastSystemError() ? LastSystemError() : EACCES;
        return false;
    }
    mode_t mode = 0;
    struct stat made = {};
    if (old) {
        mode = old->st_mode & 0777;
        if (::fstat(file.handle(), &made) == 0 && (made.st_uid != old->st_uid || made.st_gid != old->st_gid)) {
            const uid_t owner = ::geteuid() == 0 ? old->st_uid : uid_t(-1);
            if (::fchown(file.handle(), owner, old->st_gid) != 0)
                qWarning("The owner and group of %s could not be kept", qPrintable(path));
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ClearSystemError();
    if (::fchmod(file.handle(), mode) != 0 || file.write(bytes) != bytes.size() || !file.flush()
        || ::fsync(file.handle()) != 0 || ::fstat(file.handle(), &made) != 0 || made.st_size != bytes.size()
        || ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = LastSystemError() ? LastSystemError() : EIO;
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

// Where a chain of links at path ends, whether or not a file is there.
QString LinkTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}
#endif

// Opens the file at path to be written over: on Unix never through a link,
// and only while it is still the file expected names.
bool OpenForRewrite(QFile &file, const QString &path, const FileIdentity &expected, int *error)
{
#ifdef Q_OS_UNIX
    ClearSystemError();
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    struct stat now = {};
    if (handle < 0 || ::fstat(handle, &now) != 0) {
        *error = LastSystemError() ? LastSystemError() : EACCES;
        if (handle >= 0)
            ::close(handle);
        return false;
    }
    if (!S_ISREG(now.st_mode) || Identity(now) != expected) {
        ::close(handle);
        *error = EAGAIN;
        return false;
    }
    if (!file.open(handle, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        *error = EIO;
        return false;
    }
    return true;
#else
    Q_UNUSED(expected);
    file.setFileName(path);
    ClearSystemError();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        *error = LastSystemError();
        return false;
    }
    return true;
#endif
}

// Writes all of bytes at the start of an open file and cuts it there; false
// with the error number in error.
bool RewriteAll(QFile &file, const QByteArray &bytes, int *error)
{
    ClearSystemError();
    if (!file.seek(0) || !file.resize(0) || file.write(bytes) != bytes.size() || !file.flush()) {
        *error = LastSystemError() ? LastSystemError() : EIO;
        return false;
    }
    return true;
}

// The new bytes go over the old ones, once the volume has room and the old
// bytes are kept for recovery.
bool WriteInPlace(const QString &path, const QByteArray &bytes, int *error, const FileIdentity &expected)
{
    QFile file;
    if (!OpenForRewrite(file, path, expected, error))
        return false;
    ClearSystemError();
    const QByteArray oldBytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = LastSystemError() ? LastSystemError() : EIO;
        return false;
    }
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
    if (!RewriteAll(file, bytes, error)) {
        // Put the old bytes back; should even that fail, the backup stays for the next start.
        int ignored = 0;
        if (RewriteAll(file, oldBytes, &ignored))
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

bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error, const FileState *seen)
{
    *error = 0;
    if (QFileInfo(path).isDir()) {
        *error = EISDIR;
        return false;
    }
#ifdef Q_OS_UNIX
    // What path names is looked at once, here, and never followed again: a
    // link is followed only where the caller has seen that very link, and a
    // link or file put in place after this look is replaced by the rename.
    QString file = path;
    struct stat entry = {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
        if (seen && !(seen->link && Identity(entry) == seen->entryIdentity))
            return ReplaceEntry(path, bytes, error, nullptr);
        file = LinkTarget(path);
    }
    struct stat old = {};
    const bool replacing = ::lstat(QFile::encodeName(file).constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing && !QFileInfo(file).isWritable()) {
        *error = EACCES;
        return false;
    }
    // A new file that could not keep the old one's owner and group, or the
    // old one's further names, does not replace it: the bytes go in place.
    if (replacing && !NewFileCanBeLikeOld(old))
        return WriteInPlace(file, bytes, error, Identity(old));
    if (ReplaceEntry(file, bytes, error, replacing ? &old : nullptr))
        return true;
    const bool folderRefused = *error == EACCES || *error == EPERM || *error == EROFS;
    if (replacing && folderRefused)
        return WriteInPlace(file, bytes, error, Identity(old));
    return false;
#else
    Q_UNUSED(seen);
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
            return WriteInPlace(path, bytes, error, FileIdentity());
    }
    return false;
#endif
}
