// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

class QDialog;
class QPushButton;
class QWidget;

// Pieces that every dialog of the program makes the same way.
namespace DialogParts {

// A caption with a close box and no context-help button.
void SetDialogFrame(QDialog *dialog);
// "OK", the default button.
QPushButton *OkButton(QWidget *parent);
// "Cancel".
QPushButton *CancelButton(QWidget *parent);
// The small "..." button beside a path field.
QPushButton *BrowseButton(QWidget *parent);
// Places a dialog that has no parent over the middle of owner, where owner shows.
void CentreOver(QWidget *dialog, const QWidget *owner);

} // namespace DialogParts
