// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

// An exclusive lock on a file that the system gives up when its holder ends,
// however it ends, so a crashed editor never leaves a lock that blocks.
class CFileLock
{
public:
    CFileLock();
    ~CFileLock();
    CFileLock(const CFileLock &) = delete;
    CFileLock &operator=(const CFileLock &) = delete;

    // Takes the lock on path, made when missing; false while a live process holds it.
    bool TryLock(const QString &path);
    bool IsLocked() const;
    void Unlock();

private:
    struct Handle;
    std::unique_ptr<Handle> m_pHandle;
};
