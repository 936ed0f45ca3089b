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

void CTextPainter::SetFont(const QFont &font)
{
    if (m_batches.Font() != font)
        m_batches.SetStyles(font, [this](ColorKind kind) { return m_colorer.Format(kind); });
}

void CTextPainter::Paint(QPainter &painter, const Page &page)
{
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

void CTextPainter::PaintBlock(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRect &clip,
                              const QAbstractTextDocumentLayout::PaintContext &context)
{
    QTextLayout *layout = block.layout();
    const int position = block.position();
    const int length = block.length();
    // The selections that reach into the block, in its own positions.
    QList<QTextLayout::FormatRange> selections;
    for (const QAbstractTextDocumentLayout::Selection &selection : context.selections) {
        const int start = selection.cursor.selectionStart() - position;
        const int end = selection.cursor.selectionEnd() - position;
        const bool fullWidth = selection.format.hasProperty(QTextFormat::FullWidthSelection);
        if (start < length && end > 0 && end > start) {
            selections.append({start, end - start, selection.format});
        } else if (!selection.cursor.hasSelection() && fullWidth && block.contains(selection.cursor.position())) {
            // A whole-row mark, such as a current-line band; the layout draws it.
            const QTextLine line = layout->lineForTextPosition(selection.cursor.position() - position);
            selections.append({line.textStart(), line.textLength() + 1, selection.format});
        }
    }

    const QString text = block.text();
    // Marks' underlines go under the selections; where a selection covers
    // one, the selected text is drawn once more with the underline.
    const QList<const CTextMarks::Mark *> marks = m_marks.OnBlock(block);
    if (!marks.isEmpty()) {
        QList<QTextLayout::FormatRange> underlines;
        QList<QTextLayout::FormatRange> covered;
        for (const CTextMarks::Mark *mark : marks) {
            const QTextLayout::FormatRange underline{mark->column, CTextMarks::UnderlinedLength(text, mark->column),
                                                     MarkFormat(mark->kind)};
            underlines.append(underline);
            for (const QTextLayout::FormatRange &selection : std::as_const(selections)) {
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
        selections = underlines + selections + covered;
    }
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
    QList<QTextLayout::FormatRange> colored;
    colored.reserve(qsizetype(m_spans.size()));
    for (const ColorSpan &span : m_spans)
        colored.append({span.start, span.length, m_colorer.Format(span.kind)});
    if (!colored.isEmpty() && !selections.isEmpty() && oneLine) {
        // A line with a selection is drawn by Qt, as it draws coloured text
        // and selections: from a layout of the line with its colours.
        const QTextLine line = layout->lineAt(0);
        QTextLayout withColors(text, block.document()->defaultFont());
        withColors.setTextOption(layout->textOption());
        withColors.setFormats(colored);
        withColors.beginLayout();
        QTextLine same = withColors.createLine();
        same.setLineWidth(line.width());
        same.setPosition(line.position());
        withColors.endLayout();
        withColors.draw(&painter, offset, selections, clip);
        return;
    }
    // Everything else is drawn by the layout: with its own colours, or with
    // the line's drawn as selections under the real ones.
    selections = colored + selections;
    layout->draw(&painter, offset, selections, clip);
}
