// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/recoverystore.h"

#include "core/privatefolder.h"
#include "core/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <vector>

namespace {
const QByteArray kMagic = "Quarn BASIC Editor recovery 1";
const QByteArray kKindText = "text";
const QByteArray kKindBackup = "backup";
const QString kLockName = QStringLiteral("lock");
const QString kEntrySuffix = QStringLiteral(".entry");
const QString kKeptFolder = QStringLiteral("kept");
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The folders of editors that no longer run, held until their entries are answered for.
struct TakenFolder
{
    QString folder;
    std::unique_ptr<CFileLock> lock;
};
std::vector<TakenFolder> g_taken;

QStringList EntryFiles(const QString &folder)
{
    return QDir(folder).entryList({QLatin1Char('*') + kEntrySuffix}, QDir::Files | QDir::Hidden, QDir::Name);
}

void RemoveFolder(const QString &folder)
{
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : files)
        dir.remove(file);
    QDir().rmdir(folder);
}

// The user's private folder of every store, made where it is missing; empty
// when it cannot be made private.
QString PrivateBase()
{
    return MakePrivateFolder(CRecoveryStore::BaseFolder(), true);
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
    const QString base = PrivateBase();
    if (base.isEmpty())
        return false;
    const QString folder =
        MakePrivateFolder(base
                              + QStringLiteral("/%1-%2")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')),
                          false);
    if (folder.isEmpty() || !m_lock.TryLock(folder + QLatin1Char('/') + kLockName))
        return false;
    m_strFolder = folder;
    return true;
}

bool CRecoveryStore::Write(const QString &file, const RecoveryEntry &entry, int *error)
{
    QByteArray bytes = kMagic + '\n';
    bytes += "kind " + (entry.kind == RecoveryEntry::SaveBackup ? kKindBackup : kKindText) + '\n';
    bytes += "path " + QUrl::toPercentEncoding(entry.path) + '\n';
    bytes += "title " + QUrl::toPercentEncoding(entry.title) + '\n';
    bytes += "encoding " + QUrl::toPercentEncoding(entry.encoding) + '\n';
    bytes += "state " + QUrl::toPercentEncoding(QString::fromLatin1(entry.fileState)) + "\n\n";
    bytes += entry.bytes;
    return SaveWholeFile(file, bytes, error, nullptr, kPrivateFile);
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
        else if (line.startsWith("state "))
            entry->fileState = QUrl::fromPercentEncoding(value).toLatin1();
    }
    entry->bytes = all.mid(end + 2);
    return true;
}

bool CRecoveryStore::KeepText(const QString &key, const RecoveryEntry &entry, int *error)
{
    if (!Open()) {
        if (error)
            *error = EACCES;
        return false;
    }
    RecoveryEntry text = entry;
    text.kind = RecoveryEntry::UnsavedText;
    return Write(m_strFolder + QStringLiteral("/text-") + key + kEntrySuffix, text, error);
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
    RecoveryEntry entry;
    entry.kind = RecoveryEntry::SaveBackup;
    entry.path = path;
    entry.bytes = bytes;
    return Write(file, entry) ? file : QString();
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
    const QString base = PrivateBase();
    if (base.isEmpty())
        return entries;
    const QStringList folders = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &name : folders) {
        const QString folder = base + QLatin1Char('/') + name;
        if (folder == Session().m_strFolder || name == kKeptFolder || !IsOwnFolder(folder))
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
        const QStringList files = EntryFiles(folder);
        for (const QString &file : files) {
            RecoveryEntry entry;
            const QString path = folder + QLatin1Char('/') + file;
            if (IsOwnFile(path) && Read(path, &entry))
                entries.append(entry);
        }
        g_taken.push_back({folder, std::move(lock)});
    }
    return entries;
}

void CRecoveryStore::DiscardOrphan(const RecoveryEntry &entry)
{
    for (const TakenFolder &held : g_taken) {
        if (QFileInfo(entry.file).path() == held.folder)
            QFile::remove(entry.file);
    }
}

void CRecoveryStore::ReleaseOrphans()
{
    for (TakenFolder &held : g_taken) {
        if (EntryFiles(held.folder).isEmpty())
            RemoveFolder(held.folder);
    }
    g_taken.clear();
}

QString CRecoveryStore::KeepAsCopy(const RecoveryEntry &entry)
{
    const QString base = PrivateBase();
    const QString folder = base.isEmpty() ? QString() : MakePrivateFolder(base + QLatin1Char('/') + kKeptFolder, false);
    if (folder.isEmpty())
        return QString();
    const QFileInfo original(entry.path);
    QString copy;
    const QString suffix = original.suffix().isEmpty() ? QString() : QLatin1Char('.') + original.suffix();
    for (int n = 1; copy.isEmpty() || QFileInfo::exists(copy); ++n)
        copy = folder + QStringLiteral("/%1.%2").arg(original.completeBaseName()).arg(n) + suffix;
    if (!SaveWholeFile(copy, entry.bytes, nullptr, nullptr, kPrivateFile))
        return QString();
    DiscardOrphan(entry);
    return copy;
}
