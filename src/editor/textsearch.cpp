// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/textsearch.h"

#include <QTextDocument>

namespace TextSearch {

bool IsWordCharacter(QChar ch)
{
    return ch.isLetterOrNumber() || ch == QLatin1Char('_') || ch == QLatin1Char('#');
}

namespace {

bool BoundedByNonWords(const QTextDocument *document, const QTextCursor &found)
{
    const int start = found.selectionStart();
    const int end = found.selectionEnd();
    return (start == 0 || !IsWordCharacter(document->characterAt(start - 1)))
           && !IsWordCharacter(document->characterAt(end));
}

} // namespace

QTextCursor Find(const QTextDocument *document, const FindRequest &request, int from)
{
    if (request.findWhat.isEmpty())
        return QTextCursor();
    QTextDocument::FindFlags flags;
    if (request.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (!request.down)
        flags |= QTextDocument::FindBackward;
    int position = from;
    for (;;) {
        const QTextCursor found = document->find(request.findWhat, position, flags);
        if (found.isNull() || !request.wholeWord || BoundedByNonWords(document, found))
            return found;
        // Part of a longer word: look on past its start, which a search up reads as "before".
        position = request.down ? found.selectionStart() + 1 : found.selectionStart();
        if (!request.down && position <= 0)
            return QTextCursor();
    }
}

bool IsMatch(const QTextCursor &selection, const FindRequest &request)
{
    if (!selection.hasSelection())
        return false;
    FindRequest forward = request;
    forward.down = true;
    const QTextCursor found = Find(selection.document(), forward, selection.selectionStart());
    return !found.isNull() && found.selectionStart() == selection.selectionStart()
           && found.selectionEnd() == selection.selectionEnd();
}

} // namespace TextSearch
