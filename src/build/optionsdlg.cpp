// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/optionsdlg.h"

#include "core/appservices.h"
#include "core/settingsstore.h"
#include "editor/dialogparts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Build Options");

const QString kGroupTitle = QStringLiteral("Compiler and Linker");
const QString kCompilerPrompt = QStringLiteral("Path to QRX.EXE compiler...");
const QString kLinkerPrompt = QStringLiteral("Path to flash linker or multiboot executable...");
const QString kTemplateNote = QStringLiteral(
    "If no path is given for GBA.QRX, then the current path is assumed when creating a new "
    "program template file...");
const QString kEmulatorPrompt = QStringLiteral("Path to the emulator you want to debug with...");
const QString kDebugText = QStringLiteral("Use -debug flag to see subroutine addresses");
const QString kMultiBootText = QStringLiteral("Use -mb flag to create a multi-boot ROM");

const QString kCompilerFileName = QStringLiteral("qrx.exe");
const QString kDefaultSuffix = QStringLiteral("exe");
const QString kApplicationsFilter = QStringLiteral("Applications (*.exe)");
#ifdef Q_OS_WIN
const QString kScriptsFilter = QStringLiteral("Scripts (*.bat)");
const QString kAllFilesFilter = QStringLiteral("All files (*.*)");
#else
const QString kScriptsFilter = QStringLiteral("Scripts (*.bat *.sh)");
const QString kAllFilesFilter = QStringLiteral("All files (*)");
#endif

QPushButton *MakeBrowseButton(QWidget *parent, const QString &name)
{
    QPushButton *button = DialogParts::BrowseButton(parent);
    button->setObjectName(name);
    return button;
}

QLineEdit *MakePathEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 48);
    return edit;
}

QHBoxLayout *PathRow(QLineEdit *edit, QPushButton *button)
{
    auto *row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}
} // namespace

COptionsDlg::COptionsDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_pCompilerEdit(MakePathEdit(this, QStringLiteral("compilerEdit"))),
      m_pCompilerBrowse(MakeBrowseButton(this, QStringLiteral("compilerBrowse"))),
      m_pLinkerEdit(MakePathEdit(this, QStringLiteral("linkerEdit"))),
      m_pLinkerBrowse(MakeBrowseButton(this, QStringLiteral("linkerBrowse"))),
      m_pEmulatorEdit(MakePathEdit(this, QStringLiteral("emulatorEdit"))),
      m_pEmulatorBrowse(MakeBrowseButton(this, QStringLiteral("emulatorBrowse"))),
      m_pOkButton(DialogParts::OkButton(this)), m_pCancelButton(DialogParts::CancelButton(this)),
      m_pDebugCheck(new QCheckBox(kDebugText, this)), m_pMultiBootCheck(new QCheckBox(kMultiBootText, this))
{
    setWindowTitle(kCaption);
    m_cmdLineDlg.setParent(this, m_cmdLineDlg.windowFlags());
    m_pDebugCheck->setObjectName(QStringLiteral("debugCheck"));
    m_pMultiBootCheck->setObjectName(QStringLiteral("multiBootCheck"));

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *group = new QGroupBox(kGroupTitle, this);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QLabel(kCompilerPrompt, group));
    groupLayout->addLayout(PathRow(m_pCompilerEdit, m_pCompilerBrowse));
    groupLayout->addWidget(new QLabel(kLinkerPrompt, group));
    groupLayout->addLayout(PathRow(m_pLinkerEdit, m_pLinkerBrowse));
    layout->addWidget(group);

    // Below the group the texts line up with the group's contents, and the
    // check boxes sit a little further in.
    auto *rest = new QVBoxLayout;
    const int inset = groupLayout->contentsMargins().left();
    rest->setContentsMargins(inset, 0, inset, 0);
    auto *note = new QLabel(kTemplateNote, this);
    note->setWordWrap(true);
    rest->addWidget(note);
    auto *checks = new QVBoxLayout;
    checks->setContentsMargins(inset, 0, 0, 0);
    checks->addWidget(m_pDebugCheck);
    checks->addWidget(m_pMultiBootCheck);
    rest->addLayout(checks);
    rest->addSpacing(fontMetrics().height() / 2);
    rest->addWidget(new QLabel(kEmulatorPrompt, this));
    rest->addLayout(PathRow(m_pEmulatorEdit, m_pEmulatorBrowse));
    layout->addLayout(rest);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addWidget(m_pCancelButton);
    layout->addLayout(buttons);

    // The order of the dialog's template: paths and their buttons, OK, Cancel, the flags.
    setTabOrder(m_pCompilerEdit, m_pCompilerBrowse);
    setTabOrder(m_pCompilerBrowse, m_pLinkerEdit);
    setTabOrder(m_pLinkerEdit, m_pLinkerBrowse);
    setTabOrder(m_pLinkerBrowse, m_pEmulatorEdit);
    setTabOrder(m_pEmulatorEdit, m_pEmulatorBrowse);
    setTabOrder(m_pEmulatorBrowse, m_pOkButton);
    setTabOrder(m_pOkButton, m_pCancelButton);
    setTabOrder(m_pCancelButton, m_pDebugCheck);
    setTabOrder(m_pDebugCheck, m_pMultiBootCheck);

    connect(m_pCompilerBrowse, &QPushButton::clicked, this, &COptionsDlg::OnBrowseCompiler);
    connect(m_pLinkerBrowse, &QPushButton::clicked, this, &COptionsDlg::OnBrowseLinker);
    connect(m_pEmulatorBrowse, &QPushButton::clicked, this, &COptionsDlg::OnBrowseEmulator);
    connect(m_pOkButton, &QPushButton::clicked, this, &COptionsDlg::accept);
    connect(m_pCancelButton, &QPushButton::clicked, this, &COptionsDlg::reject);
}

COptionsDlg::~COptionsDlg() = default;

void COptionsDlg::LoadSettings()
{
    CSettingsStore store;
    m_strCompiler = store.ReadString(QString(), SettingsNames::kCompiler);
    m_strLinker = store.ReadString(QString(), SettingsNames::kLinker);
    m_strEmulator = store.ReadString(QString(), SettingsNames::kEmulator);
    m_bMultiBoot = store.ReadInt(QString(), SettingsNames::kMultiBoot) != 0;
    m_bDebug = store.ReadInt(QString(), SettingsNames::kDebug) != 0;
}

int COptionsDlg::DoModal()
{
    // Every opening shows the fields as they stand; what a cancelled opening
    // picked by browsing is gone.
    FieldsToControls();
    m_pCompilerEdit->setFocus();
    // The dialog belongs to the application, not to a window; it still opens
    // over the main window.
    DialogParts::CentreOver(this, Services().DialogParent());
    return exec();
}

QStringList COptionsDlg::ExecutableFilters()
{
    return {kApplicationsFilter};
}

QStringList COptionsDlg::LinkerFilters()
{
    return {kApplicationsFilter, kScriptsFilter, kAllFilesFilter};
}

QString COptionsDlg::ExecutableFilter()
{
#ifdef Q_OS_WIN
    return QString();
#else
    return kApplicationsFilter;
#endif
}

void COptionsDlg::FieldsToControls()
{
    m_pCompilerEdit->setText(m_strCompiler);
    m_pEmulatorEdit->setText(m_strEmulator);
    m_pLinkerEdit->setText(m_strLinker);
    m_pMultiBootCheck->setChecked(m_bMultiBoot);
    m_pDebugCheck->setChecked(m_bDebug);
}

void COptionsDlg::ControlsToFields()
{
    m_strCompiler = m_pCompilerEdit->text();
    m_strEmulator = m_pEmulatorEdit->text();
    m_strLinker = m_pLinkerEdit->text();
    m_bMultiBoot = m_pMultiBootCheck->isChecked();
    m_bDebug = m_pDebugCheck->isChecked();
}

void COptionsDlg::accept()
{
    ControlsToFields();
    QDialog::accept();
    // All five, changed or not.
    CSettingsStore store;
    store.WriteString(m_strCompiler, QString(), SettingsNames::kCompiler);
    store.WriteString(m_strLinker, QString(), SettingsNames::kLinker);
    store.WriteString(m_strEmulator, QString(), SettingsNames::kEmulator);
    store.WriteInt(m_bMultiBoot ? 1 : 0, QString(), SettingsNames::kMultiBoot);
    store.WriteInt(m_bDebug ? 1 : 0, QString(), SettingsNames::kDebug);
}

QString COptionsDlg::BrowseForFile(const QString &fileName, const QString &defaultSuffix,
                                   const QStringList &filters)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::OpenFile;
    request.fileName = fileName;
    request.defaultSuffix = defaultSuffix;
    request.filters = filters;
    request.executableFilter = ExecutableFilter();
    return Services().FileDialog(this, request);
}

void COptionsDlg::OnBrowseCompiler()
{
    const QString path = BrowseForFile(kCompilerFileName, kDefaultSuffix, ExecutableFilters());
    if (!path.isEmpty())
        m_pCompilerEdit->setText(path);
}

void COptionsDlg::OnBrowseLinker()
{
    const QString path = BrowseForFile(QString(), kDefaultSuffix, LinkerFilters());
    if (path.isEmpty())
        return;
    m_pLinkerEdit->setText(path);
    // A new linker wants its arguments right away.
    m_cmdLineDlg.DoModal();
}

void COptionsDlg::OnBrowseEmulator()
{
    const QString path = BrowseForFile(QString(), kDefaultSuffix, ExecutableFilters());
    if (!path.isEmpty())
        m_pEmulatorEdit->setText(path);
}
