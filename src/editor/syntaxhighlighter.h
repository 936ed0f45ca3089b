// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/scanner.h"
#include "editor/vocabulary.h"

#include <QList>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

#include <vector>

class QTextBlock;
class QTextDocument;

// Colours Quarn BASIC on demand: a block is coloured when a view is about to
// show it, and again when an edit touches it. There is one highlighter for
// each text document, whatever the number of views that show it. Colours live
// in the blocks' layouts only, so they never reach the undo history or the
// file; a block that was never shown has no layout, which keeps big files
// small in memory.
class CSyntaxHighlighter : public QObject
{
    Q_OBJECT
public:
    explicit CSyntaxHighlighter(QTextDocument *doc);
    ~CSyntaxHighlighter() override;

    // The document's highlighter, made on first use.
    static CSyntaxHighlighter *ForDocument(QTextDocument *doc);

    // Colours the blocks from first to last, both included, that are not
    // coloured yet; true when there were any.
    bool EnsureColored(const QTextBlock &first, const QTextBlock &last);
    static bool IsColored(const QTextBlock &block);

    // The spans of one line, as a block of that text is coloured.
    void ColorSpans(QStringView line, std::vector<ColorSpan> &spans) const;
    const QTextCharFormat &Format(ColorKind kind) const;
    // The language's words and markers the colours follow.
    const CVocabulary &Rules() const { return m_rules; }
    // How many times a block has been coloured, for watching the work done.
    qint64 ColoredCount() const { return m_nColored; }

    QTextCharFormat m_cfNumber;
    QTextCharFormat m_cfString;
    QTextCharFormat m_cfPlain;
    QTextCharFormat m_cfBuiltin;
    QTextCharFormat m_cfKeyword;
    QTextCharFormat m_cfComment;

private:
    void OnContentsChange(int from, int charsRemoved, int charsAdded);
    // Colours one block and marks it coloured; the caller tells the document.
    void ColorBlock(QTextBlock &block);

    QTextDocument *m_pDocument;
    CVocabulary m_rules;
    std::vector<ColorSpan> m_spans;
    QList<QTextLayout::FormatRange> m_ranges;
    qint64 m_nColored = 0;
};
