// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/childframe.h"

#include "app/doctemplate.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QCloseEvent>
#include <QIcon>

CChildFrame::CChildFrame(CRichSyntaxDoc *doc, QWidget *parent)
    : QMdiSubWindow(parent), m_pDocument(doc), m_pView(new CRichSyntaxView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    setWindowIcon(QIcon(QStringLiteral(":/res/docicon.png")));
    connect(doc, &CRichSyntaxDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

CChildFrame::~CChildFrame()
{
    // The view goes first, while the document whose text it shows still exists.
    delete m_pView;
    m_pView = nullptr;
    if (m_pDocument && m_pDocument->Views().isEmpty()) {
        if (auto *docTemplate = qobject_cast<CDocTemplate *>(m_pDocument->parent()))
            docTemplate->RemoveDocument(m_pDocument);
    }
}

void CChildFrame::UpdateTitle()
{
    // The main frame follows the window's title into its caption.
    setWindowTitle(m_pDocument->GetTitle());
}

bool CChildFrame::IsLastFrame() const
{
    const QList<CRichSyntaxView *> views = m_pDocument->Views();
    for (CRichSyntaxView *view : views) {
        if (view != m_pView)
            return false;
    }
    return true;
}

void CChildFrame::closeEvent(QCloseEvent *event)
{
    if (m_pDocument && IsLastFrame() && !m_pDocument->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    // A closed window no longer counts as a window of its document, even
    // before it is deleted.
    if (event->isAccepted() && m_pDocument && m_pView)
        m_pDocument->RemoveView(m_pView);
}
