// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/childframe.h"

#include <QTextDocument>

#include "app/doctemplate.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMenu>

namespace {
const QString kUnsavedMark = QStringLiteral("*");
const QString kFolderAfterName = QStringLiteral(" \u2014 %1");
} // namespace

CChildFrame::CChildFrame(CRichSyntaxDoc *doc, QWidget *parent)
    : QMdiSubWindow(parent), m_pDocument(doc), m_pView(new CRichSyntaxView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    setWindowIcon(QIcon(QStringLiteral(":/res/svg/docicon.svg")));
    // Ctrl+F4 is the main window's command, which closes the active window;
    // the window menu's own binding of it would make the key ambiguous.
    if (QMenu *menu = systemMenu()) {
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4))) {
                action->setText(action->text() + QLatin1Char('\t')
                                + action->shortcut().toString(QKeySequence::NativeText));
                action->setShortcuts({});
            }
        }
    }
    connect(doc, &CRichSyntaxDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(doc, &CRichSyntaxDoc::ViewsChanged, this, &CChildFrame::UpdateTitle);
    // An unsaved change shows as "*" after the name, and goes once saved or undone.
    connect(doc->TextDocument(), &QTextDocument::modificationChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

CChildFrame::~CChildFrame()
{
    // The view goes first, while the document whose text it shows still exists.
    if (m_pDocument)
        m_pDocument->disconnect(this);
    delete m_pView;
    m_pView = nullptr;
    if (m_pDocument && m_pDocument->Views().isEmpty()) {
        if (auto *docTemplate = qobject_cast<CDocTemplate *>(m_pDocument->parent()))
            docTemplate->RemoveDocument(m_pDocument);
    }
}

void CChildFrame::UpdateTitle()
{
    // The main frame follows the window's title into its caption. Windows of
    // one document are told apart by their number, in the order they opened.
    QString title = m_pDocument->GetTitle();
    m_pView->setAccessibleName(title);
    const QList<CRichSyntaxView *> views = m_pDocument->Views();
    const qsizetype number = views.indexOf(m_pView);
    if (views.size() > 1 && number >= 0)
        title += QStringLiteral(":%1").arg(number + 1);
    if (m_pDocument->IsModified())
        title += kUnsavedMark;
    // The folder comes last, so that neither the number nor the mark reads as part of it.
    if (!m_strDistinctFolder.isEmpty())
        title += kFolderAfterName.arg(m_strDistinctFolder);
    setWindowTitle(title);
}

void CChildFrame::SetDistinctFolder(const QString &folder)
{
    if (folder == m_strDistinctFolder)
        return;
    m_strDistinctFolder = folder;
    UpdateTitle();
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
