// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/optionsdlg.h"

#include "build/cmdlinedlg.h"
#include "core/appservices.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
const UiText kCaption{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Build Options")};

const UiText kGroupTitle{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Compiler and Linker")};
const UiText kCompilerPrompt{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Path to &QRX.EXE compiler...")};
const UiText kLinkerPrompt{"COptionsDlg",
                           QT_TRANSLATE_NOOP("COptionsDlg", "Path to flash &linker or multiboot executable...")};
const UiText kTemplateNote{
    "COptionsDlg",
    QT_TRANSLATE_NOOP("COptionsDlg",
                      "If no path is given for GBA.QRX, then the current path is assumed when creating a new "
                      "program template file...")};
const UiText kEmulatorPrompt{"COptionsDlg",
                             QT_TRANSLATE_NOOP("COptionsDlg", "Path to the &emulator you want to debug with...")};
const UiText kDebugText{"COptionsDlg",
                        QT_TRANSLATE_NOOP("COptionsDlg", "Use -&debug flag to see subroutine addresses")};
const UiText kMultiBootText{"COptionsDlg",
                            QT_TRANSLATE_NOOP("COptionsDlg", "Use -&mb flag to create a multi-boot ROM")};

const QString kCompilerFileName = QStringLiteral("qrx.exe");
const QString kDefaultSuffix = QStringLiteral("exe");
const UiText kApplicationsFilter{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Applications (*.exe)")};
#ifdef Q_OS_WIN
const UiText kScriptsFilter{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Scripts (*.bat)")};
const UiText kAllFilesFilter{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "All files (*.*)")};
#else
const UiText kScriptsFilter{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Scripts (*.bat *.sh)")};
const UiText kAllFilesFilter{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "All files (*)")};
#endif

// Each path field and its "..." button, as screen readers name them.
const UiText kCompilerPath{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Compiler path")};
const UiText kLinkerPath{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Linker path")};
const UiText kEmulatorPath{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Emulator path")};
const UiText kBrowseCompiler{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Browse for the compiler")};
const UiText kBrowseLinker{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Browse for the linker")};
const UiText kBrowseEmulator{"COptionsDlg", QT_TRANSLATE_NOOP("COptionsDlg", "Browse for the emulator")};

QPushButton *MakeBrowseButton(QWidget *parent, const QString &name, const QString &accessibleName)
{
    QPushButton *button = DialogParts::BrowseButton(parent, accessibleName);
    button->setObjectName(name);
    return button;
}

QLineEdit *MakePathEdit(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 48);
    return edit;
}

// A prompt whose mnemonic goes to field.
QLabel *BuddyLabel(const QString &text, QWidget *field)
{
    auto *label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

} // namespace

COptionsDlg::COptionsDlg(const BuildSettings &settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_settings(settings), m_pCompilerEdit(MakePathEdit(this, QStringLiteral("compilerEdit"), kCompilerPath)),
      m_pCompilerBrowse(MakeBrowseButton(this, QStringLiteral("compilerBrowse"), kBrowseCompiler)),
      m_pLinkerEdit(MakePathEdit(this, QStringLiteral("linkerEdit"), kLinkerPath)),
      m_pLinkerBrowse(MakeBrowseButton(this, QStringLiteral("linkerBrowse"), kBrowseLinker)),
      m_pEmulatorEdit(MakePathEdit(this, QStringLiteral("emulatorEdit"), kEmulatorPath)),
      m_pEmulatorBrowse(MakeBrowseButton(this, QStringLiteral("emulatorBrowse"), kBrowseEmulator)),
      m_pOkButton(DialogParts::OkButton(this)), m_pCancelButton(DialogParts::CancelButton(this)),
      m_pDebugCheck(new QCheckBox(kDebugText, this)), m_pMultiBootCheck(new QCheckBox(kMultiBootText, this))
{
    setWindowTitle(kCaption);
    m_pDebugCheck->setObjectName(QStringLiteral("debugCheck"));
    m_pMultiBootCheck->setObjectName(QStringLiteral("multiBootCheck"));

    // One grid holds every row, so that the three path fields share one
    // column and their buttons another. The group box lies behind the rows it
    // frames; its first and last rows and its side columns are its border.
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    const int inset = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    const int lineHeight = fontMetrics().height();
    enum Column { LeftBorder, Field, Browse, RightBorder, ColumnCount };
    enum Row {
        GroupTop,
        CompilerLabel,
        CompilerRow,
        LinkerLabel,
        LinkerRow,
        GroupBottom,
        Note,
        DebugRow,
        MultiBootRow,
        EmulatorLabel,
        EmulatorRow,
        Buttons
    };
    grid->setColumnMinimumWidth(LeftBorder, inset);
    grid->setColumnMinimumWidth(RightBorder, inset);
    grid->setRowMinimumHeight(GroupTop, lineHeight + inset / 2);
    grid->setRowMinimumHeight(GroupBottom, lineHeight / 2);

    auto *group = new QGroupBox(kGroupTitle, this);
    grid->addWidget(group, GroupTop, LeftBorder, GroupBottom - GroupTop + 1, ColumnCount);
    group->lower();
    grid->addWidget(BuddyLabel(kCompilerPrompt, m_pCompilerEdit), CompilerLabel, Field, 1, 2);
    grid->addWidget(m_pCompilerEdit, CompilerRow, Field);
    grid->addWidget(m_pCompilerBrowse, CompilerRow, Browse);
    grid->addWidget(BuddyLabel(kLinkerPrompt, m_pLinkerEdit), LinkerLabel, Field, 1, 2);
    grid->addWidget(m_pLinkerEdit, LinkerRow, Field);
    grid->addWidget(m_pLinkerBrowse, LinkerRow, Browse);

    // The note breaks where it fits the rows' width, never leaving one word alone.
    const int rowWidth =
        m_pCompilerEdit->minimumWidth() + grid->horizontalSpacing() + m_pCompilerBrowse->sizeHint().width();
    auto *note = new QLabel(DialogParts::WrapText(kTemplateNote, fontMetrics(), rowWidth), this);
    note->setObjectName(QStringLiteral("templateNote"));
    grid->addWidget(note, Note, Field, 1, 2);
    // The check boxes sit a little further in.
    const int indent = inset / 2;
    auto *debugRow = new QHBoxLayout;
    debugRow->setContentsMargins(indent, 0, 0, 0);
    debugRow->addWidget(m_pDebugCheck);
    grid->addLayout(debugRow, DebugRow, Field, 1, 2);
    auto *multiBootRow = new QHBoxLayout;
    multiBootRow->setContentsMargins(indent, 0, 0, 0);
    multiBootRow->addWidget(m_pMultiBootCheck);
    grid->addLayout(multiBootRow, MultiBootRow, Field, 1, 2);
    grid->addWidget(BuddyLabel(kEmulatorPrompt, m_pEmulatorEdit), EmulatorLabel, Field, 1, 2);
    grid->addWidget(m_pEmulatorEdit, EmulatorRow, Field);
    grid->addWidget(m_pEmulatorBrowse, EmulatorRow, Browse);

    // OK and Cancel at the bottom right, a little apart from the last row.
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, lineHeight / 2, 0, 0);
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addWidget(m_pCancelButton);
    grid->addLayout(buttons, Buttons, Field, 1, ColumnCount - Field);

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

int COptionsDlg::DoModal()
{
    // Every opening shows the fields as they stand; what a cancelled opening
    // picked by browsing is gone.
    FieldsToControls();
    m_pCompilerEdit->setFocus();
    // The dialog belongs to the application, not to a window; it still opens
    // over the main window.
    return DialogParts::ExecOver(this, Services().DialogParent());
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
    m_pCompilerEdit->setText(m_settings.compiler);
    m_pEmulatorEdit->setText(m_settings.emulator);
    m_pLinkerEdit->setText(m_settings.linker);
    m_pMultiBootCheck->setChecked(m_settings.multiBoot);
    m_pDebugCheck->setChecked(m_settings.debug);
}

void COptionsDlg::ControlsToFields()
{
    m_settings.compiler = m_pCompilerEdit->text();
    m_settings.emulator = m_pEmulatorEdit->text();
    m_settings.linker = m_pLinkerEdit->text();
    m_settings.multiBoot = m_pMultiBootCheck->isChecked();
    m_settings.debug = m_pDebugCheck->isChecked();
}

void COptionsDlg::accept()
{
    ControlsToFields();
    QDialog::accept();
}

QString COptionsDlg::BrowseForFile(const QString &fileName, const QString &defaultSuffix, const QStringList &filters)
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
    // A new linker wants its arguments right away; they are stored at once,
    // whether or not these Build Options are confirmed.
    CCmdLineDlg commandLine(m_settings.linkerArguments, this);
    if (commandLine.DoModal() != QDialog::Accepted)
        return;
    m_settings.linkerArguments = commandLine.Arguments();
    CSettingsStore store;
    m_settings.SaveLinkerArguments(store);
}

void COptionsDlg::OnBrowseEmulator()
{
    const QString path = BrowseForFile(QString(), kDefaultSuffix, ExecutableFilters());
    if (!path.isEmpty())
        m_pEmulatorEdit->setText(path);
}
