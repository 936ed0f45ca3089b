// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/recentlyused.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
const RecentlyUsed::Application kEditor{QStringLiteral("Quarn BASIC Editor"), QStringLiteral("quarn-basic-editor %u")};

// Another program's list: a file of its own, and ours used by it as well.
const QByteArray kOthers = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">
  <bookmark href="file:///home/u/notes.txt" added="2026-01-01T00:00:00Z" modified="2026-01-01T00:00:00Z" visited="2026-01-01T00:00:00Z">
    <info><metadata owner="http://freedesktop.org"><mime:mime-type type="text/plain"/>
      <bookmark:applications><bookmark:application name="Text" exec="'text %u'" modified="2026-01-01T00:00:00Z" count="4"/></bookmark:applications>
    </metadata></info>
  </bookmark>
  <bookmark href="file:///tmp/game%20%C3%BC.qrx" added="2026-01-02T00:00:00Z" modified="2026-01-02T00:00:00Z" visited="2026-01-02T00:00:00Z">
    <info><metadata owner="http://freedesktop.org"><mime:mime-type type="text/plain"/>
      <bookmark:applications><bookmark:application name="Text" exec="'text %u'" modified="2026-01-02T00:00:00Z" count="1"/></bookmark:applications>
    </metadata></info>
  </bookmark>
</xbel>
)";

// Each bookmark's address with its programs and their counts, or the first error
// of a reader that checks namespaces.
QStringList Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable")};
    QXmlStreamReader reader(&file);
    QStringList seen;
    const QString bookmarks = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("bookmark") && reader.namespaceUri().isEmpty())
            seen.append(reader.attributes().value(QStringLiteral("href")).toString());
        if (reader.name() == QLatin1String("application") && reader.namespaceUri() == bookmarks)
            seen.last() += QStringLiteral(" %1=%2").arg(reader.attributes().value(QStringLiteral("name")),
                                                        reader.attributes().value(QStringLiteral("count")));
    }
    if (reader.hasError())
        return {reader.errorString()};
    return seen;
}
} // namespace

class TestRecentlyUsed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entriesOfOthersStay_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("no list yet") << QByteArray()
                                     << QStringList{"file:///tmp/game%20%C3%BC.qrx Quarn BASIC Editor=2"};
        QTest::newRow("other programs' list")
            << kOthers
            << QStringList{"file:///home/u/notes.txt Text=4",
                           "file:///tmp/game%20%C3%BC.qrx Text=1 Quarn BASIC Editor=2"};
    }
    void entriesOfOthersStay()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        const QString list = dir.filePath(QStringLiteral("share/recently-used.xbel"));
        if (!before.isEmpty()) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("share"))));
            QFile file(list);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }
        // Used twice: one entry, counted twice.
        const QString game = QStringLiteral("/tmp/game \u00fc.qrx");
        QVERIFY(RecentlyUsed::Add(list, game, QStringLiteral("text/x-quarnbasic"), kEditor));
        QVERIFY(RecentlyUsed::Add(list, game, QStringLiteral("text/x-quarnbasic"), kEditor));
        QCOMPARE(Read(list), after);
        QCOMPARE(QFile(list).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
    }

    void listThatIsNoXbelIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString list = dir.filePath(QStringLiteral("recently-used.xbel"));
        const QByteArray broken = kOthers.left(kOthers.size() / 2);
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(broken);
        file.close();
        QVERIFY(!RecentlyUsed::Add(list, QStringLiteral("/tmp/a.qrx"), QStringLiteral("text/plain"), kEditor));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), broken);
    }
};

QTEST_GUILESS_MAIN(TestRecentlyUsed)
#include "tst_recentlyused.moc"
