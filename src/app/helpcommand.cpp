// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The Help Index command: opens the language's help file through the desktop.
#include "app/editorapp.h"

#include "build/helpdlg.h"

namespace {
const QString kHelpOpenFailed = QStringLiteral("Failed to open help file! Would you like to browse for it?");
} // namespace

void CEditorApp::OnHelpIndex()
{
    CHelpDlg &location = m_options.m_helpDlg;
    // Until the file opens, the user answers No, or the location dialog is cancelled.
    if (location.m_strHelpPath.isEmpty() && location.DoModal() != QDialog::Accepted)
        return;
    Services().ShellOpen(location.m_strHelpPath, [this, &location](bool opened) {
        if (opened)
            return;
        if (::MessageBox(kHelpOpenFailed, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        if (location.DoModal() == QDialog::Accepted)
            OnHelpIndex();
    });
}
