// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/recentfilelist.h"

#include <QSettings>
#include <QTemporaryDir>

class TestRecentFileList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mostRecentFirstFourAtMost()
    {
        CRecentFileList list;
        for (const char *file : {"/a.qrx", "/b.qrx", "/c.qrx", "/d.qrx", "/e.qrx"})
            list.Add(QString::fromLatin1(file));
        QCOMPARE(list.Files(), (QStringList{"/e.qrx", "/d.qrx", "/c.qrx", "/b.qrx"}));
        // Opening an entry again moves it to the head instead of repeating it.
        list.Add(QStringLiteral("/c.qrx"));
        QCOMPARE(list.Files(), (QStringList{"/c.qrx", "/e.qrx", "/d.qrx", "/b.qrx"}));
        list.Remove(QStringLiteral("/e.qrx"));
        list.Remove(7);
        QCOMPARE(list.Files(), (QStringList{"/c.qrx", "/d.qrx", "/b.qrx"}));
        QCOMPARE(list.At(3), QString());
    }

    void menuText_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("short path as it is") << QStringLiteral("/home/pong.qrx") << QStringLiteral("&1 /home/pong.qrx");
        QTest::newRow("long path keeps the root and what fits of the tail")
            << QStringLiteral("/home/someone/projects/gba/space/shooter/main.qrx")
            << QStringLiteral("&1 /.../space/shooter/main.qrx");
        QTest::newRow("ampersand shown, not a mnemonic")
            << QStringLiteral("/tmp/R&D.qrx") << QStringLiteral("&1 /tmp/R&&D.qrx");
        QTest::newRow("very long name alone") << QStringLiteral("/x/a_file_name_that_is_longer_than_thirty.qrx")
                                              << QStringLiteral("&1 a_file_name_that_is_longer_than_thirty.qrx");
    }
    void menuText()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        CRecentFileList list;
        list.Add(path);
        QCOMPARE(list.MenuText(0), text);
        QVERIFY(CRecentFileList::ShortenPath(path, 30).size() <= qMax(30, int(path.section('/', -1).size())));
    }

    void profileRoundTrip()
    {
        QTemporaryDir dir;
        QSettings profile(dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        profile.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/one.qrx"));
        profile.setValue(QStringLiteral("Recent File List/File3"), QStringLiteral("/three.qrx"));
        profile.setValue(QStringLiteral("Recent File List/File9"), QStringLiteral("/nine.qrx"));
        CRecentFileList list;
        list.ReadList(profile);
        QCOMPARE(list.Files(), (QStringList{"/one.qrx", "/three.qrx"}));
        list.Add(QStringLiteral("/new.qrx"));
        list.WriteList(profile);
        // The group is written as a whole, without gaps or stray entries.
        profile.beginGroup(QStringLiteral("Recent File List"));
        QCOMPARE(profile.childKeys(), (QStringList{"File1", "File2", "File3"}));
        QCOMPARE(profile.value(QStringLiteral("File1")).toString(), QStringLiteral("/new.qrx"));
        QCOMPARE(profile.value(QStringLiteral("File3")).toString(), QStringLiteral("/three.qrx"));
    }
};

QBE_TEST_MAIN(TestRecentFileList)
#include "tst_recentfilelist.moc"
