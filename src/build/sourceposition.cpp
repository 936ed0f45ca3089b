// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/sourceposition.h"

#include "build/logtext.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <climits>

namespace {

using Option = QRegularExpression::PatternOption;

// "In file included from name:12:" and the "from name:12," lines under it.
const QRegularExpression kIncludedFrom(QStringLiteral(
    R"(^\s*(?:In file included from|from)\s+(?<file>.+?):(?<line>[0-9]+)(?::(?<column>[0-9]+))?[:,]\s*$)"));
// "File "name", line 12" and ""name", line 12".
const QRegularExpression kQuotedName(QStringLiteral(R"re((?:\bFile\s+)?"(?<file>[^"]+)",\s*line\s+(?<line>[0-9]+))re"),
                                     Option::CaseInsensitiveOption);
// "(12)" and "(12,5)" after a name.
const QRegularExpression kParenthesised(QStringLiteral(R"(\(\s*(?<line>[0-9]+)\s*(?:,\s*(?<column>[0-9]+)\s*)?\))"));
// ":12:" and ":12:5:" after a name.
const QRegularExpression kColons(QStringLiteral(R"(:(?<line>[0-9]+):(?:(?<column>[0-9]+):)?)"));
// "line 12" with words around it, but not "line 12 of 40".
const QRegularExpression kLineWord(QStringLiteral(R"(\bline\s+(?<line>[0-9]+)\b(?!\s+of\s+[0-9]))"),
                                   Option::CaseInsensitiveOption);
// The words that say what a message is.
const QRegularExpression kKindWord(QStringLiteral(R"(\b(?:error|fatal|warning|note|info)\b)"),
                                   Option::CaseInsensitiveOption);
// Characters no file name holds, and the separators of a path.
const QRegularExpression kNotInName(QStringLiteral(R"(["<>|*?])"));
const QRegularExpression kSeparator(QStringLiteral(R"([/\\])"));
// An extension: a dot, a letter, then letters, digits or underscores.
const QRegularExpression kExtension(QStringLiteral(R"(\.[A-Za-z][A-Za-z0-9_]*$)"));

// A number as the message writes it; one too large for an int is the largest.
int Number(const QRegularExpressionMatch &match, const QString &group)
{
    const QStringView digits = match.capturedView(group);
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    // Only digits are matched: a number that is not read is too large.
    if (!ok)
        return digits.isEmpty() ? 0 : INT_MAX;
    return int(qMin<qlonglong>(value, INT_MAX));
}

// Whether text can be the name of a file a message means: none of the
// characters a name cannot hold, a colon only after a drive letter, and an
// extension or a file of that name in folder.
bool IsFileName(const QString &name, const QString &folder)
{
    if (name.isEmpty() || name.contains(kNotInName))
        return false;
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && !(colon == 1 && name.at(0).isLetter()))
        return false;
    const QString last = name.section(kSeparator, -1);
    if (kExtension.match(last).hasMatch())
        return true;
    return !folder.isEmpty() && QFileInfo(QDir(folder), name).isFile();
}

// The first place in line where form follows a file's name.
std::optional<SourcePosition> AfterName(const QString &line, const QRegularExpression &form, const QString &folder)
{
    QRegularExpressionMatchIterator matches = form.globalMatch(line);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        QString name = line.left(match.capturedStart()).trimmed();
        // Words such as "Warning: " may stand before the name.
        const qsizetype said = name.lastIndexOf(QStringLiteral(": "));
        if (said >= 0)
            name = name.mid(said + 2).trimmed();
        const int number = Number(match, QStringLiteral("line"));
        if (number > 0 && IsFileName(name, folder)) {
            SourcePosition position{name, number, Number(match, QStringLiteral("column"))};
            position.kind = MessageKind(line.mid(match.capturedEnd()));
            return position;
        }
    }
    return std::nullopt;
}

} // namespace

MarkKind MessageKind(const QString &line)
{
    const QRegularExpressionMatch match = kKindWord.match(line);
    if (!match.hasMatch())
        return MarkKind::Error;
    const QChar first = match.capturedView().at(0).toLower();
    if (first == QLatin1Char('w'))
        return MarkKind::Warning;
    if (first == QLatin1Char('n') || first == QLatin1Char('i'))
        return MarkKind::Note;
    return MarkKind::Error;
}

std::optional<SourcePosition> FindSourcePosition(const QString &text, const QString &folder)
{
    const QString line = LogText::WithoutEscapes(text);
    QRegularExpressionMatch match = kIncludedFrom.match(line);
    if (match.hasMatch() && Number(match, QStringLiteral("line")) > 0) {
        return SourcePosition{match.captured(QStringLiteral("file")).trimmed(), Number(match, QStringLiteral("line")),
                              Number(match, QStringLiteral("column")), MarkKind::Note};
    }
    match = kQuotedName.match(line);
    if (match.hasMatch() && Number(match, QStringLiteral("line")) > 0) {
        return SourcePosition{match.captured(QStringLiteral("file")), Number(match, QStringLiteral("line")), 0,
                              MessageKind(line.mid(match.capturedEnd()))};
    }
    for (const QRegularExpression *form : {&kParenthesised, &kColons}) {
        if (std::optional<SourcePosition> position = AfterName(line, *form, folder)) {
            // The kind's word may stand before the place, as in "Error: pong.qrx(3)".
            if (position->kind == MarkKind::Error)
                position->kind = MessageKind(line);
            return position;
        }
    }
    match = kLineWord.match(line);
    if (match.hasMatch() && Number(match, QStringLiteral("line")) > 0)
        return SourcePosition{QString(), Number(match, QStringLiteral("line")), 0, MessageKind(line)};
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
        const QString mapped =
            root.isEmpty() ? QString() : QDir::cleanPath(root + QLatin1Char('/') + match.captured(2));
        if (!mapped.isEmpty() && QFileInfo::exists(mapped))
            return mapped;
        // Written on another machine: the same file in the project, found by
        // the longest tail of its path, else by its name.
        const QStringList parts = match.captured(2).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const QDir project(projectFolder);
        for (qsizetype first = 0; first < parts.size(); ++first) {
            const QString candidate = project.absoluteFilePath(parts.mid(first).join(QLatin1Char('/')));
            if (QFileInfo(candidate).isFile())
                return QDir::cleanPath(candidate);
        }
        if (!mapped.isEmpty())
            return mapped;
        return QDir::cleanPath(project.absoluteFilePath(parts.isEmpty() ? path : parts.last()));
    }
#else
    path = QDir::fromNativeSeparators(path);
#endif
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(QDir(projectFolder).absoluteFilePath(path));
}
