// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/filepaths.h"

#include <QMimeData>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

QString ComparablePath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    QString result = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    result = result.toLower();
#endif
    return result;
}

QString FolderOf(const QString &path)
{
    int cut = int(path.lastIndexOf(QLatin1Char('/')));
#ifdef Q_OS_WIN
    cut = qMax(cut, int(path.lastIndexOf(QLatin1Char('\\'))));
#endif
    if (cut < 0)
        return path;
    if (cut == 0 || (cut == 2 && path.at(1) == QLatin1Char(':')))
        return path.left(cut + 1);
    return path.left(cut);
}

QStringList LocalFilesOf(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    const QList<QUrl> urls = mime->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

QStringList DistinctFolders(const QStringList &paths)
{
    const auto nameOf = [](const QString &path) { return QFileInfo(path).fileName(); };
    const auto folderOf = [](const QString &path) { return QDir::cleanPath(QFileInfo(path).absolutePath()); };
    // The last count names of folder, or the whole folder when it has no more.
    const auto tail = [](const QString &folder, int count) {
        const QStringList names = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        return count > names.size() ? folder : names.mid(names.size() - count).join(QLatin1Char('/'));
    };
    QStringList result;
    for (const QString &path : paths) {
        const QString folder = folderOf(path);
        QStringList others;
        for (const QString &other : paths) {
            if (!path.isEmpty() && !other.isEmpty() && nameOf(other) == nameOf(path) && folderOf(other) != folder)
                others.append(folderOf(other));
        }
        QString distinct;
        for (int count = 1; !others.isEmpty(); ++count) {
            distinct = tail(folder, count);
            const bool clashes = std::any_of(others.cbegin(), others.cend(),
                                             [&](const QString &other) { return tail(other, count) == distinct; });
            if (!clashes || distinct == folder)
                break;
        }
        result.append(distinct);
    }
    return result;
}
