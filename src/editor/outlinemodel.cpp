// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/uitext.h"
#include "editor/outlinemodel.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace {
const UiText kNameHeader{"COutlineModel", QT_TRANSLATE_NOOP("COutlineModel", "Name")};
const UiText kLineHeader{"COutlineModel", QT_TRANSLATE_NOOP("COutlineModel", "Line")};
constexpr int kSignSize = 16;

bool SameDefinition(const SourceStructure::Definition &a, const SourceStructure::Definition &b)
{
    return a.kind == b.kind && a.column == b.column && a.name == b.name;
}
} // namespace

COutlineModel *COutlineModel::ForDocument(QTextDocument *doc)
{
    auto *model = doc->findChild<COutlineModel *>(QString(), Qt::FindDirectChildrenOnly);
    return model ? model : new COutlineModel(doc);
}

COutlineModel::COutlineModel(QTextDocument *doc) : QAbstractTableModel(doc), m_pDocument(doc)
{
    connect(doc, &QTextDocument::contentsChange, this, &COutlineModel::OnContentsChange);
    m_nBlockCount = doc->blockCount();
    m_entries = Scan(doc->firstBlock(), doc->lastBlock());
}

std::vector<COutlineModel::Entry> COutlineModel::Scan(const QTextBlock &first, const QTextBlock &last)
{
    std::vector<Entry> found;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (std::optional<SourceStructure::Definition> definition = SourceStructure::DefinitionIn(block.text()))
            found.push_back({block.position(), std::move(*definition)});
        if (block == last)
            break;
    }
    return found;
}

QIcon COutlineModel::Sign(SourceStructure::DefinitionKind kind)
{
    // A letter on a ground of the kind's colour, made once per kind.
    static const std::array<QIcon, 4> signs = [] {
        const std::pair<QChar, QColor> looks[4] = {{u'f', QColor(128, 64, 160)},
                                                   {u'T', QColor(0, 128, 128)},
                                                   {u'#', QColor(0, 96, 224)},
                                                   {u':', QColor(160, 96, 0)}};
        std::array<QIcon, 4> icons;
        for (int i = 0; i < 4; ++i) {
            QPixmap pixmap(kSignSize * 2, kSignSize * 2);
            pixmap.setDevicePixelRatio(2);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(looks[i].second);
            const QRectF box(1, 1, kSignSize - 2, kSignSize - 2);
            painter.drawRoundedRect(box, 3, 3);
            QFont font = painter.font();
            font.setBold(true);
            font.setPixelSize(kSignSize - 5);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(box, Qt::AlignCenter, QString(looks[i].first));
            painter.end();
            icons[i] = QIcon(pixmap);
        }
        return icons;
    }();
    return signs[int(kind)];
}

int COutlineModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int COutlineModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant COutlineModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return QVariant();
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == NameColumn)
            return entry.definition.name;
        return m_pDocument->findBlock(entry.lineStart).blockNumber() + 1;
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(Sign(entry.definition.kind)) : QVariant();
    case kPositionRole:
        return entry.lineStart + entry.definition.column;
    default:
        return QVariant();
    }
}

QVariant COutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return QString(section == NameColumn ? kNameHeader : kLineHeader);
}

int COutlineModel::RowAt(int position) const
{
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), position,
                                        [](int at, const Entry &entry) { return at < entry.lineStart; });
    return int(after - m_entries.begin()) - 1;
}

int COutlineModel::PositionOf(int row) const
{
    const Entry &entry = m_entries.at(row);
    return entry.lineStart + entry.definition.column;
}

int COutlineModel::Find(QStringView name) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (name.compare(m_entries[i].definition.name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void COutlineModel::OnContentsChange(int from, int removed, int added)
{
    // The lines the edit touched, as they are now.
    const QTextBlock first = m_pDocument->findBlock(from);
    QTextBlock last = m_pDocument->findBlock(from + added);
    if (!last.isValid())
        last = m_pDocument->lastBlock();
    const int start = first.position();
    // The entries of those lines as they were: from the first line's start to the removed text's end.
    const auto lo = std::lower_bound(m_entries.begin(), m_entries.end(), start,
                                     [](const Entry &entry, int at) { return entry.lineStart < at; });
    const auto hi = std::upper_bound(lo, m_entries.end(), from + removed,
                                     [](int at, const Entry &entry) { return at < entry.lineStart; });
    const int firstRow = int(lo - m_entries.begin());
    const int oldCount = int(hi - lo);
    const int shift = added - removed;
    for (auto it = hi; it != m_entries.end(); ++it)
        it->lineStart += shift;

    const std::vector<Entry> found = Scan(first, last);
    const bool same =
        int(found.size()) == oldCount && std::equal(found.begin(), found.end(), lo, [](const Entry &a, const Entry &b) {
            return SameDefinition(a.definition, b.definition);
        });
    if (same) {
        std::copy(found.begin(), found.end(), lo);
    } else {
        if (oldCount > 0) {
            beginRemoveRows(QModelIndex(), firstRow, firstRow + oldCount - 1);
            m_entries.erase(lo, hi);
            endRemoveRows();
        }
        if (!found.empty()) {
            beginInsertRows(QModelIndex(), firstRow, firstRow + int(found.size()) - 1);
            m_entries.insert(m_entries.begin() + firstRow, found.begin(), found.end());
            endInsertRows();
        }
    }
    // Lines came or went: the line numbers from here on are new. They are
    // worked out when asked for, so a signal for every row below would only
    // cost time; whoever shows them is told to show them again.
    const int blocks = m_pDocument->blockCount();
    if (blocks != m_nBlockCount && firstRow < int(m_entries.size()))
        Q_EMIT LinesMoved();
    m_nBlockCount = blocks;
}
