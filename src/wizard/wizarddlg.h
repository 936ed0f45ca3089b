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
    int m_nType = 1;            // 0 blank source file, 1 project source file
    bool m_bSubFolder = true;
    bool m_bAutoOpen = false;

    // Controls, for the tests and for the data exchange.
    QLineEdit *NameEdit() const { return m_pNameEdit; }
    QLineEdit *PathEdit() const { return m_pPathEdit; }
    QPushButton *BrowseButton() const { return m_pBrowseButton; }
    QCheckBox *SubFolderCheck() const { return m_pSubFolderCheck; }
    QCheckBox *AutoOpenCheck() const { return m_pAutoOpenCheck; }
    QRadioButton *BlankRadio() const { return m_pBlankRadio; }
    QRadioButton *ProjectRadio() const { return m_pProjectRadio; }
    QPushButton *OkButton() const { return m_pOkButton; }
    QPushButton *CancelButton() const { return m_pCancelButton; }
    QLabel *Logo() const { return m_pLogo; }

public Q_SLOTS:
    void accept() override;

private:
    void SetProjectControlsEnabled(bool enabled);

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
