// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/childframe.h"
#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "app/shellopenserver.h"
#include "build/buildlogdlg.h"
#include "core/settingsstore.h"
#include "editor/richsyntaxdoc.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>

class TestStartup : public QObject
{
    Q_OBJECT

    CEditorApp *App() { return CEditorApp::Instance(); }

    QString WriteSource(const QString &name, const QByteArray &bytes)
    {
        return TestSupport::WriteFile(m_dir.filePath(name), bytes);
    }

    void SetRecentFiles(const QStringList &files)
    {
        auto profile = CEditorApp::Profile();
        profile->remove(QStringLiteral("Recent File List"));
        for (int i = 0; i < files.size(); ++i)
            profile->setValue(QStringLiteral("Recent File List/File%1").arg(i + 1), files.at(i));
    }

    QStringList StoredRecentFiles()
    {
        auto profile = CEditorApp::Profile();
        QStringList files;
        for (int i = 1; i <= 4; ++i) {
            const QString file = profile->value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
            if (!file.isEmpty())
                files.append(file);
        }
        return files;
    }

    int OpenWindows() { return App()->MainFrame()->MdiArea()->subWindowList().size(); }

    QStringList MenuTitles()
    {
        QStringList titles;
        const QList<QAction *> actions = App()->MainFrame()->menuBar()->actions();
        for (QAction *action : actions)
            titles.append(action->text());
        return titles;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        CSettingsStore().WriteInt(0, QStringLiteral("Wizard"), QStringLiteral("Open"));
        SetRecentFiles({});
    }

    void cleanup() { App()->ExitInstance(); }

    void noArgumentsOpensNothing()
    {
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(OpenWindows(), 0);
        QCOMPARE(MenuTitles(), (QStringList{QStringLiteral("&File"), QStringLiteral("&Help")}));
        QVERIFY(App()->MainFrame()->isVisible());
        // The window with its frame, where the window system reports one.
        QCOMPARE(App()->MainFrame()->frameGeometry().size(), QSize(550, 550));
        QVERIFY(App()->MainFrame()->size() != QSize(550, 550));
        QCOMPARE(App()->MainFrame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c"));
    }

    void fileOnTheCommandLineOpensMaximised()
    {
        const QString path = WriteSource(QStringLiteral("hello.qrx"), "print \"hi\"\r\n");
        QVERIFY(App()->InitInstance({path}));
        QCOMPARE(OpenWindows(), 1);
        QMdiSubWindow *window = App()->MainFrame()->MdiArea()->subWindowList().constFirst();
        QVERIFY(window->isMaximized());
        CRichSyntaxDoc *doc = App()->MainFrame()->ActiveDocument();
        QVERIFY(doc);
        QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("print \"hi\"\n"));
        QCOMPARE(App()->MainFrame()->frameGeometry().size(), QSize(550, 550));
        QTRY_COMPARE(App()->MainFrame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [hello.qrx]"));
        QCOMPARE(MenuTitles().size(), 5);
        QCOMPARE(App()->RecentFiles()->At(0), QFileInfo(path).absoluteFilePath());
    }

    void missingFileOnTheCommandLineEndsTheRun()
    {
        MessageBoxRecorder boxes;
        QVERIFY(!App()->InitInstance({m_dir.filePath(QStringLiteral("gone.qrx"))}));
        QCOMPARE(boxes.Boxes().size(), 1);
    }

    void printRequestOpensNothing()
    {
        const QString path = WriteSource(QStringLiteral("print.qrx"), "cls\r\n");
        QVERIFY(App()->InitInstance({QStringLiteral("-p"), path}));
        QCOMPARE(OpenWindows(), 0);
        QVERIFY(App()->MainFrame()->isVisible());
    }

    void autoOpenWithEmptyList()
    {
        CSettingsStore().WriteInt(1, QStringLiteral("Wizard"), QStringLiteral("Open"));
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(OpenWindows(), 0);
        QVERIFY(App()->MainFrame()->isVisible());
    }

    void autoOpenReopensMostRecentFile()
    {
        const QString recent = WriteSource(QStringLiteral("recent.qrx"), "cls\r\n");
        const QString older = WriteSource(QStringLiteral("older.qrx"), "cls\r\n");
        SetRecentFiles({recent, older});
        CSettingsStore().WriteInt(1, QStringLiteral("Wizard"), QStringLiteral("Open"));
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(OpenWindows(), 1);
        QCOMPARE(App()->MainFrame()->ActiveDocument()->GetPathName(), recent);
    }

    void autoOpenOffIgnoresTheList()
    {
        SetRecentFiles({WriteSource(QStringLiteral("recent.qrx"), "cls\r\n")});
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(OpenWindows(), 0);
    }

    void autoOpenOfVanishedFileGoesOn()
    {
        // Regression: a vanished most recent file ended every start while auto-open was on.
        const QString vanished = m_dir.filePath(QStringLiteral("vanished.qrx"));
        const QString other = WriteSource(QStringLiteral("other.qrx"), "cls\r\n");
        SetRecentFiles({vanished, other});
        CSettingsStore().WriteInt(1, QStringLiteral("Wizard"), QStringLiteral("Open"));
        MessageBoxRecorder boxes;
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(boxes.Boxes().constFirst().text.contains(QStringLiteral("vanished.qrx")));
        QCOMPARE(OpenWindows(), 0);
        QVERIFY(App()->MainFrame()->isVisible());
        QCOMPARE(App()->RecentFiles()->Files(), QStringList{other});
        App()->ExitInstance();
        QCOMPARE(StoredRecentFiles(), QStringList{other});
    }

    void recentListIsRewrittenAtExit()
    {
        const QString a = WriteSource(QStringLiteral("a.qrx"), "a\r\n");
        SetRecentFiles({QStringLiteral("/nowhere/1.qrx"), QStringLiteral("/nowhere/2.qrx"),
                        QStringLiteral("/nowhere/3.qrx"), QStringLiteral("/nowhere/4.qrx")});
        QVERIFY(App()->InitInstance({a}));
        App()->ExitInstance();
        QCOMPARE(StoredRecentFiles(),
                 (QStringList{a, QStringLiteral("/nowhere/1.qrx"), QStringLiteral("/nowhere/2.qrx"),
                              QStringLiteral("/nowhere/3.qrx")}));
    }

    void settingsAreLoadedAtStart()
    {
        CSettingsStore store;
        store.WriteString(QStringLiteral("/opt/qrx.exe"), QString(), QStringLiteral("Compiler"));
        store.WriteString(QStringLiteral("/opt/emu"), QString(), QStringLiteral("Emulator"));
        store.WriteString(QStringLiteral("/opt/link"), QString(), QStringLiteral("Linker"));
        store.WriteInt(1, QString(), QStringLiteral("Debug"));
        store.WriteString(QStringLiteral("-w %b"), QString(), QStringLiteral("Command Line"));
        store.WriteString(QStringLiteral("/opt/qrh.chm"), QStringLiteral("Help"), QString());
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(App()->Build().Settings().compiler, QStringLiteral("/opt/qrx.exe"));
        QCOMPARE(App()->Build().Settings().emulator, QStringLiteral("/opt/emu"));
        QCOMPARE(App()->Build().Settings().linker, QStringLiteral("/opt/link"));
        QVERIFY(App()->Build().Settings().debug);
        QVERIFY(!App()->Build().Settings().multiBoot);
        QCOMPARE(App()->Build().Settings().linkerArguments, QStringLiteral("-w %b"));
        QCOMPARE(App()->HelpFile().path, QStringLiteral("/opt/qrh.chm"));
    }

    // The desktop ties a started program's windows to its entry by their class,
    // which Qt takes from the application's name.
    void desktopEntryNamesTheWindowClass()
    {
        QSettings entry(QStringLiteral(QBE_SOURCE_DIR "/packaging/org.example.quarnbasic.Editor.desktop"),
                        QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("StartupWMClass")).toString(), QCoreApplication::applicationName());
        QCOMPARE(entry.value(QStringLiteral("StartupNotify")).toString(), QStringLiteral("true"));
    }

    // Other test programs shorten these to save waiting; the program runs with its own.
    void programRunsWithItsOwnLimits()
    {
        QCOMPARE(CRichSyntaxDoc::s_recoveryIntervalMs.Value(), 30000);
        QCOMPARE(CBuildLogDlg::s_maxLogBytes.Value(), qint64(64) << 20);
        QCOMPARE(CBuildLogDlg::EndText(0, QProcess::NormalExit, false, true),
                 QStringLiteral("Compiler finished with exit code 0; output past 64 MiB is not shown"));
        QCOMPARE(CBuildLogDlg::s_stopGraceMs.Value(), 2000);
        QCOMPARE(ShellOpenChannel::s_answerTimeoutMs.Value(), 30000);
        QCOMPARE(ShellOpenChannel::s_requestTimeoutMs.Value(), 5000);
        QCOMPARE(ShellOpenChannel::s_maxPendingBytes.Value(), qsizetype(16) << 20);
    }
};

QBE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
