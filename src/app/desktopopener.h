// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/limit.h"

#include <functional>

class QObject;
class QUrl;

// Opens a file or web address with the desktop's program for it and answers
// whether it opened. On Linux desktops the opener (xdg-open) is run as a
// process whose exit status is the answer; it waits for the program it starts
// on some desktops, so one still running after a short time counts as opened.
// The answer may come later, from the event loop; the window never waits.
namespace DesktopOpener {

using Answer = std::function<void(bool opened)>;

// How long the opener may run before it counts as having opened the target.
extern CLimit<int> s_answerWithinMs;

// The opener processes belong to owner; answer is called exactly once.
void Open(const QUrl &url, QObject *owner, Answer answer);

} // namespace DesktopOpener
