// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/mainframe.h"
#include "app/shellfiletypes.h"
#include "app/shellopenserver.h"
#include "editor/richsyntaxdoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

class TestShellIntegration : public QObject
{
    Q_OBJECT

    QString WriteSource(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write("cls\r\n");
        return path;
    }

    // A second start of the real editor, sharing this test's settings folder.
    void StartEditor(QProcess &process, const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), TestSupport::SettingsFolder());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(QBE_EDITOR_EXE), arguments);
        QVERIFY(process.waitForStarted());
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void desktopStartHandsFilesToRunningEditor()
    {
        QStringList received;
        CShellOpenServer server([&received](const QStringList &files) { received += files; });
        QVERIFY(server.Listen());
        const QString a = WriteSource(QStringLiteral("a.qrx"));
        const QString b = WriteSource(QStringLiteral("with blank\nand newline.qrx"));
        QProcess second;
        StartEditor(second, {QStringLiteral("-dde"), a, b});
        QTRY_COMPARE_WITH_TIMEOUT(received, (QStringList{a, b}), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
        QCOMPARE(second.exitCode(), 0);
    }

    void plainStartNeverHandsOver()
    {
        QStringList received;
        CShellOpenServer server([&received](const QStringList &files) { received += files; });
        QVERIFY(server.Listen());
        QProcess second;
        StartEditor(second, {WriteSource(QStringLiteral("plain.qrx"))});
        // The plain start runs as an editor of its own; it would have ended by now had it handed over.
        QVERIFY(!second.waitForFinished(1500));
        QVERIFY(received.isEmpty());
        second.kill();
        QVERIFY(second.waitForFinished());
    }

    void desktopStartWithoutRunningEditorBecomesTheEditor()
    {
        // Nobody listens in this process now, so the second start becomes the
        // editor and takes later desktop requests itself.
        QProcess editor;
        const QString file = WriteSource(QStringLiteral("first.qrx"));
        StartEditor(editor, {QStringLiteral("-dde"), file});
        QTRY_VERIFY_WITH_TIMEOUT(CShellOpenServer::OfferToRunningEditor({WriteSource(QStringLiteral("later.qrx"))}, 500),
                                 20000);
        QCOMPARE(editor.state(), QProcess::Running);
        editor.kill();
        QVERIFY(editor.waitForFinished());
    }

    void runningEditorOpensHandedFiles()
    {
        CEditorApp *app = CEditorApp::Instance();
        QVERIFY(app->InitInstance({}));
        const QString a = WriteSource(QStringLiteral("handed.qrx"));
        // The desktop's start is another process; here a thread plays it.
        for (int round = 0; round < 2; ++round) {
            std::atomic<int> result{-1};
            std::thread client([&result, a] { result = CShellOpenServer::OfferToRunningEditor({a}); });
            QTRY_VERIFY(result != -1);
            client.join();
            QCOMPARE(int(result), 1);
            // The second time the open window is activated, not opened twice.
            QTRY_COMPARE(app->MainFrame()->MdiArea()->subWindowList().size(), 1);
            QCOMPARE(app->MainFrame()->ActiveDocument()->GetPathName(), a);
        }
        QTest::qWait(50);
        QCOMPARE(app->MainFrame()->MdiArea()->subWindowList().size(), 1);
        app->ExitInstance();
    }

    void fileTypeRegistration()
    {
        const QString data = m_dir.filePath(QStringLiteral("xdg-data"));
        const QByteArray oldData = qgetenv("XDG_DATA_HOME");
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("no-tools"))));
        const QString program = QStringLiteral("/opt/quarn basic/quarn-basic-editor");
        QVERIFY(ShellFileTypes::Register(program));
        const QString entryPath = data + QStringLiteral("/applications/QuarnBASIC.Code.desktop");
        const QString mimePath = data + QStringLiteral("/mime/packages/QuarnBASIC.Code.xml");
        QFile entry(entryPath);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray entryText = entry.readAll();
        QVERIFY(entryText.contains("Exec=\"/opt/quarn basic/quarn-basic-editor\" -dde %F\n"));
        QVERIFY(entryText.contains("MimeType=text/x-quarnbasic;\n"));
        QFile mime(mimePath);
        QVERIFY(mime.open(QIODevice::ReadOnly));
        const QByteArray mimeText = mime.readAll();
        QVERIFY(mimeText.contains("<glob pattern=\"*.qrx\"/>"));
        QVERIFY(mimeText.contains("<comment>Quarn BASIC Code</comment>"));

        // Unchanged content is not written again.
        const QDateTime written = QFileInfo(entryPath).lastModified();
        QFile::setPermissions(entryPath, QFile::ReadOwner);
        QVERIFY(!ShellFileTypes::Register(program));
        QCOMPARE(QFileInfo(entryPath).lastModified(), written);
        // A moved program rewrites the entry.
        QFile::setPermissions(entryPath, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(ShellFileTypes::Register(QStringLiteral("/usr/bin/quarn-basic-editor")));

        // Failures are silent.
        qputenv("XDG_DATA_HOME", "/proc/no-such-place");
        QVERIFY(!ShellFileTypes::Register(program));
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("PATH", oldPath);
    }

    void execLineQuotesTheProgramPath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("blank") << QStringLiteral("/opt/quarn basic/quarn-basic-editor")
                               << QStringLiteral("Exec=\"/opt/quarn basic/quarn-basic-editor\" -dde %F\n");
        QTest::newRow("dollar") << QStringLiteral("/opt/a$b/q") << QStringLiteral("Exec=\"/opt/a\\\\$b/q\" -dde %F\n");
        QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/q")
                                   << QStringLiteral("Exec=\"/opt/a\\\\\\\\b/q\" -dde %F\n");
        QTest::newRow("percent") << QStringLiteral("/opt/100%/q") << QStringLiteral("Exec=\"/opt/100%%/q\" -dde %F\n");
        QTest::newRow("double quote") << QStringLiteral("/opt/a\"b/q")
                                      << QStringLiteral("Exec=\"/opt/a\\\\\"b/q\" -dde %F\n");
    }
    // Fault mended: a backslash or a percent sign in the program's path made the desktop entry invalid.
    void execLineQuotesTheProgramPath()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        const QString entry = ShellFileTypes::DesktopEntry(program);
        QVERIFY2(entry.contains(exec), qPrintable(entry));
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            return;
        const QString path = m_dir.filePath(QStringLiteral("check.desktop"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(entry.toUtf8());
        file.close();
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(validator, {path});
        QVERIFY(check.waitForFinished());
        const QByteArray said = check.readAll();
        QVERIFY2(!said.contains("error"), said.constData());
    }
};

QBE_TEST_MAIN(TestShellIntegration)
#include "tst_shellintegration.moc"
