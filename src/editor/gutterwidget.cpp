// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/gutterwidget.h"

#include "editor/richsyntaxview.h"

#include <QPaintEvent>

CGutterWidget::CGutterWidget(CRichSyntaxView *view)
    : QWidget(view), m_pView(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGutterWidget::paintEvent(QPaintEvent *event)
{
    m_pView->PaintGutter(this, event->rect());
}
