// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "HTML Help Location...": where the language's help file is. One object lives
// for the whole run and is also the record of the path.
class CHelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CHelpDlg(QWidget *parent = nullptr);
    ~CHelpDlg() override;

    void LoadSettings();
    // The edit box shows m_strHelpPath; QDialog::Accepted after OK.
    int DoModal();

    void OnBrowse();

    QString m_strHelpPath;

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit *m_pPathEdit;
    QPushButton *m_pBrowseButton;
    QPushButton *m_pOkButton;
    QPushButton *m_pCancelButton;
};
