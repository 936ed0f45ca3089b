// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QDialog;
class QFontMetrics;
class QPushButton;
class QWidget;

// Pieces that every dialog of the program makes the same way.
namespace DialogParts {

// A caption with a close box and no context-help button.
void SetDialogFrame(QDialog *dialog);
// The program's logo, shown by the wizard and the About box.
inline const QString kLogo = QStringLiteral(":/res/logo.png");

// "OK", the default button, named "okButton".
QPushButton *OkButton(QWidget *parent);
// "Cancel", named "cancelButton".
QPushButton *CancelButton(QWidget *parent);
// The small "..." button beside a path field, named "browseButton"; what it
// browses for is its accessible name ("Browse for the compiler").
QPushButton *BrowseButton(QWidget *parent, const QString &accessibleName);
// Places a dialog that has no parent over the middle of owner, where owner shows.
void CentreOver(QWidget *dialog, const QWidget *owner);
// Runs a dialog that has no parent over owner, and gives owner the keyboard
// back when it closes, which no parent does for it; the dialog's result.
int ExecOver(QDialog *dialog, QWidget *owner);
// Text broken into lines no wider than width, at the blanks between words; a
// word that does not fit alone has a line to itself. When the last of several
// lines would hold a single word, a word of the line before goes down with it.
QString WrapText(const QString &text, const QFontMetrics &metrics, int width);

} // namespace DialogParts
