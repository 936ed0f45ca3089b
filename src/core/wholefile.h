// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// The system's error number of a file operation.
void ClearSystemError();
// The error number the last failed system call left (on Windows its own code
// where there is one).
int LastSystemError();
// The same, or fallback where the failed call left none.
int LastSystemError(int fallback);

// Puts bytes in place of the file at path once all of them are written, so
// that a failure at any point leaves the old file as it was. The temporary
// file is written unbuffered, each write checked, and the size of what is in
// place checked after the commit: a buffered commit can report success
// although its last flush failed, leaving a cut file behind. False with the
// system's error number in *error; *opened tells whether the temporary file
// could be made at all. The file gets permissions where they are given.
bool SaveWholeFile(const QString &path, const QByteArray &bytes, int *error = nullptr, bool *opened = nullptr,
                   QFileDevice::Permissions permissions = {});
