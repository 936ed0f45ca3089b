// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/gotolinedlg.h"

#include "core/uitext.h"
#include "editor/dialogparts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {
const UiText kCaption{"CGoToLineDlg", QT_TRANSLATE_NOOP("CGoToLineDlg", "Go To Line")};
const UiText kPrompt{"CGoToLineDlg", QT_TRANSLATE_NOOP("CGoToLineDlg", "&Line number (1 - %1):")};
} // namespace

CGoToLineDlg::CGoToLineDlg(int current, int lineCount, QWidget *parent)
    : QDialog(parent), m_pLineBox(new QSpinBox(this))
{
    setWindowTitle(kCaption);
    DialogParts::SetDialogFrame(this);
    m_pLineBox->setObjectName(QStringLiteral("lineBox"));
    m_pLineBox->setRange(1, qMax(1, lineCount));
    m_pLineBox->setValue(current);
    m_pLineBox->selectAll();
    auto *prompt = new QLabel(kPrompt.arg(lineCount), this);
    prompt->setBuddy(m_pLineBox);

    QPushButton *ok = DialogParts::OkButton(this);
    QPushButton *cancel = DialogParts::CancelButton(this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(prompt, 0, 0);
    layout->addWidget(m_pLineBox, 1, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0);
    m_pLineBox->setFocus();
}

int CGoToLineDlg::Line() const
{
    return m_pLineBox->value();
}
