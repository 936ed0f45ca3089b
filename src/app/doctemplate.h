// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/fileresult.h"
#include "editor/filestate.h"
#include "editor/sourcecodec.h"

#include <QList>
#include <QObject>

class CChildFrame;
class CMainFrame;
class CRichSyntaxDoc;

// Makes document, child frame and view together and keeps the open documents.
class CDocTemplate : public QObject
{
    Q_OBJECT
public:
    explicit CDocTemplate(CMainFrame *mainFrame);
    ~CDocTemplate() override;

    // File/New: a document whose creation runs the wizard. nullptr when it was abandoned.
    CRichSyntaxDoc *OpenNewDocument();
    // Opens a file, or activates the window that shows it already. nullptr on
    // failure, which is reported, or handed back in failure where one is given.
    CRichSyntaxDoc *OpenDocumentFile(const QString &path, bool addToRecent = true, FileResult *failure = nullptr);
    // Window/New Window: one more window on the document.
    CChildFrame *CreateNewFrame(CRichSyntaxDoc *doc);
    // A document that takes up recovered text, modified and not yet saved: the
    // open document of path where it holds no changes of its own, else a new
    // one attached to path (the file on disk is not read: it may be cut). A
    // further version of a file whose document holds changes already becomes
    // a new untitled document captioned with the file's name and
    // "(recovered)", so that neither is lost; text that never had a path gets
    // its title. diskState is the file as the text's document last knew it,
    // null where that is not known. False when the text could not be kept
    // for recovery again.
    bool OpenRecoveredDocument(const QString &path, const QString &title, const QString &text, SourceEncoding encoding,
                               const FileState *diskState);

    CRichSyntaxDoc *FindDocument(const QString &path) const;
    // The windows that show a document, oldest first.
    static QList<CChildFrame *> Frames(const CRichSyntaxDoc *doc);
    QList<CRichSyntaxDoc *> Documents() const { return m_documents; }

    // The closing prompt for every modified document; false when the user cancelled.
    bool SaveAllModified();
    void CloseAllDocuments();

    // Called by a document's last frame as it goes; the document goes with it.
    void RemoveDocument(CRichSyntaxDoc *doc);

private:
    CRichSyntaxDoc *MakeDocument();
    CChildFrame *MakeFrame(CRichSyntaxDoc *doc);

    CMainFrame *m_pMainFrame;
    QList<CRichSyntaxDoc *> m_documents;
    int m_nUntitledCount = 0;
};
