// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/doctemplate.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

CDocTemplate::CDocTemplate(CMainFrame *mainFrame)
    : QObject(mainFrame), m_pMainFrame(mainFrame)
{
}

CDocTemplate::~CDocTemplate() = default;

CChildFrame *CDocTemplate::MakeFrame(CRichSyntaxDoc *doc)
{
    auto *frame = new CChildFrame(doc);
    m_pMainFrame->AddChildFrame(frame);
    frame->GetView()->OnInitialUpdate();
    return frame;
}

CRichSyntaxDoc *CDocTemplate::OpenNewDocument()
{
    auto *doc = new CRichSyntaxDoc(this);
    if (!doc->OnNewDocument()) {
        delete doc;
        return nullptr;
    }
    ++m_nUntitledCount;
    if (doc->GetPathName().isEmpty())
        doc->SetTitle(QStringLiteral("Untitled%1").arg(m_nUntitledCount));
    m_documents.append(doc);
    MakeFrame(doc);
    return doc;
}

CRichSyntaxDoc *CDocTemplate::OpenDocumentFile(const QString &path, bool addToRecent)
{
    auto *doc = new CRichSyntaxDoc(this);
    if (!doc->OnOpenDocument(path)) {
        delete doc;
        return nullptr;
    }
    doc->SetPathName(path, addToRecent);
    m_documents.append(doc);
    MakeFrame(doc);
    return doc;
}

CChildFrame *CDocTemplate::CreateNewFrame(CRichSyntaxDoc *doc)
{
    return MakeFrame(doc);
}

CRichSyntaxDoc *CDocTemplate::FindDocument(const QString &) const
{
    return nullptr;
}

bool CDocTemplate::SaveAllModified()
{
    return true;
}

void CDocTemplate::CloseAllDocuments() {}

void CDocTemplate::RemoveDocument(CRichSyntaxDoc *doc)
{
    m_documents.removeAll(doc);
    doc->deleteLater();
}
