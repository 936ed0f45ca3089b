// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/startupnotice.h"

#include <QGuiApplication>

#if defined(QBE_HAVE_X11)
#include <X11/Xlib.h>

#include <cstring>
#endif

namespace StartupNotice {

namespace {
// Taken before Qt starts: Qt's X11 support removes it from the environment.
const QByteArray g_startupId = qgetenv("DESKTOP_STARTUP_ID");
// What one client message carries.
constexpr int kPieceBytes = 20;
} // namespace

QByteArray StartupId()
{
    return g_startupId;
}

QList<QByteArray> RemoveMessage(const QByteArray &id)
{
    QByteArray quoted = id;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray message = "remove: ID=\"" + quoted + "\"" + '\0';
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < message.size(); at += kPieceBytes)
        pieces.append(message.mid(at, kPieceBytes).leftJustified(kPieceBytes, '\0'));
    return pieces;
}

void EndLaunch()
{
#if defined(QBE_HAVE_X11)
    if (g_startupId.isEmpty())
        return;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return;
    const Window root = DefaultRootWindow(display);
    // The messages come from a window of this program, as the desktop expects.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window sender = XCreateWindow(display, root, -100, -100, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                        CWOverrideRedirect, &attributes);
    const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
    const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
    const QList<QByteArray> pieces = RemoveMessage(g_startupId);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.display = display;
        event.xclient.window = sender;
        event.xclient.message_type = i == 0 ? begin : more;
        event.xclient.format = 8;
        std::memcpy(event.xclient.data.b, pieces.at(i).constData(), kPieceBytes);
        XSendEvent(display, root, False, PropertyChangeMask, &event);
    }
    XDestroyWindow(display, sender);
    XFlush(display);
#endif
}

} // namespace StartupNotice
