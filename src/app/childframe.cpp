// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/childframe.h"

#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CRichSyntaxDoc *doc, QWidget *parent)
    : QMdiSubWindow(parent), m_pDocument(doc), m_pView(new CRichSyntaxView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    connect(doc, &CRichSyntaxDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(doc, &CRichSyntaxDoc::ModifiedChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::UpdateTitle()
{
    setWindowTitle(m_pDocument->GetTitle());
}

void CChildFrame::closeEvent(QCloseEvent *event)
{
    QMdiSubWindow::closeEvent(event);
}
