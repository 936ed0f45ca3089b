// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/mainframe.h"
#include "core/recoverystore.h"
#include "editor/richsyntaxdoc.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

namespace {
constexpr int kWaitMs = 30000;
// The editor these tests start keeps unsaved text this soon after a change.
constexpr int kShortRecoveryMs = 200;
const QString kRecovered = QStringLiteral("Unsaved changes of %1 were recovered.\nOpen them?");

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
    // question asked) and gives the document that came back; null otherwise.
    CRichSyntaxDoc *StartAndAcceptRecovery(MessageBoxRecorder &boxes, const QString &path)
    {
        boxes.Answer(QMessageBox::Yes);
        if (!App()->InitInstance({}) || boxes.Texts() != QStringList{kRecovered.arg(QDir::toNativeSeparators(path))})
            return nullptr;
        return App()->MainFrame()->ActiveDocument();
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

    void answeredNoDiscardsTheRecoveredText()
    {
        QVERIFY(QDir().mkpath(CRecoveryStore::BaseFolder() + QStringLiteral("/gone-editor")));
        {
            // An editor that ended without a word left an untitled document behind.
            QFile entry(CRecoveryStore::BaseFolder() + QStringLiteral("/gone-editor/text-1.entry"));
            QVERIFY(entry.open(QIODevice::WriteOnly));
            entry.write("Quarn BASIC Editor recovery 1\nkind text\npath \ntitle Untitled3\n\nprint 1");
        }
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        QVERIFY(App()->InitInstance({}));
        QCOMPARE(boxes.Texts(), QStringList{kRecovered.arg(QStringLiteral("Untitled3"))});
        QCOMPARE(App()->MainFrame()->ActiveDocument(), nullptr);
        QCOMPARE(Entries(), QStringList());
    }

    // Fault mended: a save written in place that died half-way left a cut file and no copy of the old one.
    void killedInPlaceSaveLeavesTheOldTextToTheNextStart()
    {
        const QString folder = m_dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray old("OLD LINE 1\r\nOLD LINE 2\r\n");
        const QString path = TestSupport::WriteFile(folder + QStringLiteral("/big save.qrx"), old);
        // The folder refuses the ordinary user a temporary file; the file is the user's to write.
        if (TestSupport::IsRoot()) {
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
            const QString data = CRecoveryStore::BaseFolder();
            QVERIFY(QDir().mkpath(data));
            for (QString dir = data; dir.startsWith(QDir::homePath()) && dir != QDir::homePath();
                 dir = QFileInfo(dir).path())
                QFile::setPermissions(dir, QFileDevice::Permissions(0x7777));
        } else {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        // The save dies once a mebibyte of the new text is written over the old.
        ChildProcess saver;
        TestSupport::StartAsOrdinaryUser(
            saver, QStringLiteral(QBE_TEST_HELPER),
            {QStringLiteral("cutat=%1").arg(1 << 20), QStringLiteral("writesafely=%1:4").arg(path)});
        QVERIFY(saver.waitForFinished(kWaitMs));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QFileInfo(path).size(), 1 << 20);
        QCOMPARE(Entries(QStringLiteral("backup-*")).size(), 1);

        MessageBoxRecorder boxes;
        CRichSyntaxDoc *doc = StartAndAcceptRecovery(boxes, path);
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
