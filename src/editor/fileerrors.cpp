// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/fileerrors.h"

#include "core/appservices.h"
#include "core/uitext.h"
#include "editor/fileresult.h"

#include <QDir>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
const UiText kNotFound{"FileErrors", QT_TRANSLATE_NOOP("FileErrors", "%1 was not found.")};
const UiText kAccessDenied{"FileErrors", QT_TRANSLATE_NOOP("FileErrors", "Access to %1 was denied.")};
const UiText kSharingViolation{"FileErrors",
                               QT_TRANSLATE_NOOP("FileErrors", "A sharing violation occurred while accessing %1.")};
const UiText kDiskFull{"FileErrors", QT_TRANSLATE_NOOP("FileErrors", "Disk full while accessing %1.")};
const UiText kOpenFailed{"FileErrors", QT_TRANSLATE_NOOP("FileErrors", "Failed to open document.")};
const UiText kSaveFailed{"FileErrors", QT_TRANSLATE_NOOP("FileErrors", "Failed to save document.")};
const UiText kLineTooLong{
    "FileErrors",
    QT_TRANSLATE_NOOP("FileErrors",
                      "%1 cannot be opened: line %2 is longer than %3 characters, the most a line may hold.")};
const UiText kNameNotText{
    "FileErrors",
    QT_TRANSLATE_NOOP("FileErrors",
                      "%1 cannot be opened: its name is not valid in the system's encoding, so it cannot be found.")};
const UiText kUnencodable{"FileErrors",
                          QT_TRANSLATE_NOOP("FileErrors",
                                            "The character U+%1 (line %2, column %3) of %4 cannot be stored as %5!\n"
                                            "The file was not saved.")};

enum class FileErrorCause { NotFound, AccessDenied, SharingViolation, DiskFull, Other };

FileErrorCause CauseOf(int error)
{
#ifdef Q_OS_WIN
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        return FileErrorCause::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileErrorCause::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileErrorCause::SharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileErrorCause::DiskFull;
    default:
        break;
    }
#endif
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileErrorCause::NotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return FileErrorCause::AccessDenied;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
        return FileErrorCause::SharingViolation;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileErrorCause::DiskFull;
    default:
        return FileErrorCause::Other;
    }
}

QString TextFor(FileErrorCause cause, const QString &path, const QString &fallback)
{
    const QString name = QDir::toNativeSeparators(path);
    switch (cause) {
    case FileErrorCause::NotFound:
        return kNotFound.arg(name);
    case FileErrorCause::AccessDenied:
        return kAccessDenied.arg(name);
    case FileErrorCause::SharingViolation:
        return kSharingViolation.arg(name);
    case FileErrorCause::DiskFull:
        return kDiskFull.arg(name);
    case FileErrorCause::Other:
        break;
    }
    return fallback;
}

} // namespace

QString FileErrorText(int error, const QString &path, const QString &fallback)
{
    return TextFor(CauseOf(error), path, fallback);
}

QString FileResult::Message() const
{
    const QString name = QDir::toNativeSeparators(path);
    switch (kind) {
    case Kind::Done:
    case Kind::Declined:
        break;
    case Kind::NameNotText:
        return kNameNotText.arg(name);
    case Kind::System:
        return FileErrorText(error, path, saving ? kSaveFailed : kOpenFailed);
    case Kind::NotAFile:
        return kOpenFailed;
    case Kind::LineTooLong:
        return kLineTooLong.arg(name).arg(line).arg(limit);
    case Kind::Unencodable:
        return kUnencodable.arg(codePoint).arg(line).arg(column).arg(name, encodingName);
    }
    return QString();
}

bool FileResult::Report() const
{
    const QString message = Message();
    if (!message.isEmpty())
        MessageBox(message);
    return Ok();
}
