// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/editorapp.h"

void CEditorApp::LaunchProgram(const QString &, const QString &, const QString &, bool) {}
