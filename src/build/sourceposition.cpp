// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/sourceposition.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A file name: an optional drive, then no characters that cannot be in a name
// or that would be the message's own punctuation.
#define QBE_FILE_NAME R"((?<file>(?:[A-Za-z]:)?[^():*?"<>|]+?))"

// "name(12)", "name(12,5)", with anything after the closing parenthesis.
const QRegularExpression kParenthesised(QStringLiteral(R"(^\s*)" QBE_FILE_NAME
                                                       R"(\(\s*(?<line>\d+)\s*(?:,\s*(?<column>\d+)\s*)?\))"));
// "name:12:", "name:12:5:".
const QRegularExpression kColons(QStringLiteral(R"(^\s*)" QBE_FILE_NAME R"(:(?<line>\d+):(?:(?<column>\d+):)?)"));
// "line 12" with words around it: the compiled file.
const QRegularExpression kLineWord(QStringLiteral(R"(\bline\s+(?<line>\d+)\b)"),
                                   QRegularExpression::CaseInsensitiveOption);

#undef QBE_FILE_NAME

bool LooksLikeFileName(const QString &name)
{
    return name.contains(QLatin1Char('.')) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

int Number(const QRegularExpressionMatch &match, const QString &group)
{
    bool ok = false;
    const int value = match.captured(group).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

std::optional<SourcePosition> FindSourcePosition(const QString &line)
{
    for (const QRegularExpression *form : {&kParenthesised, &kColons}) {
        const QRegularExpressionMatch match = form->match(line);
        if (!match.hasMatch())
            continue;
        const QString file = match.captured(QStringLiteral("file")).trimmed();
        const int number = Number(match, QStringLiteral("line"));
        if (number > 0 && LooksLikeFileName(file))
            return SourcePosition{file, number, Number(match, QStringLiteral("column"))};
    }
    const QRegularExpressionMatch match = kLineWord.match(line);
    if (match.hasMatch() && Number(match, QStringLiteral("line")) > 0)
        return SourcePosition{QString(), Number(match, QStringLiteral("line")), 0};
    return std::nullopt;
}

QString ResolveSourceFile(const QString &name, const QString &projectFolder, const QString &compiledPath)
{
    if (name.isEmpty())
        return compiledPath;
    QString path = name;
#ifndef Q_OS_WIN
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A Windows program under Wine names files by drive letter.
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):(/.*)?$"));
    const QRegularExpressionMatch match = drive.match(path);
    if (match.hasMatch()) {
        QString prefix = qEnvironmentVariable("WINEPREFIX");
        if (prefix.isEmpty())
            prefix = QDir::homePath() + QStringLiteral("/.wine");
        const QString letter = match.captured(1).toLower();
        const QFileInfo device(prefix + QStringLiteral("/dosdevices/") + letter + QLatin1Char(':'));
        QString root;
        if (device.exists())
            root = device.canonicalFilePath();
        else if (letter == QLatin1String("z"))
            root = QStringLiteral("/");
        if (!root.isEmpty())
            return QDir::cleanPath(root + QLatin1Char('/') + match.captured(2));
    }
#else
    path = QDir::fromNativeSeparators(path);
#endif
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(QDir(projectFolder).absoluteFilePath(path));
}
