// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "modalpoller.h"

#include "app/settingsstore.h"
#include "build/buildlogdlg.h"

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
} // namespace

class TestBuildLogDlg : public QObject
{
    Q_OBJECT

    QString Helper() const { return QStringLiteral(QBE_TEST_HELPER); }

    // Runs the helper with words through a log window and returns what the
    // window shows once the child has ended.
    QString RunToEnd(const QStringList &words, const QString &folder = QString())
    {
        QString shown;
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            if (!log->ChildEnded())
                return false;
            shown = log->Edit()->toPlainText();
            log->close();
            return true;
        });
        CBuildLogDlg log;
        if (!log.Execute(Helper(), Args(words), folder.isEmpty() ? m_dir->path() : folder))
            return QStringLiteral("<not started>");
        if (poller.TimedOut())
            return QStringLiteral("<timed out>");
        return shown;
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        CSettingsStore store;
        store.WriteInt(0, QStringLiteral("Log"), QStringLiteral("SizeX"));
        store.WriteInt(0, QStringLiteral("Log"), QStringLiteral("SizeY"));
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
        QTest::newRow("across ticks")
            << QStringList{"out=early\\n", "sleep=700", "err=late\\n", "sleep=700", "out=last"}
            << "early\nlate\nlast";
        QTest::newRow("nothing written") << QStringList{"exit=0"} << "";
        QTest::newRow("failing exit status shown no differently") << QStringList{"out=error!", "exit=3"} << "error!";
    }
    void outputInArrivalOrder()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, shown);
        QCOMPARE(RunToEnd(words), shown);
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
            << QStringList{"out=a\\r", "sleep=800", "out=\\nb"} << "a\r\nb";
        QTest::newRow("CR at the very end") << QStringList{"out=a\\r"} << "a\r";
        QTest::newRow("character split between two reads")
            << QStringList{"out=caf\\xc3", "sleep=800", "out=\\xa9!"} << QString::fromUtf8("caf\xc3\xa9!");
        QTest::newRow("tabs and blanks") << QStringList{"out=\\tx  y \\n"} << "\tx  y \n";
    }
    void bytesAsReceived()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, text);
        QCOMPARE(RunToEnd(words), ShownInOneCall(text));
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
        QString shown;
        ModalPoller<CBuildLogDlg> poller(
            [&](CBuildLogDlg *log) {
                if (!log->ChildEnded())
                    return false;
                shown = log->Edit()->toPlainText();
                log->close();
                return true;
            },
            5000);
        CBuildLogDlg log;
        QVERIFY(log.Execute(Helper(), Args({"stdin=any", "out=after"}), m_dir->path()));
        QVERIFY(!poller.TimedOut());
        QCOMPARE(shown, QStringLiteral("stdin: 0 bytes\nafter"));
    }

    void childRunsInTheFolder()
    {
        const QString folder = m_dir->path() + QStringLiteral("/my project");
        QVERIFY(QDir().mkpath(folder));
        const QString record = m_dir->path() + QStringLiteral("/record.txt");
        const QString before = QDir::currentPath();
        QCOMPARE(RunToEnd({QStringLiteral("record=") + record, QStringLiteral("out=ok")}, folder),
                 QStringLiteral("ok"));
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readLine()).trimmed(), QDir(folder).canonicalPath());
        QCOMPARE(QDir::currentPath(), before);
    }

    void userTypedTextStaysAndOutputFollowsIt()
    {
        QString shown;
        bool typed = false;
        bool caretBack = false;
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            QPlainTextEdit *edit = log->Edit();
            if (!typed) {
                if (!edit->toPlainText().contains(QLatin1String("first")))
                    return false;
                QTest::keyClicks(edit, QStringLiteral("typed"));
                // The caret goes elsewhere; the next tick brings it back.
                QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
                typed = true;
                return false;
            }
            if (!caretBack && edit->textCursor().atEnd() && edit->toPlainText().contains(QLatin1String("typed")))
                caretBack = true;
            if (!log->ChildEnded())
                return false;
            shown = edit->toPlainText();
            log->close();
            return true;
        });
        CBuildLogDlg log;
        QVERIFY(log.Execute(Helper(), Args({"out=first\\n", "sleep=2500", "out=second\\n"}), m_dir->path()));
        QVERIFY(!poller.TimedOut());
        QCOMPARE(shown, QStringLiteral("first\ntypedsecond\n"));
        QVERIFY(caretBack);
    }

    void caretFollowsTheOutput()
    {
        bool atEnd = false;
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            if (!log->ChildEnded())
                return false;
            atEnd = log->Edit()->textCursor().atEnd() && !log->Edit()->textCursor().hasSelection();
            log->close();
            return true;
        });
        CBuildLogDlg log;
        QVERIFY(log.Execute(Helper(), Args({"bytes=20000"}), m_dir->path()));
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
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            if (!log->ChildEnded())
                return false;
            editable = !log->Edit()->isReadOnly();
            if (escape)
                QTest::keyClick(log->Edit(), Qt::Key_Escape);
            else
                log->close();
            return true;
        });
        CBuildLogDlg log;
        QVERIFY(log.Execute(Helper(), Args({"out=x"}), m_dir->path()));
        QVERIFY(poller.Done());
        QVERIFY(!poller.TimedOut());
        QVERIFY(editable);
        QVERIFY(!log.isVisible());
    }

    void windowIsAModalToolWindowWithOneControl()
    {
        bool ok = false;
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            ok = log->isModal() && (log->windowFlags() & Qt::WindowType_Mask) == Qt::Tool
                 && log->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size() == 1
                 && log->Edit()->lineWrapMode() == QPlainTextEdit::NoWrap
                 && log->Edit()->geometry() == log->rect() && log->windowTitle() == QLatin1String("Log");
            log->close();
            return true;
        });
        CBuildLogDlg log;
        QVERIFY(log.Execute(Helper(), Args({"out=x"}), m_dir->path()));
        QVERIFY(ok);
    }

    void sizeIsStoredAndComesBack()
    {
        QSize first;
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            first = log->size();
            log->resize(500, 310);
            log->close();
            return true;
        });
        {
            CBuildLogDlg log;
            QVERIFY(log.Execute(Helper(), Args({"exit=0"}), m_dir->path()));
        }
        QCOMPARE(first, CBuildLogDlg::DefaultSize());
        CSettingsStore store;
        QCOMPARE(store.ReadInt(QStringLiteral("Log"), QStringLiteral("SizeX")), 500);
        QCOMPARE(store.ReadInt(QStringLiteral("Log"), QStringLiteral("SizeY")), 310);

        QSize second;
        ModalPoller<CBuildLogDlg> again([&](CBuildLogDlg *log) {
            second = log->size();
            log->close();
            return true;
        });
        CBuildLogDlg log;
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
        ModalPoller<CBuildLogDlg> poller([](CBuildLogDlg *log) {
            log->close();
            return true;
        });
        CBuildLogDlg log;
        QVERIFY(!log.Execute(program, QStringLiteral("x"), folder.isEmpty() ? m_dir->path() : folder));
        QVERIFY(!poller.Seen());
        QVERIFY(!log.isVisible());
    }

    // Regression: closing the log early left the child blocked on a full pipe.
    void earlyCloseLeavesTheChildRunningToItsEnd()
    {
        const QString pidFile = m_dir->path() + QStringLiteral("/pid");
        const QString record = m_dir->path() + QStringLiteral("/done");
        ModalPoller<CBuildLogDlg> poller([&](CBuildLogDlg *log) {
            if (!QFile::exists(pidFile))
                return false;
            log->close();
            return true;
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
