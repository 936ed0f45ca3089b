// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The main window's place and the open files come back at the next start.
#include "testsupport.h"

#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "app/session.h"
#include "app/sessionkeeper.h"
#include "core/recentlyused.h"
#include "core/settingsstore.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUrl>

#include <csignal>

namespace {
constexpr int kWaitMs = 30000;

CEditorApp *App()
{
    return CEditorApp::Instance();
}

// Where each open file's caret and first shown line are, in window order.
QList<Session::File> Places()
{
    QList<Session::File> places;
    const QList<QMdiSubWindow *> windows = App()->MainFrame()->MdiArea()->subWindowList();
    for (QMdiSubWindow *window : windows) {
        auto *view = window->findChild<CRichSyntaxView *>();
        places.append({view->GetDocument()->GetPathName(), view->textCursor().blockNumber() + 1,
                       view->verticalScrollBar()->value() + 1});
    }
    return places;
}
} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LimitForTest<bool> m_restore{Session::s_restoreByDefault, true};
    LimitForTest<int> m_delay{CSessionKeeper::s_writeDelayMs, 20};

    QString Source(const QString &name)
    {
        QByteArray text;
        for (int i = 1; i <= 300; ++i)
            text += "print " + QByteArray::number(i) + "\r\n";
        return TestSupport::WriteFile(m_dir.filePath(name), text);
    }

    // Opens path with the caret on line and top as the first line shown.
    void OpenAt(const QString &path, int line, int top)
    {
        QVERIFY(App()->OpenDocumentFile(path));
        CRichSyntaxView *view = App()->MainFrame()->ActiveView();
        view->GoToPosition(line, 0);
        view->verticalScrollBar()->setValue(top - 1);
    }

private Q_SLOTS:
    void init() { QFile::remove(TestSupport::SettingsFolder() + QStringLiteral("/TRZ.ini")); }
    void cleanup() { App()->ExitInstance(); }

    void filesComeBackInOrderWhereTheyWere()
    {
        const QString a = Source(QStringLiteral("a.qrx")), b = Source(QStringLiteral("b.qrx")),
                      c = Source(QStringLiteral("c.qrx"));
        QVERIFY(App()->InitInstance({}));
        OpenAt(a, 120, 100);
        OpenAt(b, 7, 1);
        OpenAt(c, 250, 230);
        App()->MainFrame()->MdiArea()->setActiveSubWindow(App()->MainFrame()->MdiArea()->subWindowList().at(1));
        const QList<Session::File> before = Places();
        QVERIFY(App()->OnAppExit());
        App()->ExitInstance();

        MessageBoxRecorder boxes;
        QVERIFY(App()->InitInstance({}));
        QTRY_COMPARE(Places(), before);
        QCOMPARE(App()->MainFrame()->ActiveDocument()->GetPathName(), b);
        QCOMPARE(boxes.Texts(), QStringList());
        App()->ExitInstance();

        // A file that is gone is named once and leaves the session; the others
        // come, a shorter one with the caret on its last line.
        QVERIFY(QFile::remove(a));
        QVERIFY(!TestSupport::WriteFile(c, "cls\r\ncls\r\n").isEmpty());
        QVERIFY(App()->InitInstance({}));
        QTRY_COMPARE(Places().size(), 2);
        QCOMPARE(Places().constFirst(), before.at(1));
        QCOMPARE(Places().constLast().line, 3);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("A file of the last session was not found and was "
                                                           "not reopened:\n\n%1")
                                                .arg(QDir::toNativeSeparators(a))});
        QTRY_COMPARE(Session::ReadFiles().files.size(), 2);
        App()->ExitInstance();

        // Turned off, a plain start opens nothing; a start with a file opens that one only.
        CSettingsStore().WriteInt(0, QStringLiteral("Session"), QStringLiteral("Restore"));
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(App()->MainFrame()->MdiArea()->subWindowList().size(), 0);
        App()->ExitInstance();
        CSettingsStore().WriteInt(1, QStringLiteral("Session"), QStringLiteral("Restore"));
        QVERIFY(App()->InitInstance({c}));
        QCOMPARE(App()->MainFrame()->MdiArea()->subWindowList().size(), 1);
    }

#ifdef Q_OS_UNIX
    // The session is written as it changes: an editor that is killed leaves it.
    void killedEditorsFilesComeBack()
    {
        const QString path = Source(QStringLiteral("crash.qrx"));
        ChildProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(QBE_TEST_HELPER), {QStringLiteral("editor=%1:typed").arg(path)});
        QVERIFY(editor.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(Session::ReadFiles().files.size(), 1, kWaitMs);
        ::kill(pid_t(editor.processId()), SIGKILL);
        QVERIFY(editor.waitForFinished());
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(App()->MainFrame()->MdiArea()->subWindowList().size(), 1);
        QCOMPARE(App()->MainFrame()->ActiveDocument()->GetPathName(), path);
    }
#endif

    void recentFileComesBackAtItsLine()
    {
        const QString path = Source(QStringLiteral("recent.qrx"));
        QVERIFY(App()->InitInstance({}));
        OpenAt(path, 140, 130);
        // The desktop's shared list has it too.
        QVERIFY(TestSupport::ReadFile(RecentlyUsed::ListPath()).contains(QUrl::fromLocalFile(path).toEncoded()));
        App()->MainFrame()->MdiArea()->closeActiveSubWindow();
        QTRY_COMPARE(Session::RecentLine(path), 140);
        App()->OnOpenRecentFile(0);
        QCOMPARE(App()->MainFrame()->ActiveView()->textCursor().blockNumber() + 1, 140);
    }

    void windowPlaceComesBackInsideTheScreen_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("as it was") << QRect(40, 30, 500, 400) << false;
        QTest::newRow("maximised") << QRect(40, 30, 500, 400) << true;
        QTest::newRow("larger than the screen") << QRect(-50, -50, 5000, 4000) << false;
        QTest::newRow("on a screen no longer there") << QRect(3000, 2000, 300, 200) << false;
    }
    void windowPlaceComesBackInsideTheScreen()
    {
        QFETCH(QRect, stored);
        QFETCH(bool, maximized);
        Session::WriteWindowPlace({stored, maximized});
        QVERIFY(App()->InitInstance({}));
        CMainFrame *frame = App()->MainFrame();
        const QRect available = frame->screen()->availableGeometry();
        QTRY_COMPARE(frame->isMaximized(), maximized);
        QTRY_VERIFY(available.contains(frame->frameGeometry()));
        const QRect shown = QRect(frame->pos(), frame->size());
        if (available.contains(stored))
            QCOMPARE(shown, stored);
        // What the run ends with is what the next one finds: File > Exit closes
        // the window before the run ends.
        QVERIFY(frame->close());
        App()->ExitInstance();
        const std::optional<Session::WindowPlace> kept = Session::ReadWindowPlace();
        QVERIFY(kept);
        QCOMPARE(kept->maximized, maximized);
        QCOMPARE(kept->rect, maximized ? stored : shown);
    }

    void fitInside_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("fitted");
        const QRect screen(0, 0, 640, 512); // 1280×1024 at twice the scale
        QTest::newRow("fits") << QRect(10, 10, 300, 200) << QRect(10, 10, 300, 200);
        QTest::newRow("first size, too tall") << QRect(0, 0, 550, 550) << QRect(0, 0, 550, 512);
        QTest::newRow("off to the right") << QRect(600, 10, 300, 200) << QRect(340, 10, 300, 200);
        QTest::newRow("above and left") << QRect(-100, -100, 300, 200) << QRect(0, 0, 300, 200);
        QTest::newRow("larger every way") << QRect(-10, -10, 2000, 2000) << screen;
    }
    void fitInside()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, fitted);
        QCOMPARE(Session::FitInside(wanted, QRect(0, 0, 640, 512)), fitted);
    }
};

QBE_TEST_MAIN(TestSession)
#include "tst_session.moc"
