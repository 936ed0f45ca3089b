// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/sourcestructure.h"

#include <QAbstractTableModel>

#include <vector>

class QIcon;
class QTextBlock;
class QTextDocument;

// The definitions of a document's text in text order, a row each (its name
// with the sign of its kind, and its line), kept as the text is edited: an
// edit scans again only the lines it touched.
class COutlineModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn, LineColumn, ColumnCount };
    // The position in the document where the row's name starts.
    static constexpr int kPositionRole = Qt::UserRole;

    // The outline of doc, made when first asked for.
    static COutlineModel *ForDocument(QTextDocument *doc);
    // A kind's sign: a letter on a coloured ground.
    static QIcon Sign(SourceStructure::DefinitionKind kind);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The row whose definition holds position: the last one that starts at or before it; -1 when none.
    int RowAt(int position) const;
    // Where the row's name starts in the document.
    int PositionOf(int row) const;
    // The first row that defines name, in any case; -1 when none.
    int Find(QStringView name) const;

Q_SIGNALS:
    // Lines came or went: rows below show other line numbers now, without a dataChanged.
    void LinesMoved();

private:
    explicit COutlineModel(QTextDocument *doc);
    void OnContentsChange(int from, int removed, int added);

    struct Entry
    {
        int lineStart = 0; // where the definition's line starts in the document
        SourceStructure::Definition definition;
    };
    // The definitions of the blocks first to last.
    static std::vector<Entry> Scan(const QTextBlock &first, const QTextBlock &last);

    QTextDocument *m_pDocument;
    std::vector<Entry> m_entries; // in order of position
    int m_nBlockCount = 0;
};
