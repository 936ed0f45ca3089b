// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/textpainter.h"

#include "editor/sourcecolorer.h"
#include "editor/textmarks.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

namespace {
// A mark's underline: wavy, in its kind's colour.
QTextCharFormat MarkFormat(MarkKind kind)
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(MarkColor(kind));
    return format;
}
} // namespace

CTextPainter::CTextPainter(const CSourceColorer &colorer, const CTextMarks &marks) : m_colorer(colorer), m_marks(marks)
{}

const CGlyphBatches &CTextPainter::BatchesFor(const QFont &font)
{
    if (m_batches.Font() != font)
        m_batches.SetStyles(font, [this](ColorKind kind) { return m_colorer.Format(kind); });
    return m_batches;
}

void CTextPainter::Paint(QPainter &painter, const Page &page)
{
    BatchesFor(page.font);
    painter.setClipRect(page.clip);
    painter.setPen(page.context.palette.text().color());
    const int cursorPosition = page.context.cursorPosition;
    QTextLayout *caretLayout = nullptr;
    QPointF caretAt;
    int caretPosition = 0;

    QPointF offset = page.offset;
    for (QTextBlock block = page.first; block.isValid() && offset.y() <= page.bottom; block = block.next()) {
        const QRectF rect = block.document()->documentLayout()->blockBoundingRect(block).translated(offset);
        if (block.isVisible() && rect.bottom() >= page.clip.top() && rect.top() <= page.clip.bottom()) {
            PaintBlock(painter, block, offset, page.clip, page.context);
            QTextLayout *layout = block.layout();
            const int position = block.position();
            if (page.caretShown && cursorPosition >= position && cursorPosition < position + block.length()) {
                caretLayout = layout;
                caretAt = offset;
                caretPosition = cursorPosition - position;
            } else if (!page.readOnly && cursorPosition < -1 && !layout->preeditAreaText().isEmpty()) {
                // While an input method composes, the caret stands in the composed text.
                caretLayout = layout;
                caretAt = offset;
                caretPosition = layout->preeditAreaPosition() - (cursorPosition + 2);
            }
        }
        offset.ry() += rect.height();
    }
    m_batches.Draw(&painter);
    if (caretLayout)
        caretLayout->drawCursor(&painter, caretAt, caretPosition, page.caretWidth);
}

namespace {
using Ranges = QList<QTextLayout::FormatRange>;

// The selections that reach into the block, in its own positions.
Ranges SelectionsIn(const QTextBlock &block, const QAbstractTextDocumentLayout::PaintContext &context)
{
    const int position = block.position();
    const int length = block.length();
    Ranges selections;
    for (const QAbstractTextDocumentLayout::Selection &selection : context.selections) {
        const int start = selection.cursor.selectionStart() - position;
        const int end = selection.cursor.selectionEnd() - position;
        const bool fullWidth = selection.format.hasProperty(QTextFormat::FullWidthSelection);
        if (start < length && end > 0 && end > start) {
            selections.append({start, end - start, selection.format});
        } else if (!selection.cursor.hasSelection() && fullWidth && block.contains(selection.cursor.position())) {
            // A whole-row mark, such as a current-line band; the layout draws it.
            const QTextLine line = block.layout()->lineForTextPosition(selection.cursor.position() - position);
            selections.append({line.textStart(), line.textLength() + 1, selection.format});
        }
    }
    return selections;
}

// Marks' underlines go under the selections; where a selection covers one,
// the selected text is drawn once more with the underline.
Ranges WithUnderlines(const Ranges &selections, const QList<const CTextMarks::Mark *> &marks, const QString &text)
{
    Ranges underlines;
    Ranges covered;
    for (const CTextMarks::Mark *mark : marks) {
        const QTextLayout::FormatRange underline{mark->column, CTextMarks::UnderlinedLength(text, mark->column),
                                                 MarkFormat(mark->kind)};
        underlines.append(underline);
        for (const QTextLayout::FormatRange &selection : selections) {
            const int start = qMax(underline.start, selection.start);
            const int end = qMin(underline.start + underline.length, selection.start + selection.length);
            if (end > start) {
                QTextCharFormat format = selection.format;
                format.clearProperty(QTextFormat::FullWidthSelection);
                format.merge(underline.format);
                covered.append({start, end - start, format});
            }
        }
    }
    return underlines + selections + covered;
}

// A line with a selection is drawn by Qt, as it draws coloured text and
// selections: from a layout of the line with its colours.
void DrawWithColors(QPainter &painter, const QTextBlock &block, const Ranges &colored, const Ranges &selections,
                    const QPointF &offset, const QRect &clip)
{
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout->lineAt(0);
    QTextLayout withColors(block.text(), block.document()->defaultFont());
    withColors.setTextOption(layout->textOption());
    withColors.setFormats(colored);
    withColors.beginLayout();
    QTextLine same = withColors.createLine();
    same.setLineWidth(line.width());
    same.setPosition(line.position());
    withColors.endLayout();
    withColors.draw(&painter, offset, selections, clip);
}
} // namespace

void CTextPainter::PaintBlock(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRect &clip,
                              const QAbstractTextDocumentLayout::PaintContext &context)
{
    QTextLayout *layout = block.layout();
    const QString text = block.text();
    Ranges selections = SelectionsIn(block, context);
    const QList<const CTextMarks::Mark *> marks = m_marks.OnBlock(block);
    if (!marks.isEmpty())
        selections = WithUnderlines(selections, marks, text);
    m_spans.clear();
    if (layout->formats().isEmpty())
        m_colorer.ColorSpans(text, m_spans);
    const bool oneLine = layout->lineCount() == 1 && layout->preeditAreaText().isEmpty();
    if (selections.isEmpty() && !m_spans.empty() && oneLine) {
        const QTextLine line = layout->lineAt(0);
        // Of a long line only the characters in view are drawn.
        int from = 0;
        int to = int(text.size());
        if (to > kWholeLineChars) {
            from = qMax(0, line.xToCursor(clip.left() - offset.x()) - 1);
            to = qMin(to, line.xToCursor(clip.right() - offset.x()) + 2);
        }
        // The text goes on the page with the rest of it.
        if (m_batches.AddLine(*layout, text, m_spans, offset, from, to))
            return;
    }
    Ranges colored;
    colored.reserve(qsizetype(m_spans.size()));
    for (const ColorSpan &span : m_spans)
        colored.append({span.start, span.length, m_colorer.Format(span.kind)});
    if (!colored.isEmpty() && !selections.isEmpty() && oneLine) {
        DrawWithColors(painter, block, colored, selections, offset, clip);
        return;
    }
    // Everything else is drawn by the layout: with its own colours, or with
    // the line's drawn as selections under the real ones.
    layout->draw(&painter, offset, colored + selections, clip);
}
