// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/outlinepanel.h"

#include "core/uitext.h"
#include "editor/outlinemodel.h"
#include "editor/richsyntaxview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
const UiText kFilterPlaceholder{"COutlinePanel", QT_TRANSLATE_NOOP("COutlinePanel", "Filter")};
const UiText kFilterName{"COutlinePanel", QT_TRANSLATE_NOOP("COutlinePanel", "Filter the outline")};
const UiText kSortText{"COutlinePanel", QT_TRANSLATE_NOOP("COutlinePanel", "A-Z")};
const UiText kSortTip{"COutlinePanel", QT_TRANSLATE_NOOP("COutlinePanel", "Sort by name (else in text order)")};
} // namespace

COutlinePanel::COutlinePanel(QWidget *parent)
    : QWidget(parent), m_pFilter(new QLineEdit), m_pSort(new QToolButton), m_pList(new QTreeView),
      m_pProxy(new QSortFilterProxyModel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *top = new QHBoxLayout;
    top->addWidget(m_pFilter);
    top->addWidget(m_pSort);
    layout->addLayout(top);
    layout->addWidget(m_pList);

    m_pFilter->setPlaceholderText(kFilterPlaceholder);
    m_pFilter->setAccessibleName(kFilterName);
    m_pFilter->setClearButtonEnabled(true);
    m_pSort->setText(kSortText);
    m_pSort->setToolTip(kSortTip);
    m_pSort->setAccessibleName(kSortTip);
    m_pSort->setCheckable(true);

    m_pProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_pProxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_pProxy->setFilterKeyColumn(COutlineModel::NameColumn);
    m_pProxy->setDynamicSortFilter(true);
    m_pList->setModel(m_pProxy);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->header()->setStretchLastSection(false);

    connect(m_pFilter, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_pProxy->setFilterFixedString(text);
        FollowCaret();
    });
    connect(m_pSort, &QToolButton::toggled, this, [this](bool byName) {
        // Column -1: the model's own order, the text's.
        m_pProxy->sort(byName ? COutlineModel::NameColumn : -1, Qt::AscendingOrder);
        FollowCaret();
    });
    connect(m_pList, &QTreeView::clicked, this, &COutlinePanel::GoTo);
    connect(m_pList, &QTreeView::activated, this, &COutlinePanel::GoTo);
    // Enter in the filter goes to the first row left.
    connect(m_pFilter, &QLineEdit::returnPressed, this, [this] { GoTo(m_pProxy->index(0, 0)); });
}

void COutlinePanel::SetView(CRichSyntaxView *view)
{
    if (view == m_pView && view)
        return;
    disconnect(m_caret);
    m_pView = view;
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    m_nCaretRow = -1;
    COutlineModel *model = view ? COutlineModel::ForDocument(view->document()) : nullptr;
    m_pProxy->setSourceModel(model);
    if (view) {
        m_modelConnections = {
            connect(model, &COutlineModel::LinesMoved, m_pList->viewport(), qOverload<>(&QWidget::update)),
            // Rows that come or go change what the caret's row number means.
            connect(model, &QAbstractItemModel::rowsInserted, this, &COutlinePanel::RowsChanged),
            connect(model, &QAbstractItemModel::rowsRemoved, this, &COutlinePanel::RowsChanged)};
        m_caret = connect(view, &QPlainTextEdit::cursorPositionChanged, this, &COutlinePanel::FollowCaret);
        m_pList->header()->setSectionResizeMode(COutlineModel::NameColumn, QHeaderView::Stretch);
        m_pList->header()->setSectionResizeMode(COutlineModel::LineColumn, QHeaderView::ResizeToContents);
    }
    FollowCaret();
}

void COutlinePanel::RowsChanged()
{
    // The caret may have moved before its rows did.
    m_nCaretRow = -1;
    FollowCaret();
}

void COutlinePanel::FollowCaret()
{
    auto *model = qobject_cast<COutlineModel *>(m_pProxy->sourceModel());
    if (!m_pView || !model)
        return;
    const int row = model->RowAt(m_pView->textCursor().position());
    // Most caret moves stay in the same definition.
    if (row == m_nCaretRow && sender() == m_pView)
        return;
    m_nCaretRow = row;
    const QModelIndex current = row < 0 ? QModelIndex() : m_pProxy->mapFromSource(model->index(row, 0));
    if (!current.isValid()) {
        m_pList->selectionModel()->clear();
        return;
    }
    m_pList->selectionModel()->setCurrentIndex(current,
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pList->scrollTo(current);
}

void COutlinePanel::GoTo(const QModelIndex &index)
{
    if (!m_pView || !index.isValid())
        return;
    const int position = m_pProxy->data(index.siblingAtColumn(0), COutlineModel::kPositionRole).toInt();
    const int from = m_pView->textCursor().position();
    m_pView->GoToOffset(position);
    Q_EMIT Jumped(m_pView, from);
}
