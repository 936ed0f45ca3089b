// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/shellfiletypes.h"
#include "core/recoverystore.h"
#include "editor/filestate.h"
#include "editor/richsyntaxdoc.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr int kWaitMs = 30000;
// The editor these tests start keeps unsaved text this soon after a change.
constexpr int kShortRecoveryMs = 200;
const QString kRecovered = QStringLiteral("Unsaved changes of %1 were recovered.\nOpen them?");
const QString kSaveCutShort =
    QStringLiteral("The last save of %1 did not finish. The file may be damaged; a copy of it "
                   "from before that save was kept.\nOpen the copy?");

// The recovery entries of every editor, by their file names.
QStringList Entries(const QString &pattern = QStringLiteral("*.entry"))
{
    QStringList found;
    QDirIterator it(CRecoveryStore::BaseFolder(), {pattern}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    return found;
}
} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    CEditorApp *App() { return CEditorApp::Instance(); }

    // Starts the editor, answers Yes to the offer of path's text (the one
    // question asked, offer) and gives the document that came back; null otherwise.
    CRichSyntaxDoc *StartAndAcceptRecovery(MessageBoxRecorder &boxes, const QString &path,
                                           const QString &offer = kRecovered)
    {
        boxes.Answer(QMessageBox::Yes);
        if (!App()->InitInstance({}) || boxes.Texts() != QStringList{offer.arg(QDir::toNativeSeparators(path))})
            return nullptr;
        return App()->MainFrame()->ActiveDocument();
    }

    // The entry an editor that ended without a word left in its folder below
    // the store: unsaved text of path with the header lines given; its file.
    static QString LeaveEntry(const QString &editor, const QString &path, const QByteArray &text,
                              const QByteArray &header = {})
    {
        const QString folder = CRecoveryStore::BaseFolder() + QLatin1Char('/') + editor;
        QDir().mkpath(folder);
        return TestSupport::WriteFile(folder + QStringLiteral("/text-1.entry"),
                                      "Quarn BASIC Editor recovery 1\nkind text\npath " + QUrl::toPercentEncoding(path)
                                          + '\n' + header + "\n\n" + text);
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        // Traversable for a child that runs as an ordinary user.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    void cleanup() { App()->ExitInstance(); }

#ifdef Q_OS_UNIX
    // Fault mended: a crash lost everything typed since the last save.
    void killedEditorsUnsavedTextComesBack()
    {
        const QString path = TestSupport::WriteFile(m_dir.filePath(QStringLiteral("crash.qrx")), "cls\r\n");
        const QString typed = QStringLiteral("print \"ünïcödé ✓\" ; typed\tbefore the crash");
        ChildProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(QBE_TEST_HELPER), {QStringLiteral("recovery=%1").arg(kShortRecoveryMs),
                                                       QStringLiteral("editor=%1:%2").arg(path, typed)});
        QVERIFY(editor.waitForStarted());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += editor.readAllStandardOutput()).contains("typed"), kWaitMs);
        // The unsaved text is kept a while after the change.
        QTRY_COMPARE_WITH_TIMEOUT(Entries().size(), 1, kWaitMs);

        // While that editor lives, its entries are its own.
        {
            MessageBoxRecorder boxes;
            QVERIFY(App()->InitInstance({}));
            QCOMPARE(boxes.Texts(), QStringList());
            App()->ExitInstance();
        }
        ::kill(pid_t(editor.processId()), SIGKILL);
        QVERIFY(editor.waitForFinished());

        // The next start offers them, and Yes brings the text back as it was typed.
        MessageBoxRecorder boxes;
        CRichSyntaxDoc *doc = StartAndAcceptRecovery(boxes, path);
        QVERIFY(doc);
        QCOMPARE(doc->GetPathName(), path);
        QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("cls\n") + typed);
        QVERIFY(doc->IsModified());
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("cls\r\n"));
        // Offered once only: the next start finds nothing of it.
        App()->ExitInstance();
        QCOMPARE(Entries(), QStringList());
        boxes.Clear();
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Texts(), QStringList());
    }

    // Fault mended: Escape counted as No and threw the work away.
    void onlyNoDiscardsTheRecoveredText_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("entriesLeft");
        QTest::newRow("No discards") << int(QMessageBox::No) << 0;
        QTest::newRow("Escape keeps it for the next start") << int(QMessageBox::Cancel) << 1;
    }
    void onlyNoDiscardsTheRecoveredText()
    {
        QFETCH(int, answer);
        QFETCH(int, entriesLeft);
        // An editor that ended without a word left an untitled document behind.
        const QString entry = LeaveEntry(QStringLiteral("gone-editor"), {}, "print 1", "title Untitled3");
        QVERIFY(!entry.isEmpty());
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::StandardButton(answer));
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Texts(), QStringList{kRecovered.arg(QStringLiteral("Untitled3"))});
        QCOMPARE(App()->MainFrame()->ActiveDocument(), nullptr);
        QCOMPARE(Entries().size(), entriesLeft);
        QDir(QFileInfo(entry).path()).removeRecursively();
    }

    // Fault mended: of two editors' versions of one file, Yes to both kept only the second.
    // Fault mended: a recovered document overwrote what another program had written since, without asking.
    void everyRecoveredVersionStaysAndAsksBeforeOverwriting()
    {
        const QByteArray loaded("cls\r\n");
        const QString path = TestSupport::WriteFile(m_dir.filePath(QStringLiteral("two.qrx")), loaded);
        const QByteArray state = "state " + FileStateOf(path, &loaded).ToText();
        QVERIFY(!LeaveEntry(QStringLiteral("first-editor"), path, "print 1", state).isEmpty());
        QVERIFY(!LeaveEntry(QStringLiteral("second-editor"), path, "print 2", state).isEmpty());
        TestSupport::WriteFile(path, "theirs, written since\r\n");

        // While the second is asked about, the first one's window comes up and is
        // found changed on disk: that question waits, and Enter recovers, never reloads.
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        boxes.Answer(QMessageBox::Yes);
        boxes.WhileShown([&boxes] { boxes.WhileShown([] { QCoreApplication::processEvents(); }); });
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Texts().size(), 2);
        const QList<CRichSyntaxDoc *> docs = App()->DocTemplate()->Documents();
        QCOMPARE(docs.size(), 2);
        QCOMPARE(docs.at(0)->GetPathName(), path);
        QCOMPARE(docs.at(1)->GetPathName(), QString());
        QCOMPARE(docs.at(1)->GetTitle(), QStringLiteral("two.qrx (recovered)"));
        QCOMPARE((QStringList{docs.at(0)->TextDocument()->toPlainText(), docs.at(1)->TextDocument()->toPlainText()}),
                 (QStringList{"print 1", "print 2"}));
        // Both are kept for recovery again before their old entries go.
        QCOMPARE(Entries().size(), 2);
        QVERIFY(Entries().constFirst().startsWith(CRecoveryStore::BaseFolder() + QLatin1Char('/')
                                                  + QString::number(QCoreApplication::applicationPid())));

        boxes.Clear();
        boxes.Answer(QMessageBox::No);
        QVERIFY(!docs.at(0)->DoFileSave());
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("%1 has been changed by another program since it was "
                                                           "opened.\nDo you want to overwrite it?")
                                                .arg(QDir::toNativeSeparators(path))});
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("theirs, written since\r\n"));

        // The second version, saved under its file's name, asks too; a link
        // another user put there is not written through.
        const QString secret = TestSupport::WriteFile(m_dir.filePath(QStringLiteral("secret")), "SECRET");
        QVERIFY(QFile::remove(path) && QFile::link(secret, path));
        FileDialogStub names;
        names.Answer(path);
        boxes.Clear();
        boxes.Answer(QMessageBox::No);
        QVERIFY(!docs.at(1)->DoFileSave());
        QCOMPARE(boxes.Texts().size(), 1);
        QCOMPARE(TestSupport::ReadFile(secret), QByteArray("SECRET"));
    }

    // Fault mended: work whose file was not there when it was kept took up
    // whatever was at the file's place at the next start, a link too, and
    // its save wrote through that link without a word.
    void linkAtARecoveredFilesPlaceIsNeverTakenUp_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("no file when kept") << QByteArray("state " + FileState().ToText());
        QTest::newRow("kept by an older editor") << QByteArray();
    }
    void linkAtARecoveredFilesPlaceIsNeverTakenUp()
    {
        QFETCH(QByteArray, header);
        const QString path = m_dir.filePath(QStringLiteral("gone.qrx"));
        const QString secret = TestSupport::WriteFile(m_dir.filePath(QStringLiteral("secret")), "SECRET");
        const QString entry = LeaveEntry(QStringLiteral("crashed-editor"), path, "print 1", header);
        const auto removeEntry = qScopeGuard([&entry] { QDir(QFileInfo(entry).path()).removeRecursively(); });
        QVERIFY(!entry.isEmpty());
        QFile::remove(path);
        QVERIFY(QFile::link(secret, path));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        QVERIFY(App()->InitInstance({}));
        CRichSyntaxDoc *doc = App()->MainFrame()->ActiveDocument();
        QVERIFY(doc && doc->GetPathName() == path);
        boxes.Clear();
        boxes.Answer(QMessageBox::No);
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(boxes.Texts().size(), 1);
        QCOMPARE(TestSupport::ReadFile(secret), QByteArray("SECRET"));
    }

    // Fault mended: another user could plant work in the store, offered as the user's own.
    void plantedEntriesAreNotOffered_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<bool>("offered");
        QTest::newRow("own private entry: offered") << "" << true;
        QTest::newRow("folder others may write") << "folder 0777" << false;
        QTest::newRow("entry others may write") << "entry 0666" << false;
        QTest::newRow("entry is a link") << "link" << false;
        if (TestSupport::IsRoot())
            QTest::newRow("entry of another user") << "owner" << false;
    }
    void plantedEntriesAreNotOffered()
    {
        QFETCH(QString, planted);
        QFETCH(bool, offered);
        const QString entry =
            LeaveEntry(QStringLiteral("planted"), m_dir.filePath(QStringLiteral("victim.qrx")), "print \"planted\"");
        QVERIFY(!entry.isEmpty());
        const QByteArray native = QFile::encodeName(entry);
        if (planted == QLatin1String("folder 0777")) {
            QVERIFY(::chmod(QFile::encodeName(QFileInfo(entry).path()).constData(), 0777) == 0);
        } else if (planted == QLatin1String("entry 0666")) {
            QVERIFY(::chmod(native.constData(), 0666) == 0);
        } else if (planted == QLatin1String("link")) {
            const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere.entry"));
            QVERIFY(QFile::rename(entry, elsewhere) && QFile::link(elsewhere, entry));
        } else if (planted == QLatin1String("owner")) {
            QVERIFY(::chown(native.constData(), 65534, 65534) == 0);
        }
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Texts().size(), offered ? 1 : 0);
        QDir(QFileInfo(entry).path()).removeRecursively();
    }

    // Fault mended: the store's folders took the process's umask (0777 under umask 000).
    // Fault mended: under umask 000 the folders above the store, and the
    // desktop entry that names the program to run, were open to every user.
    void nothingMadeIsOpenToOthersUnderAnyUmask()
    {
        QTemporaryDir fresh;
        const QString home = fresh.filePath(QStringLiteral("home"));
        const QByteArray previousHome = qgetenv("HOME");
        const QByteArray previousData = qgetenv("XDG_DATA_HOME");
        const QByteArray previousPath = qgetenv("PATH");
        const mode_t previous = ::umask(0);
        const auto restore = qScopeGuard([&] {
            ::umask(previous);
            qputenv("HOME", previousHome);
            qputenv("XDG_DATA_HOME", previousData);
            qputenv("PATH", previousPath);
        });
        // The data folders are below home, none there yet.
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
        // The desktop's tools write their databases with the umask they are given.
        const QString tools = fresh.filePath(QStringLiteral("tools"));
        QVERIFY(QDir().mkpath(tools));
        for (const char *tool : {"update-mime-database", "update-desktop-database"})
            TestSupport::WriteScript(tools, QLatin1String(tool), "echo made > \"$1/made-by-tool\"\n");
        qputenv("PATH", QFile::encodeName(tools) + ":/usr/bin:/bin");
        QVERIFY(ShellFileTypes::Register(QStringLiteral("/usr/bin/quarn-basic-editor")));
        const QString data = home + QStringLiteral("/.local/share");
        QTRY_VERIFY(QFile::exists(data + QStringLiteral("/mime/made-by-tool"))
                    && QFile::exists(data + QStringLiteral("/applications/made-by-tool")));
        QVERIFY(App()->InitInstance({TestSupport::WriteFile(m_dir.filePath(QStringLiteral("umask.qrx")), "cls\r\n")}));
        CRichSyntaxDoc *doc = App()->MainFrame()->ActiveDocument();
        doc->TextDocument()->setPlainText(QStringLiteral("typed"));
        QVERIFY(doc->KeepUnsavedText());
        QVERIFY(CRecoveryStore::BaseFolder().startsWith(home));

        QStringList made{home};
        for (QDirIterator it(made.constFirst(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            made.append(it.next());
        QVERIFY(made.size() > 5);
        for (const QString &path : std::as_const(made)) {
            struct stat info = {};
            QVERIFY(::lstat(QFile::encodeName(path).constData(), &info) == 0);
            if (!S_ISSOCK(info.st_mode))
                QVERIFY2(!(info.st_mode & (S_IWGRP | S_IWOTH)), qPrintable(path));
        }
    }

    // Fault mended: with the store's volume full, the next keeping emptied the copy kept before.
    void textThatCannotBeKeptLeavesThePreviousCopy()
    {
        QVERIFY(App()->InitInstance({TestSupport::WriteFile(m_dir.filePath(QStringLiteral("full.qrx")), "cls\r\n")}));
        CRichSyntaxDoc *doc = App()->MainFrame()->ActiveDocument();
        doc->TextDocument()->setPlainText(QStringLiteral("kept before"));
        QVERIFY(doc->KeepUnsavedText());
        const QString entry = Entries().constFirst();
        const QByteArray before = TestSupport::ReadFile(entry);

        // Files may grow no further than 4 KiB, as on a volume that is nearly full;
        // the text is short enough to sit in a write buffer until the commit.
        StatusRecorder statusBar;
        doc->TextDocument()->setPlainText(QString(8000, QLatin1Char('x')));
        {
            FileSizeLimit nearlyFull(4096);
            QVERIFY(!doc->KeepUnsavedText());
            QVERIFY(!doc->KeepUnsavedText());
        }
        QCOMPARE(TestSupport::ReadFile(entry), before);
        QCOMPARE(statusBar.messages, QStringList{QStringLiteral("Unsaved changes of %1 could not be kept for "
                                                                "recovery: File too large")
                                                     .arg(QDir::toNativeSeparators(doc->GetPathName()))});
    }

    // Fault mended: a save written in place that died half-way left a cut file and no copy of the old one.
    // Fault mended: the next start offered the copy as unsaved changes, and No deleted the only intact version.
    void killedInPlaceSaveLeavesTheOldTextToTheNextStart_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("Yes opens the copy") << true;
        QTest::newRow("No keeps the copy") << false;
    }
    void killedInPlaceSaveLeavesTheOldTextToTheNextStart()
    {
        QFETCH(bool, open);
        if (TestSupport::IsRoot()) {
            // Permissions do not bind root: the case runs again as the ordinary user.
            TestSupport::CopyForOrdinaryUser(QStringLiteral(QBE_TEST_HELPER));
            QByteArray said;
            QVERIFY2(
                TestSupport::PassesAsOrdinaryUser(QStringLiteral("killedInPlaceSaveLeavesTheOldTextToTheNextStart:")
                                                      + QLatin1String(QTest::currentDataTag()),
                                                  &said),
                said.constData());
            return;
        }
        // The folder refuses a temporary file; the file is the user's to write.
        const QString folder = m_dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray old("OLD LINE 1\r\nOLD LINE 2\r\n");
        const QString path = TestSupport::WriteFile(folder + QStringLiteral("/big save.qrx"), old);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        // The save dies once a mebibyte of the new text is written over the old.
        ChildProcess saver;
        saver.start(TestSupport::ProgramBesideThis(QStringLiteral(QBE_TEST_HELPER)),
                    {QStringLiteral("cutat=%1").arg(1 << 20), QStringLiteral("writesafely=%1:4").arg(path)});
        QVERIFY(saver.waitForFinished(kWaitMs));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QFileInfo(path).size(), 1 << 20);
        QCOMPARE(Entries(QStringLiteral("backup-*")).size(), 1);

        MessageBoxRecorder boxes;
        if (!open) {
            boxes.Answer(QMessageBox::No);
            QVERIFY(App()->InitInstance({}));
            const QStringList kept = Entries(QStringLiteral("*.qrx"));
            QCOMPARE(kept.size(), 1);
            QCOMPARE(TestSupport::ReadFile(kept.constFirst()), old);
            QCOMPARE(
                boxes.Texts(),
                (QStringList{kSaveCutShort.arg(QDir::toNativeSeparators(path)),
                             QStringLiteral("The copy of %1 from before its last save is kept as %2.")
                                 .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(kept.constFirst()))}));
            QCOMPARE(Entries(), QStringList());
            return;
        }
        CRichSyntaxDoc *doc = StartAndAcceptRecovery(boxes, path, kSaveCutShort);
        QVERIFY(doc);
        QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("OLD LINE 1\nOLD LINE 2\n"));
        QVERIFY(doc->IsModified());
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), old);
    }
#endif
};

QBE_TEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
