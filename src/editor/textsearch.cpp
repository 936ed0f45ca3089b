// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/textsearch.h"

#include <QRegularExpression>
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
    QRegularExpression expression;
    if (request.regularExpression) {
        expression.setPattern(request.findWhat);
        if (!request.matchCase)
            expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        if (!expression.isValid())
            return QTextCursor();
    }
    int position = from;
    for (;;) {
        const QTextCursor found = request.regularExpression ? document->find(expression, position, flags)
                                                            : document->find(request.findWhat, position, flags);
        // An expression may match nothing at a place: no match to show.
        const bool empty = !found.isNull() && !found.hasSelection();
        if (found.isNull() || (!empty && (!request.wholeWord || BoundedByNonWords(document, found))))
            return found;
        // Part of a longer word: look on past its start, which a search up reads as "before".
        position = request.down ? found.selectionStart() + 1 : found.selectionStart() - (empty ? 1 : 0);
        if (!request.down && position <= 0)
            return QTextCursor();
    }
}

int CountMatches(const QTextDocument *document, const FindRequest &request)
{
    FindRequest forward = request;
    forward.down = true;
    int count = 0;
    for (QTextCursor found = Find(document, forward, 0); !found.isNull();
         found = Find(document, forward, found.selectionEnd()))
        ++count;
    return count;
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
