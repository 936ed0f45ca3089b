// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/recentfilelist.h"

#include "core/settingsnames.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
bool SamePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}
} // namespace

CRecentFileList::CRecentFileList(int size, int displayLength) : m_nSize(size), m_nDisplayLength(displayLength) {}

void CRecentFileList::Add(const QString &path)
{
    if (path.isEmpty())
        return;
    Remove(path);
    m_files.prepend(path);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

void CRecentFileList::Remove(const QString &path)
{
    for (int i = m_files.size() - 1; i >= 0; --i) {
        if (SamePath(m_files.at(i), path))
            m_files.removeAt(i);
    }
}

QString CRecentFileList::At(int index) const
{
    return index >= 0 && index < m_files.size() ? m_files.at(index) : QString();
}

QString CRecentFileList::ShortenPath(const QString &path, int maxLength)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= maxLength)
        return native;
    // Keep the first folder and as many trailing parts as fit, with "..." between,
    // the way the old file menus showed long paths; the file name itself is never cut.
    const QChar sep = QDir::separator();
    const QStringList parts = native.split(sep);
    const QString fileName = parts.last();
    if (parts.size() < 3)
        return fileName;
    const QString head = parts.first() + sep + QStringLiteral("...");
    QString tail = sep + fileName;
    for (int i = parts.size() - 2; i > 0; --i) {
        const QString longer = sep + parts.at(i) + tail;
        if (head.size() + longer.size() > maxLength)
            break;
        tail = longer;
    }
    if (head.size() + tail.size() > maxLength)
        return fileName;
    return head + tail;
}

QString CRecentFileList::MenuText(int index) const
{
    QString name = ShortenPath(At(index), m_nDisplayLength);
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void CRecentFileList::ReadList(QSettings &profile)
{
    m_files.clear();
    profile.beginGroup(SettingsNames::kRecentFileGroup);
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = profile.value(SettingsNames::kRecentFileEntry.arg(i)).toString();
        if (!path.isEmpty())
            m_files.append(path);
    }
    profile.endGroup();
}

void CRecentFileList::WriteList(QSettings &profile) const
{
    profile.remove(SettingsNames::kRecentFileGroup);
    profile.beginGroup(SettingsNames::kRecentFileGroup);
    for (int i = 0; i < m_files.size(); ++i) {
        if (!m_files.at(i).isEmpty())
            profile.setValue(SettingsNames::kRecentFileEntry.arg(i + 1), m_files.at(i));
    }
    profile.endGroup();
}
