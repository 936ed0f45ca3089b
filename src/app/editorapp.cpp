// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/editorapp.h"

#include "app/commandline.h"
#include "app/desktopopener.h"
#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "app/session.h"
#include "app/sessionkeeper.h"
#include "app/shellfiletypes.h"
#include "app/shellopenserver.h"
#include "app/startupnotice.h"
#include "build/executablefiltermodel.h"
#include "build/optionsdlg.h"
#include "core/product.h"
#include "core/recoverystore.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/dialogparts.h"
#include "editor/richsyntaxview.h"
#include "wizard/wizarddlg.h"

#include <QFileDialog>
#include <QDir>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QLocale>
#include <QTranslator>
#include <QUrl>

namespace {
const UiText kBrowserFailed{"CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "Failed to launch web browser!")};
const UiText kEditorBusyQueued{
    "CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "The Quarn BASIC Editor that is already running does not answer!\n"
                                                  "Your files open there as soon as it can take them.")};
const UiText kEditorBusyUnreached{
    "CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "The Quarn BASIC Editor that is already running does not answer!\n"
                                                  "Your files were not opened; please try again once it answers.")};
// Qt's dialog opens a folder where the folder browser chooses it. Here a
// selected folder or file is taken as it is (a file stands for its folder);
// double-clicking still opens a folder.
// With nothing selected the folder shown is the one chosen, so the Choose
// button stays enabled where Qt's dialog would disable it.
class CFileChooser : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;
    bool m_bChooseFolders = false;

    void ChooseFolders()
    {
        m_bChooseFolders = true;
        auto *box = findChild<QDialogButtonBox *>();
        m_pChoose = box ? box->button(QDialogButtonBox::Open) : nullptr;
        if (m_pChoose) {
            m_pChoose->installEventFilter(this);
            m_pChoose->setEnabled(true);
        }
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_pChoose && event->type() == QEvent::EnabledChange && !m_pChoose->isEnabled())
            QTimer::singleShot(0, m_pChoose, [this] { m_pChoose->setEnabled(true); });
        return QFileDialog::eventFilter(watched, event);
    }

    void accept() override
    {
        // Qt's dialog reads quotes in a typed name as marks around several
        // names; a name that holds one and names a file is that file.
        const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        const QString typed = edit ? edit->text() : QString();
        if (typed.contains(QLatin1Char('"'))) {
            const QFileInfo file(directory(), typed);
            if (file.isFile()) {
                m_strTyped = file.absoluteFilePath();
                QDialog::accept();
                return;
            }
        }
        const QStringList files = selectedFiles();
        if (m_bChooseFolders && !files.isEmpty() && QFileInfo::exists(files.constFirst())) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

    // The file chosen: a typed name taken as it stands, else the selection's first.
    QString Chosen() const
    {
        if (!m_strTyped.isEmpty())
            return m_strTyped;
        const QStringList files = selectedFiles();
        return files.isEmpty() ? QString() : files.constFirst();
    }

private:
    QPointer<QPushButton> m_pChoose;
    QString m_strTyped;
};

} // namespace

CEditorApp::CEditorApp(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Product::kName);
    setApplicationVersion(Product::kVersion);
    setDesktopFileName(Product::kAppId);
    SetServices(this);
    InstallTranslation();
}

void CEditorApp::InstallTranslation()
{
    // A translation released for the user's language, beside the program or
    // in the installed share folder; without one the texts stay as written.
    auto *translator = new QTranslator(this);
    const QString programDir = applicationDirPath();
    for (const QString &folder : {programDir + QStringLiteral("/translations"),
                                  programDir + QStringLiteral("/../share/quarn-basic-editor/translations")}) {
        if (translator->load(QLocale(), QStringLiteral("quarn-basic-editor"), QStringLiteral("_"), folder)) {
            installTranslator(translator);
            return;
        }
    }
    delete translator;
}

CEditorApp::~CEditorApp()
{
    ExitInstance();
    if (&Services() == this)
        SetServices(nullptr);
}

CEditorApp *CEditorApp::Instance()
{
    return qobject_cast<CEditorApp *>(QCoreApplication::instance());
}

bool CEditorApp::InitInstance()
{
    return InitInstance(arguments().mid(1));
}

bool CEditorApp::InitInstance(const QStringList &arguments)
{
    // The build settings, the linker's argument template and the help path.
    const CSettingsStore store;
    m_build.Settings() = BuildSettings::Load(store);
    m_help = HelpLocation::Load(store);

    // The recent-file list, kept in a profile of its own.
    m_pRecentFiles = std::make_unique<CRecentFileList>(CRecentFileList::kSize, 30);
    LoadStdProfileSettings();

    // One editor per user and settings profile takes the desktop's open
    // requests. The desktop's own start hands its files to that editor when
    // one runs; a plain start never takes its place.
    const ShellCommand command = ParseCommandLine(arguments);
    m_pShellServer = new CShellOpenServer([this](const QStringList &files) { OpenHandedFiles(files); },
                                          [] { return QApplication::activeModalWidget() == nullptr; }, this);
    if (command.kind == ShellCommand::ShellOpen) {
        switch (m_pShellServer->OfferFiles(command.files)) {
        case CShellOpenServer::Offer::Delivered:
            m_bHandedOver = true;
            // No window of this start will show to end the desktop's launch feedback.
            StartupNotice::EndLaunch();
            return false;
        case CShellOpenServer::Offer::Queued:
            m_bHandedOver = true;
            ::MessageBox(kEditorBusyQueued);
            return false;
        case CShellOpenServer::Offer::Unreachable:
            m_bHandedOver = true;
            ::MessageBox(kEditorBusyUnreached);
            return false;
        case CShellOpenServer::Offer::NoEditor:
            break;
        }
    }

    m_pMainFrame = new CMainFrame;
    m_pMainFrame->ConnectMessages(m_build);
    connect(&m_build, &CBuildCommands::OptionsWanted, this, &CEditorApp::OnBuildOptions, Qt::UniqueConnection);
    m_pDocTemplate = new CDocTemplate(m_pMainFrame);

    // Packaged builds leave the file type to the package's own files.
    ShellFileTypes::Register(applicationFilePath(), QBE_USER_REGISTRATION != 0);

    m_pSessionKeeper = new CSessionKeeper(m_pMainFrame, [this] { return m_pRecentFiles->Files(); });
    // A plain start reopens the last run's files instead of the most recent one.
    const bool reopen =
        command.kind == ShellCommand::Nothing && Session::RestoreOn() && !m_pSessionKeeper->Written().files.isEmpty();

    QString fileToOpen;
    bool fromRecentList = false;
    if (command.kind == ShellCommand::FileOpen) {
        fileToOpen = command.files.constFirst();
    } else if (command.kind == ShellCommand::Nothing && !reopen && WizardEntries::Load(CSettingsStore()).autoOpen) {
        fileToOpen = m_pRecentFiles->At(0);
        fromRecentList = true;
    }
    if (!fileToOpen.isEmpty() && !OpenDocumentFile(fileToOpen)) {
        // A file named on the command line that cannot be opened ends the run.
        // A vanished most recent file must not end every start from now on:
        // its failure has been reported, it leaves the list, and the editor
        // starts with no document.
        if (!fromRecentList)
            return false;
        m_pRecentFiles->Remove(fileToOpen);
        m_pMainFrame->RebuildRecentFileMenu();
    }

    m_pMainFrame->ShowInPlace(QSize(550, 550));
    if (reopen)
        ReopenSession();

    // Only now can this editor serve others, and only now does a plain start
    // claim the desktop's requests: one that ends on its own file's failure
    // must neither take requests it can no longer carry out nor keep the
    // desktop waiting while it shows that failure.
    if (m_pShellServer->HoldsClaim() || (command.kind != ShellCommand::ShellOpen && m_pShellServer->Claim()))
        m_pShellServer->Listen();

    OfferRecoveredWork();

    if (command.kind == ShellCommand::ShellOpen) {
        const QStringList files = command.files;
        QTimer::singleShot(0, this, [this, files] {
            for (const QString &file : files)
                OpenDocumentFile(file);
        });
    }
    return true;
}

void CEditorApp::ExitInstance()
{
    if (!m_bHandedOver && m_pRecentFiles)
        SaveStdProfileSettings();
    if (m_pMainFrame)
        m_pMainFrame->SavePlace();
    if (m_pSessionKeeper)
        m_pSessionKeeper->Hold(true);
    m_pSessionKeeper = nullptr;
    // No request may come in while the windows go; the next editor takes over.
    delete m_pShellServer;
    m_pShellServer = nullptr;
    // Nothing may ask to save while the windows go: the user has answered already.
    CMainFrame *frame = m_pMainFrame;
    m_pMainFrame = nullptr;
    m_pDocTemplate = nullptr;
    delete frame;
    // A normal end: nothing is left to recover.
    CRecoveryStore::Session().Close();
}

std::unique_ptr<QSettings> CEditorApp::Profile()
{
#ifdef Q_OS_WIN
    const QSettings::Format format = QSettings::NativeFormat;
#else
    const QSettings::Format format = QSettings::IniFormat;
#endif
    return std::make_unique<QSettings>(format, QSettings::UserScope, SettingsNames::kProfileOrganisation,
                                       Product::kName);
}

void CEditorApp::LoadStdProfileSettings()
{
    auto profile = Profile();
    m_pRecentFiles->ReadList(*profile);
    m_nPreviewPages = profile->value(SettingsNames::kPreviewPages, 0).toInt();
}

void CEditorApp::SaveStdProfileSettings()
{
    auto profile = Profile();
    m_pRecentFiles->WriteList(*profile);
    if (m_nPreviewPages != 0)
        profile->setValue(SettingsNames::kPreviewPages, m_nPreviewPages);
    SyncPrivately(*profile);
}

QPrinter *CEditorApp::Printer()
{
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Half an inch all round until the user sets other margins in Print Setup.
        const qreal margin = CRichSyntaxView::kPrintMarginInches;
        m_pPrinter->setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Inch);
    }
    return m_pPrinter.get();
}

void CEditorApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(Printer(), m_pMainFrame);
    dialog.exec();
}

QWidget *CEditorApp::DialogParent()
{
    return m_pMainFrame;
}

void CEditorApp::ShowStatusMessage(const QString &text)
{
    if (m_pMainFrame)
        m_pMainFrame->statusBar()->showMessage(text);
}

QMessageBox::StandardButton CEditorApp::MessageBox(const QString &text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = m_pMainFrame;
    QMessageBox box(icon, Product::kName, text, buttons, owner);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // Over the middle of its window, once the box has taken its size, even
    // when that window has only just come on screen (the recovery question).
    QTimer::singleShot(0, &box, [&box, owner] { DialogParts::CentreOver(&box, owner); });
    return QMessageBox::StandardButton(box.exec());
}

QString CEditorApp::FileDialog(QWidget *parent, const FileDialogRequest &request)
{
    CFileChooser dialog(parent, request.caption, request.directory);
    dialog.setNameFilters(request.filters);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    switch (request.mode) {
    case FileDialogRequest::OpenFile:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        break;
    case FileDialogRequest::SaveFile:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case FileDialogRequest::Folder:
        // Folders and files are listed and a name may be typed; a file gives its folder.
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setOption(QFileDialog::ShowDirsOnly, !request.listFilesInFolderMode);
        dialog.setLabelText(QFileDialog::Accept, tr("Choose"));
        dialog.ChooseFolders();
        break;
    }
    if (!request.executableFilter.isEmpty())
        CExecutableFilterModel::Install(&dialog, request.executableFilter);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty())
        return QString();
    QString path = dialog.Chosen();
    if (request.mode == FileDialogRequest::Folder && !QFileInfo(path).isDir())
        path = QFileInfo(path).absolutePath();
    return path;
}

QUrl CEditorApp::ShellUrl(const QString &target)
{
    return QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
}

void CEditorApp::ShellOpen(const QString &target, OpenAnswer answer)
{
    const QUrl url = ShellUrl(target);
    // A missing file fails here, before anything is started for it.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        answer(false);
        return;
    }
    DesktopOpener::Open(url, this, std::move(answer));
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

void CEditorApp::OpenWebPage(const QString &url)
{
    Services().ShellOpen(url, [](bool opened) {
        if (!opened)
            ::MessageBox(kBrowserFailed);
    });
}

void CEditorApp::OnHomepage()
{
    OpenWebPage(HomepageUrl());
}

void CEditorApp::OnForums()
{
    OpenWebPage(ForumsUrl());
}

void CEditorApp::OnBuildOptions()
{
    COptionsDlg dialog(m_build.Settings());
    if (dialog.DoModal() == QDialog::Accepted) {
        m_build.Settings() = dialog.Settings();
        CSettingsStore store;
        m_build.Settings().Save(store);
    } else {
        // The linker's template was stored as it was given.
        m_build.Settings().linkerArguments = dialog.Settings().linkerArguments;
    }
}

bool CEditorApp::OnAppExit()
{
    // Files the desktop hands over from now on go to a start of their own:
    // this editor may be gone before it could open them.
    const bool serving = m_pShellServer && m_pShellServer->HoldsClaim();
    if (serving)
        m_pShellServer->StopListening();
    if (m_pDocTemplate && !m_pDocTemplate->SaveAllModified()) {
        // The exit was cancelled: serve again, unless another editor took over.
        if (serving && m_pShellServer->Claim())
            m_pShellServer->Listen();
        return false;
    }
    // The files open now are the ones the next start reopens.
    if (m_pSessionKeeper)
        m_pSessionKeeper->Finish();
    if (m_pDocTemplate)
        m_pDocTemplate->CloseAllDocuments();
    return true;
}
