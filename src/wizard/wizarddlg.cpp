// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "wizard/wizarddlg.h"

#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const UiText kTitle{"CWizardDlg", QT_TRANSLATE_NOOP("CWizardDlg", "New Source Project Wizard")};
const UiText kDefaultName{"CWizardDlg", QT_TRANSLATE_NOOP("CWizardDlg", "My Project")};
const UiText kBrowseTitle{"CWizardDlg", QT_TRANSLATE_NOOP("CWizardDlg", "Project Folder")};

// Sizes of the dialog's arrangement, in pixels.
constexpr int kEditWidth = 234;
constexpr int kLogoSize = 124;
constexpr int kFieldIndent = 18;
constexpr int kLogoGap = 20;
} // namespace

WizardEntries WizardEntries::Load(const CSettingsStore &store)
{
    WizardEntries entries;
    entries.name = store.ReadString(SettingsNames::kWizardSection, SettingsNames::kWizardName);
    if (entries.name.isEmpty())
        entries.name = kDefaultName;
    entries.path = store.ReadString(SettingsNames::kWizardSection, SettingsNames::kWizardPath);
    if (entries.path.isEmpty()) {
        // Nothing stored yet: the user's documents folder, else the home folder.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        entries.path = QDir::toNativeSeparators(QFileInfo(documents).isDir() ? documents : QDir::homePath());
    }
    entries.autoOpen = store.ReadInt(SettingsNames::kWizardSection, SettingsNames::kWizardOpen) != 0;
    return entries;
}

void WizardEntries::Save(CSettingsStore &store) const
{
    store.WriteValues({{SettingsNames::kWizardSection, SettingsNames::kWizardName, name},
                       {SettingsNames::kWizardSection, SettingsNames::kWizardPath, path},
                       {SettingsNames::kWizardSection, SettingsNames::kWizardOpen, QString::number(autoOpen ? 1 : 0)}});
}

CWizardDlg::CWizardDlg(const WizardEntries &entries, QWidget *parent)
    : QDialog(parent ? parent : Services().DialogParent()), m_strName(entries.name), m_strPath(entries.path),
      m_bAutoOpen(entries.autoOpen)
{

    setWindowTitle(kTitle);
    DialogParts::SetDialogFrame(this);

    m_pNameEdit = new QLineEdit(this);
    m_pNameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_pNameEdit->setMinimumWidth(kEditWidth);
    m_pNameEdit->setAccessibleName(tr("Project name"));
    m_pPathEdit = new QLineEdit(this);
    m_pPathEdit->setObjectName(QStringLiteral("pathEdit"));
    m_pPathEdit->setMinimumWidth(kEditWidth);
    m_pPathEdit->setAccessibleName(tr("Project folder"));
    m_pBrowseButton = DialogParts::BrowseButton(this, tr("Browse for the project folder"));
    m_pNameLabel = new QLabel(tr("&Name:"), this);
    m_pNameLabel->setBuddy(m_pNameEdit);
    m_pPathLabel = new QLabel(tr("&Folder:"), this);
    m_pPathLabel->setBuddy(m_pPathEdit);
    m_pSubFolderCheck = new QCheckBox(tr("Create &sub-folder in project directory..."), this);
    m_pSubFolderCheck->setObjectName(QStringLiteral("subFolderCheck"));
    m_pAutoOpenCheck = new QCheckBox(tr("&Auto open this project when I launch TRZ..."), this);
    m_pAutoOpenCheck->setObjectName(QStringLiteral("autoOpenCheck"));
    m_pBlankRadio = new QRadioButton(tr("Create a new, &blank source file..."), this);
    m_pBlankRadio->setObjectName(QStringLiteral("blankRadio"));
    m_pProjectRadio = new QRadioButton(tr("Create a new &project source file..."), this);
    m_pProjectRadio->setObjectName(QStringLiteral("projectRadio"));
    m_pBlankRadio->setFocusPolicy(Qt::ClickFocus);
    m_pProjectRadio->setFocusPolicy(Qt::ClickFocus);
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_pBlankRadio, 0);
    kinds->addButton(m_pProjectRadio, 1);
    m_pOkButton = DialogParts::OkButton(this);
    m_pCancelButton = DialogParts::CancelButton(this);

    m_pLogo = new QLabel(this);
    m_pLogo->setObjectName(QStringLiteral("logo"));
    m_pLogo->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_pLogo->setLineWidth(1);
    m_pLogo->setFixedSize(kLogoSize, kLogoSize);
    m_pLogo->setAlignment(Qt::AlignCenter);
    m_pLogo->setPixmap(QPixmap(DialogParts::kLogo));

    // Left the logo; right of it the two kinds, and below them, indented, the
    // name, the folder with its browse button and the sub-folder box. Only the
    // chosen kind is a stop of Tab; the arrow keys choose the other.
    auto *fields = new QGridLayout;
    fields->setContentsMargins(kFieldIndent, 0, 0, 0);
    fields->addWidget(m_pNameLabel, 0, 0);
    fields->addWidget(m_pNameEdit, 0, 1);
    fields->addWidget(m_pPathLabel, 1, 0);
    fields->addWidget(m_pPathEdit, 1, 1);
    fields->addWidget(m_pBrowseButton, 1, 2);
    fields->addWidget(m_pSubFolderCheck, 2, 0, 1, 3);

    auto *choices = new QVBoxLayout;
    choices->addWidget(m_pBlankRadio);
    choices->addWidget(m_pProjectRadio);
    choices->addLayout(fields);
    choices->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(m_pLogo, 0, Qt::AlignTop);
    top->addSpacing(kLogoGap);
    top->addLayout(choices, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_pAutoOpenCheck);
    bottom->addStretch();
    bottom->addWidget(m_pOkButton);
    bottom->addWidget(m_pCancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_pNameEdit, m_pPathEdit);
    setTabOrder(m_pPathEdit, m_pBrowseButton);
    setTabOrder(m_pBrowseButton, m_pSubFolderCheck);
    setTabOrder(m_pSubFolderCheck, m_pAutoOpenCheck);
    setTabOrder(m_pAutoOpenCheck, m_pBlankRadio);
    setTabOrder(m_pBlankRadio, m_pProjectRadio);
    setTabOrder(m_pProjectRadio, m_pOkButton);
    setTabOrder(m_pOkButton, m_pCancelButton);

    connect(m_pBlankRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_pBlankRadio->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        if (on)
            OnBlankFile();
    });
    connect(m_pProjectRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_pProjectRadio->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        if (on)
            OnProjectFile();
    });
    connect(m_pBrowseButton, &QPushButton::clicked, this, &CWizardDlg::OnBrowse);
    connect(m_pOkButton, &QPushButton::clicked, this, &CWizardDlg::accept);
    connect(m_pCancelButton, &QPushButton::clicked, this, &CWizardDlg::reject);

    UpdateData(false);
}

CWizardDlg::~CWizardDlg() = default;

int CWizardDlg::DoModal()
{
    UpdateData(false);
    m_pNameEdit->setFocus();
    m_pNameEdit->selectAll();
    return exec();
}

void CWizardDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_strName = m_pNameEdit->text();
        m_strPath = m_pPathEdit->text();
        m_nType = m_pBlankRadio->isChecked() ? 0 : 1;
        m_bSubFolder = m_pSubFolderCheck->isChecked();
        m_bAutoOpen = m_pAutoOpenCheck->isChecked();
        return;
    }
    m_pNameEdit->setText(m_strName);
    m_pPathEdit->setText(m_strPath);
    (m_nType == 0 ? m_pBlankRadio : m_pProjectRadio)->setChecked(true);
    m_pSubFolderCheck->setChecked(m_bSubFolder);
    m_pAutoOpenCheck->setChecked(m_bAutoOpen);
}

void CWizardDlg::accept()
{
    UpdateData(true);
    QDialog::accept();
}

void CWizardDlg::SetProjectControlsEnabled(bool enabled)
{
    m_pNameLabel->setEnabled(enabled);
    m_pNameEdit->setEnabled(enabled);
    m_pPathLabel->setEnabled(enabled);
    m_pPathEdit->setEnabled(enabled);
    m_pBrowseButton->setEnabled(enabled);
    m_pAutoOpenCheck->setEnabled(enabled);
    m_pSubFolderCheck->setEnabled(enabled);
}

void CWizardDlg::OnBlankFile()
{
    SetProjectControlsEnabled(false);
}

void CWizardDlg::OnProjectFile()
{
    SetProjectControlsEnabled(true);
}

void CWizardDlg::OnBrowse()
{
    // Whatever was typed in the other fields survives the browsing.
    UpdateData(true);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Folder;
    request.caption = kBrowseTitle;
    // Browsing starts at the desktop, or at home where there is no desktop folder.
    request.directory = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(request.directory).isDir())
        request.directory = QDir::homePath();
    request.listFilesInFolderMode = true;
    QString path = Services().FileDialog(this, request);
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isDir())
        path = FolderOf(path);
    m_strPath = path;
    UpdateData(false);
}
