// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/dialogparts.h"

#include <QDialog>
#include <QPushButton>

namespace DialogParts {

namespace {
// Widths of the buttons, in pixels.
constexpr int kButtonWidth = 75;
constexpr int kBrowseWidth = 28;
} // namespace

void SetDialogFrame(QDialog *dialog)
{
    dialog->setWindowFlags((dialog->windowFlags() | Qt::WindowCloseButtonHint)
                           & ~Qt::WindowContextHelpButtonHint);
}

QPushButton *OkButton(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("OK"), parent);
    button->setObjectName(QStringLiteral("okButton"));
    button->setDefault(true);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *CancelButton(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("Cancel"), parent);
    button->setObjectName(QStringLiteral("cancelButton"));
    button->setAutoDefault(false);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *BrowseButton(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QStringLiteral("browseButton"));
    button->setAutoDefault(false);
    button->setFixedWidth(kBrowseWidth);
    return button;
}

void CentreOver(QWidget *dialog, const QWidget *owner)
{
    if (!owner || !owner->isVisible())
        return;
    dialog->adjustSize();
    dialog->move(owner->frameGeometry().center() - dialog->rect().center());
}

} // namespace DialogParts
