// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "New Source Project Wizard", shown on every File/New: a blank source file or
// a project source file in a (new) project folder. The object is also the
// record of the user's choices, read after DoModal.
class CWizardDlg : public QDialog
{
    Q_OBJECT
public:
    // Reads "Name", "Path" and "Open" of the "Wizard" section, in that order.
    explicit CWizardDlg(QWidget *parent = nullptr);
    ~CWizardDlg() override;

    // QDialog::Accepted after OK (the settings are written then), else Rejected.
    int DoModal();

    // Moves the members into the controls (false) or the controls into the members (true).
    void UpdateData(bool saveAndValidate);

    void OnBlankFile();
    void OnProjectFile();
    void OnBrowse();

    QString m_strName;
    QString m_strPath;
    int m_nType = 1; // 0 blank source file, 1 project source file
    bool m_bSubFolder = true;
    bool m_bAutoOpen = false;

public Q_SLOTS:
    void accept() override;

private:
    void SetProjectControlsEnabled(bool enabled);

    QLabel *m_pNameLabel;
    QLabel *m_pPathLabel;
    QLineEdit *m_pNameEdit;
    QLineEdit *m_pPathEdit;
    QPushButton *m_pBrowseButton;
    QCheckBox *m_pSubFolderCheck;
    QCheckBox *m_pAutoOpenCheck;
    QRadioButton *m_pBlankRadio;
    QRadioButton *m_pProjectRadio;
    QPushButton *m_pOkButton;
    QPushButton *m_pCancelButton;
    QLabel *m_pLogo;
};
