// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/filelock.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_WIN
#include <QLockFile>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
struct CFileLock::Handle
{
    explicit Handle(const QString &path) : file(path) { file.setStaleLockTime(0); }
    QLockFile file;
};

CFileLock::CFileLock() = default;
CFileLock::~CFileLock() = default;

bool CFileLock::TryLock(const QString &path)
{
    if (IsLocked())
        return true;
    auto handle = std::make_unique<Handle>(path);
    // A dead holder's file can be removed; a live holder keeps it open.
    if (!handle->file.tryLock(0)) {
        handle->file.removeStaleLockFile();
        if (!handle->file.tryLock(0))
            return false;
    }
    m_pHandle = std::move(handle);
    return true;
}

bool CFileLock::IsLocked() const
{
    return m_pHandle != nullptr;
}
#else
struct CFileLock::Handle
{
    int fd = -1;
};

CFileLock::CFileLock() = default;

CFileLock::~CFileLock()
{
    Unlock();
}

bool CFileLock::TryLock(const QString &path)
{
    if (IsLocked())
        return true;
    if (path.isEmpty())
        return false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    // The holder's process id, for whoever looks.
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    if (::ftruncate(fd, 0) == 0 && ::write(fd, pid.constData(), size_t(pid.size())) < 0) {
        // Only informative; the lock holds all the same.
    }
    m_pHandle = std::make_unique<Handle>();
    m_pHandle->fd = fd;
    return true;
}

bool CFileLock::IsLocked() const
{
    return m_pHandle && m_pHandle->fd >= 0;
}
#endif

void CFileLock::Unlock()
{
#ifndef Q_OS_WIN
    if (m_pHandle && m_pHandle->fd >= 0)
        ::close(m_pHandle->fd);
#endif
    m_pHandle.reset();
}
