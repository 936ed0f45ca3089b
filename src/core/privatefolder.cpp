// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/privatefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
#ifndef Q_OS_WIN
// What lstat says of path; false with the reason when it says nothing.
bool Lstat(const QString &path, struct stat *info, QString *error)
{
    if (::lstat(QFile::encodeName(path).constData(), info) == 0)
        return true;
    *error = QCoreApplication::translate("PrivateFolder", "%1 cannot be read").arg(path);
    return false;
}

bool IsOwnEntry(const struct stat &info, const QString &path, QString *error)
{
    if (info.st_uid != ::geteuid()) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 belongs to another user").arg(path);
        return false;
    }
    if (info.st_mode & (S_IWGRP | S_IWOTH)) {
        *error = QCoreApplication::translate("PrivateFolder", "others may write to %1").arg(path);
        return false;
    }
    return true;
}
#endif
} // namespace

bool IsOwnFolder(const QString &path, QString *error)
{
    QString reason;
    if (!error)
        error = &reason;
#ifdef Q_OS_WIN
    if (!QFileInfo(path).isDir() || QFileInfo(path).isSymLink()) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 is no folder").arg(path);
        return false;
    }
    return true;
#else
    struct stat info = {};
    if (!Lstat(path, &info, error))
        return false;
    if (!S_ISDIR(info.st_mode)) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 is no folder").arg(path);
        return false;
    }
    return IsOwnEntry(info, path, error);
#endif
}

bool IsOwnFile(const QString &path)
{
#ifdef Q_OS_WIN
    return QFileInfo(path).isFile() && !QFileInfo(path).isSymLink();
#else
    QString error;
    struct stat info = {};
    return Lstat(path, &info, &error) && S_ISREG(info.st_mode) && IsOwnEntry(info, path, &error);
#endif
}

bool MakeFolders(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
#ifdef Q_OS_WIN
    return QDir().mkpath(clean);
#else
    const QFileInfo info(clean);
    if (info.isDir())
        return true;
    if (info.dir().absolutePath() != clean && !MakeFolders(info.dir().absolutePath()))
        return false;
    return (::mkdir(QFile::encodeName(clean).constData(), S_IRWXU) == 0 || errno == EEXIST) && QFileInfo(clean).isDir();
#endif
}

void KeepOthersFromWriting(const QString &file)
{
#ifdef Q_OS_WIN
    Q_UNUSED(file);
#else
    const QByteArray native = QFile::encodeName(file);
    struct stat info = {};
    if (::lstat(native.constData(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IWGRP | S_IWOTH)))
        ::chmod(native.constData(), info.st_mode & 07755);
#endif
}

QString MakePrivateFolder(const QString &folder, bool tighten, QString *error)
{
    QString reason;
    if (!error)
        error = &reason;
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        *error = QCoreApplication::translate("PrivateFolder", "no absolute folder");
        return QString();
    }
    const QString clean = QDir::cleanPath(folder);
    MakeFolders(QFileInfo(clean).path());
#ifdef Q_OS_WIN
    Q_UNUSED(tighten);
    if (!QDir().mkpath(clean)) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 cannot be made").arg(clean);
        return QString();
    }
    return clean;
#else
    const QByteArray native = QFile::encodeName(clean);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 cannot be made").arg(clean);
        return QString();
    }
    struct stat info = {};
    if (!Lstat(clean, &info, error))
        return QString();
    if (!S_ISDIR(info.st_mode)) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 is no folder").arg(clean);
        return QString();
    }
    if (info.st_uid != ::geteuid()) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 belongs to another user").arg(clean);
        return QString();
    }
    if (!tighten && !IsOwnEntry(info, clean, error))
        return QString();
    if ((info.st_mode & 0777) != S_IRWXU && ::chmod(native.constData(), S_IRWXU) != 0) {
        *error = QCoreApplication::translate("PrivateFolder", "%1 cannot be made private").arg(clean);
        return QString();
    }
    return clean;
#endif
}
