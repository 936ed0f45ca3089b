// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/caretcues.h"

#include "editor/textsearch.h"
#include "editor/vocabulary.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

const QColor CCaretCues::kPairGround(190, 230, 190);
const QColor CCaretCues::kUnmatchedGround(255, 190, 190);
const QColor CCaretCues::kOccurrenceGround(236, 236, 200);

namespace {
QTextEdit::ExtraSelection Ground(QTextDocument *doc, int position, int length, const QColor &color)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(doc);
    selection.cursor.setPosition(position);
    selection.cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    selection.format.setBackground(color);
    return selection;
}

int PositionOf(QTextDocument *doc, const SourceStructure::Place &place)
{
    return doc->findBlockByNumber(place.line).position() + place.span.start;
}
} // namespace

std::optional<SourceStructure::Pair> PairAt(const QTextCursor &cursor)
{
    QTextDocument *doc = cursor.document();
    const SourceStructure::Lines lines{[doc](int i) { return doc->findBlockByNumber(i).text(); }, doc->blockCount()};
    const int line = cursor.blockNumber();
    const int column = cursor.positionInBlock();
    if (std::optional<SourceStructure::Pair> pair = SourceStructure::BlockPairAt(lines, line, column))
        return pair;
    return SourceStructure::BracketPairAt(lines, line, column);
}

QList<QTextCursor> OccurrencesIn(QTextDocument *doc, const QString &name, int first, int last, int skip)
{
    QList<QTextCursor> found;
    for (QTextBlock block = doc->findBlockByNumber(first); block.isValid() && block.blockNumber() <= last;
         block = block.next()) {
        const QString text = block.text();
        for (qsizetype at = text.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(name, at + name.size(), Qt::CaseInsensitive)) {
            const qsizetype end = at + name.size();
            const bool whole = (at == 0 || !TextSearch::IsWordCharacter(text.at(at - 1)))
                               && (end == text.size() || !TextSearch::IsWordCharacter(text.at(end)));
            if (!whole || !SourceStructure::IsCode(text, int(at)) || block.position() + at == skip)
                continue;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + int(at));
            cursor.setPosition(block.position() + int(end), QTextCursor::KeepAnchor);
            found.append(cursor);
        }
    }
    return found;
}

CCaretCues::CCaretCues(QPlainTextEdit *view) : QObject(view), m_pView(view)
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(kRestMs);
    connect(&m_rest, &QTimer::timeout, this, &CCaretCues::UpdateOccurrences);
    connect(view, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        UpdatePair();
        m_rest.start();
    });
    connect(view, &QPlainTextEdit::selectionChanged, this, [this] {
        if (m_pView->textCursor().hasSelection() && !m_occurrences.isEmpty()) {
            m_occurrences.clear();
            Show();
        }
    });
    // What scrolls into view gets its occurrences too.
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, &m_rest, qOverload<>(&QTimer::start));
}

void CCaretCues::UpdatePair()
{
    const QList<QTextEdit::ExtraSelection> old = m_pair;
    m_pair.clear();
    const QTextCursor cursor = m_pView->textCursor();
    if (!cursor.hasSelection()) {
        if (const std::optional<SourceStructure::Pair> pair = PairAt(cursor)) {
            QTextDocument *doc = m_pView->document();
            const QColor &ground = pair->partner ? kPairGround : kUnmatchedGround;
            m_pair.append(Ground(doc, PositionOf(doc, pair->at), pair->at.span.length, ground));
            if (pair->partner)
                m_pair.append(Ground(doc, PositionOf(doc, *pair->partner), pair->partner->span.length, ground));
        }
    }
    if (!old.isEmpty() || !m_pair.isEmpty())
        Show();
}

void CCaretCues::UpdateOccurrences()
{
    m_occurrences.clear();
    const QTextCursor caret = m_pView->textCursor();
    QString name;
    int start = 0;
    if (!caret.hasSelection()) {
        // A name: no number, no keyword.
        const QString line = caret.block().text();
        static const CVocabulary vocabulary = CVocabulary::QuarnBasic();
        if (const std::optional<SourceStructure::Span> word = SourceStructure::NameAt(line, caret.positionInBlock())) {
            start = word->start;
            name = line.mid(word->start, word->length);
            if (vocabulary.Lookup(name.toLower()) == WordKind::Keyword)
                name.clear();
        }
        if (!name.isEmpty()) {
            QTextDocument *doc = m_pView->document();
            const int first = m_pView->cursorForPosition(QPoint(0, 0)).blockNumber();
            const int last = m_pView->cursorForPosition(QPoint(0, m_pView->viewport()->height())).blockNumber();
            const int skip = caret.block().position() + start;
            for (const QTextCursor &found : OccurrencesIn(doc, name, first, last, skip)) {
                QTextEdit::ExtraSelection selection;
                selection.cursor = found;
                selection.format.setBackground(kOccurrenceGround);
                m_occurrences.append(selection);
            }
        }
    }
    Show();
}

void CCaretCues::Show()
{
    // The pair over the occurrences.
    m_pView->setExtraSelections(m_occurrences + m_pair);
}
