// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "HTML Help Location...": where the language's help file is.
class CHelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CHelpDlg(QWidget *parent = nullptr);
    ~CHelpDlg() override;

    void LoadSettings();
    int DoModal();

    QString m_strHelpPath;
};
