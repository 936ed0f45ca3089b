// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/shellfiletypes.h"
#include "app/shellopenserver.h"
#include "app/startupnotice.h"
#include "core/filelock.h"
#include "editor/richsyntaxdoc.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTestEventLoop>
#include <QRegularExpression>
#include <QDialog>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <sys/stat.h>
#endif

namespace {
constexpr int kProcessTimeoutMs = 30000;

#ifdef Q_OS_UNIX
int Mode(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}
#endif
} // namespace

class TestShellIntegration : public QObject
{
    Q_OBJECT

    CEditorApp *App() { return CEditorApp::Instance(); }

    QString WriteSource(const QString &name) { return TestSupport::WriteFile(m_dir.filePath(name), "cls\r\n"); }

    QProcessEnvironment ChildEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), TestSupport::SettingsFolder());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        return env;
    }

    // Another start of the real editor, sharing this test's settings and runtime folders.
    void StartEditor(ChildProcess &process, const QStringList &arguments)
    {
        process.setProcessEnvironment(ChildEnvironment());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(QBE_EDITOR_EXE), arguments);
        QVERIFY(process.waitForStarted());
    }

    void StartHelper(ChildProcess &process, const QStringList &arguments)
    {
        process.setProcessEnvironment(ChildEnvironment());
        process.setReadChannel(QProcess::StandardOutput);
        process.start(QStringLiteral(QBE_TEST_HELPER), arguments);
        QVERIFY(process.waitForStarted());
    }

    // A helper that takes the lock and listens as an editor would.
    void StartListener(ChildProcess &process, const QString &step = QStringLiteral("listen"))
    {
        StartHelper(process, {step});
        QTRY_VERIFY_WITH_TIMEOUT(process.Output().contains("listening\n"), kProcessTimeoutMs);
        QVERIFY(!process.Output().contains("not listening"));
    }

    // A start made by the desktop hands the file over and ends at once.
    void HandOver(const QString &file)
    {
        ChildProcess desktop;
        StartEditor(desktop, {QStringLiteral("-dde"), file});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.state(), QProcess::NotRunning, kProcessTimeoutMs);
        QCOMPARE(desktop.exitStatus(), QProcess::NormalExit);
        QCOMPARE(desktop.exitCode(), 0);
    }

    // Whether some editor holds the lock that makes it the one that listens.
    static bool LockIsTaken()
    {
        CFileLock probe;
        return !probe.TryLock(ShellOpenChannel::LockPath());
    }

    QStringList OpenPaths()
    {
        QStringList paths;
        const QList<QMdiSubWindow *> windows = App()->MainFrame()->MdiArea()->subWindowList();
        for (QMdiSubWindow *window : windows) {
            if (auto *frame = qobject_cast<CChildFrame *>(window))
                paths.append(frame->GetDocument()->GetPathName());
        }
        return paths;
    }

    QTemporaryDir m_dir;
    QByteArray m_path;
    QByteArray m_dataHome;

private Q_SLOTS:
    // A start that hands its files over ends the desktop's launch feedback itself.
    void launchEndsWithARemoveMessage_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("plain") << QByteArray("x_TIME5") << QByteArray("remove: ID=\"x_TIME5\"");
        QTest::newRow("quote and backslash") << QByteArray("a\"b\\c") << QByteArray("remove: ID=\"a\\\"b\\\\c\"");
    }
    void launchEndsWithARemoveMessage()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, message);
        // Whole pieces of 20 bytes, the message ended by a zero byte and padded with zeros.
        const QList<QByteArray> pieces = StartupNotice::RemoveMessage(id);
        QByteArray joined;
        for (const QByteArray &piece : pieces) {
            QCOMPARE(piece.size(), 20);
            joined += piece;
        }
        QCOMPARE(joined, message.leftJustified(joined.size(), '\0'));
        QVERIFY(joined.size() - message.size() >= 1 && joined.size() - message.size() <= 20);
    }

    void initTestCase()
    {
        m_path = qgetenv("PATH");
        m_dataHome = qgetenv("XDG_DATA_HOME");
    }
    void cleanup()
    {
        App()->ExitInstance();
        // Put back for the next test, also after a check that failed half-way.
        qputenv("PATH", m_path);
        qputenv("XDG_DATA_HOME", m_dataHome);
    }

    void requestReader_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("files");
        using Reader = ShellOpenChannel::RequestReader;
        QTest::newRow("one file in one piece")
            << QList<QByteArray>{"%2Fa%2Fb.qrx\n\n"} << int(Reader::Complete) << QStringList{"/a/b.qrx"};
        QTest::newRow("no files") << QList<QByteArray>{"\n"} << int(Reader::Complete) << QStringList{};
        QTest::newRow("split between the two line ends")
            << QList<QByteArray>{"%2Fa\n", "\n"} << int(Reader::Complete) << QStringList{"/a"};
        QTest::newRow("split inside names")
            << QList<QByteArray>{"%2F", "a\n%2Fb%20c\n", "\n"} << int(Reader::Complete) << QStringList{"/a", "/b c"};
        QTest::newRow("line breaks inside a name survive")
            << QList<QByteArray>{ShellOpenChannel::EncodeRequest({"/x/a\nb"})} << int(Reader::Complete)
            << QStringList{"/x/a\nb"};
        QTest::newRow("half a request") << QList<QByteArray>{"%2Fa\n"} << int(Reader::Incomplete) << QStringList{};
        QTest::newRow("bytes after the end are no second request")
            << QList<QByteArray>{"%2Fa\n\n%2Fb\n\n"} << int(Reader::Complete) << QStringList{"/a"};
        QTest::newRow("too long without an end")
            << QList<QByteArray>{QByteArray(ShellOpenChannel::kMaxRequestBytes / 2, 'a'),
                                 QByteArray(ShellOpenChannel::kMaxRequestBytes / 2 + 1, 'a')}
            << int(Reader::TooLong) << QStringList{};
    }
    void requestReader()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, state);
        QFETCH(QStringList, files);
        ShellOpenChannel::RequestReader reader;
        for (const QByteArray &chunk : chunks)
            reader.Append(chunk);
        QCOMPARE(int(reader.CurrentState()), state);
        QCOMPARE(reader.Files(), files);
    }

#ifdef Q_OS_UNIX
    void privateFolder_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("usable");
        QTest::newRow("missing: made private") << "missing" << true;
        QTest::newRow("own, readable by others: tightened") << "0755" << true;
        QTest::newRow("others may write: refused") << "0777" << false;
        QTest::newRow("the group may write: refused") << "0770" << false;
        QTest::newRow("a link to a folder: refused") << "link" << false;
        QTest::newRow("a file: refused") << "file" << false;
    }
    // Fault mended: the socket sat in the shared temporary folder under a name anyone could take first.
    void privateFolder()
    {
        QFETCH(QString, setup);
        QFETCH(bool, usable);
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("quarn-basic-editor"));
        if (setup == QLatin1String("link")) {
            QVERIFY(QDir().mkdir(base.filePath(QStringLiteral("elsewhere"))));
            QVERIFY(QFile::link(base.filePath(QStringLiteral("elsewhere")), folder));
        } else if (setup == QLatin1String("file")) {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (setup != QLatin1String("missing")) {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(setup.toInt(nullptr, 8))) == 0);
        }
        QString error;
        const QString made = ShellOpenChannel::PrivateFolder(base.path(), &error);
        QCOMPARE(!made.isEmpty(), usable);
        if (usable) {
            QCOMPARE(made, folder);
            QCOMPARE(Mode(made), 0700);
        } else {
            QVERIFY(!error.isEmpty());
        }
    }

    void socketFolderIsPrivate()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const QString socket = ShellOpenChannel::SocketPath();
        QVERIFY2(socket.startsWith(QFile::decodeName(runtime) + QLatin1Char('/')), qPrintable(socket));
        QCOMPARE(Mode(QFileInfo(socket).absolutePath()), 0700);
        QCOMPARE(QFileInfo(ShellOpenChannel::LockPath()).absolutePath(), QFileInfo(socket).absolutePath());

        // A runtime folder that others may write to is not used; the user's own folder is.
        QTemporaryDir open;
        QVERIFY(::chmod(QFile::encodeName(open.path()).constData(), 0777) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
        const QString fallback = ShellOpenChannel::SocketPath();
        qunsetenv("XDG_RUNTIME_DIR");
        const QString unset = ShellOpenChannel::SocketPath();
        qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY(!fallback.isEmpty());
        QVERIFY(!fallback.startsWith(open.path()));
        QCOMPARE(unset, fallback);
        QCOMPARE(Mode(QFileInfo(fallback).absolutePath()), 0700);
    }

    void desktopStartHandsFilesToRunningEditor()
    {
        QVERIFY(App()->InitInstance({}));
        const QString a = WriteSource(QStringLiteral("a.qrx"));
        const QString b = WriteSource(QStringLiteral("with blank\nand newline.qrx"));
        ChildProcess desktop;
        StartEditor(desktop, {QStringLiteral("-dde"), a, b});
        QTRY_COMPARE_WITH_TIMEOUT(OpenPaths(), (QStringList{a, b}), kProcessTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.state(), QProcess::NotRunning, kProcessTimeoutMs);
        QCOMPARE(desktop.exitCode(), 0);
        // A file handed over again activates its window instead of opening a second one.
        HandOver(a);
        QTRY_COMPARE(App()->MainFrame()->ActiveDocument()->GetPathName(), a);
        QCOMPARE(OpenPaths().size(), 2);
    }

    // Fault mended: a plain start took the listener's name, and once it ended nobody listened.
    void plainStartLeavesTheListenerAlone()
    {
        ChildProcess listener;
        StartListener(listener);

        QVERIFY(App()->InitInstance({WriteSource(QStringLiteral("plain.qrx"))}));
        App()->ExitInstance();

        const QString file = WriteSource(QStringLiteral("desktop.qrx"));
        HandOver(file);
        QTRY_VERIFY(listener.Output().contains("open: " + file.toUtf8() + '\n'));
    }

    // A crashed listener's lock and socket stay behind; the next editor takes over all the same.
    void nextEditorTakesOver()
    {
        ChildProcess first;
        StartEditor(first, {});
        // An empty request only asks whether somebody listens.
        QTRY_COMPARE_WITH_TIMEOUT(ShellOpenChannel::SendRequest(ShellOpenChannel::EncodeRequest({}), 1000),
                                  ShellOpenChannel::Delivery::Answered, kProcessTimeoutMs);
        HandOver(WriteSource(QStringLiteral("to-first.qrx")));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished());

        QVERIFY(App()->InitInstance({}));
        const QString file = WriteSource(QStringLiteral("to-second.qrx"));
        HandOver(file);
        QTRY_COMPARE(OpenPaths(), QStringList{file});
        App()->ExitInstance();

        // An editor that ended normally gives way too.
        ChildProcess third;
        StartListener(third);
    }

    void socketPlantedUnderTheOldSharedNameChangesNothing()
    {
        // Where editors met before: a name in the shared temporary folder that anybody could compute.
        const QString profile =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("TRZ"), QString()).fileName();
        const QString oldName =
            QStringLiteral("quarn-basic-editor-%1-%2")
                .arg(qEnvironmentVariable("USER"),
                     QString::fromLatin1(
                         QCryptographicHash::hash(profile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12)));
        QLocalServer planted;
        QLocalServer::removeServer(oldName);
        QVERIFY(planted.listen(oldName));
        QSignalSpy reported(&planted, &QLocalServer::newConnection);

        QVERIFY(App()->InitInstance({}));
        const QString file = WriteSource(QStringLiteral("not-for-them.qrx"));
        HandOver(file);
        QTRY_COMPARE(OpenPaths(), QStringList{file});
        QCOMPARE(reported.count(), 0);
    }

    // Fault mended: an offering start gave up after 2 s and opened the file itself while the busy editor opened it too.
    // (How long a start waits is checked with the program's other limits.)
    void busyListenerGetsTheFileOnceItCanTakeIt()
    {
        const QString free = m_dir.filePath(QStringLiteral("listener-free"));
        ChildProcess listener;
        StartListener(listener, QStringLiteral("busylisten=") + free);

        const QString file = WriteSource(QStringLiteral("while-busy.qrx"));
        ChildProcess desktop;
        StartEditor(desktop, {QStringLiteral("-dde"), file});
        QTRY_VERIFY_WITH_TIMEOUT(listener.Output().contains("waiting\n"), kProcessTimeoutMs);
        QVERIFY(!TestSupport::WriteFile(free, {}).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(listener.Output().contains("open: " + file.toUtf8() + '\n'), kProcessTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.state(), QProcess::NotRunning, kProcessTimeoutMs);
        QCOMPARE(desktop.exitCode(), 0);
    }

    void requestWithoutAnswerIsServedLater()
    {
        ChildProcess listener;
        StartListener(listener);
        QVERIFY(::kill(pid_t(listener.processId()), SIGSTOP) == 0);
        const QString file = WriteSource(QStringLiteral("queued.qrx"));
        const LimitForTest answerWithin(ShellOpenChannel::s_answerTimeoutMs, 500);
        CShellOpenServer offering({});
        QCOMPARE(offering.OfferFiles({file}), CShellOpenServer::Offer::Queued);
        QVERIFY(!offering.HoldsClaim());
        QVERIFY(::kill(pid_t(listener.processId()), SIGCONT) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(listener.Output().contains("open: " + file.toUtf8() + '\n'), kProcessTimeoutMs);
    }

    // The number of files whose failure a box tells: those it lists and counts, or one.
    static int FailuresTold(const QString &box)
    {
        const QRegularExpressionMatch listed =
            QRegularExpression(QStringLiteral("^(\\d+) files could not be opened:")).match(box);
        return listed.hasMatch() ? listed.captured(1).toInt() : 1;
    }

    // Fault mended: each failed open's message box took the next request inside it, until the stack overflowed.
    void failedOpensShowTheirMessagesOneAtATime()
    {
        QVERIFY(App()->InitInstance({}));
        constexpr int kRequests = 3000;
        struct NestingRecorder : CForwardingServices
        {
            int shown = 0;
            int told = 0;
            int depth = 0;
            int deepest = 0;
            QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon, QMessageBox::StandardButtons,
                                                   QMessageBox::StandardButton) override
            {
                ++shown;
                if ((told += FailuresTold(text)) == kRequests)
                    QTestEventLoop::instance().exitLoop();
                deepest = qMax(deepest, ++depth);
                // While a box is up, its event loop takes in further requests;
                // now and then the user takes a while to read one.
                QDeadlineTimer reading(shown % 100 == 1 ? 50 : 0);
                do {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                } while (!reading.hasExpired());
                --depth;
                return QMessageBox::Ok;
            }
        } boxes;
        ChildProcess sender;
        StartHelper(sender,
                    {QStringLiteral("requests=%1:%2").arg(kRequests).arg(m_dir.filePath(QStringLiteral("missing-")))});
        // An event loop that sleeps only while nothing comes in: a polling wait
        // would add its pause to every request of the sender, who waits for
        // each answer before it sends the next.
        QTestEventLoop::instance().enterLoop(180);
        QCOMPARE(boxes.told, kRequests);
        // Failures that came while a box was up are told together.
        QVERIFY(boxes.shown < kRequests);
        QTRY_COMPARE_WITH_TIMEOUT(sender.state(), QProcess::NotRunning, kProcessTimeoutMs);
        QVERIFY(sender.Output().contains("answered 3000\n"));
        QCOMPARE(boxes.deepest, 1);
        QVERIFY(OpenPaths().isEmpty());
    }

    // Fault mended: a flood of requests for missing files gave as many boxes, one after the other, and
    // waited in memory without bound.
    void requestsThatComeTogetherFailInOneBox_data()
    {
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("room"); // how many requests may wait; 0: as many as the program lets
        QTest::newRow("a thousand, told in one box") << 1000 << 0;
        QTest::newRow("more than may wait: the rest refused") << 50 << 10;
    }
    void requestsThatComeTogetherFailInOneBox()
    {
        QFETCH(int, requests);
        QFETCH(int, room);
        const QString prefix = m_dir.filePath(QStringLiteral("missing-"));
        qsizetype roomBytes = ShellOpenChannel::s_maxPendingBytes.Value();
        if (room > 0) {
            roomBytes = 0;
            for (int i = 1; i <= room; ++i)
                roomBytes += (prefix + QString::number(i)).size() * qsizetype(sizeof(QChar));
        }
        const LimitForTest pendingRoom(ShellOpenChannel::s_maxPendingBytes, roomBytes);
        const int answered = room > 0 ? room : requests;
        QVERIFY(App()->InitInstance({}));
        // The editor is busy with a dialog while the requests come in.
        QDialog busy(App()->MainFrame());
        busy.setModal(true);
        busy.show();
        MessageBoxRecorder boxes;
        ChildProcess sender;
        QSignalSpy ended(&sender, &QProcess::finished);
        StartHelper(sender, {QStringLiteral("requests=%1:%2").arg(requests).arg(prefix)});
        // A real event loop, not a polling wait, as the sender waits for each answer.
        QVERIFY(ended.wait(kProcessTimeoutMs));
        QCOMPARE(sender.Output(), QByteArray("answered ") + QByteArray::number(answered) + '\n');
        busy.close();
        QTRY_COMPARE_WITH_TIMEOUT(boxes.Texts().size(), 1, kProcessTimeoutMs);
        const QStringList lines = boxes.Texts().constFirst().split(QLatin1Char('\n'));
        QCOMPARE(FailuresTold(lines.constFirst()), answered);
        QCOMPARE(lines.size(), 2 + qMin(answered, 20) + (answered > 20 ? 1 : 0));
        QCOMPARE(lines.at(2),
                 QStringLiteral("%1 was not found.").arg(QDir::toNativeSeparators(prefix + QStringLiteral("1"))));
        if (answered > 20)
            QCOMPARE(lines.constLast(), QStringLiteral("and %1 more.").arg(answered - 20));
    }

    // Fault mended: connections that sent half a request were kept for ever and used up the file handles.
    void halfRequestsDoNotKeepOthersOut()
    {
        const LimitForTest dropAfter(ShellOpenChannel::s_requestTimeoutMs, 300);
        QVERIFY(App()->InitInstance({}));
        ChildProcess holder;
        StartHelper(holder, {QStringLiteral("hold=200")});
        QTRY_VERIFY_WITH_TIMEOUT(holder.Output().contains("held "), kProcessTimeoutMs);
        const QString file = WriteSource(QStringLiteral("despite-them.qrx"));
        HandOver(file);
        QTRY_COMPARE(OpenPaths(), QStringList{file});
        QCOMPARE(holder.state(), QProcess::Running);
    }

    // Fault mended: files handed to a minimised editor opened out of sight.
    void minimisedWindowComesBack()
    {
        QVERIFY(App()->InitInstance({}));
        App()->MainFrame()->showMinimized();
        QTRY_VERIFY(App()->MainFrame()->isMinimized());
        const QString file = WriteSource(QStringLiteral("bring-it-back.qrx"));
        HandOver(file);
        QTRY_COMPARE(OpenPaths(), QStringList{file});
        QVERIFY(!App()->MainFrame()->isMinimized());
        QVERIFY(App()->MainFrame()->isVisible());
    }

    // Fault mended: a request handed over while a starting editor showed its own file's failure was lost.
    // Fault mended: such a start held the lock without listening, so the desktop waited 30 s and blamed the editor.
    void startThatFailsLeavesRequestsToTheNext()
    {
        // A start registers the file type just before it opens its file.
        const QString entry = m_dir.filePath(QStringLiteral("data/applications/QuarnBASIC.Code.desktop"));
        QFile::remove(entry);
        ChildProcess failing;
        StartEditor(failing, {m_dir.filePath(QStringLiteral("no-such-file.qrx"))});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(entry), kProcessTimeoutMs);
        // The failing start stays up with its message box and claims nothing:
        // the desktop's start is the editor at once and takes the next files.
        QVERIFY(!LockIsTaken());
        ChildProcess desktop;
        StartEditor(desktop, {QStringLiteral("-dde"), WriteSource(QStringLiteral("after-failure.qrx"))});
        QTRY_VERIFY_WITH_TIMEOUT(LockIsTaken(), kProcessTimeoutMs);
        HandOver(WriteSource(QStringLiteral("next.qrx")));
        QCOMPARE(desktop.state(), QProcess::Running);
        QCOMPARE(failing.state(), QProcess::Running);
    }

    // Fault mended: a file handed over while the exit asked to save was answered for and never opened.
    void handOverDuringExitGoesToAStartOfItsOwn()
    {
        QVERIFY(App()->InitInstance({WriteSource(QStringLiteral("unsaved.qrx"))}));
        App()->MainFrame()->ActiveDocument()->SetModifiedFlag(true);
        struct DesktopDuringQuestion : CForwardingServices
        {
            TestShellIntegration *test = nullptr;
            ChildProcess desktop;
            bool tookOver = false;
            QMessageBox::StandardButton MessageBox(const QString &, QMessageBox::Icon, QMessageBox::StandardButtons,
                                                   QMessageBox::StandardButton) override
            {
                test->StartEditor(desktop, {QStringLiteral("-dde"), test->WriteSource(QStringLiteral("late.qrx"))});
                tookOver = QTest::qWaitFor([] { return LockIsTaken(); }, kProcessTimeoutMs);
                return QMessageBox::No;
            }
        } question;
        question.test = this;
        QVERIFY(App()->OnAppExit());
        QVERIFY(question.tookOver);
        App()->ExitInstance();
        // The desktop's start is the editor now: it runs and takes the next files.
        QCOMPARE(question.desktop.state(), QProcess::Running);
        HandOver(WriteSource(QStringLiteral("next.qrx")));
        QCOMPARE(question.desktop.state(), QProcess::Running);
    }
#endif

    void fileTypeRegistration()
    {
        const QString data = m_dir.filePath(QStringLiteral("xdg-data"));
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

        // A path an entry cannot name is not registered, and the entry stays as it was.
        const QByteArray before = [&entryPath] {
            QFile file(entryPath);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QVERIFY(!ShellFileTypes::Register(QStringLiteral("/opt/a\x01"
                                                         "b/q")));
        QFile after(entryPath);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);

        // Failures are silent.
        qputenv("XDG_DATA_HOME", "/proc/no-such-place");
        QVERIFY(!ShellFileTypes::Register(program));
    }

    // A program that an installed desktop entry starts leaves the file type to
    // the package: it writes no entry of its own for the user and removes the
    // one it wrote before.
    void installedEntryDecidesRegistration_data()
    {
        QTest::addColumn<QString>("exec");      // the installed entry's Exec; %1 is the program's folder
        QTest::addColumn<bool>("inUserFolder"); // the entry sits in the user's own data folder
        QTest::addColumn<bool>("writeWanted");
        QTest::addColumn<QString>("earlier"); // the per-user entry there before: "", "own" or "foreign"
        QTest::addColumn<bool>("userEntryAfter");
        QTest::addColumn<bool>("changed");
        const QString path = QStringLiteral("%1/quarn-basic-editor -dde %F");
        QTest::newRow("no installed entry") << QString() << false << true << QString() << true << true;
        QTest::newRow("installed, by path") << path << false << true << QString() << false << false;
        QTest::newRow("installed, quoted path")
            << QStringLiteral("\"%1/quarn-basic-editor\" -dde %F") << false << true << QString() << false << false;
        QTest::newRow("installed, by name on the path")
            << QStringLiteral("quarn-basic-editor -dde %F") << false << true << QString() << false << false;
        QTest::newRow("installed, by a link on the path")
            << QStringLiteral("qbe-link -dde %F") << false << true << QString() << false << false;
        QTest::newRow("installed entry starts another program")
            << QStringLiteral("/usr/games/other-editor -dde %F") << false << true << QString() << true << true;
        QTest::newRow("installed entry names a program the path lacks")
            << QStringLiteral("not-on-the-path -dde %F") << false << true << QString() << true << true;
        QTest::newRow("an entry in the user's own folder is no package")
            << path << true << true << QString() << true << true;
        QTest::newRow("installed: the earlier per-user entry goes")
            << path << false << true << QStringLiteral("own") << false << true;
        QTest::newRow("installed: a foreign entry of the same name stays")
            << path << false << true << QStringLiteral("foreign") << true << false;
        QTest::newRow("not installed: the earlier entry is brought up to date")
            << QString() << false << true << QStringLiteral("own") << true << true;
        QTest::newRow("writing not wanted: nothing is written")
            << QString() << false << false << QString() << false << false;
        QTest::newRow("writing not wanted: the earlier entry goes")
            << QString() << false << false << QStringLiteral("own") << false << true;
    }
    void installedEntryDecidesRegistration()
    {
        QFETCH(QString, exec);
        QFETCH(bool, inUserFolder);
        QFETCH(bool, writeWanted);
        QFETCH(QString, earlier);
        QFETCH(bool, userEntryAfter);
        QFETCH(bool, changed);
        // A folder without blanks: the unquoted Exec lines could not name it.
        QTemporaryDir root(QDir::tempPath() + QStringLiteral("/qbe-XXXXXX"));
        QVERIFY(root.isValid());
        const auto WriteWithFolders = [](const QString &path, const QByteArray &bytes) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            return TestSupport::WriteFile(path, bytes);
        };
        const QString bin = root.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        const QString program = TestSupport::WriteScript(bin, QStringLiteral("quarn-basic-editor"), "exit 0\n");
        QVERIFY(!program.isEmpty());
        QVERIFY(QFile::link(program, bin + QStringLiteral("/qbe-link")));

        ShellFileTypes::Desktop desktop;
        desktop.systemDataDirs = {root.filePath(QStringLiteral("usr-share"))};
        desktop.userDataDir = root.filePath(QStringLiteral("user-share"));
        desktop.searchPath = {root.filePath(QStringLiteral("empty")), bin};
        const QString desktopFile = QStringLiteral("org.example.Test.desktop");
        if (!exec.isEmpty()) {
            const QString folder = inUserFolder ? desktop.userDataDir : desktop.systemDataDirs.constFirst();
            const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Installed\nExec=" + exec.arg(bin).toUtf8()
                                     + "\n[Desktop Action New]\nExec=other\n";
            QVERIFY(!WriteWithFolders(folder + QStringLiteral("/applications/") + desktopFile, entry).isEmpty());
        }
        const QString userEntry = desktop.userDataDir + QStringLiteral("/applications/QuarnBASIC.Code.desktop");
        const QString userMime = desktop.userDataDir + QStringLiteral("/mime/packages/QuarnBASIC.Code.xml");
        if (!earlier.isEmpty()) {
            // An entry this program wrote for a build in another place, or one of somebody else's.
            const QByteArray content =
                earlier == QLatin1String("own")
                    ? ShellFileTypes::DesktopEntry(QStringLiteral("/home/u/build/quarn-basic-editor")).toUtf8()
                    : QByteArray("[Desktop Entry]\nType=Application\nName=Mine\nExec=mine %F\n");
            QVERIFY(!WriteWithFolders(userEntry, content).isEmpty());
            if (earlier == QLatin1String("own"))
                QVERIFY(!WriteWithFolders(userMime, ShellFileTypes::MimePackage().toUtf8()).isEmpty());
        }

        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(root.filePath(QStringLiteral("no-tools"))));
        const bool result = ShellFileTypes::Update(program, desktopFile, desktop, writeWanted);
        qputenv("PATH", oldPath);

        QCOMPARE(result, changed);
        QCOMPARE(QFile::exists(userEntry), userEntryAfter);
        if (earlier != QLatin1String("foreign"))
            QCOMPARE(QFile::exists(userMime), userEntryAfter);
        if (userEntryAfter && earlier != QLatin1String("foreign"))
            QVERIFY(TestSupport::ReadFile(userEntry).contains(QFile::encodeName(program)));
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
        QTest::newRow("newline") << QStringLiteral("/opt/a\nIcon=evil/q")
                                 << QStringLiteral("Exec=\"/opt/a\\nIcon=evil/q\" -dde %F\n");
        QTest::newRow("carriage return") << QStringLiteral("/opt/a\rb/q")
                                         << QStringLiteral("Exec=\"/opt/a\\rb/q\" -dde %F\n");
        QTest::newRow("tab") << QStringLiteral("/opt/a\tb/q") << QStringLiteral("Exec=\"/opt/a\\tb/q\" -dde %F\n");
    }
    // Fault mended: a newline, tab, backslash or percent sign in the program's path broke the desktop entry.
    void execLineQuotesTheProgramPath()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        const QString entry = ShellFileTypes::DesktopEntry(program);
        QVERIFY2(entry.contains(exec), qPrintable(entry));
        QCOMPARE(entry.count(QLatin1String("\nIcon=")), 1);
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing: scripts/deps.sh installs it");
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
        QVERIFY2(check.exitCode() == 0 && !said.contains("error"), said.constData());
    }
};

QBE_TEST_MAIN(TestShellIntegration)
#include "tst_shellintegration.moc"
