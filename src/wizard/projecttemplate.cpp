// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "wizard/projecttemplate.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <QLibrary>

#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <pwd.h>
#include <unistd.h>
#endif

QString ProjectTemplateText(const QString &projectName, int year, const QString &userName)
{
    // Pieces put together by hand: a name holding "%1" must stay as typed.
    QString text;
    text += QStringLiteral("; ") + projectName + QStringLiteral(" - Copyright (c) ") + QString::number(year)
            + QStringLiteral(", ") + userName + QLatin1Char('\n');
    text += QStringLiteral("; Created with Quarn BASIC. All rights reserved.\n\n");
    text += QStringLiteral("#title \"") + projectName + QStringLiteral("\"\n\n");
    text += QStringLiteral("#code ; -- END OF DATA --\n\n; Entry point of game\nstart:\n\t");
    return text;
}

QString FullNameFromGecos(const QString &gecos, const QString &login)
{
    const QString fullName = gecos.section(QLatin1Char(','), 0, 0).trimmed();
    return fullName.isEmpty() ? login : fullName;
}

QString UserFullName()
{
#if defined(Q_OS_WIN)
    // secur32 is loaded at run time so that no build has to link it.
    using GetUserNameExFn = BOOLEAN(WINAPI *)(int, LPWSTR, PULONG);
    const auto getUserNameEx =
        reinterpret_cast<GetUserNameExFn>(QLibrary::resolve(QStringLiteral("secur32"), "GetUserNameExW"));
    if (getUserNameEx) {
        const int nameDisplay = 3;
        wchar_t buffer[256];
        ULONG size = ULONG(sizeof buffer / sizeof buffer[0]);
        if (getUserNameEx(nameDisplay, buffer, &size) && size > 0)
            return QString::fromWCharArray(buffer, int(size));
    }
    return qEnvironmentVariable("USERNAME");
#else
#if defined(Q_OS_UNIX)
    if (const passwd *entry = getpwuid(getuid())) {
        const QString login = QString::fromLocal8Bit(entry->pw_name);
        const QString gecos = entry->pw_gecos ? QString::fromLocal8Bit(entry->pw_gecos) : QString();
        const QString name = FullNameFromGecos(gecos, login);
        if (!name.isEmpty())
            return name;
    }
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
#endif
}
