// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/session.h"

#include "app/recentfilelist.h"
#include "core/settingsstore.h"

#include <QHash>

namespace Session {

namespace {
const QString kSessionSection = QStringLiteral("Session");
const QString kRestore = QStringLiteral("Restore");
const QString kCount = QStringLiteral("Count");
const QString kActive = QStringLiteral("Active");
const QString kFile = QStringLiteral("File%1");
const QString kLine = QStringLiteral("Line%1");
const QString kTop = QStringLiteral("Top%1");

const QString kWindowSection = QStringLiteral("Window");
const QString kX = QStringLiteral("X");
const QString kY = QStringLiteral("Y");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kMaximized = QStringLiteral("Maximized");

const QString kRecentSection = QStringLiteral("Recent Lines");
// As many files as the recent file list holds.
constexpr int kRecentCount = CRecentFileList::kSize;
// As many files as a session keeps; more are left out.
constexpr int kMostFiles = 100;
} // namespace

CLimit<bool> s_restoreByDefault(true);

bool RestoreOn()
{
    const QString stored = CSettingsStore().ReadString(kSessionSection, kRestore);
    return stored.isEmpty() ? s_restoreByDefault.Value() : CSettingsStore::ParseInt(stored) != 0;
}

Files ReadFiles()
{
    CSettingsStore store;
    Files session;
    const int count = qBound(0, store.ReadInt(kSessionSection, kCount), kMostFiles);
    for (int i = 1; i <= count; ++i) {
        File file{store.ReadString(kSessionSection, kFile.arg(i)),
                  qMax(1, store.ReadInt(kSessionSection, kLine.arg(i))),
                  qMax(1, store.ReadInt(kSessionSection, kTop.arg(i)))};
        if (!file.path.isEmpty())
            session.files.append(file);
    }
    const int active = store.ReadInt(kSessionSection, kActive);
    session.active = active >= 0 && active < session.files.size() ? active : int(session.files.size()) - 1;
    return session;
}

void WriteFiles(const Files &session)
{
    const qsizetype count = qMin(session.files.size(), qsizetype(kMostFiles));
    QList<CSettingsStore::Value> values{{kSessionSection, kCount, QString::number(count)},
                                        {kSessionSection, kActive, QString::number(session.active)}};
    for (qsizetype i = 0; i < count; ++i) {
        const File &file = session.files.at(i);
        values.append({kSessionSection, kFile.arg(i + 1), file.path});
        values.append({kSessionSection, kLine.arg(i + 1), QString::number(file.line)});
        values.append({kSessionSection, kTop.arg(i + 1), QString::number(file.top)});
    }
    CSettingsStore().WriteValues(values);
}

std::optional<WindowPlace> ReadWindowPlace()
{
    CSettingsStore store;
    const int width = store.ReadInt(kWindowSection, kWidth);
    const int height = store.ReadInt(kWindowSection, kHeight);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return WindowPlace{QRect(store.ReadInt(kWindowSection, kX), store.ReadInt(kWindowSection, kY), width, height),
                       store.ReadInt(kWindowSection, kMaximized) != 0};
}

void WriteWindowPlace(const WindowPlace &place)
{
    CSettingsStore().WriteInts(kWindowSection, {{kX, place.rect.x()},
                                                {kY, place.rect.y()},
                                                {kWidth, place.rect.width()},
                                                {kHeight, place.rect.height()},
                                                {kMaximized, place.maximized ? 1 : 0}});
}

QRect FitInside(const QRect &wanted, const QRect &available)
{
    QRect fitted(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    fitted.moveLeft(qBound(available.left(), fitted.left(), available.right() + 1 - fitted.width()));
    fitted.moveTop(qBound(available.top(), fitted.top(), available.bottom() + 1 - fitted.height()));
    return fitted;
}

namespace {
// The caret lines kept, by path.
QHash<QString, int> RecentLines()
{
    const CSettingsStore store;
    QHash<QString, int> lines;
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString path = store.ReadString(kRecentSection, kFile.arg(i));
        if (!path.isEmpty())
            lines.insert(path, qMax(0, store.ReadInt(kRecentSection, kLine.arg(i))));
    }
    return lines;
}
} // namespace

int RecentLine(const QString &path)
{
    return RecentLines().value(path);
}

void RememberRecentLines(const QStringList &recent, const QList<File> &files)
{
    QHash<QString, int> lines = RecentLines();
    for (const File &file : files)
        lines.insert(file.path, file.line);
    QList<CSettingsStore::Value> values;
    for (int i = 0; i < kRecentCount; ++i) {
        const QString file = recent.value(i);
        const int known = file.isEmpty() ? 0 : lines.value(file);
        values.append({kRecentSection, kFile.arg(i + 1), known > 0 ? file : QString()});
        values.append({kRecentSection, kLine.arg(i + 1), known > 0 ? QString::number(known) : QString()});
    }
    CSettingsStore().WriteValues(values);
}

} // namespace Session
