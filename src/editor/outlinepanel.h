// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

class CRichSyntaxView;
class QLineEdit;
class QSortFilterProxyModel;
class QToolButton;
class QTreeView;

// "Outline": the definitions of the active window's text in text order or
// by name, narrowed by a filter. The row that holds the caret is the
// current one; a click or Enter on a row goes to its definition.
class COutlinePanel : public QWidget
{
    Q_OBJECT
public:
    explicit COutlinePanel(QWidget *parent = nullptr);

    // The window whose text is listed; none empties the list.
    void SetView(CRichSyntaxView *view);
    QLineEdit *Filter() const { return m_pFilter; }
    QToolButton *SortByName() const { return m_pSort; }
    QTreeView *List() const { return m_pList; }

Q_SIGNALS:
    // The caret went from one place to another by a row: from view at position.
    void Jumped(CRichSyntaxView *view, int fromPosition);

private:
    void FollowCaret();
    void RowsChanged();
    void GoTo(const QModelIndex &index);

    QLineEdit *m_pFilter;
    QToolButton *m_pSort;
    QTreeView *m_pList;
    QSortFilterProxyModel *m_pProxy;
    QPointer<CRichSyntaxView> m_pView;
    QMetaObject::Connection m_caret;
    QList<QMetaObject::Connection> m_modelConnections;
    int m_nCaretRow = -1; // the row the caret was in when last followed
};
