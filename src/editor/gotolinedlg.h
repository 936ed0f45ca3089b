// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QSpinBox;

// Go To Line: asks for a line number between 1 and the number of lines.
class CGoToLineDlg : public QDialog
{
    Q_OBJECT
public:
    CGoToLineDlg(int current, int lineCount, QWidget *parent = nullptr);

    int Line() const;

private:
    QSpinBox *m_pLineBox;
};
