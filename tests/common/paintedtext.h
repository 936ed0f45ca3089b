// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/richsyntaxview.h"
#include "editor/scanner.h"
#include "editor/sourcecolorer.h"

#include <QImage>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

// What a view paints, read back from its pixels, beside what Qt's own text
// edit paints for the same text with every colour put in as a character
// format: the two must not differ by a pixel.
namespace PaintedText {

// The view's text area as it is painted now, without the caret.
inline QImage Painted(CRichSyntaxView &view)
{
    const int caretWidth = view.cursorWidth();
    view.setCursorWidth(0);
    QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    view.setCursorWidth(caretWidth);
    return image;
}

// The rows in view drawn by a bare text edit of the same size, face, tab
// stops, colours, scroll position and selection, from character formats.
inline QImage Reference(CRichSyntaxView &view)
{
    QPlainTextEdit edit;
    edit.setFrameShape(QFrame::NoFrame);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit.setPalette(view.palette());
    // The editor's face and size, drawn as Qt draws them by default.
    QFont font = view.font();
    font.setStyleStrategy(QFont::PreferDefault);
    edit.setFont(font);
    edit.setCursorWidth(0);
    QTextDocument *original = view.document();
    auto *copy = new QTextDocument(&edit);
    copy->setDocumentLayout(new QPlainTextDocumentLayout(copy));
    copy->setDefaultFont(font);
    copy->setDefaultTextOption(original->defaultTextOption());
    copy->setDocumentMargin(original->documentMargin());
    copy->setPlainText(original->toPlainText());
    const CSourceColorer *highlighter = CSourceColorer::ForDocument(original);
    const int first = view.cursorForPosition(QPoint(0, 0)).blockNumber();
    const int last = view.cursorForPosition(QPoint(0, view.viewport()->height())).blockNumber();
    QTextCursor cursor(copy);
    std::vector<ColorSpan> spans;
    for (QTextBlock block = copy->findBlockByNumber(first); block.isValid() && block.blockNumber() <= last;
         block = block.next()) {
        spans.clear();
        highlighter->ColorSpans(block.text(), spans);
        for (const ColorSpan &span : spans) {
            cursor.setPosition(block.position() + span.start);
            cursor.setPosition(block.position() + span.start + span.length, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(highlighter->Format(span.kind));
        }
    }
    edit.setDocument(copy);
    QTextCursor selection(copy);
    selection.setPosition(view.textCursor().anchor());
    selection.setPosition(view.textCursor().position(), QTextCursor::KeepAnchor);
    edit.setTextCursor(selection);
    // The view's extra selections, on the copy's text.
    QList<QTextEdit::ExtraSelection> extras;
    for (const QTextEdit::ExtraSelection &extra : view.extraSelections()) {
        QTextCursor range(copy);
        range.setPosition(extra.cursor.anchor());
        range.setPosition(extra.cursor.position(), QTextCursor::KeepAnchor);
        extras.append({range, extra.format});
    }
    edit.setExtraSelections(extras);
    edit.resize(view.viewport()->size());
    edit.show();
    edit.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value());
    edit.verticalScrollBar()->setValue(view.verticalScrollBar()->value());
    return edit.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Where the two differ: the first differing pixel, or (-1, -1).
inline QPoint FirstDifference(const QImage &painted, const QImage &reference)
{
    if (painted.size() != reference.size())
        return {0, 0};
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (painted.pixel(x, y) != reference.pixel(x, y))
                return {x, y};
        }
    }
    return {-1, -1};
}

// The colour one character is painted in, read from the pixels of its cell:
// of the colours text is drawn in, the one nearest to the cell's darkest
// pixel. Invalid where the cell shows no ink or lies out of view.
inline QColor InkAt(CRichSyntaxView &view, const QTextBlock &block, int index)
{
    const QImage image = Painted(view);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + index);
    const QRect from = view.cursorRect(cursor);
    cursor.setPosition(block.position() + index + 1);
    const int right = view.cursorRect(cursor).left();
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = qMax(0, from.top()); y <= from.bottom() && y < image.height(); ++y) {
        for (int x = qMax(0, from.left()); x < right && x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) < qRed(darkest) + qGreen(darkest) + qBlue(darkest))
                darkest = pixel;
        }
    }
    if (qRed(darkest) + qGreen(darkest) + qBlue(darkest) > 3 * 255 - 90)
        return {};
    // Anti-aliased ink is its colour blended with white: white less a share
    // of (white less the colour).
    const double ink[3] = {255.0 - qRed(darkest), 255.0 - qGreen(darkest), 255.0 - qBlue(darkest)};
    QColor nearest;
    double nearestError = 0;
    for (const QColor &color :
         {QColor(0, 0, 0), QColor(255, 0, 0), QColor(200, 0, 200), QColor(0, 0, 255), QColor(0, 128, 0)}) {
        const double full[3] = {255.0 - color.red(), 255.0 - color.green(), 255.0 - color.blue()};
        const double share = (ink[0] * full[0] + ink[1] * full[1] + ink[2] * full[2])
                             / (full[0] * full[0] + full[1] * full[1] + full[2] * full[2]);
        double error = 0;
        for (int i = 0; i < 3; ++i)
            error += (ink[i] - share * full[i]) * (ink[i] - share * full[i]);
        if (!nearest.isValid() || error < nearestError) {
            nearest = color;
            nearestError = error;
        }
    }
    return nearest;
}

// Whether the view paints its rows exactly as the reference does.
inline bool PaintsAsFormatted(CRichSyntaxView &view, QPoint *where = nullptr)
{
    const QPoint difference = FirstDifference(Painted(view), Reference(view));
    if (where)
        *where = difference;
    return difference == QPoint(-1, -1);
}

} // namespace PaintedText
