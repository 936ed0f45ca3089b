// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class CSettingsStore;

// Where the language's help file is.
struct HelpLocation
{
    QString path;

    static HelpLocation Load(const CSettingsStore &store);
    void Save(CSettingsStore &store) const;
};

// "HTML Help Location...": edits a copy of the help file's path. Path() is
// what was typed after OK; a file browsed for stays even after Cancel.
class CHelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CHelpDlg(const QString &path, QWidget *parent = nullptr);
    ~CHelpDlg() override;

    // The edit box shows the path; QDialog::Accepted after OK.
    int DoModal();
    QString Path() const { return m_strHelpPath; }

    void OnBrowse();

public Q_SLOTS:
    void accept() override;

private:
    QString m_strHelpPath;
    QLineEdit *m_pPathEdit;
    QPushButton *m_pBrowseButton;
    QPushButton *m_pOkButton;
    QPushButton *m_pCancelButton;
};
