// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/executablefiltermodel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

CExecutableFilterModel::CExecutableFilterModel(QObject *parent) : QSortFilterProxyModel(parent) {}

void CExecutableFilterModel::Install(QFileDialog *dialog, const QString &executableFilter)
{
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    auto *model = new CExecutableFilterModel(dialog);
    dialog->setProxyModel(model);
    // Files outside the name filter stay in the source model, only disabled;
    // this proxy decides which of them are listed.
    if (auto *files = qobject_cast<QFileSystemModel *>(model->sourceModel()))
        files->setNameFilterDisables(true);
    // A typed program name without extension must not become "name.exe".
    dialog->setDefaultSuffix(QString());
    model->SetListExecutables(dialog->selectedNameFilter() == executableFilter);
    QObject::connect(dialog, &QFileDialog::filterSelected, model, [model, executableFilter](const QString &filter) {
        model->SetListExecutables(filter == executableFilter);
    });
}

void CExecutableFilterModel::SetListExecutables(bool on)
{
    if (m_bListExecutables == on)
        return;
    m_bListExecutables = on;
    invalidateFilter();
}

bool CExecutableFilterModel::IsExecutableFile(const QModelIndex &sourceIndex) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files)
        return false;
    const QFileInfo info = files->fileInfo(sourceIndex);
    return info.isFile() && info.isExecutable();
}

bool CExecutableFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || files->isDir(index))
        return true;
    if (sourceModel()->flags(index).testFlag(Qt::ItemIsEnabled))
        return true;
    return m_bListExecutables && IsExecutableFile(index);
}

Qt::ItemFlags CExecutableFilterModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QSortFilterProxyModel::flags(index);
    if (m_bListExecutables && !result.testFlag(Qt::ItemIsEnabled) && IsExecutableFile(mapToSource(index)))
        result |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return result;
}
