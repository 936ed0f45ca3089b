// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Starts an outside program (the emulator, the hardware linker) without
// waiting for it, after making folder the editor's current directory. Reports
// its own failures; show asks for the program's window to show.
void LaunchProgram(const QString &program, const QString &arguments, const QString &folder, bool show);
