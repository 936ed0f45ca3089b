// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/helpdlg.h"

#include "core/appservices.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const UiText kTitle{"CHelpDlg", QT_TRANSLATE_NOOP("CHelpDlg", "HTML Help Location...")};
const UiText kLabel{"CHelpDlg", QT_TRANSLATE_NOOP("CHelpDlg", "Enter the &location of the HTML Help file...")};
const UiText kFilter{"CHelpDlg", QT_TRANSLATE_NOOP("CHelpDlg", "HTML Help Files (*.chm)")};
const QString kDefaultSuffix = QStringLiteral("chm");
const QString kInitialFileName = QStringLiteral("qrh.dhm");

// Width of the path field, in pixels.
constexpr int kEditWidth = 288;
} // namespace

HelpLocation HelpLocation::Load(const CSettingsStore &store)
{
    return {store.ReadString(SettingsNames::kHelpSection, QString())};
}

void HelpLocation::Save(CSettingsStore &store) const
{
    store.WriteString(path, SettingsNames::kHelpSection, QString());
}

CHelpDlg::CHelpDlg(const QString &path, QWidget *parent) : QDialog(parent), m_strHelpPath(path)
{
    setWindowTitle(kTitle);
    DialogParts::SetDialogFrame(this);

    auto *label = new QLabel(kLabel, this);
    m_pPathEdit = new QLineEdit(this);
    m_pPathEdit->setObjectName(QStringLiteral("pathEdit"));
    m_pPathEdit->setMinimumWidth(kEditWidth);
    m_pBrowseButton = DialogParts::BrowseButton(this, tr("Browse for the help file"));
    label->setBuddy(m_pPathEdit);
    m_pOkButton = DialogParts::OkButton(this);
    m_pCancelButton = DialogParts::CancelButton(this);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_pPathEdit, 1);
    pathRow->addWidget(m_pBrowseButton);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addWidget(m_pCancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(pathRow);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_pPathEdit, m_pBrowseButton);
    setTabOrder(m_pBrowseButton, m_pOkButton);
    setTabOrder(m_pOkButton, m_pCancelButton);

    connect(m_pBrowseButton, &QPushButton::clicked, this, &CHelpDlg::OnBrowse);
    connect(m_pOkButton, &QPushButton::clicked, this, &CHelpDlg::accept);
    connect(m_pCancelButton, &QPushButton::clicked, this, &CHelpDlg::reject);
}

CHelpDlg::~CHelpDlg() = default;

int CHelpDlg::DoModal()
{
    m_pPathEdit->setText(m_strHelpPath);
    m_pPathEdit->setFocus();
    // The one object of the run has no parent; it still opens over the window
    // it is asked from, or over the main window when a question that just
    // closed leaves no window active.
    if (parentWidget())
        return exec();
    return DialogParts::ExecOver(this, QApplication::activeWindow() ? QApplication::activeWindow()
                                                                    : Services().DialogParent());
}

void CHelpDlg::OnBrowse()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::OpenFile;
    request.fileName = kInitialFileName;
    request.filters = QStringList{kFilter};
    request.defaultSuffix = kDefaultSuffix;
    // Confirming the offered "qrh.dhm" as it stands is allowed; opening it
    // then fails and the user is asked again.
    request.mustExist = false;
    const QString path = Services().FileDialog(this, request);
    if (path.isEmpty())
        return;
    // Taken at once: Cancel in this dialog does not undo a browsed path.
    m_strHelpPath = path;
    m_pPathEdit->setText(m_strHelpPath);
}

void CHelpDlg::accept()
{
    m_strHelpPath = m_pPathEdit->text();
    QDialog::accept();
}
