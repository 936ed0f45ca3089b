// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CSettingsStore;

// What the wizard offers again next time: the project's name and folder, and
// whether the start reopens the most recent file.
struct WizardEntries
{
    QString name;
    QString path;
    bool autoOpen = false;

    // Reads "Name", "Path" and "Open" of the "Wizard" section, in that order;
    // an empty name or path is offered as the default one.
    static WizardEntries Load(const CSettingsStore &store);
    void Save(CSettingsStore &store) const;
};

// "New Source Project Wizard", shown on every File/New: a blank source file or
// a project source file in a (new) project folder. It edits a copy of the
// entries; the choices are read after DoModal.
class CWizardDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CWizardDlg(const WizardEntries &entries, QWidget *parent = nullptr);
    ~CWizardDlg() override;

    // QDialog::Accepted after OK, else Rejected.
    int DoModal();
    // The entries as they stand, to be stored after OK whichever kind was chosen.
    WizardEntries Entries() const { return {m_strName, m_strPath, m_bAutoOpen}; }

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
