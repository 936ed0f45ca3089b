// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The Help Index command: opens the language's help file through the desktop.
#include "app/editorapp.h"

#include "app/helpdlg.h"
#include "core/settingsstore.h"
#include "core/uitext.h"

namespace {
const UiText kHelpOpenFailed{
    "CEditorApp", QT_TRANSLATE_NOOP("CEditorApp", "Failed to open help file! Would you like to browse for it?")};
} // namespace

bool CEditorApp::EditHelpLocation()
{
    CHelpDlg dialog(m_help.path);
    const bool ok = dialog.DoModal() == QDialog::Accepted;
    // A file browsed for is taken even when the dialog is then cancelled.
    m_help.path = dialog.Path();
    if (ok) {
        CSettingsStore store;
        m_help.Save(store);
    }
    return ok;
}

void CEditorApp::OnHelpIndex()
{
    // Until the file opens, the user answers No, or the location dialog is cancelled.
    if (m_help.path.isEmpty() && !EditHelpLocation())
        return;
    Services().ShellOpen(m_help.path, [this](bool opened) {
        if (opened)
            return;
        if (::MessageBox(kHelpOpenFailed, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        if (EditHelpLocation())
            OnHelpIndex();
    });
}
