// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/keyboardindicators.h"

#include <QGuiApplication>

#if defined(QBE_HAVE_X11)
#include <X11/XKBlib.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

KeyboardIndicators ReadKeyboardIndicators()
{
    KeyboardIndicators state;
#if defined(QBE_HAVE_X11)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return state;
    unsigned int indicators = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) != Success)
        return state;
    // Look the indicators up by name: their bit positions differ between keymaps.
    auto lit = [display, indicators](const char *name) {
        const Atom atom = XInternAtom(display, name, True);
        if (atom == None)
            return false;
        int index = -1;
        if (!XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) || index < 0)
            return false;
        return (indicators & (1u << index)) != 0;
    };
    state.known = true;
    state.capsLock = lit("Caps Lock");
    state.numLock = lit("Num Lock");
    state.scrollLock = lit("Scroll Lock");
#elif defined(Q_OS_WIN)
    state.known = true;
    state.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    state.scrollLock = (GetKeyState(VK_SCROLL) & 1) != 0;
#endif
    return state;
}
