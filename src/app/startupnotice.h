// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

// The desktop's launch feedback (a busy cursor, a "starting" entry) lasts
// until the program started says it is up. Qt says so when the first window
// shows; a start that only hands its files to the editor already running
// shows none and ends it here instead.
namespace StartupNotice {

// The launch's identifier that the desktop gave this start; empty for none.
QByteArray StartupId();

// The X11 startup-notification message that ends the launch id, in the
// 20-byte pieces that client messages carry, the last one padded with zeros.
QList<QByteArray> RemoveMessage(const QByteArray &id);

// Ends the launch on the desktop, where it has one and runs on X11.
void EndLaunch();

} // namespace StartupNotice
