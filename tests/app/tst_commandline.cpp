// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/commandline.h"
#include "core/product.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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
        QTest::newRow("print") << QStringList{QStringLiteral("-p"), QStringLiteral("pong.qrx")} << ShellCommand::Nothing
                               << none;
        QTest::newRow("print, upper case")
            << QStringList{QStringLiteral("-P"), QStringLiteral("pong.qrx")} << ShellCommand::Nothing << none;
        QTest::newRow("print to") << QStringList{QStringLiteral("-pt"), QStringLiteral("pong.qrx"),
                                                 QStringLiteral("printer"), QStringLiteral("driver"),
                                                 QStringLiteral("port")}
                                  << ShellCommand::Nothing << none;
        QTest::newRow("register") << QStringList{QStringLiteral("-Register")} << ShellCommand::Nothing << none;
        QTest::newRow("regserver") << QStringList{QStringLiteral("-regserver"), QStringLiteral("x.qrx")}
                                   << ShellCommand::Nothing << none;
        QTest::newRow("unregister") << QStringList{QStringLiteral("-Unregister")} << ShellCommand::Nothing << none;
        QTest::newRow("unregserver") << QStringList{QStringLiteral("-UNREGSERVER")} << ShellCommand::Nothing << none;
        QTest::newRow("embedding") << QStringList{QStringLiteral("-Embedding"), QStringLiteral("x.qrx")}
                                   << ShellCommand::Nothing << none;
        QTest::newRow("automation") << QStringList{QStringLiteral("-Automation")} << ShellCommand::Nothing << none;
        QTest::newRow("dde without files") << QStringList{QStringLiteral("-dde")} << ShellCommand::Nothing << none;
        QTest::newRow("dde with files") << QStringList{QStringLiteral("-dde"), QStringLiteral("a.qrx"),
                                                       QStringLiteral("/tmp/b c.qrx")}
                                        << ShellCommand::ShellOpen
                                        << QStringList{QStringLiteral("a.qrx"), QStringLiteral("/tmp/b c.qrx")};
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

    void consoleText_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // "usage", "version" or "" for a start of the editor
        QTest::newRow("no arguments") << QStringList{} << QString();
        QTest::newRow("a file") << QStringList{QStringLiteral("pong.qrx")} << QString();
        QTest::newRow("desktop hand-over")
            << QStringList{QStringLiteral("-dde"), QStringLiteral("pong.qrx")} << QString();
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << QStringLiteral("usage");
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << QStringLiteral("usage");
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << QStringLiteral("version");
        QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << QStringLiteral("version");
        QTest::newRow("after a file") << QStringList{QStringLiteral("pong.qrx"), QStringLiteral("-v")}
                                      << QStringLiteral("version");
        QTest::newRow("first request wins")
            << QStringList{QStringLiteral("-h"), QStringLiteral("--version")} << QStringLiteral("usage");
        // The old flags stay what they were: not one of these.
        QTest::newRow("-help is a flag of its own") << QStringList{QStringLiteral("-help")} << QString();
        QTest::newRow("-V is another flag") << QStringList{QStringLiteral("-V")} << QString();
        QTest::newRow("a file named like a request") << QStringList{QStringLiteral("./--help")} << QString();
    }
    void consoleText()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const QString text = ConsoleText(QStringLiteral("qbe"), arguments);
        if (expected.isEmpty()) {
            QVERIFY(text.isEmpty());
        } else if (expected == QLatin1String("version")) {
            QCOMPARE(text, Product::kName + QLatin1Char(' ') + Product::kVersion + QLatin1Char('\n'));
        } else {
            QVERIFY(text.startsWith(QStringLiteral("Usage: qbe [FILE]\n")));
            for (const char *option : {"-dde", "--help", "--version"})
                QVERIFY2(text.contains(QLatin1String(option)), option);
        }
    }

    // The real program answers without a display, at once, and leaves the
    // user's settings and data folders empty.
    void programAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("start");
        const QString version = Product::kName + QLatin1Char(' ') + Product::kVersion + QLatin1Char('\n');
        QTest::newRow("--version") << QStringLiteral("--version") << version;
        QTest::newRow("-v") << QStringLiteral("-v") << version;
        QTest::newRow("--help") << QStringLiteral("--help") << QStringLiteral("Usage: quarn-basic-editor [FILE]\n");
        QTest::newRow("-h") << QStringLiteral("-h") << QStringLiteral("Usage: quarn-basic-editor [FILE]\n");
    }
    void programAnswersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, start);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "HOME"})
            env.insert(QLatin1String(name), home.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QBE_EDITOR_EXE), {argument});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(process.readAllStandardOutput()).startsWith(start));
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
};

QBE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
