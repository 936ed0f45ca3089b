// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildtext.h"

#include <QFileInfo>
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

namespace {
// The template with "%p", "%f", "%b" and "%m" replaced by their values, each
// in quote, in one pass from left to right.
QString FillPlaceholders(const QString &text, const QString &projectFolder, const QString &title,
                         const QString &romName, const QString &multibootName, const QString &quote)
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
                result += quote + *value + quote;
                ++i;
                continue;
            }
        }
        result += ch;
    }
    return result;
}

#ifndef Q_OS_WIN
// An existing Windows program goes through wine where there is one.
Invocation ThroughWine(Invocation invocation)
{
    if (IsWindowsProgram(invocation.program) && QFileInfo(invocation.program).isFile()) {
        const QString wine = QStandardPaths::findExecutable(QLatin1String(kWine));
        if (!wine.isEmpty()) {
            invocation.arguments.prepend(invocation.program);
            invocation.program = wine;
        }
    }
    return invocation;
}
#endif

Invocation Made(const QString &program, const QStringList &arguments, const QString &nativeArguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    return {program, {}, nativeArguments};
#else
    Q_UNUSED(nativeArguments);
    return ThroughWine({program, arguments, QString()});
#endif
}
} // namespace

QString FillLinkTemplate(const QString &text, const QString &projectFolder, const QString &title,
                         const QString &romName, const QString &multibootName)
{
    return FillPlaceholders(text, projectFolder, title, romName, multibootName, QStringLiteral("\""));
}

QStringList FillLinkArguments(const QString &text, const QString &projectFolder, const QString &title,
                              const QString &romName, const QString &multibootName)
{
    QStringList arguments = QProcess::splitCommand(text);
    for (QString &argument : arguments)
        argument = FillPlaceholders(argument, projectFolder, title, romName, multibootName, QString());
    return arguments;
}

bool IsWindowsProgram(const QString &program)
{
    return program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}

Invocation CompilerInvocation(const QString &program, bool debug, bool multiBoot, const QString &sourceName,
                              const QString &imageName)
{
    QStringList arguments;
    if (debug)
        arguments.append(QString::fromLatin1(kDebugFlag).trimmed());
    if (multiBoot)
        arguments.append(QString::fromLatin1(kMultibootFlag).trimmed());
    arguments << sourceName << imageName;
    return Made(program, arguments, CompilerArguments(CompilerFlags(debug, multiBoot), sourceName, imageName));
}

Invocation EmulatorInvocation(const QString &program, const QString &imageName)
{
    // Quoted on Windows, so that an image name with blanks reaches the emulator as one argument.
    return Made(program, {imageName}, Quoted(imageName));
}

Invocation LinkerInvocation(const QString &program, const QString &text, const QString &projectFolder,
                            const QString &title, const QString &romName, const QString &multibootName)
{
    return Made(program, FillLinkArguments(text, projectFolder, title, romName, multibootName),
                FillLinkTemplate(text, projectFolder, title, romName, multibootName));
}

Invocation MakeInvocation(const QString &program, const QString &argumentText)
{
    return Made(program, QProcess::splitCommand(argumentText), argumentText);
}

} // namespace BuildText
