// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QColor;
class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;

// What a mark in the text tells of: a compiler's error, warning or note.
enum class MarkKind { Error, Warning, Note };

// The colour of a kind's underline and sign.
QColor MarkColor(MarkKind kind);
// A kind's sign in box: a round error, a three-cornered warning, a square note.
void PaintMarkSign(QPainter *painter, const QRectF &box, MarkKind kind);

// A mark as a compiler names it: a line and a column, both from 1 (column 0:
// none given), and the message.
struct NamedMark
{
    int line = 1;
    int column = 0;
    MarkKind kind = MarkKind::Error;
    QString text;
    int index = -1; // the mark's number in its set; -1: its place in the list
};

// A line and a column, both from 1.
struct MarkPlace
{
    int line = 1;
    int column = 1;
};

// The marks in a document's text: each stands at a character and goes with
// the text as it is edited. Typing or inserting and deleting lines above a
// mark moves it along with its text; deleting the line it stands on removes
// it. The marks are no part of the text: never saved, never undone.
// Marks come in sets, one for each origin (the file whose compile made
// them); setting an origin's marks replaces that origin's marks only.
class CTextMarks : public QObject
{
    Q_OBJECT
public:
    // A mark as it stands now.
    struct Mark
    {
        QString origin;
        int index = 0; // in its origin's set, as set
        MarkKind kind = MarkKind::Error;
        QString text;
        int position = 0;  // in the document
        int line = 0;      // block number
        int column = 0;    // in the block
        QString lineText;  // the block's text as the mark last saw it
        bool gone = false; // its line was deleted; position is where it was
    };

    // The marks of doc, made when first asked for.
    static CTextMarks *ForDocument(QTextDocument *doc);
    // The marks of doc; none when nobody has set any.
    static CTextMarks *Find(const QTextDocument *doc);

    // Replaces origin's marks; a line past the end is the last line, no column the line's first non-blank.
    void Set(const QString &origin, const QList<NamedMark> &marks);
    // Where origin's mark index stands now; none when there is no such mark.
    std::optional<MarkPlace> PlaceOf(const QString &origin, int index) const;
    // Where each of origin's marks stands now, by index; gone marks are left out.
    QHash<int, MarkPlace> Places(const QString &origin) const;
    // The marks that stand on the block, in order of position; gone marks are left out.
    QList<const Mark *> OnBlock(const QTextBlock &block) const;
    // The characters a mark underlines: from its column to the end of the word there.
    static int UnderlinedLength(const QString &lineText, int column);
    // The messages of the marks on the block, one a line; empty when none.
    QString TextsOn(const QTextBlock &block) const;
    // The gravest kind among the marks on the block.
    static MarkKind Gravest(const QList<const Mark *> &marks);
    bool IsEmpty() const { return m_marks.empty(); }

Q_SIGNALS:
    // Marks were set, or an edit moved some off their place in the text.
    void Changed();

private:
    explicit CTextMarks(QTextDocument *doc);
    void OnContentsChange(int from, int removed, int added);
    void Settle(Mark &mark, int position);

    QTextDocument *m_pDocument;
    std::vector<Mark> m_marks; // in order of position
    int m_nBlockCount = 0;
};
