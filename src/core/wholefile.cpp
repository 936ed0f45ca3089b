// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/wholefile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

void ClearSystemError()
{
#ifdef Q_OS_WIN
    SetLastError(0);
#endif
    errno = 0;
}

int LastSystemError()
{
#ifdef Q_OS_WIN
    if (const DWORD error = GetLastError())
        return int(error);
#endif
    return errno;
}

int LastSystemError(int fallback)
{
    const int error = LastSystemError();
    return error ? error : fallback;
}

bool SaveWholeFile(const QString &path, const QByteArray &bytes, int *error, bool *opened,
                   QFileDevice::Permissions permissions)
{
    int ignored = 0;
    if (!error)
        error = &ignored;
    *error = 0;
    QSaveFile file(path);
    ClearSystemError();
    const bool open = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (opened)
        *opened = open;
    if (!open) {
        *error = LastSystemError();
        return false;
    }
    if (permissions && !file.setPermissions(permissions)) {
        *error = LastSystemError(EACCES);
        file.cancelWriting();
        return false;
    }
    ClearSystemError();
    if (file.write(bytes) != bytes.size()) {
        *error = LastSystemError(EIO);
        file.cancelWriting();
        return false;
    }
    ClearSystemError();
    if (!file.commit()) {
        *error = LastSystemError(EIO);
        return false;
    }
    if (QFileInfo(path).size() != bytes.size()) {
        *error = EIO;
        return false;
    }
    return true;
}
