// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/filestate.h"

#include "core/recoverystore.h"
#include "editor/fileerrors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QtEndian>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <vector>

#include <climits>

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

qint64 ModifiedMs(const struct stat &info)
{
    return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

// The state of the file open at handle, which holds bytes; what names it is left to the caller.
FileState StateOfOpenFile(int handle, const QByteArray &bytes)
{
    FileState state;
    struct stat info = {};
    if (::fstat(handle, &info) != 0)
        return state;
    state.exists = true;
    state.size = info.st_size;
    state.modified = ModifiedMs(info);
    state.settled = QDateTime::currentMSecsSinceEpoch() - state.modified > kCoarseTimeMs;
    state.identity = Identity(info);
    state.hash = Hash(bytes);
    state.entryIdentity = state.identity;
    return state;
}
// The permissions a new file gets, as the umask allows.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes bytes into a new file beside path and renames it to path, so that
// whatever path names, a link too, is replaced and never followed. The new
// file gets mode, and the owner and group of owner where one is given.
bool ReplaceEntry(const QString &path, const QByteArray &bytes, int *error, mode_t mode, const struct stat *owner,
                  FileState *written)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    ClearSystemError();
    if (!file.open()) {
        *error = LastSystemError(EACCES);
        return false;
    }
    struct stat made = {};
    if (owner && ::fstat(file.handle(), &made) == 0 && (made.st_uid != owner->st_uid || made.st_gid != owner->st_gid)) {
        const uid_t user = ::geteuid() == 0 ? owner->st_uid : uid_t(-1);
        if (::fchown(file.handle(), user, owner->st_gid) != 0)
            qWarning("The owner and group of %s could not be kept", qPrintable(path));
    }
    ClearSystemError();
    if (::fchmod(file.handle(), mode) != 0 || file.write(bytes) != bytes.size() || !file.flush()
        || ::fsync(file.handle()) != 0 || (*written = StateOfOpenFile(file.handle(), bytes)).size != bytes.size()
        || ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = LastSystemError(EIO);
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

// What a path names itself. For a chain of links, its identity covers
// every link in the chain and what each says, so that no link in it can be
// changed unnoticed; end is where the chain leads (empty where it cannot be
// read to its end). For anything else, the identity of the entry and the
// path itself.
struct Entry
{
    bool link = false;
    FileIdentity identity = 0;
    QString end;
    bool ownLinks = true; // every link in the chain is this user's
};

Entry EntryAt(const QString &path)
{
    Entry entry;
    entry.end = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QByteArray native = QFile::encodeName(entry.end);
        struct stat info = {};
        if (::lstat(native.constData(), &info) != 0)
            return entry;
        if (!S_ISLNK(info.st_mode)) {
            if (depth == 0)
                entry.identity = Identity(info);
            return entry;
        }
        QByteArray text(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(native.constData(), text.data(), size_t(text.size()));
        if (length < 0 || length >= text.size())
            break;
        text.truncate(length);
        QCryptographicHash chain(QCryptographicHash::Sha256);
        chain.addData(QByteArray::number(entry.identity) + ' ' + QByteArray::number(Identity(info)) + ' ' + text);
        entry.identity = qFromUnaligned<FileIdentity>(chain.result().constData());
        entry.link = true;
        entry.ownLinks = entry.ownLinks && info.st_uid == ::geteuid();
        entry.end = QFileInfo(entry.end).dir().absoluteFilePath(QFile::decodeName(text));
    }
    entry.end.clear();
    return entry;
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
        *error = LastSystemError(EACCES);
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

// Whether what was written to file is on the disk.
bool SyncToDisk(QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// Writes all of bytes at the start of an open file and cuts it there; false
// with the error number in error.
bool RewriteAll(QFile &file, const QByteArray &bytes, int *error)
{
    ClearSystemError();
    if (!file.seek(0) || !file.resize(0) || file.write(bytes) != bytes.size() || !file.flush() || !SyncToDisk(file)) {
        *error = LastSystemError(EIO);
        return false;
    }
    return true;
}

// The new bytes go over the old ones, once the volume has room and the old
// bytes are kept for recovery.
bool WriteInPlace(const QString &path, const QByteArray &bytes, int *error, const FileIdentity &expected,
                  FileState *written)
{
    QFile file;
    if (!OpenForRewrite(file, path, expected, error))
        return false;
    ClearSystemError();
    const QByteArray oldBytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = LastSystemError(EIO);
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
#ifdef Q_OS_UNIX
    *written = StateOfOpenFile(file.handle(), bytes);
#else
    *written = FileStateOf(path, &bytes);
#endif
    file.close();
    CRecoveryStore::Session().DropBackup(backup);
    return true;
}

} // namespace

void (*g_afterFileAccessForTests)(const QString &path) = nullptr;

void AfterFileAccess(const QString &path)
{
    if (g_afterFileAccessForTests)
        g_afterFileAccessForTests(path);
}

QByteArray FileState::ToText() const
{
    // Where no file was, the size is -1 and there is no hash; a link may still have been there.
    return QByteArray::number(exists ? size : -1) + ' ' + QByteArray::number(modified) + ' '
           + QByteArray::number(identity) + ' ' + (exists ? hash.toHex() : QByteArray("-")) + ' '
           + QByteArray::number(int(link)) + ' ' + QByteArray::number(entryIdentity);
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
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !ok[4])
        return FileState();
    if (state.size == -1 && fields.at(3) == "-") {
        FileState missing;
        missing.link = state.link;
        missing.entryIdentity = state.entryIdentity;
        return missing;
    }
    if (state.hash.isEmpty())
        return FileState();
    state.exists = true;
    state.settled = false;
    return state;
}

FileState FileStateOf(const QString &path, const QByteArray *bytes)
{
    FileState state;
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat buffer = {};
    const Entry entry = EntryAt(path);
    state.link = entry.link;
    state.entryIdentity = entry.identity;
#else
    state.link = info.isSymLink();
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

FileState FileStateOfRead(const FileState &entry, QFile &file, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    FileState state = StateOfOpenFile(file.handle(), bytes);
    state.link = entry.link;
    state.entryIdentity = entry.entryIdentity;
    return state;
#else
    Q_UNUSED(entry);
    return FileStateOf(file.fileName(), &bytes);
#endif
}

QByteArray HashOfFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? Hash(file.readAll()) : QByteArray();
}

bool WriteFileSafely(const QString &path, const QByteArray &bytes, int *error, const FileState *seen,
                     FileState *written)
{
    *error = 0;
    FileState ignored;
    if (!written)
        written = &ignored;
    if (QFileInfo(path).isDir()) {
        *error = EISDIR;
        return false;
    }
#ifdef Q_OS_UNIX
    // What path names is looked at once, here, and never followed again: a
    // chain of links is followed only where the caller has seen that very
    // chain (or, with nothing seen, where all its links are the user's own),
    // and a link or file put in place after this look is replaced by the
    // rename or refused by the write in place.
    const Entry entry = EntryAt(path);
    const bool follow = entry.link && !entry.end.isEmpty()
                        && (seen ? seen->link && entry.identity == seen->entryIdentity : entry.ownLinks);
    const QString file = follow ? entry.end : path;
    // A link that is replaced hands on no more than the permissions of the
    // file it led to: what was read through it is not made public.
    mode_t mode = NewFileMode();
    struct stat through = {};
    if (entry.link && !follow && ::stat(QFile::encodeName(path).constData(), &through) == 0)
        mode &= through.st_mode;
    struct stat old = {};
    const bool replacing = ::lstat(QFile::encodeName(file).constData(), &old) == 0 && S_ISREG(old.st_mode);
    bool done = false;
    if (replacing && !QFileInfo(file).isWritable()) {
        *error = EACCES;
    } else if (replacing && !NewFileCanBeLikeOld(old)) {
        // A new file that could not keep the old one's owner and group, or
        // the old one's further names, does not replace it: the bytes go in place.
        done = WriteInPlace(file, bytes, error, Identity(old), written);
    } else {
        done = ReplaceEntry(file, bytes, error, replacing ? old.st_mode & 0777 : mode, replacing ? &old : nullptr,
                            written);
        const bool folderRefused = *error == EACCES || *error == EPERM || *error == EROFS;
        if (!done && replacing && folderRefused)
            done = WriteInPlace(file, bytes, error, Identity(old), written);
    }
    if (done && follow) {
        written->link = true;
        written->entryIdentity = entry.identity;
    }
    if (done)
        AfterFileAccess(path);
    return done;
#else
    Q_UNUSED(seen);
    // The old file is replaced only once the new one is completely written.
    // Symbolic links are followed and the file's permissions kept.
    bool opened = false;
    if (SaveWholeFile(path, bytes, error, &opened)) {
        *written = FileStateOf(path, &bytes);
        AfterFileAccess(path);
        return true;
    }
    if (!opened) {
        const QFileInfo info(path);
        // A file that is not writable is refused before any system call says why.
        if (*error == 0 && info.exists() && !info.isWritable())
            *error = EACCES;
        const bool folderRefused = *error == EACCES || *error == EPERM || *error == EROFS;
        if (folderRefused && info.isFile() && info.isWritable())
            return WriteInPlace(path, bytes, error, FileIdentity(), written);
    }
    return false;
#endif
}
