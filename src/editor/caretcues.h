// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/sourcestructure.h"

#include <QList>
#include <QObject>
#include <QTextEdit>
#include <QTimer>

#include <optional>

class QPlainTextEdit;
class QTextCursor;

// The block keyword or bracket at the cursor and its partner, if any.
std::optional<SourceStructure::Pair> PairAt(const QTextCursor &cursor);

// The other whole-word, case-blind occurrences of name in the blocks
// first to last (block numbers), left out the one at position skip; only
// those in code.
QList<QTextCursor> OccurrencesIn(QTextDocument *doc, const QString &name, int first, int last, int skip);

// What a text view shows of the caret's surroundings: the block keyword or
// bracket beside it and its partner (an unmatched one in its own colour),
// and, once the caret has rested on a name, the name's other occurrences in
// view. Both are the view's extra selections.
class CCaretCues : public QObject
{
    Q_OBJECT
public:
    explicit CCaretCues(QPlainTextEdit *view);

    static const QColor kPairGround;
    static const QColor kUnmatchedGround;
    static const QColor kOccurrenceGround;
    // How long the caret rests before a name's occurrences show.
    static constexpr int kRestMs = 250;

private:
    void UpdatePair();
    void UpdateOccurrences();
    void Show();

    QPlainTextEdit *m_pView;
    QTimer m_rest;
    QList<QTextEdit::ExtraSelection> m_pair;
    QList<QTextEdit::ExtraSelection> m_occurrences;
};
