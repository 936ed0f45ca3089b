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

// Colours Quarn BASIC. Most lines are coloured as a view draws them, from the
// spans the scanner finds then; their layouts hold no colours, which keeps
// laying them out as cheap as without colours. A line with characters beyond
// Latin-1 (or control characters) may need other faces or shaping, and its
// colours go into its layout when a view is about to show it, and again when
// an edit touches it. There is one colorer for each text document,
// whatever the number of views that show it. Colours never reach the undo
// history or the file; a block that was never shown has no layout, which
// keeps big files small in memory.
class CSourceColorer : public QObject
{
    Q_OBJECT
public:
    explicit CSourceColorer(QTextDocument *doc);
    ~CSourceColorer() override;

    // The document's colorer, made on first use.
    static CSourceColorer *ForDocument(QTextDocument *doc);

    // Colours the blocks from first to last, both included, that are not
    // coloured yet; true when there were any.
    bool EnsureColored(const QTextBlock &first, const QTextBlock &last);
    static bool IsColored(const QTextBlock &block);

    // Whether a line's colours go into its layout rather than being drawn
    // over a layout without them.
    static bool NeedsLayoutColors(QStringView line);

    // The spans of one line, as a block of that text is coloured.
    void ColorSpans(QStringView line, std::vector<ColorSpan> &spans) const;
    const QTextCharFormat &Format(ColorKind kind) const;
    // The language's words and markers the colours follow.
    const CVocabulary &Rules() const { return m_rules; }
    // How many times a block's colours were decided, for watching the work done.
    qint64 ColoredCount() const { return m_nColored; }

    QTextCharFormat m_cfNumber;
    QTextCharFormat m_cfString;
    QTextCharFormat m_cfPlain;
    QTextCharFormat m_cfBuiltin;
    QTextCharFormat m_cfKeyword;
    QTextCharFormat m_cfComment;

private:
    void OnContentsChange(int from, int charsRemoved, int charsAdded);
    // Colours one block and marks it coloured; true when its layout's colours
    // changed, which the caller then tells the document.
    bool ColorBlock(QTextBlock &block);

    QTextDocument *m_pDocument;
    // Lines whose colours are in their layouts are shaped as Qt shapes by default.
    QTextCharFormat m_cfShaped;
    CVocabulary m_rules;
    std::vector<ColorSpan> m_spans;
    QList<QTextLayout::FormatRange> m_ranges;
    qint64 m_nColored = 0;
};
