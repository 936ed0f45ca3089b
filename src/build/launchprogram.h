// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildtext.h"

// Starts an outside program (the emulator, the hardware linker) without
// waiting for it, after making folder the editor's current directory. Reports
// its own failures; show asks for the program's window to show.
void LaunchProgram(const BuildText::Invocation &invocation, const QString &folder, bool show);
