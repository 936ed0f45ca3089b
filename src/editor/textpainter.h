// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/glyphbatches.h"
#include "editor/scanner.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QTextBlock>

#include <vector>

class CSourceColorer;
class CTextMarks;
class QPainter;

// Paints the text area a page at a time, as the text edit paints it, block by
// block, with one difference: the text of a line laid out in one row without
// colours of its own, with no selection on it and in formats the glyph
// batches can draw (CGlyphBatches::CanDraw), goes to the batches and is drawn
// in its colours with the rest of the page, one call for each colour.
// Everything else is drawn through the line's layout, as Qt draws it:
// selections, marks' underlines, composed input, and lines whose colours are
// in their layouts. The caret is drawn last, over all text.
class CTextPainter
{
public:
    CTextPainter(const CSourceColorer &colorer, const CTextMarks &marks);

    // What one paint event covers, as the text edit tells it.
    struct Page
    {
        QFont font;       // the text's font, which the faces and colours follow
        QTextBlock first; // the first block in view
        QPointF offset;   // where it is drawn
        QRect clip;
        int bottom = 0; // the text area's height
        QAbstractTextDocumentLayout::PaintContext context;
        bool caretShown = true;
        bool readOnly = false;
        int caretWidth = 1;
    };
    void Paint(QPainter &painter, const Page &page);

    // The glyph batches for text in font (the laid-out face also draws the
    // line numbers); their faces and colours are made on first use, and again
    // when the font changes.
    const CGlyphBatches &BatchesFor(const QFont &font);

    // Lines up to this long are drawn whole; of longer ones, only what is in view.
    static constexpr int kWholeLineChars = 1024;

private:
    // Draws one block's text and selections, or hands its glyphs to the batches.
    void PaintBlock(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRect &clip,
                    const QAbstractTextDocumentLayout::PaintContext &context);

    const CSourceColorer &m_colorer;
    const CTextMarks &m_marks;
    CGlyphBatches m_batches;
    std::vector<ColorSpan> m_spans; // the spans of the line being painted
};
