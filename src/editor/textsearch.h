// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/findrequest.h"

#include <QTextCursor>

class QTextDocument;

// Searching the text as the Find and Replace dialogs ask. A whole word is
// bounded by characters that are no word characters of the language
// (letters, digits, "_" and "#"), so the whole word "x" is not found in
// "x_pos", "#x" or "x1".
namespace TextSearch {

bool IsWordCharacter(QChar ch);

// The next match after from (or before it, searching up), without going round; null when there is none.
QTextCursor Find(const QTextDocument *document, const FindRequest &request, int from);
// How many matches the document holds, from its start.
int CountMatches(const QTextDocument *document, const FindRequest &request);
// Whether the selection is exactly a match of the request.
bool IsMatch(const QTextCursor &selection, const FindRequest &request);

} // namespace TextSearch
