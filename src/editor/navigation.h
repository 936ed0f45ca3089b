// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextCursor>

#include <optional>

class CRichSyntaxView;

// Where a name is defined: a file, a line and a column, both from 1.
struct DefinitionSite
{
    QString path;
    int line = 1;
    int column = 1;
};

// Looks for the definition of name in the files that the file at path
// includes (names relative to its folder), and in the files those include,
// each once. Open documents are read as they are now, other files from disk.
std::optional<DefinitionSite> FindIncludedDefinition(const QString &name, const QString &path);

// The word of the language that the caret of view is in or just after; empty when none.
QString WordAtCaret(const CRichSyntaxView &view);

// Go To Definition in view: on an #include or #import line its file opens;
// else the name at the caret is looked for in the text, then in the files it
// includes. Nothing found: the status bar says so and nothing moves.
void GoToDefinition(CRichSyntaxView *view);

// The places jumps went from and to, across windows, walked back and
// forward as a browser does. A place goes with its text as it is edited; the
// places of a closed window are dropped.
class CPlaceHistory : public QObject
{
    Q_OBJECT
public:
    static CPlaceHistory &Instance();

    // A jump from position in from to where the caret of to stands now.
    void Record(CRichSyntaxView *from, int position, CRichSyntaxView *to);
    // Goes to the place before or after the current one; false when there is none.
    bool Back();
    bool Forward();
    int Count() const { return int(m_places.size()); }

private:
    struct Place
    {
        QPointer<CRichSyntaxView> view;
        QTextCursor cursor; // moves with the text
    };
    void Prune();
    bool GoTo(int index);

    QList<Place> m_places;
    int m_nCurrent = -1;
};
