// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/recentlyused.h"

#include "core/privatefolder.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace RecentlyUsed {

namespace {
const QString kBookmarkNamespace = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNamespace = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kOwner = QStringLiteral("http://freedesktop.org");
// A list larger than this is somebody else's business; it is not rewritten.
constexpr qint64 kMostBytes = qint64(16) << 20;

QString Stamp(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz000Z"));
}

// The first child element of parent named name, made at its end when there is none.
QDomElement ChildElement(QDomDocument &doc, QDomElement parent, const QString &name)
{
    QDomElement child = parent.firstChildElement(name);
    if (child.isNull())
        child = parent.appendChild(doc.createElement(name)).toElement();
    return child;
}

// The metadata element that the desktop's own programs keep the file's type and programs in.
QDomElement DesktopMetadata(QDomDocument &doc, QDomElement bookmark)
{
    QDomElement info = ChildElement(doc, bookmark, QStringLiteral("info"));
    for (QDomElement metadata = info.firstChildElement(QStringLiteral("metadata")); !metadata.isNull();
         metadata = metadata.nextSiblingElement(QStringLiteral("metadata"))) {
        if (metadata.attribute(QStringLiteral("owner")) == kOwner)
            return metadata;
    }
    QDomElement metadata = info.appendChild(doc.createElement(QStringLiteral("metadata"))).toElement();
    metadata.setAttribute(QStringLiteral("owner"), kOwner);
    return metadata;
}
} // namespace

QString ListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/recently-used.xbel");
}

bool Add(const QString &listPath, const QString &file, const QString &mimeType, const Application &application,
         const QDateTime &now)
{
    QDomDocument doc;
    QFile existing(listPath);
    if (existing.exists()) {
        if (existing.size() > kMostBytes || !existing.open(QIODevice::ReadOnly) || !doc.setContent(&existing)
            || doc.documentElement().tagName() != QLatin1String("xbel"))
            return false;
        existing.close();
    } else {
        doc.appendChild(doc.createProcessingInstruction(QStringLiteral("xml"),
                                                        QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
        QDomElement root = doc.createElement(QStringLiteral("xbel"));
        root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        doc.appendChild(root);
    }
    QDomElement root = doc.documentElement();
    // The prefixes this program writes are declared, whoever wrote the list.
    root.setAttribute(QStringLiteral("xmlns:bookmark"), kBookmarkNamespace);
    root.setAttribute(QStringLiteral("xmlns:mime"), kMimeNamespace);

    const QString href = QString::fromUtf8(QUrl::fromLocalFile(file).toEncoded());
    const QString stamp = Stamp(now);
    QDomElement bookmark;
    for (QDomElement each = root.firstChildElement(QStringLiteral("bookmark")); !each.isNull();
         each = each.nextSiblingElement(QStringLiteral("bookmark"))) {
        if (each.attribute(QStringLiteral("href")) == href) {
            bookmark = each;
            break;
        }
    }
    if (bookmark.isNull()) {
        bookmark = root.appendChild(doc.createElement(QStringLiteral("bookmark"))).toElement();
        bookmark.setAttribute(QStringLiteral("href"), href);
        bookmark.setAttribute(QStringLiteral("added"), stamp);
    }
    bookmark.setAttribute(QStringLiteral("modified"), stamp);
    bookmark.setAttribute(QStringLiteral("visited"), stamp);

    QDomElement metadata = DesktopMetadata(doc, bookmark);
    ChildElement(doc, metadata, QStringLiteral("mime:mime-type")).setAttribute(QStringLiteral("type"), mimeType);
    QDomElement applications = ChildElement(doc, metadata, QStringLiteral("bookmark:applications"));
    QDomElement ours;
    for (QDomElement each = applications.firstChildElement(QStringLiteral("bookmark:application")); !each.isNull();
         each = each.nextSiblingElement(QStringLiteral("bookmark:application"))) {
        if (each.attribute(QStringLiteral("name")) == application.name) {
            ours = each;
            break;
        }
    }
    if (ours.isNull()) {
        ours = applications.appendChild(doc.createElement(QStringLiteral("bookmark:application"))).toElement();
        ours.setAttribute(QStringLiteral("name"), application.name);
    }
    ours.setAttribute(QStringLiteral("exec"), QStringLiteral("'%1'").arg(application.exec));
    ours.setAttribute(QStringLiteral("modified"), stamp);
    ours.setAttribute(QStringLiteral("count"), ours.attribute(QStringLiteral("count")).toInt() + 1);

    if (!MakeFolders(QFileInfo(listPath).absolutePath()))
        return false;
    QSaveFile out(listPath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // The list tells what the user worked on: it is theirs alone.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out.write(doc.toByteArray(2));
    return out.commit();
}

} // namespace RecentlyUsed
