// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "build/buildlogdlg.h"
#include "core/settingsnames.h"
#include "core/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QProcess>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#endif

namespace {
// The argument text that reaches the helper as these words.
QString Args(const QStringList &words)
{
    QStringList quoted;
    for (const QString &word : words)
        quoted.append(QLatin1Char('"') + word + QLatin1Char('"'));
    return quoted.join(QLatin1Char(' '));
}

// The helper's bytes=N output.
QString CompilerLines(qint64 count)
{
    QByteArray all;
    qint64 line = 0;
    while (all.size() < count)
        all += "pong.qrx(" + QByteArray::number(++line) + ") : compiling statement, 0x08000000 bytes free\n";
    all.truncate(count);
    return QString::fromUtf8(all);
}

// What the control shows for text put into it in one call.
QString ShownInOneCall(const QString &text)
{
    QPlainTextEdit edit;
    edit.setPlainText(text);
    return edit.toPlainText();
}

int OrphanCount()
{
    return qApp->findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly).size();
}

QPlainTextEdit *Text(QWidget *log)
{
    return log->findChild<QPlainTextEdit *>();
}

constexpr int kWaitMs = 120000;
} // namespace

class TestBuildLogDlg : public QObject
{
    Q_OBJECT

    // The helper with words as its arguments.
    static BuildText::Invocation Helper(const QStringList &words)
    {
        return {QStringLiteral(QBE_TEST_HELPER), words, Args(words)};
    }

    // The helper's word that the test has seen what it wrote so far.
    QString Go() const { return m_dir->path() + QStringLiteral("/go"); }
    QString WaitForGo() const { return QStringLiteral("wait=") + Go(); }
    void SayGo() const
    {
        QFile file(Go());
        file.open(QIODevice::WriteOnly);
    }

    // Runs the helper with words through a log window; step, when given, acts
    // on the open window first. Returns what the window shows once the child
    // has ended.
    QString RunToEnd(const QStringList &words, const std::function<void(CBuildLogDlg *)> &step = {},
                     const QString &folder = QString())
    {
        CBuildLogDlg log;
        bool finished = false;
        connect(&log, &CBuildLogDlg::Finished, this, [&finished] { finished = true; });
        QString shown;
        ModalDriver driver;
        driver.Then([&](QWidget *) {
            if (step)
                step(&log);
            if (!QTest::qWaitFor([&finished] { return finished; }, kWaitMs))
                shown = QStringLiteral("<timed out>");
            else
                shown = Text(&log)->toPlainText();
            log.close();
        });
        if (!log.Execute(Helper(words), folder.isEmpty() ? m_dir->path() : folder))
            return QStringLiteral("<not started>");
        return shown;
    }

    // A step that lets the helper go on once the window shows text.
    std::function<void(CBuildLogDlg *)> GoOnceShown(const QString &text)
    {
        return [this, text](CBuildLogDlg *log) {
            QVERIFY(QTest::qWaitFor([log, text] { return Text(log)->toPlainText().contains(text); }, kWaitMs));
            SayGo();
        };
    }

private Q_SLOTS:
    // A compiler that ignores the request to stop is killed sooner here.
    void initTestCase() { CBuildLogDlg::s_stopGraceMs.SetForTests(200); }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        CSettingsStore store;
        store.WriteInt(0, SettingsNames::kLogSection, SettingsNames::kLogWidth);
        store.WriteInt(0, SettingsNames::kLogSection, SettingsNames::kLogHeight);
    }
    void cleanup()
    {
        // No child outlives its test.
        QTRY_COMPARE_WITH_TIMEOUT(OrphanCount(), 0, 30000);
    }

    void outputInArrivalOrder_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("shown");
        QTest::newRow("standard output") << QStringList{"out=first\\n", "out=second\\n"} << "first\nsecond\n";
        QTest::newRow("standard error interleaved")
            << QStringList{"out=one\\n", "err=two\\n", "out=three\\n", "err=four"} << "one\ntwo\nthree\nfour";
        QTest::newRow("nothing written") << QStringList{"exit=0"} << "";
        QTest::newRow("failing exit status shown no differently") << QStringList{"out=error!", "exit=3"} << "error!";
    }
    void outputInArrivalOrder()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, shown);
        QCOMPARE(RunToEnd(words), shown);
    }

    void decoder_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QList<QByteArray>{"abc"} << "abc";
        QTest::newRow("a UTF-8 character cut after its first byte")
            << QList<QByteArray>{"caf\xc3", "\xa9"} << QString::fromUtf8("café");
        QTest::newRow("a four-byte character cut twice")
            << QList<QByteArray>{"\xf0\x9f", "\x98", "\x80!"} << QString::fromUtf8("\xf0\x9f\x98\x80!");
        QTest::newRow("a cut sequence that never ends") << QList<QByteArray>{"ab\xe2\x82"} << QString::fromUtf8("abâ‚");
        QTest::newRow("overlong form is two Windows-1252 bytes")
            << QList<QByteArray>{"\xc0\x80"} << QString::fromUtf8("À€");
        QTest::newRow("surrogate half is three bytes")
            << QList<QByteArray>{"\xed\xa0\x80"} << QString::fromUtf8("í\u00a0€");
        QTest::newRow("lead without its follower") << QList<QByteArray>{"\xc3x"} << QString::fromUtf8("Ãx");
        QTest::newRow("zero bytes") << QList<QByteArray>{QByteArray("a\0b", 3), QByteArray("\0", 1)} << "ab";
        QTest::newRow("line ends") << QList<QByteArray>{"a\r\nb\nc\rd"} << "a\nb\nc\nd";
        QTest::newRow("CR LF cut") << QList<QByteArray>{"a\r", "\nb"} << "a\nb";
        QTest::newRow("CR at the end") << QList<QByteArray>{"a\r"} << "a\n";
        QTest::newRow("colours dropped") << QList<QByteArray>{"\x1b[01m\x1b[Kx.qrx:1:\x1b[m \x1b[01;31merror\x1b[0m"}
                                         << "x.qrx:1: error";
        QTest::newRow("a colour cut by the read") << QList<QByteArray>{"a\x1b", "[3", "1mb\x1b[", "m"} << "ab";
        QTest::newRow("an escape that starts no sequence stays") << QList<QByteArray>{"a\x1b"
                                                                                      "b \x1b[1\n"}
                                                                 << QString::fromUtf8("a\x1b"
                                                                                      "b \x1b[1\n");
        QTest::newRow("a sequence cut by the end stays")
            << QList<QByteArray>{"a\x1b[1"} << QString::fromUtf8("a\x1b[1");
    }
    void decoder()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QString, text);
        CLogDecoder decoder;
        QString shown;
        for (const QByteArray &bytes : reads)
            shown += decoder.Decode(bytes);
        shown += decoder.Finish();
        QCOMPARE(shown, text);
    }

    // Fault mended: one long line of output laid out one growing block again for every piece of it.
    void documentBlocks()
    {
        const QChar line(QChar::LineSeparator);
        const QChar block(QChar::ParagraphSeparator);
        LogText::Shape shape;
        QCOMPARE(LogText::ForDocument(QStringLiteral("a\nbc\n"), &shape), QStringLiteral("a") + line + "bc" + line);
        QCOMPARE(shape.blockChars, 5);
        // A line that ends past a block's share ends the block.
        shape.blockChars = LogText::kBlockChars - 1;
        QCOMPARE(LogText::ForDocument(QStringLiteral("xy\nz"), &shape), QStringLiteral("xy") + block + "z");
        QCOMPARE(shape.blockChars, 1);
        // A long line goes on in short rows, every character kept.
        shape = LogText::Shape();
        const QString longLine(LogText::kLongLineChars + 2 * LogText::kRowChars + 10, QLatin1Char('q'));
        const QString shaped = LogText::ForDocument(longLine, &shape);
        QCOMPARE(shaped.count(block) + shaped.count(line), 3);
        QCOMPARE(QString(shaped).remove(block).remove(line), longLine);
        QCOMPARE(shape.rowChars, 10);
        // The next line starts with a full first row again.
        LogText::ForDocument(QStringLiteral("\n"), &shape);
        QVERIFY(!shape.longLine);
    }

    void outputThatComesLater()
    {
        QCOMPARE(RunToEnd({"out=early\\n", WaitForGo(), "err=late\\n", "out=last"}, GoOnceShown("early")),
                 QStringLiteral("early\nlate\nlast"));
    }

    void bytesAsReceived_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("text");
        // Regression: a zero byte ended the text of its whole read.
        QTest::newRow("zero byte drops only itself") << QStringList{"out=ab\\0cd\\n\\0\\0ef"} << "abcd\nef";
        QTest::newRow("lone line feeds") << QStringList{"out=a\\nb\\n"} << "a\nb\n";
        QTest::newRow("CR LF pairs") << QStringList{"out=a\\r\\nb\\r\\n"} << "a\r\nb\r\n";
        QTest::newRow("lone carriage return") << QStringList{"out=a\\rb"} << "a\rb";
        QTest::newRow("CR LF split between two reads") << QStringList{"out=xa\\r", "wait", "out=\\nb"} << "xa\r\nb";
        QTest::newRow("CR at the very end") << QStringList{"out=a\\r"} << "a\r";
        QTest::newRow("character split between two reads")
            << QStringList{"out=xcaf\\xc3", "wait", "out=\\xa9!"} << QString::fromUtf8("xcaf\xc3\xa9!");
        QTest::newRow("tabs and blanks") << QStringList{"out=\\tx  y \\n"} << "\tx  y \n";
        // Fault mended: bytes of the Windows code page showed as replacement characters.
        QTest::newRow("Windows-1252 bytes")
            << QStringList{"out=caf\\xe9 \\x80 \\x93q\\x94\\n"} << QString::fromUtf8("café € “q”\n");
        QTest::newRow("UTF-8") << QStringList{"out=caf\\xc3\\xa9 \\xe2\\x82\\xac\\n"} << QString::fromUtf8("café €\n");
    }
    void bytesAsReceived()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, text);
        // "wait": the rest comes in a read of its own, once the first part shows.
        const bool split = words.contains(QStringLiteral("wait"));
        words.replaceInStrings(QStringLiteral("wait"), WaitForGo());
        QCOMPARE(RunToEnd(words, split ? GoOnceShown(QStringLiteral("x")) : nullptr), ShownInOneCall(text));
    }

    void largeOutputComesWholeAndInOrder_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("just over one old read") << qint64(1024);
        QTest::newRow("several old reads") << qint64(5000);
        QTest::newRow("more than a pipe holds") << qint64(300000);
        QTest::newRow("megabytes, many slices") << qint64(3000000);
    }
    void largeOutputComesWholeAndInOrder()
    {
        QFETCH(qint64, bytes);
        // The last line is written right before the child ends and must be there too.
        QCOMPARE(RunToEnd({QStringLiteral("bytes=%1").arg(bytes), QStringLiteral("out=END")}),
                 CompilerLines(bytes) + QStringLiteral("END"));
    }

    // Regression: the child's standard input was a pipe that nobody wrote to or
    // closed, so a compiler that reads it never ended.
    void childReadingStandardInputMeetsItsEnd()
    {
        QCOMPARE(RunToEnd({"stdin=any", "out=after"}), QStringLiteral("stdin: 0 bytes\nafter"));
    }

    void childRunsInTheFolder()
    {
        const QString folder = m_dir->path() + QStringLiteral("/my project");
        QVERIFY(QDir().mkpath(folder));
        const QString record = m_dir->path() + QStringLiteral("/record.txt");
        const QString before = QDir::currentPath();
        QCOMPARE(RunToEnd({QStringLiteral("record=") + record, QStringLiteral("out=ok")}, {}, folder),
                 QStringLiteral("ok"));
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readLine()).trimmed(), QDir(folder).canonicalPath());
        QCOMPARE(QDir::currentPath(), before);
    }

    void userTypedTextStaysAndOutputFollowsIt()
    {
        bool caretBack = false;
        const QString shown = RunToEnd({"out=first\\n", WaitForGo(), "out=second\\n"}, [&](CBuildLogDlg *log) {
            QPlainTextEdit *edit = Text(log);
            QVERIFY(QTest::qWaitFor([edit] { return edit->toPlainText().contains(QLatin1String("first")); }, kWaitMs));
            QTest::keyClicks(edit, QStringLiteral("typed"));
            // The caret goes elsewhere; the next tick brings it back.
            QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
            caretBack = QTest::qWaitFor([edit] { return edit->textCursor().atEnd(); }, kWaitMs);
            SayGo();
        });
        QCOMPARE(shown, QStringLiteral("first\ntypedsecond\n"));
        QVERIFY(caretBack);
    }

    void caretFollowsTheOutput()
    {
        bool atEnd = false;
        RunToEnd({"bytes=20000"}, [&](CBuildLogDlg *log) {
            QPlainTextEdit *edit = Text(log);
            atEnd = QTest::qWaitFor([edit] { return edit->document()->characterCount() > 20000; }, kWaitMs)
                    && edit->textCursor().atEnd() && !edit->textCursor().hasSelection();
        });
        QVERIFY(atEnd);
    }

    void escapeAndTheCloseBoxClose_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("escape") << true;
        QTest::newRow("close box") << false;
    }
    void escapeAndTheCloseBoxClose()
    {
        QFETCH(bool, escape);
        bool editable = false;
        CBuildLogDlg log;
        ModalDriver driver;
        driver.Then([&](QWidget *) {
            editable = !Text(&log)->isReadOnly();
            if (escape)
                QTest::keyClick(Text(&log), Qt::Key_Escape);
            else
                log.close();
        });
        QVERIFY(log.Execute(Helper({"out=x"}), m_dir->path()));
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(editable);
        QVERIFY(!log.isVisible());
    }

    void windowIsAModalToolWindowWithOneControl()
    {
        bool ok = false;
        CBuildLogDlg log;
        ModalDriver driver;
        driver.Then([&](QWidget *) {
            ok = log.isModal() && (log.windowFlags() & Qt::WindowType_Mask) == Qt::Tool
                 && log.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size() == 1
                 && Text(&log)->lineWrapMode() == QPlainTextEdit::NoWrap && Text(&log)->geometry() == log.rect()
                 && log.windowTitle() == QLatin1String("Log");
            log.close();
        });
        QVERIFY(log.Execute(Helper({"out=x"}), m_dir->path()));
        QVERIFY(ok);
    }

    void sizeIsStoredAndComesBack()
    {
        QSize first;
        {
            CBuildLogDlg log;
            ModalDriver driver;
            driver.Then([&](QWidget *) {
                first = log.size();
                log.resize(500, 310);
                log.close();
            });
            QVERIFY(log.Execute(Helper({"exit=0"}), m_dir->path()));
        }
        QCOMPARE(first, CBuildLogDlg::DefaultSize());
        CSettingsStore store;
        QCOMPARE(store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogWidth), 500);
        QCOMPARE(store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogHeight), 310);

        QSize second;
        CBuildLogDlg log;
        ModalDriver driver;
        driver.Then([&](QWidget *) {
            second = log.size();
            log.close();
        });
        QVERIFY(log.Execute(Helper({"exit=0"}), m_dir->path()));
        QCOMPARE(second, QSize(500, 310));
    }

    void missingProgramShowsNoWindow_data()
    {
        // clang-format off
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("folder");
        QTest::newRow("no such program") << "/nonexistent/qrx" << "";
        QTest::newRow("a folder, not a program") << "/tmp" << "";
        QTest::newRow("no such working folder") << QBE_TEST_HELPER << "/nonexistent/folder/";
        // clang-format on
    }
    void missingProgramShowsNoWindow()
    {
        QFETCH(QString, program);
        QFETCH(QString, folder);
        ModalDriver driver;
        driver.Otherwise([](QWidget *log) { log->close(); });
        CBuildLogDlg log;
        QVERIFY(!log.Execute({program, {QStringLiteral("x")}, QStringLiteral("x")},
                             folder.isEmpty() ? m_dir->path() : folder));
        QCOMPARE(driver.Handled(), 0);
        QVERIFY(!log.isVisible());
    }

    // Regression: closing the log early left the child blocked on a full pipe.
    void earlyCloseLeavesTheChildRunningToItsEnd()
    {
        const QString pidFile = m_dir->path() + QStringLiteral("/pid");
        const QString record = m_dir->path() + QStringLiteral("/done");
        ModalDriver driver;
        driver.Then([&](QWidget *log) {
            QVERIFY(QTest::qWaitFor([&pidFile] { return QFile::exists(pidFile); }, kWaitMs));
            log->close();
        });
        {
            CBuildLogDlg log;
            QVERIFY(log.Execute(Helper({QStringLiteral("pid=") + pidFile, "stream=10:100", "bytes=2000000",
                                        QStringLiteral("record=") + record}),
                                m_dir->path()));
        }
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const qint64 pid = file.readAll().toLongLong();
        QVERIFY(pid > 0);
        QVERIFY(!QFile::exists(record));
#ifdef Q_OS_UNIX
        // Still running after the window has gone.
        QCOMPARE(::kill(pid_t(pid), 0), 0);
#endif
        // The child writes far more than a pipe holds and still gets to its end.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(OrphanCount(), 0, 30000);
    }

    void exitStatusInTheStatusBar_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("status");
        QTest::newRow("success") << QStringList{"out=ok"} << "Compiler finished with exit code 0";
        QTest::newRow("failure") << QStringList{"out=error!", "exit=3"} << "Compiler finished with exit code 3";
#ifdef Q_OS_UNIX
        QTest::newRow("crash") << QStringList{"out=boom", "crash"} << "Compiler crashed (signal 6)";
#else
        QTest::newRow("crash") << QStringList{"out=boom", "crash"} << "Compiler crashed";
#endif
    }
    void exitStatusInTheStatusBar()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, status);
        StatusRecorder statusBar;
        const QString shown = RunToEnd(words);
        QCOMPARE(statusBar.messages, QStringList{status});
        // The log itself holds only what the compiler wrote.
        QVERIFY(!shown.contains(QLatin1String("Compiler")));
    }

    void stopEndsACompilerThatNeverEnds_data()
    {
        QTest::addColumn<bool>("key");
        QTest::addColumn<bool>("ignoresTerminate");
        QTest::newRow("Ctrl+Break") << true << false;
        QTest::newRow("context menu") << false << false;
        QTest::newRow("one that ignores the request is killed") << true << true;
    }
    void stopEndsACompilerThatNeverEnds()
    {
        QFETCH(bool, key);
        QFETCH(bool, ignoresTerminate);
        StatusRecorder statusBar;
        QStringList words{"stream=1000000:20"};
        if (ignoresTerminate)
            words.prepend(QStringLiteral("ignoreterm"));
        QString workerFile;
#ifdef Q_OS_UNIX
        // Fault mended: a worker the compiler started ran on after Stop.
        workerFile = m_dir->filePath(QStringLiteral("worker.pid"));
        words.prepend(QStringLiteral("worker=") + workerFile);
#endif
        const QString shown = RunToEnd(words, [key, workerFile](CBuildLogDlg *log) {
            QPlainTextEdit *text = Text(log);
            QVERIFY(QTest::qWaitFor([text] { return text->toPlainText().contains(QLatin1String("line 3")); }, kWaitMs));
            QVERIFY(
                QTest::qWaitFor([workerFile] { return workerFile.isEmpty() || QFile::exists(workerFile); }, kWaitMs));
            if (key) {
                QTest::keyClick(text, Qt::Key_Pause, Qt::ControlModifier);
                return;
            }
            Q_EMIT text->customContextMenuRequested(QPoint(5, 5));
            QMenu *menu = nullptr;
            QVERIFY(QTest::qWaitFor(
                [&menu] {
                    for (QWidget *widget : QApplication::topLevelWidgets()) {
                        if (auto *shownMenu = qobject_cast<QMenu *>(widget); shownMenu && shownMenu->isVisible())
                            menu = shownMenu;
                    }
                    return menu != nullptr;
                },
                kWaitMs));
            const QList<QAction *> actions = menu->actions();
            QAction *stop = nullptr;
            for (QAction *action : actions) {
                if (action->text() == QLatin1String("Stop Compiler"))
                    stop = action;
            }
            QVERIFY(stop && stop->isEnabled());
            stop->trigger();
            menu->close();
        });
        QVERIFY(shown.startsWith(QStringLiteral("line 1\n")));
        QCOMPARE(statusBar.messages, QStringList{QStringLiteral("Compiler stopped")});
#ifdef Q_OS_UNIX
        QFile file(workerFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t worker = pid_t(file.readAll().toLongLong());
        QVERIFY(worker > 0);
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::ProcessIsGone(worker), kWaitMs);
#endif
    }

    // A compile whose log was closed and that ends after a newer one never
    // overwrites the newer one's text.
    void aLaterCompilesEndTextStays()
    {
        StatusRecorder statusBar;
        {
            CBuildLogDlg first;
            ModalDriver driver;
            driver.Then([&first](QWidget *) {
                QVERIFY(QTest::qWaitFor([&first] { return Text(&first)->toPlainText().contains("waiting"); }, kWaitMs));
                first.close();
            });
            QVERIFY(first.Execute(Helper({"out=waiting", WaitForGo()}), m_dir->path()));
        }
        QCOMPARE(RunToEnd({"out=second"}), QStringLiteral("second"));
        SayGo();
        QTRY_COMPARE_WITH_TIMEOUT(OrphanCount(), 0, kWaitMs);
        QCOMPARE(statusBar.messages, QStringList{QStringLiteral("Compiler finished with exit code 0")});
    }

    void navigationLinesAreChosenByDoubleClickAndEnter_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("double-click") << true;
        QTest::newRow("Enter") << false;
    }
    void navigationLinesAreChosenByDoubleClickAndEnter()
    {
        QFETCH(bool, doubleClick);
        CBuildLogDlg log;
        bool finished = false;
        connect(&log, &CBuildLogDlg::Finished, this, [&finished] { finished = true; });
        Qt::CursorShape overPosition = Qt::ArrowCursor;
        Qt::CursorShape overOther = Qt::ArrowCursor;
        QString afterEnterOnPlainLine;
        ModalDriver driver;
        driver.Then([&](QWidget *) {
            QVERIFY(QTest::qWaitFor([&finished] { return finished; }, kWaitMs));
            QPlainTextEdit *text = Text(&log);
            QTextCursor line(text->document()->firstBlock());
            const QRect plain = text->cursorRect(line);
            line.movePosition(QTextCursor::Down);
            const QRect error = text->cursorRect(line);
            auto moveTo = [text](const QPoint &point) {
                QMouseEvent move(QEvent::MouseMove, point, text->viewport()->mapToGlobal(point), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(text->viewport(), &move);
                return text->viewport()->cursor().shape();
            };
            overPosition = moveTo(error.center() + QPoint(20, 0));
            overOther = moveTo(plain.center() + QPoint(20, 0));
            // Enter elsewhere still breaks the line.
            QTextCursor start(text->document());
            text->setTextCursor(start);
            QTest::keyClick(text, Qt::Key_Return);
            afterEnterOnPlainLine = text->toPlainText();
            if (doubleClick) {
                QTest::mouseDClick(text->viewport(), Qt::LeftButton, Qt::NoModifier, text->cursorRect(line).center());
            } else {
                text->setTextCursor(line);
                QTest::keyClick(text, Qt::Key_Return);
            }
        });
        QVERIFY(
            log.Execute(Helper({"out=Compiling\\npong.qrx(12,5) : error: no such label\\ndone\\n"}), m_dir->path()));
        QCOMPARE(overPosition, Qt::PointingHandCursor);
        QCOMPARE(overOther, Qt::IBeamCursor);
        QCOMPARE(afterEnterOnPlainLine, QStringLiteral("\nCompiling\npong.qrx(12,5) : error: no such label\ndone\n"));
        QVERIFY(log.ChosenPosition().has_value());
        QCOMPARE(log.ChosenPosition()->file, QStringLiteral("pong.qrx"));
        QCOMPARE(log.ChosenPosition()->line, 12);
        QCOMPARE(log.ChosenPosition()->column, 5);
        QVERIFY(!log.isVisible());
        const QList<PositionedLine> lines = log.PositionedLines(10);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.constFirst().text, QStringLiteral("pong.qrx(12,5) : error: no such label"));
    }

    // Fault mended: one long line of output froze the editor for minutes.
    void tenMegabytesInOneLine()
    {
        constexpr qint64 kBytes = 10 * 1000 * 1000;
        const QString shown = RunToEnd({QStringLiteral("long=%1").arg(kBytes), "out=\\nend"});
        const QStringList rows = shown.split(QLatin1Char('\n'));
        QCOMPARE(rows.constLast(), QStringLiteral("end"));
        QCOMPARE(rows.mid(0, rows.size() - 1).join(QString()), QString(kBytes, QLatin1Char('x')));
        for (const QString &row : rows)
            QVERIFY(row.size() <= LogText::kLongLineChars);
    }

    // Fault mended: a runaway compiler's output filled the memory.
    void outputPastTheCapIsReadAndLetGo()
    {
        const LimitForTest cap(CBuildLogDlg::s_maxLogBytes, qint64(1) << 20);
        StatusRecorder statusBar;
        const QString record = m_dir->filePath(QStringLiteral("done"));
        const QString shown = RunToEnd({"bytes=3000000", QStringLiteral("record=") + record});
        // The compiler was never held up: it wrote everything and got to its end.
        QVERIFY(QFile::exists(record));
        QVERIFY(shown.size() <= CBuildLogDlg::s_maxLogBytes.Value());
        QVERIFY(shown.size() > CBuildLogDlg::s_maxLogBytes.Value() - 4096);
        QCOMPARE(statusBar.messages,
                 (QStringList{"Compiler output past 1 MiB is not shown",
                              "Compiler finished with exit code 0; output past 1 MiB is not shown"}));
    }

#ifdef Q_OS_UNIX
    // Faults mended: the end of the run waited for a compiler whose log was
    // closed, then killed it; later, its next write to the log that had gone
    // ended it before its image was out.
    void exitWithARunningCompilerIsImmediateAndLetsItFinish()
    {
        const QString pidFile = m_dir->filePath(QStringLiteral("compiler.pid"));
        QProcess editor;
        editor.setProgram(QStringLiteral(QBE_TEST_HELPER));
        editor.setArguments({QStringLiteral("logexit=") + pidFile});
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start();
        QVERIFY(editor.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(editor.state(), QProcess::NotRunning, kWaitMs);
        QCOMPARE(editor.exitCode(), 0);
        QVERIFY(editor.readAllStandardOutput().contains("log closed"));
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t compiler = pid_t(file.readAll().toLongLong());
        QVERIFY(compiler > 0);
        QCOMPARE(::kill(compiler, 0), 0);
        // Now it writes into the closed log, then its image.
        QFile go(pidFile + QStringLiteral(".go"));
        QVERIFY(go.open(QIODevice::WriteOnly));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile + QStringLiteral(".image")), kWaitMs);
    }
#endif

    void closingAfterTheEndLeavesNothingBehind()
    {
        QCOMPARE(RunToEnd({"out=x"}), QStringLiteral("x"));
        QCOMPARE(OrphanCount(), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QBE_TEST_MAIN(TestBuildLogDlg)
#include "tst_buildlogdlg.moc"
