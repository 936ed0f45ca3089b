// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/dialogparts.h"

#include <QDialog>
#include <QPushButton>

namespace DialogParts {

namespace {
// Sizes of the dialogs' arrangement, in pixels of an 8-point dialog font.
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
    button->setDefault(true);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *CancelButton(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("Cancel"), parent);
    button->setAutoDefault(false);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QPushButton *BrowseButton(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setAutoDefault(false);
    button->setFixedWidth(kBrowseWidth);
    return button;
}

} // namespace DialogParts
