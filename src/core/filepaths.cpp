// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/filepaths.h"

#include <QMimeData>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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
