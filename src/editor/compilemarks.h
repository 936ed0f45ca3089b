// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/textmarks.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class CRichSyntaxDoc;

// The marks the compiles made, by the file they stand in: put into every
// open document of that file at once, and into one opened later while they
// stand. Each compiled file (the origin) has one set; its next compile
// replaces it.
class CCompileMarks : public QObject
{
    Q_OBJECT
public:
    static CCompileMarks &Instance();

    // Replaces origin's marks with marks by file path; each mark's index is its message's.
    void Publish(const QString &origin, const QHash<QString, QList<NamedMark>> &byFile);
    // Gives a document that has just read path the marks that stand in it.
    void ApplyTo(CRichSyntaxDoc &doc, const QString &path) const;
    // Where the mark of origin's message index in path stands now, in an open
    // document of the file; none when no such document holds it.
    std::optional<MarkPlace> PlaceOf(const QString &origin, const QString &path, int index) const;

    // Where each of origin's marks stands now in the open documents, by its message's index.
    QHash<int, MarkPlace> Places(const QString &origin) const;
    // Whether a document of path is open: its marks that Places leaves out were deleted.
    static bool IsOpen(const QString &path);

Q_SIGNALS:
    // Marks were set, or edits moved or deleted some.
    void Moved();

private:
    CTextMarks *MarksOf(CRichSyntaxDoc &doc) const;

    QHash<QString, QHash<QString, QList<NamedMark>>> m_byOrigin; // by origin, then by path key
};
