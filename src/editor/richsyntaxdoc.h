// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/limit.h"
#include "editor/fileresult.h"
#include "editor/filestate.h"
#include "editor/sourcecodec.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QTextDocument;
class CRichSyntaxView;

// One open Quarn BASIC source file: its path, title and modified state, its
// loading and saving. The text lives in one QTextDocument that all of the
// document's views share.
class CRichSyntaxDoc : public QObject
{
    Q_OBJECT
public:
    // The longest line a file may hold to be opened.
    static constexpr int kMaxLineLength = 1000000;

    explicit CRichSyntaxDoc(QObject *parent = nullptr);
    ~CRichSyntaxDoc() override;

    QTextDocument *TextDocument() const { return m_pTextDoc; }
    // Every document that exists now, in the order they were made.
    static const QList<CRichSyntaxDoc *> &OpenDocuments();

    QString GetPathName() const { return m_strPathName; }
    // Sets path and title and announces the path (see PathNameChanged).
    void SetPathName(const QString &path, bool addToRecent = true);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString &title);

    // The Open and Save As dialogs' filters: source files, then all files.
    static QStringList FileFilters();

    bool IsModified() const;
    void SetModifiedFlag(bool modified = true);

    // A fresh, empty, unmodified document, as File/New starts it.
    void OnNewDocument();
    // Loads a file; what went wrong is for the caller to report.
    FileResult OnOpenDocument(const QString &path);
    // Writes the text to a file; what went wrong is for the caller to report.
    FileResult OnSaveDocument(const QString &path);
    // A new file at path that starts with text, written at once.
    FileResult StartNewFile(const QString &path, const QString &text);

    // File/Save: Save As when there is no path or the file is missing or read-only.
    bool DoFileSave();
    // Save As when path is empty; replace: the document takes the new path.
    bool DoSave(const QString &path, bool replace = true);
    // The closing prompt "Save changes to %1?"; false when the user cancelled.
    bool SaveModified();

    // When another program has changed the file since the editor read or
    // wrote it (touching it is no change), asks whether to reload it. No
    // keeps the text and asks no more until the file changes again.
    void CheckFileOnDisk();
    // Keeps the unsaved text for recovery now; the next change keeps it again
    // after s_recoveryIntervalMs. False when it could not be kept: the copy
    // kept before stays, and the status bar says so once until it can be kept again.
    bool KeepUnsavedText();
    // Takes up recovered text: modified, kept for recovery at once, and with
    // the file's state from when it was kept, so that a save asks before it
    // overwrites what another program wrote since (without that state, null,
    // the work counts as made on the file there now). False when it could
    // not be kept for recovery again.
    bool TakeRecoveredText(const QString &text, SourceEncoding encoding, const FileState *diskState);
    // The file at the document's path now, or nothing, counts as what the
    // document was made on: a first save replaces it without asking, and asks
    // should anything else take its place before then. A link is never taken
    // up so: a save asks first and replaces it.
    void AdoptFileOnDisk();
    // The file a recovered copy without a path of its own came from; Save As starts there.
    void SetRecoveredFrom(const QString &path) { m_strRecoveredFrom = path; }
    // How long after a change the unsaved text is kept for recovery.
    static inline CLimit<int> s_recoveryIntervalMs{30000};

    const QList<CRichSyntaxView *> &Views() const { return m_views; }
    void AddView(CRichSyntaxView *view);
    void RemoveView(CRichSyntaxView *view);

    SourceEncoding Encoding() const { return m_encoding; }
    // The encoding the next save writes in.
    void SetEncoding(SourceEncoding encoding) { m_encoding = encoding; }
    // How the file's lines end; new documents' lines end in CR LF.
    LineBreak GetLineBreak() const { return m_lineBreak; }

Q_SIGNALS:
    void TitleChanged();
    // A window on the document opened or closed.
    void ViewsChanged();
    // The document has a new path; a file opened or saved under it belongs at
    // the head of the recent files when addToRecent is set.
    void PathNameChanged(const QString &path, bool addToRecent);
    // The document was written to its file under the name it had; under a
    // new name, PathNameChanged tells.
    void Saved(const QString &path);

private:
    // Whether the file on disk differs in its contents from state; a file
    // that was only touched has state brought up to date.
    // The file the document's text belongs to: its own, or for a second
    // recovered version, the one it was recovered from.
    QString DiskPath() const;
    bool ChangedSince(FileState &state) const;
    void OnRecoveryTimer();
    // Encodes the text, offering UTF-8 when the document's encoding cannot
    // hold a character; not Ok() when nothing may be written.
    FileResult EncodeForSave(const QString &path, QByteArray *bytes, SourceEncoding *encoding) const;

    QTextDocument *m_pTextDoc;
    QString m_strPathName;
    QString m_strTitle;
    SourceEncoding m_encoding = SourceEncoding::Windows1252;
    LineBreak m_lineBreak = LineBreak::CrLf; // the file's, kept when it is saved
    QList<CRichSyntaxView *> m_views;
    // The file as the editor last read or wrote it, and as the user last chose not to reload it.
    FileState m_diskState;
    FileState m_declinedState;
    QTimer m_recoveryTimer;
    QString m_strRecoveryKey;
    bool m_bRecoveryFailureShown = false;
    QString m_strRecoveredFrom;
};
