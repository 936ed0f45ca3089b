// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The application's file commands: New, Open and the recent files.
#include "app/editorapp.h"

#include "app/doctemplate.h"

void CEditorApp::OnFileNew()
{
    m_pDocTemplate->OpenNewDocument();
}

void CEditorApp::OnFileOpen() {}

void CEditorApp::OnOpenRecentFile(int) {}

bool CEditorApp::OpenDocumentFile(const QString &path)
{
    return m_pDocTemplate->OpenDocumentFile(path) != nullptr;
}
