// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "build/buildlogdlg.h"
#include "core/settingsnames.h"
#include "core/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
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

constexpr int kWaitMs = 30000;
} // namespace

class TestBuildLogDlg : public QObject
{
    Q_OBJECT

    QString Helper() const { return QStringLiteral(QBE_TEST_HELPER); }

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
        if (!log.Execute(Helper(), Args(words), folder.isEmpty() ? m_dir->path() : folder))
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
        QTest::newRow("CR LF split between two reads")
            << QStringList{"out=xa\\r", "wait", "out=\\nb"} << "xa\r\nb";
        QTest::newRow("CR at the very end") << QStringList{"out=a\\r"} << "a\r";
        QTest::newRow("character split between two reads")
            << QStringList{"out=xcaf\\xc3", "wait", "out=\\xa9!"} << QString::fromUtf8("xcaf\xc3\xa9!");
        QTest::newRow("tabs and blanks") << QStringList{"out=\\tx  y \\n"} << "\tx  y \n";
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
        QVERIFY(log.Execute(Helper(), Args({"out=x"}), m_dir->path()));
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
        QVERIFY(log.Execute(Helper(), Args({"out=x"}), m_dir->path()));
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
            QVERIFY(log.Execute(Helper(), Args({"exit=0"}), m_dir->path()));
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
        QVERIFY(log.Execute(Helper(), Args({"exit=0"}), m_dir->path()));
        QCOMPARE(second, QSize(500, 310));
    }

    void missingProgramShowsNoWindow_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("folder");
        QTest::newRow("no such program") << "/nonexistent/qrx" << "";
        QTest::newRow("a folder, not a program") << "/tmp" << "";
        QTest::newRow("no such working folder") << QBE_TEST_HELPER << "/nonexistent/folder/";
    }
    void missingProgramShowsNoWindow()
    {
        QFETCH(QString, program);
        QFETCH(QString, folder);
        ModalDriver driver;
        driver.Otherwise([](QWidget *log) { log->close(); });
        CBuildLogDlg log;
        QVERIFY(!log.Execute(program, QStringLiteral("x"), folder.isEmpty() ? m_dir->path() : folder));
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
            QVERIFY(log.Execute(Helper(),
                                Args({QStringLiteral("pid=") + pidFile, "stream=10:100", "bytes=2000000",
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
