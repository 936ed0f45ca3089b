// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildtext.h"

#include <QProcess>
#include <QStandardPaths>

namespace BuildText {

namespace {
constexpr char kDebugFlag[] = " -debug";
constexpr char kMultibootFlag[] = " -mb";
#ifndef Q_OS_WIN
constexpr char kWine[] = "wine";
#endif

qsizetype LastSeparator(const QString &path)
{
    qsizetype at = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    at = qMax(at, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return at;
}
} // namespace

QString Quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString ImageName(const QString &title, const QString &extension)
{
    const qsizetype dot = title.lastIndexOf(QLatin1Char('.'));
    if (dot >= 1)
        return title.left(dot) + extension;
    return title + extension;
}

QString ProjectFolder(const QString &path)
{
    return path.left(LastSeparator(path) + 1);
}

QString SourceFileName(const QString &path)
{
    return path.mid(LastSeparator(path) + 1);
}

QString CompilerFlags(bool debug, bool multiBoot)
{
    QString flags;
    if (debug)
        flags += QLatin1String(kDebugFlag);
    if (multiBoot)
        flags += QLatin1String(kMultibootFlag);
    return flags;
}

QString CompilerArguments(const QString &flags, const QString &sourceName, const QString &imageName)
{
    return flags + QLatin1String("  ") + Quoted(sourceName) + QLatin1Char(' ') + Quoted(imageName);
}

QString FillLinkTemplate(const QString &text, const QString &projectFolder, const QString &title,
                         const QString &romName, const QString &multibootName)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('%') && i + 1 < text.size()) {
            const QChar key = text.at(i + 1);
            const QString *value = nullptr;
            if (key == QLatin1Char('p'))
                value = &projectFolder;
            else if (key == QLatin1Char('f'))
                value = &title;
            else if (key == QLatin1Char('b'))
                value = &romName;
            else if (key == QLatin1Char('m'))
                value = &multibootName;
            if (value) {
                result += Quoted(*value);
                ++i;
                continue;
            }
        }
        result += ch;
    }
    return result;
}

bool IsWindowsProgram(const QString &program)
{
    return program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

Invocation MakeInvocation(const QString &program, const QString &argumentText)
{
    Invocation invocation;
    invocation.program = program;
#ifdef Q_OS_WIN
    invocation.nativeArguments = argumentText;
#else
    invocation.arguments = QProcess::splitCommand(argumentText);
    if (IsWindowsProgram(program)) {
        const QString wine = QStandardPaths::findExecutable(QLatin1String(kWine));
        if (!wine.isEmpty()) {
            invocation.program = wine;
            invocation.arguments.prepend(program);
        }
    }
#endif
    return invocation;
}

} // namespace BuildText
