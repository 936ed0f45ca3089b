// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/optionsdlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class CMainFrame;
class CDocTemplate;
class CRecentFileList;
class CShellOpenServer;
class QMimeData;
class QPrinter;
class QSettings;

// What a file dialog is asked for. Every file and folder dialog of the program
// is described by one of these and shown by CEditorApp::FileDialog.
struct FileDialogRequest
{
    enum Mode { OpenFile, SaveFile, Folder };
    Mode mode = OpenFile;
    QString caption;
    QString directory;     // folder to start in; empty: the current directory
    QString fileName;      // initial file name
    QStringList filters;   // Qt form, "Name (*.x)"
    QString defaultSuffix; // without the dot
    bool listFilesInFolderMode = true; // Folder mode: show files too, a file gives its folder
    bool mustExist = true;             // Open mode: only an existing file can be confirmed
    // Open mode: while this one of the filters is selected, executable files of
    // any name are listed too (programs outside Windows carry no extension).
    QString executableFilter;
};

// The application object: owner of the build settings and of start-up. Message
// boxes, file dialogs and shell opens each go through one static function here,
// so that tests can answer them.
class CEditorApp : public QApplication
{
    Q_OBJECT
public:
    CEditorApp(int &argc, char **argv);
    ~CEditorApp() override;

    static CEditorApp *Instance();

    // Start-up; false ends the program at once.
    bool InitInstance();
    bool InitInstance(const QStringList &arguments);
    // End of the run: writes the framework profile and closes the main window.
    void ExitInstance();

    // The framework profile: recent files and the print-preview page count.
    static std::unique_ptr<QSettings> Profile();
    // The printer that Print Setup sets up and Print uses.
    QPrinter *Printer();

    // The program's one message box: caption "Quarn BASIC Editor". Without a
    // default button named, Enter takes the first of the buttons.
    static QMessageBox::StandardButton MessageBox(const QString &text,
                                                  QMessageBox::Icon icon = QMessageBox::Warning,
                                                  QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // Shows a file or folder dialog; the chosen full path, or empty text when cancelled.
    static QString FileDialog(QWidget *parent, const FileDialogRequest &request);
    // Opens a web address or a local file with the desktop's program for it.
    static bool ShellOpen(const QString &target);

    // Test hooks: when set, they replace the real dialog or shell call.
    using MessageBoxHook = std::function<QMessageBox::StandardButton(
        const QString &, QMessageBox::Icon, QMessageBox::StandardButtons)>;
    using FileDialogHook = std::function<QString(const FileDialogRequest &)>;
    using ShellOpenHook = std::function<bool(const QString &)>;
    static inline MessageBoxHook s_messageBoxHook;
    static inline FileDialogHook s_fileDialogHook;
    static inline ShellOpenHook s_shellOpenHook;

    // Starts an outside program without waiting for it; reports its own failures.
    void LaunchProgram(const QString &program, const QString &arguments,
                       const QString &folder, bool show);

    CMainFrame *MainFrame() const { return m_pMainFrame; }
    CDocTemplate *DocTemplate() const { return m_pDocTemplate; }
    CRecentFileList *RecentFiles() const { return m_pRecentFiles.get(); }

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
    bool OpenDocumentFile(const QString &path);

    // The local files of a drag; empty when it carries none.
    static QStringList DroppedFiles(const QMimeData *mime);
    // Opens dropped files, each in its own window, once the drop has finished,
    // so that a failure message does not sit inside the drag-and-drop loop of
    // the program the files came from.
    void OpenDroppedFiles(const QStringList &files);
    // Opens files another start handed over, with the main window brought forward.
    void OpenHandedFiles(const QStringList &files);

    static bool OpenWebPage(const QString &address);
    static QString HomepageUrl();
    static QString SiteUrl();
    static QString ForumsUrl();

    COptionsDlg m_options;

private:
    void LoadStdProfileSettings();
    void SaveStdProfileSettings();

    CMainFrame *m_pMainFrame = nullptr;
    CDocTemplate *m_pDocTemplate = nullptr;
    std::unique_ptr<CRecentFileList> m_pRecentFiles;
    CShellOpenServer *m_pShellServer = nullptr;
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nPreviewPages = 0;
    bool m_bHandedOver = false;
};
