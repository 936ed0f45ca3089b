// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "core/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(TestSupport::IniPath()); }

    void readingCreatesNothing()
    {
        CSettingsStore store;
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Compiler")), QString());
        QCOMPARE(store.ReadInt(QStringLiteral("Log"), QStringLiteral("SizeX")), 0);
        QCOMPARE(store.ReadString(QStringLiteral("Help"), QString()), QString());
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
    }

    void layoutOfTheIniFile()
    {
        CSettingsStore store;
        store.WriteString(QStringLiteral("/opt/qrx.exe"), QString(), QStringLiteral("Compiler"));
        store.WriteString(QStringLiteral("/help/qrh.chm"), QStringLiteral("Help"), QString());
        store.WriteInt(1, QStringLiteral("Wizard"), QStringLiteral("Open"));
        QVERIFY(QFile::exists(TestSupport::IniPath()));
        QSettings ini(TestSupport::IniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Compiler")).toString(), QStringLiteral("/opt/qrx.exe"));
        QCOMPARE(ini.value(QStringLiteral("Help/Default")).toString(), QStringLiteral("/help/qrh.chm"));
        QCOMPARE(ini.value(QStringLiteral("Wizard/Open")).toString(), QStringLiteral("1"));
        QCOMPARE(store.ReadString(QStringLiteral("Help"), QString()), QStringLiteral("/help/qrh.chm"));
        QCOMPARE(store.ReadInt(QStringLiteral("Wizard"), QStringLiteral("Open")), 1);
    }

    void integersAreDecimalText_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << 0;
        QTest::newRow("640") << 640;
        QTest::newRow("negative") << -5;
        QTest::newRow("largest") << int(2147483647);
        QTest::newRow("smallest") << int(-2147483647 - 1);
    }
    void integersAreDecimalText()
    {
        QFETCH(int, value);
        CSettingsStore store;
        store.WriteInt(value, QStringLiteral("Log"), QStringLiteral("SizeX"));
        QCOMPARE(store.ReadString(QStringLiteral("Log"), QStringLiteral("SizeX")), QString::number(value));
        QCOMPARE(store.ReadInt(QStringLiteral("Log"), QStringLiteral("SizeX")), value);
    }

    void textToInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("digits then letters") << QStringLiteral("12abc") << 12;
        QTest::newRow("blank minus digits") << QStringLiteral(" -42") << -42;
        QTest::newRow("tab and plus") << QStringLiteral("\t+7") << 7;
        QTest::newRow("letter first") << QStringLiteral("x1") << 0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0;
        QTest::newRow("blank after sign") << QStringLiteral("- 5") << 0;
        QTest::newRow("decimal point") << QStringLiteral("3.9") << 3;
        QTest::newRow("too large saturates") << QStringLiteral("99999999999999999999") << 2147483647;
        QTest::newRow("too small saturates") << QStringLiteral("-99999999999") << int(-2147483647 - 1);
        QTest::newRow("leading zeros") << QStringLiteral("000000000000000000000012") << 12;
    }
    void textToInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(CSettingsStore::ParseInt(text), value);
        CSettingsStore store;
        store.WriteString(text, QString(), QStringLiteral("Debug"));
        QCOMPARE(store.ReadInt(QString(), QStringLiteral("Debug")), value);
    }

    void textComesBackUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("environment reference") << QStringLiteral("%ProgramFiles%\\QRX\\qrx.exe");
        QTest::newRow("commas") << QStringLiteral("a, b,c");
        QTest::newRow("quotes and equals") << QStringLiteral("\"x\" = y; z");
        QTest::newRow("blanks around") << QStringLiteral("  padded  ");
        QTest::newRow("non-latin") << QStringLiteral("C:\\Spiele\\\u00fcber\\\u6f22.exe");
        QTest::newRow("link template") << QStringLiteral("-w %p%b -m %m %% %P");
        QTest::newRow("exactly 2047") << QString(2047, QLatin1Char('a'));
    }
    void textComesBackUnchanged()
    {
        QFETCH(QString, text);
        CSettingsStore store;
        store.WriteString(text, QString(), QStringLiteral("Command Line"));
        QCOMPARE(CSettingsStore().ReadString(QString(), QStringLiteral("Command Line")), text);
    }

    void overlongValues()
    {
        CSettingsStore store;
        store.WriteString(QStringLiteral("before"), QString(), QStringLiteral("Linker"));
        // A write of 2048 or more characters is refused and keeps what was there.
        store.WriteString(QString(2048, QLatin1Char('b')), QString(), QStringLiteral("Linker"));
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Linker")), QStringLiteral("before"));
        // A value of 2048 characters put there by other means reads as empty.
        {
            QSettings ini(TestSupport::IniPath(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Linker"), QString(2048, QLatin1Char('c')));
        }
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Linker")), QString());
        QCOMPARE(store.ReadInt(QString(), QStringLiteral("Linker")), 0);
    }

    void handEditedValues()
    {
        {
            QSettings ini(TestSupport::IniPath(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Multi-boot"), QStringLiteral("yes"));
            ini.setValue(QStringLiteral("Emulator"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
        }
        CSettingsStore store;
        QCOMPARE(store.ReadInt(QString(), QStringLiteral("Multi-boot")), 0);
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Emulator")), QStringLiteral("a,b"));
    }

    // Fault mended: settings that could not be written were lost without a word.
    void unwritableSettingsAreToldOnce()
    {
        const QString nowhere = QStringLiteral("/proc/qbe-no-such-folder");
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
        MessageBoxRecorder boxes;
        CSettingsStore().WriteString(QStringLiteral("a"), QString(), QStringLiteral("Compiler"));
        CSettingsStore().WriteInts(QStringLiteral("Log"), {{QStringLiteral("Width"), 1}});
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, TestSupport::SettingsFolder());
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("The settings could not be saved in %1!")
                                                .arg(QDir::toNativeSeparators(nowhere + QStringLiteral("/TRZ.ini")))});
    }

#ifdef Q_OS_UNIX
    // Fault mended: under umask 000 another user could change the settings,
    // which name the programs a build runs.
    void settingsAreTheUsersAloneUnderAnyUmask()
    {
        QTemporaryDir fresh;
        const QString folder = fresh.filePath(QStringLiteral("config/deeper"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
        const mode_t previous = ::umask(0);
        CSettingsStore().WriteString(QStringLiteral("/usr/bin/true"), QString(), QStringLiteral("Compiler"));
        ::umask(previous);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, TestSupport::SettingsFolder());
        for (const QString &path :
             {fresh.filePath(QStringLiteral("config")), folder, folder + QStringLiteral("/TRZ.ini")}) {
            struct stat info = {};
            QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
            QVERIFY2(!(info.st_mode & (S_IWGRP | S_IWOTH)), qPrintable(path));
        }
    }
#endif
};

QBE_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
