// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

class QFileDialog;

// Programs on Linux and macOS carry no extension, so a file dialog whose
// filter asks for "*.exe" lists executable files of any name as well while
// that filter is selected. Files that match the selected filter's patterns
// are listed as usual.
class CExecutableFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit CExecutableFilterModel(QObject *parent = nullptr);

    // Makes dialog (Qt's own, not the desktop's) list executables under the
    // name filter executableFilter.
    static void Install(QFileDialog *dialog, const QString &executableFilter);

    void SetListExecutables(bool on);

    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool IsExecutableFile(const QModelIndex &sourceIndex) const;

    bool m_bListExecutables = false;
};
