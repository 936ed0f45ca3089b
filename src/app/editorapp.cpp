// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/editorapp.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString kAppName = QStringLiteral("Quarn BASIC Editor");
const QString kBrowserFailed = QStringLiteral("Failed to launch web browser!");
} // namespace

CEditorApp::CEditorApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(kAppName);
    setApplicationDisplayName(kAppName);
    setApplicationVersion(QStringLiteral("1.3.8c"));
}

CEditorApp::~CEditorApp() = default;

CEditorApp *CEditorApp::Instance()
{
    return qobject_cast<CEditorApp *>(QCoreApplication::instance());
}

bool CEditorApp::InitInstance()
{
    m_options.LoadSettings();
    m_options.m_cmdLineDlg.LoadSettings();
    m_options.m_helpDlg.LoadSettings();
    m_pRecentFiles = std::make_unique<CRecentFileList>(4, 30);
    m_pMainFrame = new CMainFrame;
    m_pDocTemplate = new CDocTemplate(m_pMainFrame);
    const QStringList args = arguments();
    if (args.size() > 1 && !OpenDocumentFile(args.at(1)))
        return false;
    m_pMainFrame->resize(550, 550);
    m_pMainFrame->show();
    return true;
}

QMessageBox::StandardButton CEditorApp::MessageBox(const QString &text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons)
{
    if (s_messageBoxHook)
        return s_messageBoxHook(text, icon, buttons);
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner && Instance())
        owner = Instance()->m_pMainFrame;
    QMessageBox box(icon, kAppName, text, buttons, owner);
    return QMessageBox::StandardButton(box.exec());
}

QString CEditorApp::FileDialog(QWidget *parent, const FileDialogRequest &request)
{
    if (s_fileDialogHook)
        return s_fileDialogHook(request);
    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setNameFilters(request.filters);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    switch (request.mode) {
    case FileDialogRequest::OpenFile:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileDialogRequest::SaveFile:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case FileDialogRequest::Folder:
        // Folders and files are listed and a name may be typed; a file gives its folder.
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.listFilesInFolderMode ? QFileDialog::AnyFile
                                                         : QFileDialog::Directory);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        break;
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    QString path = dialog.selectedFiles().constFirst();
    if (request.mode == FileDialogRequest::Folder && !QFileInfo(path).isDir())
        path = QFileInfo(path).absolutePath();
    return path;
}

bool CEditorApp::ShellOpen(const QString &target)
{
    if (s_shellOpenHook)
        return s_shellOpenHook(target);
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    // The desktop's opener reports success before it finds out that a local
    // file is missing, so a missing file fails here.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

bool CEditorApp::OpenWebPage(const QString &address)
{
    return ShellOpen(address);
}

QString CEditorApp::HomepageUrl()
{
    return QStringLiteral(QBE_HOMEPAGE_URL);
}

QString CEditorApp::SiteUrl()
{
    return QStringLiteral(QBE_SITE_URL);
}

QString CEditorApp::ForumsUrl()
{
    return SiteUrl() + QStringLiteral(QBE_FORUMS_PATH);
}

void CEditorApp::OnHomepage()
{
    if (!OpenWebPage(HomepageUrl()))
        MessageBox(kBrowserFailed, QMessageBox::Warning, QMessageBox::Ok);
}

void CEditorApp::OnForums()
{
    if (!OpenWebPage(ForumsUrl()))
        MessageBox(kBrowserFailed, QMessageBox::Warning, QMessageBox::Ok);
}

void CEditorApp::OnBuildOptions()
{
    m_options.DoModal();
}

void CEditorApp::OnFilePrintSetup() {}


bool CEditorApp::OnAppExit()
{
    if (!m_pDocTemplate->SaveAllModified())
        return false;
    m_pDocTemplate->CloseAllDocuments();
    SaveStdProfileSettings();
    quit();
    return true;
}


void CEditorApp::SaveStdProfileSettings() {}
