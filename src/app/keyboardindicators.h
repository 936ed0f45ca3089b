// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

// State of the three lock keys, where the platform tells it.
struct KeyboardIndicators
{
    bool known = false;
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// X11: XKB's indicators; Windows: GetKeyState; elsewhere unknown.
KeyboardIndicators ReadKeyboardIndicators();
