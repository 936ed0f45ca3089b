// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Command Line": the hardware linker's argument template with its
// placeholders %p, %f, %b and %m. OK stores the template at once; Escape and
// the close box leave it as it was.
class CCmdLineDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCmdLineDlg(QWidget *parent = nullptr);
    ~CCmdLineDlg() override;

    void LoadSettings();
    int DoModal();

    QString m_strArguments;

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit *m_pArgumentsEdit;
    QPushButton *m_pOkButton;
};
