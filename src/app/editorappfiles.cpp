// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The application's file commands: New, Open and the recent files.
#include "app/editorapp.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "app/session.h"
#include "app/sessionkeeper.h"
#include "core/filepaths.h"
#include "core/product.h"
#include "core/recentlyused.h"
#include "core/recoverystore.h"
#include "core/uitext.h"
#include "editor/navigation.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/sourcecodec.h"

#include <QDir>
#include <QMdiArea>
#include <QMimeDatabase>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTextBlock>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {
const UiText kOpenCaption{"CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "Open")};
const UiText kRecovered{"CEditorApp",
                        QT_TRANSLATE_NOOP("CEditorApp", "Unsaved changes of %1 were recovered.\nOpen them?")};
const UiText kSaveCutShort{
    "CEditorApp",
    QT_TRANSLATE_NOOP("CEditorApp", "The last save of %1 did not finish. The file may be damaged; a copy of it "
                                    "from before that save was kept.\nOpen the copy?")};
const UiText kCopyKept{"CEditorApp",
                       QT_TRANSLATE_NOOP("CEditorApp", "The copy of %1 from before its last save is kept as %2.")};
const UiText kOpenFailures{"CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "%1 files could not be opened:\n\n%2")};
const UiText kSessionFileMissing{
    "CEditorApp",
    QT_TRANSLATE_NOOP("CEditorApp", "A file of the last session was not found and was not reopened:\n\n%1")};
const UiText kSessionFilesMissing{
    "CEditorApp",
    QT_TRANSLATE_NOOP("CEditorApp", "%1 files of the last session were not found and were not reopened:\n\n%2")};
const UiText kAndMore{"CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "\nand %1 more.")};
// The most failures one box names.
constexpr int kMaxListedFailures = 20;

// The message filled in with the number of files and as many of them as one box shows.
QString ListOf(const QString &message, const QStringList &files)
{
    QString text = message.arg(files.size()).arg(files.mid(0, kMaxListedFailures).join(QLatin1Char('\n')));
    if (files.size() > kMaxListedFailures)
        text += kAndMore.arg(files.size() - kMaxListedFailures);
    return text;
}

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
    const bool wasOpen = m_pDocTemplate && m_pDocTemplate->FindDocument(path);
    // An entry that no longer opens has had its failure reported; it leaves the list.
    if (!OpenDocumentFile(path)) {
        m_pRecentFiles->Remove(path);
        if (m_pMainFrame)
            m_pMainFrame->RebuildRecentFileMenu();
        return;
    }
    // A file opened again comes back at the line its caret was on.
    const int line = Session::RecentLine(path);
    if (!wasOpen && line > 0 && m_pMainFrame && m_pMainFrame->ActiveView())
        m_pMainFrame->ActiveView()->GoToPosition(line, 0);
}

void CEditorApp::ReopenSession()
{
    const Session::Files session = m_pSessionKeeper->Written();
    m_pSessionKeeper->Hold(true);
    QStringList missing;
    QMdiSubWindow *active = nullptr;
    for (qsizetype i = 0; i < session.files.size(); ++i) {
        const Session::File &file = session.files.at(i);
        if (!QFileInfo::exists(file.path)) {
            missing.append(QDir::toNativeSeparators(file.path));
            continue;
        }
        if (!OpenDocumentFile(file.path) || !m_pMainFrame->ActiveView())
            continue;
        CRichSyntaxView *view = m_pMainFrame->ActiveView();
        // A file that has become shorter puts the caret on its last line.
        const int line = qMin(file.line, view->document()->blockCount());
        view->setTextCursor(QTextCursor(view->document()->findBlockByNumber(line - 1)));
        view->verticalScrollBar()->setValue(file.top - 1);
        if (i == session.active)
            active = m_pMainFrame->MdiArea()->activeSubWindow();
    }
    if (active)
        m_pMainFrame->MdiArea()->setActiveSubWindow(active);
    m_pSessionKeeper->Hold(false);
    // The files that are gone leave the session.
    m_pSessionKeeper->WriteNow();
    if (missing.size() == 1)
        ::MessageBox(kSessionFileMissing.arg(missing.constFirst()));
    else if (!missing.isEmpty())
        ::MessageBox(ListOf(kSessionFilesMissing, missing));
}

void CEditorApp::AddToDesktopRecentlyUsed(const QString &path)
{
    const QString exec = QFileInfo(applicationFilePath()).fileName() + QStringLiteral(" %u");
    RecentlyUsed::Add(RecentlyUsed::ListPath(), path, QMimeDatabase().mimeTypeForFile(path).name(),
                      {Product::kName, exec});
}

bool CEditorApp::OpenDocumentFile(const QString &path, FileResult *failure)
{
    return m_pDocTemplate && m_pDocTemplate->OpenDocumentFile(path, true, failure) != nullptr;
}

void CEditorApp::OfferRecoveredWork()
{
    const QList<RecoveryEntry> entries = CRecoveryStore::TakeOrphans();
    // No other question comes between these: a recovered document whose file
    // changed is asked about once they are all answered.
    if (m_pMainFrame)
        m_pMainFrame->HoldDiskChecks(true);
    for (const RecoveryEntry &entry : entries) {
        const QString name = entry.path.isEmpty() ? entry.title : QDir::toNativeSeparators(entry.path);
        const bool backup = entry.kind == RecoveryEntry::SaveBackup;
        const QMessageBox::StandardButton answer =
            ::MessageBox((backup ? kSaveCutShort : kRecovered).arg(name), QMessageBox::Question,
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        // Escape (Cancel) leaves the work for the next start; only No lets it go.
        if (answer == QMessageBox::Cancel)
            continue;
        if (answer != QMessageBox::Yes) {
            // The old bytes of a save cut short may be the file's only intact version.
            if (!backup) {
                CRecoveryStore::DiscardOrphan(entry);
            } else if (const QString copy = CRecoveryStore::KeepAsCopy(entry); !copy.isEmpty()) {
                ::MessageBox(kCopyKept.arg(name, QDir::toNativeSeparators(copy)), QMessageBox::Information,
                             QMessageBox::Ok);
            }
            continue;
        }
        // A save's backup holds the file's old bytes; unsaved text is kept as
        // UTF-8 with the state of its file as its document knew it
        // (a backup, or work kept by an older editor, says nothing of the file's state).
        DecodedSource source;
        const FileState state = FileState::FromText(entry.fileState);
        const bool stateKnown = !backup && !entry.fileState.isEmpty();
        if (backup) {
            source = DecodeSource(entry.bytes);
        } else {
            source.text = QString::fromUtf8(entry.bytes);
            source.encoding = SourceEncodingFromName(entry.encoding);
        }
        // What cannot be kept again stays where it is, for the next start.
        if (m_pDocTemplate
            && m_pDocTemplate->OpenRecoveredDocument(entry.path, entry.title, source.text, source.encoding,
                                                     stateKnown ? &state : nullptr))
            CRecoveryStore::DiscardOrphan(entry);
    }
    CRecoveryStore::ReleaseOrphans();
    if (m_pMainFrame)
        m_pMainFrame->HoldDiskChecks(false);
}

bool CEditorApp::GoToSource(const QString &path, int line, int column)
{
    // The active window stays when it shows the file; else the file's window comes.
    QPointer<CRichSyntaxView> from = m_pMainFrame ? m_pMainFrame->ActiveView() : nullptr;
    const int fromPosition = from ? from->textCursor().position() : 0;
    const bool shown = from && ComparablePath(from->GetDocument()->GetPathName()) == ComparablePath(path);
    if (!shown && !OpenDocumentFile(path))
        return false;
    CRichSyntaxView *view = m_pMainFrame->ActiveView();
    if (!view)
        return true;
    view->GoToPosition(line, column);
    // A jump that Go Back can return from.
    if (from)
        CPlaceHistory::Instance().Record(from, fromPosition, view);
    return true;
}

void CEditorApp::AddToRecentFileList(const QString &path)
{
    if (!m_pRecentFiles)
        return;
    m_pRecentFiles->Add(path);
    AddToDesktopRecentlyUsed(path);
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
    // The files of requests that came together fail together, in one box:
    // a single failure as it is told alone, several listed.
    QStringList failures;
    for (const QString &file : files) {
        FileResult failure;
        if (!OpenDocumentFile(file, &failure) && !failure.Message().isEmpty())
            failures.append(failure.Message());
    }
    if (failures.size() == 1)
        ::MessageBox(failures.constFirst());
    else if (failures.size() > 1)
        ::MessageBox(ListOf(kOpenFailures, failures));
}

void CEditorApp::OpenDroppedFiles(const QStringList &files)
{
    QTimer::singleShot(0, this, [this, files] {
        for (const QString &file : files)
            OpenDocumentFile(file);
    });
}
