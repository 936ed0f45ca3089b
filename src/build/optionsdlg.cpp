// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/optionsdlg.h"

#include "app/settingsstore.h"

COptionsDlg::COptionsDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Build Options"));
}

COptionsDlg::~COptionsDlg() = default;

void COptionsDlg::LoadSettings()
{
    CSettingsStore store;
    m_strCompiler = store.ReadString(QString(), QStringLiteral("Compiler"));
    m_strLinker = store.ReadString(QString(), QStringLiteral("Linker"));
    m_strEmulator = store.ReadString(QString(), QStringLiteral("Emulator"));
    m_bMultiBoot = store.ReadInt(QString(), QStringLiteral("Multi-boot")) != 0;
    m_bDebug = store.ReadInt(QString(), QStringLiteral("Debug")) != 0;
}

int COptionsDlg::DoModal()
{
    return exec();
}
