// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/gutterwidget.h"

#include "editor/richsyntaxview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>

CGutterWidget::CGutterWidget(CRichSyntaxView *view) : QWidget(view), m_pView(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGutterWidget::paintEvent(QPaintEvent *event)
{
    m_pView->PaintGutter(this, event->rect());
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
