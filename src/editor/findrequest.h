// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What to look for, and what to put in its place.
struct FindRequest
{
    QString findWhat;
    QString replaceWith;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
    bool regularExpression = false; // findWhat is a Qt regular expression
};
