// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/recoverystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <vector>

namespace {
const QByteArray kMagic = "Quarn BASIC Editor recovery 1";
const QByteArray kKindText = "text";
const QByteArray kKindBackup = "backup";
const QString kLockName = QStringLiteral("lock");
const QString kEntrySuffix = QStringLiteral(".entry");

// The folders of editors that no longer run, held until their entries are answered for.
struct TakenFolder
{
    QString folder;
    std::unique_ptr<CFileLock> lock;
};
std::vector<TakenFolder> g_taken;

void RemoveFolder(const QString &folder)
{
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : files)
        dir.remove(file);
    QDir().rmdir(folder);
}
} // namespace

CRecoveryStore::CRecoveryStore() = default;

CRecoveryStore::~CRecoveryStore() = default;

CRecoveryStore &CRecoveryStore::Session()
{
    static CRecoveryStore store;
    return store;
}

QString CRecoveryStore::BaseFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

bool CRecoveryStore::Open()
{
    if (m_lock.IsLocked())
        return true;
    const QString folder = BaseFolder()
                           + QStringLiteral("/%1-%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    if (!QDir().mkpath(folder))
        return false;
    // Unsaved work is nobody else's business.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!m_lock.TryLock(folder + QLatin1Char('/') + kLockName))
        return false;
    m_strFolder = folder;
    return true;
}

bool CRecoveryStore::Write(const QString &file, const RecoveryEntry &entry)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray header = kMagic + '\n';
    header += "kind " + (entry.kind == RecoveryEntry::SaveBackup ? kKindBackup : kKindText) + '\n';
    header += "path " + QUrl::toPercentEncoding(entry.path) + '\n';
    header += "title " + QUrl::toPercentEncoding(entry.title) + '\n';
    header += "encoding " + QUrl::toPercentEncoding(entry.encoding) + "\n\n";
    out.write(header);
    out.write(entry.bytes);
    return out.commit();
}

bool CRecoveryStore::Read(const QString &file, RecoveryEntry *entry)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = in.readAll();
    const qsizetype end = all.indexOf("\n\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = all.left(end).split('\n');
    if (lines.isEmpty() || lines.constFirst() != kMagic)
        return false;
    *entry = RecoveryEntry();
    entry->file = file;
    for (const QByteArray &line : lines) {
        const QByteArray value = line.mid(line.indexOf(' ') + 1);
        if (line.startsWith("kind "))
            entry->kind = value == kKindBackup ? RecoveryEntry::SaveBackup : RecoveryEntry::UnsavedText;
        else if (line.startsWith("path "))
            entry->path = QUrl::fromPercentEncoding(value);
        else if (line.startsWith("title "))
            entry->title = QUrl::fromPercentEncoding(value);
        else if (line.startsWith("encoding "))
            entry->encoding = QUrl::fromPercentEncoding(value);
    }
    entry->bytes = all.mid(end + 2);
    return true;
}

bool CRecoveryStore::KeepText(const QString &key, const QString &path, const QString &title, const QString &encoding,
                              const QString &text)
{
    if (!Open())
        return false;
    return Write(m_strFolder + QStringLiteral("/text-") + key + kEntrySuffix,
                 {RecoveryEntry::UnsavedText, path, title, encoding, text.toUtf8(), QString()});
}

void CRecoveryStore::DropText(const QString &key)
{
    if (m_lock.IsLocked())
        QFile::remove(m_strFolder + QStringLiteral("/text-") + key + kEntrySuffix);
}

QString CRecoveryStore::KeepBackup(const QString &path, const QByteArray &bytes)
{
    if (!Open())
        return QString();
    const QString file = m_strFolder + QStringLiteral("/backup-%1").arg(++m_nBackups) + kEntrySuffix;
    return Write(file, {RecoveryEntry::SaveBackup, path, QString(), QString(), bytes, QString()}) ? file : QString();
}

void CRecoveryStore::DropBackup(const QString &file)
{
    if (!file.isEmpty())
        QFile::remove(file);
}

void CRecoveryStore::Close()
{
    if (!m_lock.IsLocked())
        return;
    RemoveFolder(m_strFolder);
    m_lock.Unlock();
    m_strFolder.clear();
}

QList<RecoveryEntry> CRecoveryStore::TakeOrphans()
{
    QList<RecoveryEntry> entries;
    const QString base = BaseFolder();
    const QStringList folders = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : folders) {
        const QString folder = base + QLatin1Char('/') + name;
        if (folder == Session().m_strFolder)
            continue;
        bool taken = false;
        for (const TakenFolder &held : g_taken)
            taken = taken || held.folder == folder;
        if (taken)
            continue;
        auto lock = std::make_unique<CFileLock>();
        // A live editor holds its folder's lock.
        if (!lock->TryLock(folder + QLatin1Char('/') + kLockName))
            continue;
        const QStringList files = QDir(folder).entryList({QLatin1Char('*') + kEntrySuffix}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            RecoveryEntry entry;
            if (Read(folder + QLatin1Char('/') + file, &entry))
                entries.append(entry);
        }
        g_taken.push_back({folder, std::move(lock)});
    }
    return entries;
}

void CRecoveryStore::DiscardOrphans()
{
    for (TakenFolder &held : g_taken)
        RemoveFolder(held.folder);
    g_taken.clear();
}
