// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/helpdlg.h"

#include "app/settingsstore.h"

CHelpDlg::CHelpDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("HTML Help Location..."));
}

CHelpDlg::~CHelpDlg() = default;

void CHelpDlg::LoadSettings()
{
    m_strHelpPath = CSettingsStore().ReadString(QStringLiteral("Help"), QString());
}

int CHelpDlg::DoModal()
{
    return exec();
}
