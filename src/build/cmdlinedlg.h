// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// "Command Line": the hardware linker's argument template with its
// placeholders %p, %f, %b and %m.
class CCmdLineDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCmdLineDlg(QWidget *parent = nullptr);
    ~CCmdLineDlg() override;

    void LoadSettings();
    int DoModal();

    QString m_strArguments;
};
