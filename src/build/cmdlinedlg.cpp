// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/cmdlinedlg.h"

#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const UiText kCaption{"CCmdLineDlg", QT_TRANSLATE_NOOP("CCmdLineDlg", "Command Line")};
const UiText kPrompt{"CCmdLineDlg", QT_TRANSLATE_NOOP("CCmdLineDlg", "Enter command line &arguments...")};

struct Placeholder
{
    const char *key;
    const char *label;
    int row;
    int column;
};
// Two columns: project path and binary file name above source file name and
// multi-boot image file name.
constexpr Placeholder kPlaceholders[] = {
    {"%p", QT_TRANSLATE_NOOP("CCmdLineDlg", "Project path"), 0, 0},
    {"%f", QT_TRANSLATE_NOOP("CCmdLineDlg", "Source filename"), 1, 0},
    {"%b", QT_TRANSLATE_NOOP("CCmdLineDlg", "Binary filename"), 0, 2},
    {"%m", QT_TRANSLATE_NOOP("CCmdLineDlg", "Multiboot image filename"), 1, 2},
};
} // namespace

CCmdLineDlg::CCmdLineDlg(const QString &arguments, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_strArguments(arguments), m_pArgumentsEdit(new QLineEdit(this)), m_pOkButton(DialogParts::OkButton(this))
{
    setWindowTitle(kCaption);
    m_pArgumentsEdit->setObjectName(QStringLiteral("argumentsEdit"));
    connect(m_pOkButton, &QPushButton::clicked, this, &CCmdLineDlg::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *prompt = new QLabel(kPrompt, this);
    prompt->setBuddy(m_pArgumentsEdit);
    layout->addWidget(prompt);
    layout->addWidget(m_pArgumentsEdit);
    m_pArgumentsEdit->setMinimumWidth(m_pArgumentsEdit->fontMetrics().averageCharWidth() * 44);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (const Placeholder &placeholder : kPlaceholders) {
        grid->addWidget(new QLabel(QLatin1String(placeholder.key), this), placeholder.row, placeholder.column);
        grid->addWidget(new QLabel(tr(placeholder.label), this), placeholder.row, placeholder.column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addStretch();
    layout->addLayout(buttons);

    setTabOrder(m_pArgumentsEdit, m_pOkButton);
}

CCmdLineDlg::~CCmdLineDlg() = default;

int CCmdLineDlg::DoModal()
{
    m_pArgumentsEdit->setText(m_strArguments);
    m_pArgumentsEdit->setFocus();
    return exec();
}

void CCmdLineDlg::accept()
{
    m_strArguments = m_pArgumentsEdit->text();
    QDialog::accept();
}
