// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/filepaths.h"

#include <QTest>

class TestFilePaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void distinctFolders_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("different names") << QStringList{"/p/a.qrx", "/p/b.qrx"} << QStringList{"", ""};
        QTest::newRow("one differing folder")
            << QStringList{"/p/game1/a.qrx", "/p/game2/a.qrx", "/p/game1/b.qrx"} << QStringList{"game1", "game2", ""};
        QTest::newRow("same last folder")
            << QStringList{"/x/src/a.qrx", "/y/src/a.qrx"} << QStringList{"x/src", "y/src"};
        QTest::newRow("one folder ends the other")
            << QStringList{"/game/a.qrx", "/x/game/a.qrx"} << QStringList{"/game", "x/game"};
        QTest::newRow("three of a name") << QStringList{"/a/s/m.qrx", "/b/s/m.qrx", "/a/t/m.qrx"}
                                         << QStringList{"a/s", "b/s", "t"};
        QTest::newRow("the same file twice, and untitled")
            << QStringList{"/p/a.qrx", "/p/a.qrx", "", ""} << QStringList{"", "", "", ""};
    }
    void distinctFolders()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, folders);
        QCOMPARE(DistinctFolders(paths), folders);
    }
};

QTEST_GUILESS_MAIN(TestFilePaths)
#include "tst_filepaths.moc"
