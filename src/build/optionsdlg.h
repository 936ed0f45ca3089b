// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/helpdlg.h"
#include "build/cmdlinedlg.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Build Options": the paths of the compiler, the hardware linker and the
// emulator and the two compiler flags. The object is at once the dialog and the
// record the build commands read.
class COptionsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit COptionsDlg(QWidget *parent = nullptr);
    ~COptionsDlg() override;

    void LoadSettings();
    int DoModal();

    CHelpDlg m_helpDlg;
    CCmdLineDlg m_cmdLineDlg;
    QString m_strCompiler;
    QString m_strEmulator;
    QString m_strLinker;
    bool m_bMultiBoot = false;
    bool m_bDebug = false;

    // File dialog filters in Qt's form.
    static QStringList ExecutableFilters();
    static QStringList LinkerFilters();
    // The filter under which executables of any name are listed; empty on Windows.
    static QString ExecutableFilter();

public Q_SLOTS:
    void accept() override;

private:
    void OnBrowseCompiler();
    void OnBrowseLinker();
    void OnBrowseEmulator();
    QString BrowseForFile(const QString &fileName, const QString &defaultSuffix, const QStringList &filters);
    void FieldsToControls();
    void ControlsToFields();

    QLineEdit *m_pCompilerEdit;
    QPushButton *m_pCompilerBrowse;
    QLineEdit *m_pLinkerEdit;
    QPushButton *m_pLinkerBrowse;
    QLineEdit *m_pEmulatorEdit;
    QPushButton *m_pEmulatorBrowse;
    QPushButton *m_pOkButton;
    QPushButton *m_pCancelButton;
    QCheckBox *m_pDebugCheck;
    QCheckBox *m_pMultiBootCheck;
};
