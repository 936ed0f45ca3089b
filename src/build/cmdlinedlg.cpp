// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/cmdlinedlg.h"

#include "app/settingsstore.h"

CCmdLineDlg::CCmdLineDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Command Line"));
}

CCmdLineDlg::~CCmdLineDlg() = default;

void CCmdLineDlg::LoadSettings()
{
    m_strArguments = CSettingsStore().ReadString(QString(), QStringLiteral("Command Line"));
}

int CCmdLineDlg::DoModal()
{
    return exec();
}
