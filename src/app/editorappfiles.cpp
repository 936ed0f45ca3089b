// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The application's file commands: New, Open and the recent files.
#include "app/editorapp.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "core/recoverystore.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/sourcecodec.h"

#include <QDir>
#include <QTimer>
#include <QUrl>

namespace {
const QString kOpenCaption = QStringLiteral("Open");
const QString kRecovered = QStringLiteral("Unsaved changes of %1 were recovered.\nOpen them?");
} // namespace

void CEditorApp::OnFileNew()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OpenNewDocument();
}

void CEditorApp::OnFileOpen()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::OpenFile;
    request.caption = kOpenCaption;
    request.filters = CRichSyntaxDoc::FileFilters();
    const QString path = Services().FileDialog(m_pMainFrame, request);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CEditorApp::OnOpenRecentFile(int index)
{
    if (!m_pRecentFiles)
        return;
    const QString path = m_pRecentFiles->At(index);
    if (path.isEmpty())
        return;
    // An entry that no longer opens has had its failure reported; it leaves the list.
    if (!OpenDocumentFile(path)) {
        m_pRecentFiles->Remove(path);
        if (m_pMainFrame)
            m_pMainFrame->RebuildRecentFileMenu();
    }
}

bool CEditorApp::OpenDocumentFile(const QString &path)
{
    return m_pDocTemplate && m_pDocTemplate->OpenDocumentFile(path) != nullptr;
}

void CEditorApp::OfferRecoveredWork()
{
    const QList<RecoveryEntry> entries = CRecoveryStore::TakeOrphans();
    for (const RecoveryEntry &entry : entries) {
        const QString name = entry.path.isEmpty() ? entry.title : QDir::toNativeSeparators(entry.path);
        if (::MessageBox(kRecovered.arg(name), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            continue;
        // A save's backup holds the file's old bytes; unsaved text is kept as UTF-8.
        DecodedSource source;
        if (entry.kind == RecoveryEntry::SaveBackup) {
            source = DecodeSource(entry.bytes);
        } else {
            source.text = QString::fromUtf8(entry.bytes);
            source.encoding = SourceEncodingFromName(entry.encoding);
        }
        if (m_pDocTemplate)
            m_pDocTemplate->OpenRecoveredDocument(entry.path, entry.title, source.text, source.encoding);
    }
    CRecoveryStore::DiscardOrphans();
}

bool CEditorApp::GoToSource(const QString &path, int line, int column)
{
    if (!OpenDocumentFile(path))
        return false;
    if (CRichSyntaxView *view = m_pMainFrame->ActiveView())
        view->GoToPosition(line, column);
    return true;
}

void CEditorApp::AddToRecentFileList(const QString &path)
{
    if (!m_pRecentFiles)
        return;
    m_pRecentFiles->Add(path);
    if (m_pMainFrame)
        m_pMainFrame->RebuildRecentFileMenu();
}

void CEditorApp::OpenHandedFiles(const QStringList &files)
{
    if (!m_pMainFrame)
        return;
    // The user asked from the desktop: the window comes forward, also from the task bar.
    m_pMainFrame->setWindowState((m_pMainFrame->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_pMainFrame->show();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
    for (const QString &file : files)
        OpenDocumentFile(file);
}

void CEditorApp::OpenDroppedFiles(const QStringList &files)
{
    QTimer::singleShot(0, this, [this, files] {
        for (const QString &file : files)
            OpenDocumentFile(file);
    });
}
