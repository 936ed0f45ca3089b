// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/gutterwidget.h"

#include "editor/richsyntaxview.h"
#include "editor/textmarks.h"
#include "editor/textpainter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace {
const QColor kGutterInk(0, 128, 128);
// The numbers end this many pixels before the separator.
constexpr int kNumberGap = 3;
// A mark's sign in the gutter: its left edge, and its size as a share of the text's ascent.
// Between the sign and the number stays kSignGap at least; a sign smaller
// than kSignLeast is left out. The tint behind a marked number is this opaque.
constexpr qreal kSignLeft = 1;
constexpr qreal kSignShare = 0.8;
constexpr qreal kSignGap = 1;
constexpr qreal kSignLeast = 4;
constexpr int kTintAlpha = 40;
} // namespace

CGutterWidget::CGutterWidget(CRichSyntaxView *view) : QWidget(view), m_pView(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGutterWidget::SetNumbersWidth(int width)
{
    m_nNumbersWidth = width;
    update();
}

void CGutterWidget::FollowUpdate(const QRect &rect, int dy)
{
    // The separator stays where it is; only the numbers move with the text.
    if (dy != 0)
        scroll(0, dy, QRect(0, 0, m_nNumbersWidth - 1, height()));
    else
        update(0, rect.y(), width(), rect.height());
}

void CGutterWidget::paintEvent(QPaintEvent *event)
{
    const QRect rect = event->rect();
    // The separator sits one pixel inside the numbers' part.
    const int x = m_nNumbersWidth - 1;
    QPainter painter(this);
    painter.fillRect(rect, Qt::white);
    if (x < 1)
        return;
    // Dotted: every second pixel from the strip's top.
    static const QPixmap dot = [] {
        QImage image(1, 2, QImage::Format_RGB32);
        image.setPixelColor(0, 0, kGutterInk);
        image.setPixelColor(0, 1, Qt::white);
        return QPixmap::fromImage(image);
    }();
    painter.drawTiledPixmap(QRect(x, rect.top(), 1, rect.height()), dot, QPoint(0, rect.top() % 2));

    // The numbers are drawn from the digits' glyphs in the text's face,
    // right-aligned by the digits' advances, all in one run.
    const CGlyphBatches &digits = m_pView->Painter().BatchesFor(m_pView->TextFont());
    const CTextMarks &marks = m_pView->Marks();
    const qreal ascent = QFontMetricsF(m_pView->TextFont()).ascent();
    const int right = x - kNumberGap;
    painter.setPen(kGutterInk);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QTextBlock block = m_pView->FirstShownBlock();
    for (int number = block.blockNumber() + 1; block.isValid(); block = block.next(), ++number) {
        const QRectF row = m_pView->ShownRect(block);
        const int top = int(row.top());
        if (top > rect.bottom())
            break;
        if (!block.isVisible() || top + row.height() < rect.top())
            continue;
        // On the row's baseline, which a taller face in the row moves down.
        const QTextLayout *layout = block.layout();
        const qreal baseline =
            layout && layout->lineCount() > 0 ? layout->lineAt(0).y() + layout->lineAt(0).ascent() : ascent;
        // Right-aligned: the last digit first.
        qreal pen = right;
        for (int rest = number; rest > 0; rest /= 10) {
            const char16_t digit = char16_t(u'0' + rest % 10);
            pen -= digits.PlainAdvance(digit);
            glyphs.append(digits.PlainGlyph(digit));
            positions.append(QPointF(pen, top + baseline));
        }
        // A marked line's number stands on a tint of its gravest kind, and
        // its sign at the strip's left on the baseline, as large as the room
        // before the number allows: a long number is never covered.
        const QList<const CTextMarks::Mark *> onRow = marks.OnBlock(block);
        if (!onRow.isEmpty()) {
            const MarkKind kind = CTextMarks::Gravest(onRow);
            QColor tint = MarkColor(kind);
            tint.setAlpha(kTintAlpha);
            painter.fillRect(QRectF(0, top, x, row.height()), tint);
            const qreal size = qMin(ascent * kSignShare, pen - kSignLeft - kSignGap);
            if (size >= kSignLeast)
                PaintMarkSign(&painter, QRectF(kSignLeft, top + baseline - size, size, size), kind);
        }
    }
    QGlyphRun run;
    run.setRawFont(digits.PlainFace());
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

bool CGutterWidget::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        m_pView->ShowMarkTip(*static_cast<QHelpEvent *>(event), this, true);
        return true;
    }
    return QWidget::event(event);
}

void CGutterWidget::mousePressEvent(QMouseEvent *event)
{
    ForwardToText(event);
}
void CGutterWidget::mouseMoveEvent(QMouseEvent *event)
{
    ForwardToText(event);
}
void CGutterWidget::mouseReleaseEvent(QMouseEvent *event)
{
    ForwardToText(event);
}
void CGutterWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    ForwardToText(event);
}

void CGutterWidget::ForwardToText(QMouseEvent *event)
{
    QWidget *text = m_pView->viewport();
    QMouseEvent forwarded(event->type(), text->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                          event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(text, &forwarded);
    event->setAccepted(forwarded.isAccepted());
}
