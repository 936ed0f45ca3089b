// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/keyboardindicators.h"

#include <QGuiApplication>

#if defined(QBE_HAVE_X11)
#include <X11/XKBlib.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

#if defined(QBE_HAVE_X11)
namespace {
int IndicatorIndex(Display *display, const char *name)
{
    const Atom atom = XInternAtom(display, name, True);
    int index = -1;
    if (atom == None || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr))
        return -1;
    return index;
}
} // namespace
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
    // Look the indicators up by name once: their bit positions differ
    // between keymaps, but not while the program runs.
    static const int caps = IndicatorIndex(display, "Caps Lock");
    static const int num = IndicatorIndex(display, "Num Lock");
    static const int scroll = IndicatorIndex(display, "Scroll Lock");
    auto lit = [indicators](int index) { return index >= 0 && (indicators & (1u << index)) != 0; };
    state.known = true;
    state.capsLock = lit(caps);
    state.numLock = lit(num);
    state.scrollLock = lit(scroll);
#elif defined(Q_OS_WIN)
    state.known = true;
    state.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    state.scrollLock = (GetKeyState(VK_SCROLL) & 1) != 0;
#endif
    return state;
}
