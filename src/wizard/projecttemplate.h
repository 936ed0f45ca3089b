// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The starting text of a new project source file: ten lines with "\n" breaks
// (the document writes them as CR LF), ending in a tab where the caret goes.
// The name goes in as typed, without quoting or escaping.
QString ProjectTemplateText(const QString &projectName, int year, const QString &userName);

// The name written into a new file's copyright line: the account's full name
// where the system records one, else the login name.
QString UserFullName();

// The full name in a password entry's comment field (its first comma-separated
// part), or login when that part is empty.
QString FullNameFromGecos(const QString &gecos, const QString &login);
