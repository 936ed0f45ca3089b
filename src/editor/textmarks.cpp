// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/textmarks.h"

#include "editor/textsearch.h"

#include <QColor>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {
// Past this many lines an edit's new lines are not searched for a mark's lost line.
constexpr int kMaxSearchedLines = 100000;

// Where a column of old text stands in new text: before the first change it
// stays, after the last one it keeps its distance from the end, inside the
// change it goes to the change's start.
int MapColumn(const QString &oldText, const QString &newText, int column)
{
    const qsizetype shorter = qMin(oldText.size(), newText.size());
    qsizetype prefix = 0;
    while (prefix < shorter && oldText.at(prefix) == newText.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && oldText.at(oldText.size() - 1 - suffix) == newText.at(newText.size() - 1 - suffix))
        ++suffix;
    if (column < prefix)
        return column;
    if (column >= oldText.size() - suffix)
        return int(newText.size() - (oldText.size() - column));
    return int(prefix);
}
} // namespace

QColor MarkColor(MarkKind kind)
{
    switch (kind) {
    case MarkKind::Warning:
        return QColor(224, 128, 0);
    case MarkKind::Note:
        return QColor(0, 96, 224);
    case MarkKind::Error:
        break;
    }
    return QColor(224, 0, 0);
}

void PaintMarkSign(QPainter *painter, const QRectF &box, MarkKind kind)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(MarkColor(kind));
    switch (kind) {
    case MarkKind::Error:
        painter->drawEllipse(box);
        break;
    case MarkKind::Warning: {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top());
        triangle.lineTo(box.bottomRight());
        triangle.lineTo(box.bottomLeft());
        triangle.closeSubpath();
        painter->drawPath(triangle);
        break;
    }
    case MarkKind::Note:
        painter->drawRect(box.adjusted(box.width() / 8, box.height() / 8, -box.width() / 8, -box.height() / 8));
        break;
    }
    painter->restore();
}

CTextMarks::CTextMarks(QTextDocument *doc) : QObject(doc), m_pDocument(doc), m_nBlockCount(doc->blockCount())
{
    connect(doc, &QTextDocument::contentsChange, this, &CTextMarks::OnContentsChange);
}

CTextMarks *CTextMarks::ForDocument(QTextDocument *doc)
{
    CTextMarks *marks = Find(doc);
    return marks ? marks : new CTextMarks(doc);
}

CTextMarks *CTextMarks::Find(const QTextDocument *doc)
{
    return doc ? doc->findChild<CTextMarks *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void CTextMarks::Set(const QString &origin, const QList<NamedMark> &marks)
{
    m_marks.erase(
        std::remove_if(m_marks.begin(), m_marks.end(), [&origin](const Mark &mark) { return mark.origin == origin; }),
        m_marks.end());
    const int blocks = m_pDocument->blockCount();
    int index = 0;
    for (const NamedMark &named : marks) {
        const QTextBlock block = m_pDocument->findBlockByNumber(qBound(1, named.line, blocks) - 1);
        const QString text = block.text();
        int column = 0;
        if (named.column > 0) {
            column = int(qMin<qsizetype>(named.column - 1, text.size()));
        } else {
            while (column < text.size() && text.at(column).isSpace())
                ++column;
        }
        Mark mark;
        mark.origin = origin;
        mark.index = named.index >= 0 ? named.index : index;
        ++index;
        mark.kind = named.kind;
        mark.text = named.text;
        mark.position = block.position() + column;
        mark.line = block.blockNumber();
        mark.column = column;
        mark.lineText = text;
        m_marks.push_back(std::move(mark));
    }
    m_nBlockCount = blocks;
    std::stable_sort(m_marks.begin(), m_marks.end(),
                     [](const Mark &a, const Mark &b) { return a.position < b.position; });
    Q_EMIT Changed();
}

std::optional<MarkPlace> CTextMarks::PlaceOf(const QString &origin, int index) const
{
    for (const Mark &mark : m_marks) {
        if (mark.index == index && mark.origin == origin && !mark.gone)
            return MarkPlace{mark.line + 1, mark.column + 1};
    }
    return std::nullopt;
}

QHash<int, MarkPlace> CTextMarks::Places(const QString &origin) const
{
    QHash<int, MarkPlace> places;
    for (const Mark &mark : m_marks) {
        if (!mark.gone && mark.origin == origin)
            places.insert(mark.index, MarkPlace{mark.line + 1, mark.column + 1});
    }
    return places;
}

QList<const CTextMarks::Mark *> CTextMarks::OnBlock(const QTextBlock &block) const
{
    QList<const Mark *> found;
    const int start = block.position();
    auto it = std::lower_bound(m_marks.begin(), m_marks.end(), start,
                               [](const Mark &mark, int position) { return mark.position < position; });
    for (; it != m_marks.end() && it->position < start + block.length(); ++it) {
        if (!it->gone)
            found.append(&*it);
    }
    return found;
}

int CTextMarks::UnderlinedLength(const QString &lineText, int column)
{
    if (column >= lineText.size())
        return 0;
    int end = column;
    while (end < lineText.size() && TextSearch::IsWordCharacter(lineText.at(end)))
        ++end;
    // Not on a word: the character itself.
    return qMax(1, end - column);
}

QString CTextMarks::TextsOn(const QTextBlock &block) const
{
    QStringList texts;
    for (const Mark *mark : OnBlock(block))
        texts.append(mark->text);
    return texts.join(QLatin1Char('\n'));
}

MarkKind CTextMarks::Gravest(const QList<const Mark *> &marks)
{
    MarkKind gravest = MarkKind::Note;
    for (const Mark *mark : marks) {
        if (mark->kind == MarkKind::Error)
            return MarkKind::Error;
        if (mark->kind == MarkKind::Warning)
            gravest = MarkKind::Warning;
    }
    return gravest;
}

void CTextMarks::Settle(Mark &mark, int position)
{
    const QTextBlock block = m_pDocument->findBlock(position);
    mark.position = position;
    mark.line = block.blockNumber();
    mark.column = position - block.position();
    mark.lineText = block.text();
}

void CTextMarks::OnContentsChange(int from, int removed, int added)
{
    const int blocks = m_pDocument->blockCount();
    const int lineDelta = blocks - m_nBlockCount;
    m_nBlockCount = blocks;
    if (m_marks.empty())
        return;
    const int delta = added - removed;
    const int oldEnd = from + removed;
    const QTextBlock firstBlock = m_pDocument->findBlock(from);
    QTextBlock lastBlock = m_pDocument->findBlock(from + added);
    if (!lastBlock.isValid())
        lastBlock = m_pDocument->lastBlock();
    const int firstLine = firstBlock.isValid() ? firstBlock.blockNumber() : blocks - 1;
    const int lastLine = lastBlock.blockNumber();
    const int lastOldLine = lastLine - lineDelta;

    bool reordered = false;
    // New lines by their text, made when a mark first looks for its lost line.
    std::optional<QHash<QString, QList<int>>> linesByText;
    for (Mark &mark : m_marks) {
        if (mark.gone) {
            if (mark.position >= oldEnd)
                mark.position += delta;
            else if (mark.position > from)
                mark.position = from;
            continue;
        }
        if (mark.line < firstLine)
            continue;
        if (mark.line > lastOldLine) {
            mark.position += delta;
            mark.line += lineDelta;
            continue;
        }
        // The edit touched the mark's line.
        if (mark.position < from) {
            mark.lineText = firstBlock.text();
            continue;
        }
        if (mark.position >= oldEnd) {
            Settle(mark, mark.position + delta);
            continue;
        }
        // The mark stood in what the edit replaced: it may come to stand anywhere in what it put.
        reordered = true;
        if (lineDelta == 0) {
            // Lines changed in place (Replace All, Comment Lines): the same line, the column mapped.
            const QTextBlock block = m_pDocument->findBlockByNumber(mark.line);
            const QString text = block.text();
            Settle(mark, block.position() + MapColumn(mark.lineText, text, mark.column));
        } else {
            // Lines came or went where the mark stood: it stays only where its line still is.
            if (!linesByText) {
                linesByText.emplace();
                if (lastLine - firstLine < kMaxSearchedLines) {
                    for (QTextBlock block = firstBlock; block.isValid() && block.blockNumber() <= lastLine;
                         block = block.next())
                        (*linesByText)[block.text()].append(block.blockNumber());
                }
            }
            const QList<int> candidates = linesByText->value(mark.lineText);
            if (candidates.isEmpty()) {
                mark.gone = true;
                mark.position = from;
            } else {
                // The nearest to where it stood.
                const int wanted = mark.line;
                const int line = *std::min_element(candidates.begin(), candidates.end(), [wanted](int a, int b) {
                    return qAbs(a - wanted) < qAbs(b - wanted);
                });
                const QTextBlock block = m_pDocument->findBlockByNumber(line);
                Settle(mark, block.position() + int(qMin<qsizetype>(mark.column, block.text().size())));
            }
        }
    }
    if (reordered) {
        std::stable_sort(m_marks.begin(), m_marks.end(),
                         [](const Mark &a, const Mark &b) { return a.position < b.position; });
        Q_EMIT Changed();
    }
}
