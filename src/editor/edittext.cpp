// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/edittext.h"

#include "editor/textsearch.h"

#include <QSet>

#include <algorithm>

namespace EditText {

namespace {
int IndentLength(const QString &line)
{
    int i = 0;
    while (i < line.size() && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t')))
        ++i;
    return i;
}

bool IsBlank(const QString &line)
{
    return IndentLength(line) == line.size();
}
} // namespace

int DisplayColumn(QStringView line, int position, int tabColumns)
{
    int column = 0;
    const int end = std::min(position, int(line.size()));
    for (int i = 0; i < end; ++i) {
        if (line.at(i) == QLatin1Char('\t'))
            column = (column / tabColumns + 1) * tabColumns;
        else
            ++column;
    }
    return column + 1;
}

QStringList ToggleComments(const QStringList &lines, QChar marker)
{
    const bool allBlank = std::all_of(lines.cbegin(), lines.cend(), IsBlank);
    bool allCommented = !allBlank;
    for (const QString &line : lines) {
        if (!IsBlank(line) && line.at(IndentLength(line)) != marker)
            allCommented = false;
    }
    QStringList result;
    result.reserve(lines.size());
    for (QString line : lines) {
        if (IsBlank(line) && !allBlank) {
            result.append(line);
            continue;
        }
        const int indent = IndentLength(line);
        if (allCommented) {
            int length = 1;
            if (indent + 1 < line.size()
                && (line.at(indent + 1) == QLatin1Char(' ') || line.at(indent + 1) == QLatin1Char('\t')))
                length = 2;
            line.remove(indent, length);
        } else {
            line.insert(indent, QString(marker) + QLatin1Char(' '));
        }
        result.append(line);
    }
    return result;
}

QString IndentationOf(QStringView line, int column)
{
    int end = 0;
    while (end < column && end < line.size() && (line.at(end) == u' ' || line.at(end) == u'\t'))
        ++end;
    return line.left(end).toString();
}

int OneIndentLevel(QStringView line, int tabColumns)
{
    if (line.startsWith(u'\t'))
        return 1;
    int blanks = 0;
    while (blanks < tabColumns && blanks < line.size() && line.at(blanks) == u' ')
        ++blanks;
    return blanks;
}

QString WordBefore(QStringView line, int position)
{
    int start = std::min(position, int(line.size()));
    const int end = start;
    while (start > 0 && TextSearch::IsWordCharacter(line.at(start - 1)))
        --start;
    return line.mid(start, end - start).toString();
}

QStringList WordsOf(QStringView text)
{
    QStringList words;
    QSet<QString> seen;
    const int n = int(text.size());
    for (int i = 0; i < n;) {
        if (!TextSearch::IsWordCharacter(text.at(i))) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && TextSearch::IsWordCharacter(text.at(end)))
            ++end;
        if (!text.at(i).isDigit()) {
            const QString word = text.mid(i, end - i).toString();
            if (!seen.contains(word)) {
                seen.insert(word);
                words.append(word);
            }
        }
        i = end;
    }
    return words;
}

QStringList CompletionsFor(const QString &prefix, const QStringList &vocabulary, const QStringList &documentWords)
{
    const bool upper = prefix.toUpper() == prefix && prefix.toLower() != prefix;
    QStringList offers;
    QSet<QString> taken; // lowered
    for (const QString &word : vocabulary) {
        if (word.startsWith(prefix, Qt::CaseInsensitive) && word.compare(prefix, Qt::CaseInsensitive) != 0
            && !taken.contains(word)) {
            taken.insert(word);
            offers.append(upper ? word.toUpper() : word);
        }
    }
    for (const QString &word : documentWords) {
        if (word.startsWith(prefix, Qt::CaseInsensitive) && word.compare(prefix, Qt::CaseInsensitive) != 0
            && !taken.contains(word.toLower())) {
            taken.insert(word.toLower());
            offers.append(word);
        }
    }
    std::sort(offers.begin(), offers.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return offers;
}

} // namespace EditText
