// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QSettings;

// The four most recently opened files, most recent first, kept in the
// second profile's "Recent File List" group as "File1" to "File4".
class CRecentFileList
{
public:
    // How many files the File menu lists.
    static constexpr int kSize = 4;

    explicit CRecentFileList(int size = kSize, int displayLength = 30);

    void Add(const QString &path); // to the head, removing an older entry of it
    void Remove(int index);
    void Remove(const QString &path);
    QString At(int index) const; // empty when out of range
    int Count() const { return m_files.size(); }
    const QStringList &Files() const { return m_files; }

    // Menu text of an entry: "&1 name", long paths shortened.
    QString MenuText(int index) const;
    static QString ShortenPath(const QString &path, int maxLength);

    void ReadList(QSettings &profile);
    void WriteList(QSettings &profile) const; // rewrites the whole group; empty entries are not written

private:
    QStringList m_files;
    int m_nSize;
    int m_nDisplayLength;
};
