// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/doctemplate.h"

#include "app/childframe.h"
#include "app/editorapp.h"
#include "app/mainframe.h"
#include "core/filepaths.h"
#include "core/uitext.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "wizard/newdocument.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

namespace {
const UiText kUntitled{"CDocTemplate", QT_TRANSLATE_NOOP("CDocTemplate", "Untitled%1")};
const UiText kRecoveredCopy{"CDocTemplate", QT_TRANSLATE_NOOP("CDocTemplate", "%1 (recovered)")};

} // namespace

CDocTemplate::CDocTemplate(CMainFrame *mainFrame) : QObject(mainFrame), m_pMainFrame(mainFrame) {}

CDocTemplate::~CDocTemplate()
{
    // The windows go before their documents: a view must never outlive the text it shows.
    const QList<CRichSyntaxDoc *> documents = m_documents;
    for (CRichSyntaxDoc *doc : documents)
        qDeleteAll(Frames(doc));
}

QList<CChildFrame *> CDocTemplate::Frames(const CRichSyntaxDoc *doc)
{
    QList<CChildFrame *> frames;
    const QList<CRichSyntaxView *> views = doc->Views();
    for (CRichSyntaxView *view : views) {
        if (auto *frame = qobject_cast<CChildFrame *>(view->parentWidget()))
            frames.append(frame);
    }
    return frames;
}

CRichSyntaxDoc *CDocTemplate::MakeDocument()
{
    auto *doc = new CRichSyntaxDoc(this);
    connect(doc, &CRichSyntaxDoc::PathNameChanged, this, [](const QString &path, bool addToRecent) {
        if (addToRecent)
            CEditorApp::Instance()->AddToRecentFileList(path);
    });
    connect(doc, &CRichSyntaxDoc::Saved, this, &CEditorApp::AddToDesktopRecentlyUsed);
    return doc;
}

CChildFrame *CDocTemplate::MakeFrame(CRichSyntaxDoc *doc)
{
    auto *frame = new CChildFrame(doc);
    connect(frame->GetView(), &CRichSyntaxView::FilesDropped, CEditorApp::Instance(), &CEditorApp::OpenDroppedFiles);
    m_pMainFrame->AddChildFrame(frame);
    frame->GetView()->OnInitialUpdate();
    return frame;
}

CRichSyntaxDoc *CDocTemplate::OpenNewDocument()
{
    NewDocumentRequest request;
    if (!RunNewDocumentWizard(&request))
        return nullptr;
    CRichSyntaxDoc *doc = MakeDocument();
    doc->OnNewDocument();
    // The project file is written where it is created; should that fail, the
    // text still opens, unsaved, after the message.
    if (request.IsProject())
        doc->StartNewFile(request.path, request.text).Report();
    // Project documents count too, though they are titled after their file.
    ++m_nUntitledCount;
    if (doc->GetPathName().isEmpty())
        doc->SetTitle(kUntitled.arg(m_nUntitledCount));
    m_documents.append(doc);
    CChildFrame *frame = MakeFrame(doc);
    if (request.IsProject())
        frame->GetView()->moveCursor(QTextCursor::End);
    return doc;
}

CRichSyntaxDoc *CDocTemplate::OpenDocumentFile(const QString &path, bool addToRecent, FileResult *failure)
{
    if (CRichSyntaxDoc *open = FindDocument(path)) {
        const QList<CChildFrame *> frames = Frames(open);
        if (!frames.isEmpty()) {
            CChildFrame *frame = frames.constFirst();
            if (frame->isMinimized())
                frame->showMaximized();
            m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
        }
        return open;
    }
    CRichSyntaxDoc *doc = MakeDocument();
    const FileResult opened = doc->OnOpenDocument(path);
    if (!opened.Ok()) {
        delete doc;
        if (failure)
            *failure = opened;
        else
            opened.Report();
        return nullptr;
    }
    doc->SetPathName(path, addToRecent);
    m_documents.append(doc);
    MakeFrame(doc);
    return doc;
}

bool CDocTemplate::OpenRecoveredDocument(const QString &path, const QString &title, const QString &text,
                                         SourceEncoding encoding, const FileState *diskState)
{
    CRichSyntaxDoc *doc = FindDocument(path);
    if (doc && !doc->IsModified()) {
        const QList<CChildFrame *> frames = Frames(doc);
        if (!frames.isEmpty())
            m_pMainFrame->MdiArea()->setActiveSubWindow(frames.constFirst());
    } else {
        doc = MakeDocument();
        if (!path.isEmpty() && !FindDocument(path)) {
            doc->SetPathName(path, false);
        } else if (!path.isEmpty()) {
            doc->SetTitle(kRecoveredCopy.arg(QFileInfo(path).fileName()));
            doc->SetRecoveredFrom(path);
        } else {
            doc->SetTitle(title.isEmpty() ? kUntitled.arg(++m_nUntitledCount) : title);
        }
        m_documents.append(doc);
        MakeFrame(doc);
    }
    // Kept again at once, so that the entry it came from can go.
    const FileState none;
    return doc->TakeRecoveredText(text, encoding, path.isEmpty() ? &none : diskState);
}

CChildFrame *CDocTemplate::CreateNewFrame(CRichSyntaxDoc *doc)
{
    if (!doc || !m_documents.contains(doc))
        return nullptr;
    return MakeFrame(doc);
}

CRichSyntaxDoc *CDocTemplate::FindDocument(const QString &path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString wanted = ComparablePath(path);
    for (CRichSyntaxDoc *doc : m_documents) {
        if (!doc->GetPathName().isEmpty() && ComparablePath(doc->GetPathName()) == wanted)
            return doc;
    }
    return nullptr;
}

bool CDocTemplate::SaveAllModified()
{
    const QList<CRichSyntaxDoc *> documents = m_documents;
    for (CRichSyntaxDoc *doc : documents) {
        if (!doc->SaveModified())
            return false;
    }
    return true;
}

void CDocTemplate::CloseAllDocuments()
{
    // The user has answered for every document already; nothing asks again.
    const QList<CRichSyntaxDoc *> documents = m_documents;
    for (CRichSyntaxDoc *doc : documents) {
        qDeleteAll(Frames(doc));
        RemoveDocument(doc);
    }
    m_pMainFrame->UpdateFrameState();
}

void CDocTemplate::RemoveDocument(CRichSyntaxDoc *doc)
{
    if (!m_documents.removeAll(doc))
        return;
    // Later, because the command that closed the last window may still hold it.
    doc->deleteLater();
}
