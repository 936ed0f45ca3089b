// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/mainframe.h"

#include "app/childframe.h"

#include <QMdiArea>

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    m_pMdiArea = new QMdiArea(this);
    setCentralWidget(m_pMdiArea);
    setWindowTitle(AppTitle());
}

CMainFrame::~CMainFrame() = default;

QString CMainFrame::AppTitle()
{
    return QStringLiteral("Quarn BASIC Editor v1.3.8c");
}

CChildFrame *CMainFrame::ActiveChildFrame() const
{
    return qobject_cast<CChildFrame *>(m_pMdiArea->activeSubWindow());
}

CRichSyntaxDoc *CMainFrame::ActiveDocument() const
{
    CChildFrame *frame = ActiveChildFrame();
    return frame ? frame->GetDocument() : nullptr;
}

CRichSyntaxView *CMainFrame::ActiveView() const
{
    CChildFrame *frame = ActiveChildFrame();
    return frame ? frame->GetView() : nullptr;
}

void CMainFrame::AddChildFrame(CChildFrame *frame)
{
    m_pMdiArea->addSubWindow(frame);
    frame->showMaximized();
}

void CMainFrame::UpdateFrameState() {}
void CMainFrame::RebuildRecentFileMenu() {}
void CMainFrame::dragEnterEvent(QDragEnterEvent *) {}
void CMainFrame::dropEvent(QDropEvent *) {}
void CMainFrame::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
bool CMainFrame::eventFilter(QObject *watched, QEvent *event) { return QMainWindow::eventFilter(watched, event); }
void CMainFrame::CreateActions() {}
void CMainFrame::CreateMenus() {}
void CMainFrame::CreateToolBar() {}
void CMainFrame::CreateStatusBar() {}
void CMainFrame::UpdateIndicators() {}
void CMainFrame::OnCommand(int) {}
