// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/compilemarks.h"

#include "core/filepaths.h"
#include "editor/richsyntaxdoc.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

CCompileMarks &CCompileMarks::Instance()
{
    static CCompileMarks marks;
    return marks;
}

void CCompileMarks::Publish(const QString &origin, const QHash<QString, QList<NamedMark>> &byFile)
{
    const QString originKey = ComparablePath(origin);
    QHash<QString, QList<NamedMark>> keyed;
    for (auto it = byFile.cbegin(); it != byFile.cend(); ++it)
        keyed[ComparablePath(it.key())] += it.value();
    const QHash<QString, QList<NamedMark>> old = m_byOrigin.value(originKey);
    m_byOrigin.insert(originKey, keyed);
    for (CRichSyntaxDoc *doc : CRichSyntaxDoc::OpenDocuments()) {
        const QString key = ComparablePath(doc->GetPathName());
        if (keyed.contains(key) || old.contains(key))
            MarksOf(*doc)->Set(originKey, keyed.value(key));
    }
}

void CCompileMarks::ApplyTo(CRichSyntaxDoc &doc, const QString &path) const
{
    const QString key = ComparablePath(path);
    for (auto it = m_byOrigin.cbegin(); it != m_byOrigin.cend(); ++it) {
        if (it.value().contains(key))
            MarksOf(doc)->Set(it.key(), it.value().value(key));
    }
}

std::optional<MarkPlace> CCompileMarks::PlaceOf(const QString &origin, const QString &path, int index) const
{
    const QString key = ComparablePath(path);
    const QString originKey = ComparablePath(origin);
    for (CRichSyntaxDoc *doc : CRichSyntaxDoc::OpenDocuments()) {
        if (ComparablePath(doc->GetPathName()) != key)
            continue;
        if (const CTextMarks *marks = CTextMarks::Find(doc->TextDocument())) {
            if (std::optional<MarkPlace> place = marks->PlaceOf(originKey, index))
                return place;
        }
    }
    return std::nullopt;
}

QHash<int, MarkPlace> CCompileMarks::Places(const QString &origin) const
{
    QHash<int, MarkPlace> places;
    const QString originKey = ComparablePath(origin);
    for (CRichSyntaxDoc *doc : CRichSyntaxDoc::OpenDocuments()) {
        if (const CTextMarks *marks = CTextMarks::Find(doc->TextDocument()))
            places.insert(marks->Places(originKey));
    }
    return places;
}

bool CCompileMarks::IsOpen(const QString &path)
{
    const QString key = ComparablePath(path);
    const QList<CRichSyntaxDoc *> &open = CRichSyntaxDoc::OpenDocuments();
    return std::any_of(open.cbegin(), open.cend(),
                       [&key](const CRichSyntaxDoc *doc) { return ComparablePath(doc->GetPathName()) == key; });
}

CTextMarks *CCompileMarks::MarksOf(CRichSyntaxDoc &doc) const
{
    CTextMarks *marks = CTextMarks::ForDocument(doc.TextDocument());
    connect(marks, &CTextMarks::Changed, this, &CCompileMarks::Moved, Qt::UniqueConnection);
    return marks;
}
