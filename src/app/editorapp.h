// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/helpdlg.h"
#include "build/buildcommands.h"
#include "core/appservices.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <memory>

struct FileResult;

class CMainFrame;
class CDocTemplate;
class CRecentFileList;
class CSessionKeeper;
class CShellOpenServer;
class QPrinter;
class QUrl;
class QSettings;

// The application object: owner of the build settings and of start-up, and
// the services (message boxes, file dialogs, shell opens, the printer) that
// the rest of the program asks for.
class CEditorApp : public QApplication, public IAppServices
{
    Q_OBJECT
public:
    CEditorApp(int &argc, char **argv);
    ~CEditorApp() override;

    static CEditorApp *Instance();

    // Start-up; false ends the program at once.
    bool InitInstance();
    bool InitInstance(const QStringList &arguments);
    // End of the run: writes the recent-file profile and closes the main window.
    void ExitInstance();

    // The second profile: recent files and the print-preview page count.
    static std::unique_ptr<QSettings> Profile();
    // The services.
    QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString FileDialog(QWidget *parent, const FileDialogRequest &request) override;
    void ShellOpen(const QString &target, OpenAnswer answer) override;
    QWidget *DialogParent() override;
    QPrinter *Printer() override;
    void ShowStatusMessage(const QString &text) override;
    bool GoToSource(const QString &path, int line, int column) override;

    CMainFrame *MainFrame() const { return m_pMainFrame; }
    CDocTemplate *DocTemplate() const { return m_pDocTemplate; }
    CRecentFileList *RecentFiles() const { return m_pRecentFiles.get(); }
    CBuildCommands &Build() { return m_build; }

    // Application commands.
    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnHomepage();
    void OnForums();
    void OnHelpIndex();
    void OnBuildOptions();
    void OnOpenRecentFile(int index);
    // Closes every document, asking to save each modified one; false when the user cancelled.
    bool OnAppExit();

    // Opens a file as a document, or activates the window that already shows it.
    bool OpenDocumentFile(const QString &path, FileResult *failure = nullptr);
    // Offers, one by one, the unsaved work that editors which no longer run left behind.
    void OfferRecoveredWork();
    // Puts a file at the head of the recent files and of the File menu's list.
    void AddToRecentFileList(const QString &path);
    // Puts a file opened or saved on the desktop's list of recently used files.
    static void AddToDesktopRecentlyUsed(const QString &path);

    // Opens dropped files, each in its own window, once the drop has finished,
    // so that a failure message does not sit inside the drag-and-drop loop of
    // the program the files came from.
    void OpenDroppedFiles(const QStringList &files);
    // Opens files another start handed over, with the main window brought forward.
    void OpenHandedFiles(const QStringList &files);

    // Opens a web page in the desktop's browser; says so when none opens it.
    static void OpenWebPage(const QString &url);
    static QString HomepageUrl();
    // What the shell open opens: a web address as it stands, any other text
    // a file, a relative path taken from the current folder.
    static QUrl ShellUrl(const QString &target);
    static QString SiteUrl();
    static QString ForumsUrl();

    // Where the help file is, as F1 opens it.
    HelpLocation &HelpFile() { return m_help; }

private:
    // Reopens the files of the last run where their carets and scroll stood.
    void ReopenSession();
    void InstallTranslation();
    // The help location dialog; true after OK, which stores the path.
    bool EditHelpLocation();
    void LoadStdProfileSettings();
    void SaveStdProfileSettings();

    CMainFrame *m_pMainFrame = nullptr;
    CDocTemplate *m_pDocTemplate = nullptr;
    std::unique_ptr<CRecentFileList> m_pRecentFiles;
    CShellOpenServer *m_pShellServer = nullptr;
    CSessionKeeper *m_pSessionKeeper = nullptr;
    CBuildCommands m_build;
    HelpLocation m_help;
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nPreviewPages = 0;
    bool m_bHandedOver = false;
};
