// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/helpdlg.h"
#include "build/cmdlinedlg.h"

#include <QDialog>

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
};
