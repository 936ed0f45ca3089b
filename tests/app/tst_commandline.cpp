// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/commandline.h"

Q_DECLARE_METATYPE(ShellCommand::Kind)

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<ShellCommand::Kind>("kind");
        QTest::addColumn<QStringList>("files");
        const QStringList none;
        const QStringList pong{QStringLiteral("pong.qrx")};
        QTest::newRow("no arguments") << none << ShellCommand::Nothing << none;
        QTest::newRow("one file") << pong << ShellCommand::FileOpen << pong;
        QTest::newRow("only the first file opens")
            << QStringList{QStringLiteral("pong.qrx"), QStringLiteral("b.qrx")} << ShellCommand::FileOpen << pong;
        QTest::newRow("absolute path is no flag")
            << QStringList{QStringLiteral("/p")} << ShellCommand::FileOpen << QStringList{QStringLiteral("/p")};
        QTest::newRow("print") << QStringList{QStringLiteral("-p"), QStringLiteral("pong.qrx")}
                               << ShellCommand::Nothing << none;
        QTest::newRow("print, upper case") << QStringList{QStringLiteral("-P"), QStringLiteral("pong.qrx")}
                                           << ShellCommand::Nothing << none;
        QTest::newRow("print to")
            << QStringList{QStringLiteral("-pt"), QStringLiteral("pong.qrx"), QStringLiteral("printer"),
                           QStringLiteral("driver"), QStringLiteral("port")}
            << ShellCommand::Nothing << none;
        QTest::newRow("register") << QStringList{QStringLiteral("-Register")} << ShellCommand::Nothing << none;
        QTest::newRow("regserver") << QStringList{QStringLiteral("-regserver"), QStringLiteral("x.qrx")}
                                   << ShellCommand::Nothing << none;
        QTest::newRow("unregister") << QStringList{QStringLiteral("-Unregister")} << ShellCommand::Nothing << none;
        QTest::newRow("unregserver") << QStringList{QStringLiteral("-UNREGSERVER")} << ShellCommand::Nothing
                                     << none;
        QTest::newRow("embedding") << QStringList{QStringLiteral("-Embedding"), QStringLiteral("x.qrx")}
                                   << ShellCommand::Nothing << none;
        QTest::newRow("automation") << QStringList{QStringLiteral("-Automation")} << ShellCommand::Nothing << none;
        QTest::newRow("dde without files") << QStringList{QStringLiteral("-dde")} << ShellCommand::Nothing << none;
        QTest::newRow("dde with files")
            << QStringList{QStringLiteral("-dde"), QStringLiteral("a.qrx"), QStringLiteral("/tmp/b c.qrx")}
            << ShellCommand::ShellOpen << QStringList{QStringLiteral("a.qrx"), QStringLiteral("/tmp/b c.qrx")};
        QTest::newRow("unknown flag is ignored")
            << QStringList{QStringLiteral("-nologo"), QStringLiteral("pong.qrx")} << ShellCommand::FileOpen << pong;
        QTest::newRow("lone dash is a name")
            << QStringList{QStringLiteral("-")} << ShellCommand::FileOpen << QStringList{QStringLiteral("-")};
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(ShellCommand::Kind, kind);
        QFETCH(QStringList, files);
        const ShellCommand command = ParseCommandLine(arguments);
        QCOMPARE(command.kind, kind);
        QCOMPARE(command.files, files);
    }
};

QBE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
