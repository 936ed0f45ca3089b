// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "build/buildcommands.h"
#include "build/buildlogdlg.h"
#include "build/messagespanel.h"
#include "build/optionsdlg.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/textmarks.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QStatusBar>
#include <QTextBlock>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTreeWidget>

#include <memory>

namespace {
const QString kSaveFailed = QStringLiteral("Failed to save source file!");
const QString kNoCompiler = QStringLiteral("Path to QRX.EXE is not set in build options!");
const QString kCompilerFailed = QStringLiteral("Failed to execute compiler!");
const QString kQuestion = QStringLiteral("Source file needs recompiled. Continue?");
const QString kNoEmulator = QStringLiteral("No emulator is set in build options!");
const QString kNoLinker = QStringLiteral("No hardware linker path specified!");
const QString kExecuteFailed = QStringLiteral("Failed to execute!");
const QString kDirectoryFailed = QStringLiteral("Failed to set project directory!");

QByteArray ShellQuoted(const QString &text)
{
    QByteArray quoted = text.toLocal8Bit();
    quoted.replace('\'', "'\\''");
    return '\'' + quoted + '\'';
}

// Working folder and arguments a stand-in recorded; empty until it has run.
struct Record
{
    QString folder;
    QStringList arguments;
};

Record ReadRecord(const QString &path)
{
    Record record;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return record;
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.size() < 2)
        return record;
    lines.removeLast();
    record.folder = lines.takeFirst();
    // The stand-in's own steps come first.
    lines.removeFirst();
    lines.removeFirst();
    record.arguments = lines;
    return record;
}

int OrphanCount()
{
    return qApp->findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly).size();
}

// Closes the log once the compiler's stand-in has said that it ran; what the
// log showed goes to shown.
ModalDriver::Action CloseLogOnceRan(QString *shown = nullptr, const std::function<void(QWidget *)> &also = {})
{
    return [shown, also](QWidget *log) {
        auto *text = log->findChild<QPlainTextEdit *>();
        QVERIFY(QTest::qWaitFor([text] { return text->toPlainText().contains(QLatin1String("ran")); }, 30000));
        if (shown)
            *shown = text->toPlainText();
        if (also)
            also(log);
        log->close();
    };
}
// Picks the log's line that holds text, once it shows, by a double-click or by Enter.
ModalDriver::Action PickLine(const QString &text, bool doubleClick)
{
    return [text, doubleClick](QWidget *log) {
        auto *edit = log->findChild<QPlainTextEdit *>();
        QVERIFY(QTest::qWaitFor([edit, text] { return edit->toPlainText().contains(text); }, 30000));
        const QTextCursor line = edit->document()->find(text);
        if (doubleClick) {
            QTest::mouseDClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, edit->cursorRect(line).center());
        } else {
            edit->setTextCursor(line);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    };
}
} // namespace

class TestBuildCommands : public QObject
{
    Q_OBJECT

    BuildSettings &Options() { return CEditorApp::Instance()->Build().Settings(); }
    CBuildCommands &Build() { return CEditorApp::Instance()->Build(); }
    // Command 0 is Compile, 1 Run, 2 Link.
    void Run(int command, CRichSyntaxDoc &doc)
    {
        const QList<void (CBuildCommands::*)(CRichSyntaxDoc &)> commands = {
            &CBuildCommands::OnBuildCompile, &CBuildCommands::OnBuildRun, &CBuildCommands::OnBuildLink};
        (Build().*commands.at(command))(doc);
    }

    // A program that records its folder and arguments into record; the
    // compiler's stand-in also says "ran" (the others' output has no reader).
    QString StandIn(const QString &name, const QString &record, bool speaks = false)
    {
        const QByteArray body = QByteArrayLiteral("\"") + QBE_TEST_HELPER + "\" record=" + ShellQuoted(record)
                                + (speaks ? " out=ran" : " out=") + " \"$@\"\n";
        return TestSupport::WriteScript(m_bin->path(), name, body);
    }

    // A saved source file at folder/name with a document on it.
    std::unique_ptr<CRichSyntaxDoc> Source(const QString &folder, const QString &name, bool modified = false)
    {
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("PRINT \"OLD\"\r\n");
        file.close();
        auto doc = std::make_unique<CRichSyntaxDoc>();
        doc->SetPathName(path, false);
        doc->AdoptFileOnDisk();
        doc->TextDocument()->setPlainText(QStringLiteral("PRINT \"NEW\""));
        doc->SetModifiedFlag(modified);
        return doc;
    }

    // A compiler whose output is text (with the helper's escapes).
    QString Compiler(const QString &text)
    {
        return TestSupport::WriteScript(m_bin->path(), QStringLiteral("talking qrx"),
                                        QByteArrayLiteral("\"") + QBE_TEST_HELPER + "\" " + ShellQuoted("out=" + text)
                                            + '\n');
    }

    // A project with a source file of five lines and an included one, the
    // source open in its window.
    CRichSyntaxDoc *OpenProject()
    {
        QDir().mkpath(Project() + QStringLiteral("/inc"));
        TestSupport::WriteFile(Project() + QStringLiteral("/inc/sprites.qrx"), "sprite 1\r\nsprite 2\r\nsprite 3\r\n");
        const QString path = TestSupport::WriteFile(Project() + QStringLiteral("/pong.qrx"),
                                                    "cls\r\nprint 1\r\nprint 22\r\nprint 333\r\nend\r\n");
        CEditorApp::Instance()->OpenDocumentFile(path);
        return CEditorApp::Instance()->MainFrame()->ActiveDocument();
    }

    // Where the caret of the active window is: its file, line and column.
    QString Caret()
    {
        CRichSyntaxView *view = CEditorApp::Instance()->MainFrame()->ActiveView();
        if (!view)
            return QString();
        const QTextCursor cursor = view->textCursor();
        return QStringLiteral("%1:%2:%3")
            .arg(QDir(Project()).relativeFilePath(view->GetDocument()->GetPathName()))
            .arg(cursor.blockNumber() + 1)
            .arg(cursor.positionInBlock() + 1);
    }

    QString Project() const { return m_dir->path() + QStringLiteral("/my games"); }
    QString CompilerRecord() const { return m_dir->path() + QStringLiteral("/compiler.txt"); }
    QString EmulatorRecord() const { return m_dir->path() + QStringLiteral("/emulator.txt"); }
    QString LinkerRecord() const { return m_dir->path() + QStringLiteral("/linker.txt"); }

private Q_SLOTS:
    void initTestCase()
    {
        m_home = QDir::currentPath();
        m_path = qgetenv("PATH");
        QVERIFY(CEditorApp::Instance()->InitInstance(QStringList()));
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_bin.reset(new QTemporaryDir);
        Options().compiler = StandIn(QStringLiteral("qrx"), CompilerRecord(), true);
        Options().emulator = StandIn(QStringLiteral("emu"), EmulatorRecord());
        Options().linker = StandIn(QStringLiteral("flash link"), LinkerRecord());
        Options().debug = false;
        Options().multiBoot = false;
        Options().linkerArguments.clear();
    }

    void cleanup()
    {
        CEditorApp::Instance()->DocTemplate()->CloseAllDocuments();
        QDir::setCurrent(m_home);
        qputenv("PATH", m_path);
        QTRY_COMPARE_WITH_TIMEOUT(OrphanCount(), 0, 30000);
    }

    void compileArguments_data()
    {
        QTest::addColumn<bool>("debug");
        QTest::addColumn<bool>("multiBoot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no flags") << false << false << "pong.qrx" << QStringList{"pong.qrx", "pong.gba"};
        QTest::newRow("debug only") << true << false << "pong.qrx" << QStringList{"-debug", "pong.qrx", "pong.gba"};
        QTest::newRow("multi-boot only") << false << true << "pong.qrx" << QStringList{"-mb", "pong.qrx", "pong.mb"};
        QTest::newRow("both, debug first")
            << true << true << "pong.qrx" << QStringList{"-debug", "-mb", "pong.qrx", "pong.mb"};
        QTest::newRow("name with blanks")
            << false << false << "my pong.qrx" << QStringList{"my pong.qrx", "my pong.gba"};
    }
    void compileArguments()
    {
        QFETCH(bool, debug);
        QFETCH(bool, multiBoot);
        QFETCH(QString, name);
        QFETCH(QStringList, arguments);
        Options().debug = debug;
        Options().multiBoot = multiBoot;
        auto doc = Source(Project(), name);
        MessageBoxRecorder boxes;
        StatusRecorder statusBar;
        QString shown;
        QPoint logCorner;
        ModalDriver driver;
        driver.Then(
            CloseLogOnceRan(&shown, [&logCorner](QWidget *log) { logCorner = log->frameGeometry().topLeft(); }));
        Build().OnBuildCompile(*doc);
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(boxes.Texts().isEmpty());
        QCOMPARE(shown, QStringLiteral("ran"));
        QCOMPARE(statusBar.messages.value(0), QStringLiteral("Compiling %1...").arg(name));
        QTRY_VERIFY(QFile::exists(CompilerRecord()));
        const Record record = ReadRecord(CompilerRecord());
        QCOMPARE(record.folder, QDir(Project()).canonicalPath());
        QCOMPARE(record.arguments, arguments);
        // Compile leaves the editor's own current directory alone.
        QCOMPARE(QDir::currentPath(), m_home);
        CMainFrame *frame = CEditorApp::Instance()->MainFrame();
        QCOMPARE(logCorner, frame->MdiArea()->mapToGlobal(QPoint(0, 0)));
    }

    void unchangedDocumentIsSavedBeforeCompiling()
    {
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        QVERIFY(!doc->IsModified());
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Build().OnBuildCompile(*doc);
        QFile file(doc->GetPathName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("NEW"));
        QTRY_VERIFY(QFile::exists(CompilerRecord()));
    }

    void untitledDocument_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("save as cancelled") << false;
        QTest::newRow("save as given a path") << true;
    }
    void untitledDocument()
    {
        QFETCH(bool, saveAs);
        CRichSyntaxDoc doc;
        doc.SetTitle(QStringLiteral("Untitled"));
        doc.TextDocument()->setPlainText(QStringLiteral("PRINT 1"));
        QDir().mkpath(Project());
        FileDialogStub files;
        const QString path = Project() + QStringLiteral("/saved.qrx");
        files.Answer(saveAs ? path : QString());
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Build().OnBuildCompile(doc);
        QCOMPARE(files.Requests().size(), 1);
        if (saveAs) {
            QVERIFY(boxes.Texts().isEmpty());
            QTRY_VERIFY(QFile::exists(CompilerRecord()));
            QCOMPARE(ReadRecord(CompilerRecord()).arguments, (QStringList{"saved.qrx", "saved.gba"}));
        } else {
            QCOMPARE(boxes.Texts(), QStringList{kSaveFailed});
            QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
            QCOMPARE(driver.Handled(), 0);
            QVERIFY(!QFile::exists(CompilerRecord()));
        }
    }

    // Regression: a save that failed while the path stayed went on to compile the old file.
    void failedSaveWithAPathStopsAfterItsOwnMessage()
    {
        CRichSyntaxDoc doc;
        const QString path = m_dir->path() + QStringLiteral("/gone/pong.qrx");
        doc.SetPathName(path, false);
        doc.TextDocument()->setPlainText(QStringLiteral("PRINT 1"));
        FileDialogStub files;
        files.Answer(path);
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Build().OnBuildCompile(doc);
        QCOMPARE(doc.GetPathName(), path);
        QCOMPARE(driver.Handled(), 0);
        QVERIFY(!boxes.Texts().contains(kSaveFailed));
        QVERIFY(!boxes.Texts().contains(kNoCompiler));
        QVERIFY(!boxes.Texts().contains(kCompilerFailed));
        QVERIFY(!QFile::exists(CompilerRecord()));
    }

    // Build Options follow the message; a compiler chosen there compiles at once.
    void emptyCompilerPathAfterSaving_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("Options cancelled") << false;
        QTest::newRow("a compiler chosen") << true;
    }
    void emptyCompilerPathAfterSaving()
    {
        QFETCH(bool, chosen);
        const QString compiler = Options().compiler;
        Options().compiler.clear();
        auto doc = Source(Project(), QStringLiteral("pong.qrx"), true);
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then([&](QWidget *modal) {
            QCOMPARE(boxes.Texts(), QStringList{kNoCompiler});
            auto *options = qobject_cast<COptionsDlg *>(modal);
            QVERIFY(options);
            if (!chosen) {
                options->reject();
                return;
            }
            QTest::keyClicks(Child<QLineEdit>(options, "compilerEdit"), compiler);
            QTest::mouseClick(Child<QPushButton>(options, "okButton"), Qt::LeftButton);
        });
        driver.Then(CloseLogOnceRan());
        Build().OnBuildCompile(*doc);
        QCOMPARE(driver.Handled(), chosen ? 2 : 1);
        QCOMPARE(boxes.Texts(), QStringList{kNoCompiler});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!doc->IsModified());
        QTRY_COMPARE(QFile::exists(CompilerRecord()), chosen);
    }

    void missingProgramGivesItsMessageAndNoWindow_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("compile") << 0 << kCompilerFailed << int(QMessageBox::Warning);
        QTest::newRow("run") << 1 << kExecuteFailed << int(QMessageBox::Critical);
        QTest::newRow("link") << 2 << kExecuteFailed << int(QMessageBox::Critical);
    }
    void missingProgramGivesItsMessageAndNoWindow()
    {
        QFETCH(int, command);
        QFETCH(QString, message);
        QFETCH(int, icon);
        const QString missing = m_dir->path() + QStringLiteral("/nowhere/program");
        Options().compiler = Options().emulator = Options().linker = missing;
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Run(command, *doc);
        QCOMPARE(boxes.Texts(), QStringList{message});
        QCOMPARE(int(boxes.Boxes().constFirst().icon), icon);
        QCOMPARE(driver.Handled(), 0);
    }

    void runStartsTheEmulatorInTheProjectFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("multiBoot");
        QTest::addColumn<QString>("image");
        QTest::newRow("plain") << "pong.qrx" << false << "pong.gba";
        QTest::newRow("multi-boot flag still runs the cartridge image") << "pong.qrx" << true << "pong.gba";
        // Regression: the image name went unquoted and a blank split it in two.
        QTest::newRow("image name with blanks is one argument") << "my game.qrx" << false << "my game.gba";
    }
    void runStartsTheEmulatorInTheProjectFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, multiBoot);
        QFETCH(QString, image);
        Options().multiBoot = multiBoot;
        auto doc = Source(Project(), name);
        MessageBoxRecorder boxes;
        Build().OnBuildRun(*doc);
        QVERIFY(boxes.Texts().isEmpty());
        QTRY_VERIFY(QFile::exists(EmulatorRecord()));
        const Record record = ReadRecord(EmulatorRecord());
        QCOMPARE(record.folder, QDir(Project()).canonicalPath());
        QCOMPARE(record.arguments, QStringList{image});
        // The editor's current directory follows the project and stays there.
        QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(Project()).canonicalPath());
        QVERIFY(!QFile::exists(CompilerRecord()));
    }

    void emptyPathComesBeforeTheQuestion_data()
    {
        QTest::addColumn<bool>("link");
        QTest::newRow("run") << false;
        QTest::newRow("link") << true;
    }
    void emptyPathComesBeforeTheQuestion()
    {
        QFETCH(bool, link);
        Options().emulator.clear();
        Options().linker.clear();
        auto doc = Source(Project(), QStringLiteral("pong.qrx"), true);
        MessageBoxRecorder boxes;
        link ? Build().OnBuildLink(*doc) : Build().OnBuildRun(*doc);
        QCOMPARE(boxes.Texts(), QStringList{link ? kNoLinker : kNoEmulator});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
    }

    void recompileQuestion_data()
    {
        QTest::addColumn<bool>("link");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("compiled");
        QTest::addColumn<bool>("started");
        for (const bool link : {false, true}) {
            const char *command = link ? "link" : "run";
            QTest::addRow("%s, yes compiles first", command) << link << int(QMessageBox::Yes) << true << true;
            QTest::addRow("%s, no runs the old image", command) << link << int(QMessageBox::No) << false << true;
            QTest::addRow("%s, cancel does nothing", command) << link << int(QMessageBox::Cancel) << false << false;
        }
    }
    void recompileQuestion()
    {
        QFETCH(bool, link);
        QFETCH(int, answer);
        QFETCH(bool, compiled);
        QFETCH(bool, started);
        const QString record = link ? LinkerRecord() : EmulatorRecord();
        auto doc = Source(Project(), QStringLiteral("pong.qrx"), true);
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::StandardButton(answer));
        bool startedWhileLogOpen = false;
        ModalDriver driver;
        driver.Then([&](QWidget *log) {
            auto *text = log->findChild<QPlainTextEdit *>();
            QVERIFY(QTest::qWaitFor([text] { return text->toPlainText().contains(QLatin1String("ran")); }, 30000));
            startedWhileLogOpen = QFile::exists(record);
            QTest::keyClick(text, Qt::Key_Escape);
        });
        link ? Build().OnBuildLink(*doc) : Build().OnBuildRun(*doc);
        QCOMPARE(boxes.Texts(), QStringList{kQuestion});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Question);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(driver.Handled(), compiled ? 1 : 0);
        QVERIFY(!startedWhileLogOpen);
        if (compiled)
            QTRY_VERIFY(QFile::exists(CompilerRecord()));
        else
            QVERIFY(!QFile::exists(CompilerRecord()));
        if (started)
            QTRY_VERIFY(QFile::exists(record));
        else
            QVERIFY(!QFile::exists(record));
    }

    void untitledDocumentIsAskedAboutAndThenEnds_data()
    {
        QTest::addColumn<bool>("link");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("run, no") << false << int(QMessageBox::No) << QStringList{kQuestion};
        QTest::newRow("run, yes, save as cancelled")
            << false << int(QMessageBox::Yes) << QStringList{kQuestion, kSaveFailed};
        QTest::newRow("link, no") << true << int(QMessageBox::No) << QStringList{kQuestion};
    }
    void untitledDocumentIsAskedAboutAndThenEnds()
    {
        QFETCH(bool, link);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        CRichSyntaxDoc doc;
        doc.SetTitle(QStringLiteral("Untitled"));
        FileDialogStub files;
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::StandardButton(answer));
        link ? Build().OnBuildLink(doc) : Build().OnBuildRun(doc);
        QCOMPARE(boxes.Texts(), messages);
        // A program is started only after the editor has moved into the project folder.
        QCOMPARE(QDir::currentPath(), m_home);
    }

    void linkFillsTheTemplate_data()
    {
        // clang-format off
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("every placeholder, others unchanged")
            << "my games" << "-p %p -f %f %b %m %P 50% %%"
            << QStringList{"-p", "<folder>", "-f", "pong.qrx", "pong.gba", "pong.mb", "%P", "50%", "%%"};
        QTest::newRow("multi-boot image twice") << "my games" << "%m,%m" << QStringList{"pong.mb,pong.mb"};
        QTest::newRow("folder holding %f") << "a%f b" << "%p %f" << QStringList{"<folder>", "pong.qrx"};
        QTest::newRow("empty template") << "my games" << "" << QStringList{};
        // clang-format on
    }
    void linkFillsTheTemplate()
    {
        QFETCH(QString, folderName);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const QString folder = m_dir->path() + QLatin1Char('/') + folderName;
        auto doc = Source(folder, QStringLiteral("pong.qrx"));
        Options().linkerArguments = text;
        MessageBoxRecorder boxes;
        Build().OnBuildLink(*doc);
        QVERIFY(boxes.Texts().isEmpty());
        QTRY_VERIFY(QFile::exists(LinkerRecord()));
        expected.replaceInStrings(QStringLiteral("<folder>"),
                                  doc->GetPathName().section(QLatin1Char('/'), 0, -2) + QLatin1Char('/'));
        const Record record = ReadRecord(LinkerRecord());
        QCOMPARE(record.arguments, expected);
        QCOMPARE(record.folder, QDir(folder).canonicalPath());
        QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(folder).canonicalPath());
    }

    void projectFolderThatCannotBeMadeCurrent()
    {
        CRichSyntaxDoc doc;
        doc.SetPathName(m_dir->path() + QStringLiteral("/gone/pong.qrx"), false);
        MessageBoxRecorder boxes;
        Build().OnBuildRun(doc);
        QCOMPARE(boxes.Texts(), QStringList{kDirectoryFailed});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Critical);
        QCOMPARE(QDir::currentPath(), m_home);
    }

    void programsCanRunRepeatedly()
    {
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        MessageBoxRecorder boxes;
        Build().OnBuildRun(*doc);
        QTRY_VERIFY(QFile::exists(EmulatorRecord()));
        QFile::remove(EmulatorRecord());
        Build().OnBuildRun(*doc);
        QTRY_VERIFY(QFile::exists(EmulatorRecord()));
        QVERIFY(boxes.Texts().isEmpty());
    }

    void pickedLineOpensItsFileAtItsPosition_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("caret");
        QTest::newRow("name(12), double-click") << "pong.qrx(3) : error" << true << "pong.qrx:3:1";
        QTest::newRow("name(12,5), Enter") << "pong.qrx(3,5) : error" << false << "pong.qrx:3:5";
        QTest::newRow("name(12) :, Enter") << "pong.qrx(4) : warning" << false << "pong.qrx:4:1";
        QTest::newRow("name:12:, double-click") << "pong.qrx:2: error" << true << "pong.qrx:2:1";
        QTest::newRow("name:12:5:, Enter") << "pong.qrx:2:3: error" << false << "pong.qrx:2:3";
        QTest::newRow("line 12, double-click") << "Error in line 5" << true << "pong.qrx:5:1";
        QTest::newRow("LINE 12:, Enter") << "LINE 4: type mismatch" << false << "pong.qrx:4:1";
        QTest::newRow("an included file, double-click")
            << "inc/sprites.qrx(2,4) : error" << true << "inc/sprites.qrx:2:4";
        QTest::newRow("an included file, Enter") << "inc\\\\sprites.qrx:3: error" << false << "inc/sprites.qrx:3:1";
        QTest::newRow("column past the line's end") << "pong.qrx(1,99) : error" << true << "pong.qrx:1:4";
        QTest::newRow("line past the end") << "pong.qrx(99) : error" << true << "pong.qrx:6:1";
    }
    void pickedLineOpensItsFileAtItsPosition()
    {
        QFETCH(QString, message);
        QFETCH(bool, doubleClick);
        QFETCH(QString, caret);
        Options().compiler = Compiler(QStringLiteral("Compiling\\n") + message + QStringLiteral("\\ndone\\n"));
        CRichSyntaxDoc *doc = OpenProject();
        QVERIFY(doc);
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(PickLine(QString(message).replace(QStringLiteral("\\\\"), QStringLiteral("\\")), doubleClick));
        Build().OnBuildCompile(*doc);
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(boxes.Texts().isEmpty());
        QCOMPARE(Caret(), caret);
    }

    void pickedLineInAFileThatIsOpenActivatesItsWindow()
    {
        Options().compiler = Compiler(QStringLiteral("inc/sprites.qrx(3) : error"));
        CRichSyntaxDoc *doc = OpenProject();
        CEditorApp::Instance()->OpenDocumentFile(Project() + QStringLiteral("/inc/sprites.qrx"));
        CEditorApp::Instance()->OpenDocumentFile(doc->GetPathName());
        ModalDriver driver;
        driver.Then(PickLine(QStringLiteral("error"), false));
        Build().OnBuildCompile(*doc);
        QCOMPARE(Caret(), QStringLiteral("inc/sprites.qrx:3:1"));
        QMdiArea *area = CEditorApp::Instance()->MainFrame()->MdiArea();
        QCOMPARE(area->subWindowList().size(), 2);
        // A second window of the file, when active, is where the caret goes.
        CEditorApp::Instance()->DocTemplate()->CreateNewFrame(CEditorApp::Instance()->MainFrame()->ActiveDocument());
        QMdiSubWindow *second = area->activeSubWindow();
        QCOMPARE(area->subWindowList().size(), 3);
        QTextCursor top = CEditorApp::Instance()->MainFrame()->ActiveView()->textCursor();
        top.movePosition(QTextCursor::Start);
        CEditorApp::Instance()->MainFrame()->ActiveView()->setTextCursor(top);
        Build().GoToMessage(0);
        QCOMPARE(area->activeSubWindow(), second);
        QCOMPARE(Caret(), QStringLiteral("inc/sprites.qrx:3:1"));
    }

    void pickedLineInAMissingFileGivesTheOpenError()
    {
        Options().compiler = Compiler(QStringLiteral("gone.qrx(3) : error"));
        CRichSyntaxDoc *doc = OpenProject();
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(PickLine(QStringLiteral("error"), false));
        Build().OnBuildCompile(*doc);
        QCOMPARE(
            boxes.Texts(),
            QStringList{QStringLiteral("%1 was not found.").arg(QDir::toNativeSeparators(Project() + "/gone.qrx"))});
        QCOMPARE(Caret(), QStringLiteral("pong.qrx:1:1"));
    }

    void nextAndPreviousErrorWalkTheLastCompile()
    {
        Options().compiler = Compiler(QStringLiteral(
            "Compiling\\npong.qrx(2) : first\\ninc/sprites.qrx(3,2) : second\\nnothing here\\nError in line 4\\n"));
        CRichSyntaxDoc *doc = OpenProject();
        CMainFrame *frame = CEditorApp::Instance()->MainFrame();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        // Once the main window says that the compiler has finished, the user
        // picks the second message in the log, then closes the next log.
        auto finished = [frame] {
            return QTest::qWaitFor(
                [frame] { return frame->statusBar()->currentMessage().startsWith(QLatin1String("Compiler finished")); },
                30000);
        };
        ModalDriver driver;
        driver.Then([finished](QWidget *log) {
            QVERIFY(finished());
            auto *text = log->findChild<QPlainTextEdit *>();
            text->setTextCursor(text->document()->find(QStringLiteral("second")));
            QTest::keyClick(text, Qt::Key_Return);
        });
        driver.Otherwise([finished](QWidget *log) {
            QVERIFY(finished());
            log->close();
        });
        frame->statusBar()->clearMessage();
        QTest::keyClick(frame, Qt::Key_F7);
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QCOMPARE(Caret(), QStringLiteral("inc/sprites.qrx:3:2"));
        // The file opened after the compile holds its mark.
        const CTextMarks *included = CTextMarks::Find(frame->ActiveView()->document());
        QVERIFY(included);
        QCOMPARE(included->TextsOn(frame->ActiveView()->document()->findBlockByNumber(2)),
                 QStringLiteral("inc/sprites.qrx(3,2) : second"));
        // Two lines typed at the top of pong.qrx move its marks down.
        CEditorApp::Instance()->OpenDocumentFile(doc->GetPathName());
        CRichSyntaxView *view = frame->ActiveView();
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(view, QStringLiteral("; a"));
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, QStringLiteral("; b"));
        QTest::keyClick(view, Qt::Key_Return);
        // The walk goes on from the message picked, to where the marks stand now.
        QStringList walked;
        auto step = [&](Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(frame, Qt::Key_F8, modifiers);
            walked.append(Caret() + QLatin1Char(' ') + frame->statusBar()->currentMessage());
        };
        for (int i = 0; i < 2; ++i)
            step(Qt::NoModifier);
        for (int i = 0; i < 3; ++i)
            step(Qt::ShiftModifier);
        QCOMPARE(walked,
                 (QStringList{"pong.qrx:6:1 Message 3 of 3: Error in line 4", "pong.qrx:6:1 No more messages",
                              "inc/sprites.qrx:3:2 Message 2 of 3: inc/sprites.qrx(3,2) : second",
                              "pong.qrx:4:1 Message 1 of 3: pong.qrx(2) : first", "pong.qrx:4:1 No more messages"}));
        // The panel's rows tell the places as they are now.
        QTreeWidget *list = frame->Messages()->List();
        QTRY_COMPARE(list->topLevelItem(0)->text(1), QStringLiteral("4"));
        // With the third message's line deleted, the walk passes it by.
        view->setTextCursor(QTextCursor(view->document()->findBlockByNumber(5)));
        QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Delete);
        QTest::keyClick(view, Qt::Key_Delete);
        QTRY_COMPARE(list->topLevelItem(2)->text(1), QStringLiteral("line deleted"));
        walked.clear();
        for (int i = 0; i < 2; ++i)
            step(Qt::NoModifier);
        QCOMPARE(walked, (QStringList{"inc/sprites.qrx:3:2 Message 2 of 3: inc/sprites.qrx(3,2) : second",
                                      "inc/sprites.qrx:3:2 No more messages"}));
        // The included file is fixed; the next compile saves it first.
        CEditorApp::Instance()->OpenDocumentFile(Project() + QStringLiteral("/inc/sprites.qrx"));
        QTest::keyClicks(frame->ActiveView(), QStringLiteral("fixed "));
        // A compile that names no line empties the list.
        Options().compiler = Compiler(QStringLiteral("all fine\\n"));
        CEditorApp::Instance()->OpenDocumentFile(doc->GetPathName());
        frame->statusBar()->clearMessage();
        QTest::keyClick(frame, Qt::Key_F7);
        QCOMPARE(driver.Handled(), 2);
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_F8);
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("The last compile named no line to go to"));
        // ... and takes away the marks the compile before made, in both files.
        QVERIFY(CTextMarks::Find(doc->TextDocument())->IsEmpty());
        QVERIFY(included->IsEmpty());
        QVERIFY(TestSupport::ReadFile(Project() + QStringLiteral("/inc/sprites.qrx")).contains("fixed "));
    }

    void messageSummary_data()
    {
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QString>("summary");
        QTest::newRow("none") << QList<int>{} << "No messages";
        QTest::newRow("one error") << QList<int>{0} << "1 error";
        QTest::newRow("errors and a warning") << QList<int>{0, 1, 0} << "2 errors, 1 warning";
        QTest::newRow("warnings and notes") << QList<int>{2, 1, 1, 2} << "2 warnings, 2 notes";
    }
    void messageSummary()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(QString, summary);
        QList<CompilerMessage> messages;
        for (int kind : kinds)
            messages.append({QString(), 1, 0, QString(), MarkKind(kind)});
        QCOMPARE(MessageSummary(messages), summary);
    }

    // The messages stay in a panel once the log has closed: a row goes to its
    // place, F8 moves the row, and the whole output can be read and searched.
    void messagesPanelStaysAfterTheLog()
    {
        Options().compiler = Compiler(QStringLiteral("\\x1b[1mCompiling\\x1b[0m\npong.qrx(2) : warning: "
                                                     "first\ninc/sprites.qrx(3,2) : second\nError in line 4\n"));
        OpenProject();
        CMainFrame *frame = CEditorApp::Instance()->MainFrame();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        ModalDriver driver;
        driver.Then([](QWidget *log) {
            auto *text = log->findChild<QPlainTextEdit *>();
            QVERIFY(QTest::qWaitFor([text] { return text->toPlainText().contains(QLatin1String("line 4")); }, 30000));
            log->close();
        });
        frame->MessagesDock()->hide();
        QTest::keyClick(frame, Qt::Key_F7);
        QTRY_VERIFY(frame->MessagesDock()->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(frame));
        CMessagesPanel *panel = frame->Messages();
        QCOMPARE(panel->findChild<QLabel *>()->text(), QStringLiteral("2 errors, 1 warning"));
        QTreeWidget *list = panel->List();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(1)->text(0), QDir::toNativeSeparators(QStringLiteral("inc/sprites.qrx")));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("3:2"));
        // A click goes to the place; F8 goes on from there and moves the row.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
        QCOMPARE(Caret(), QStringLiteral("inc/sprites.qrx:3:2"));
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("Message 2 of 3: inc/sprites.qrx(3,2) : second"));
        QTest::keyClick(frame, Qt::Key_F8);
        QCOMPARE(Caret(), QStringLiteral("pong.qrx:4:1"));
        QCOMPARE(list->currentItem(), list->topLevelItem(2));
        // Enter on a row.
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(Caret(), QStringLiteral("pong.qrx:2:1"));
        // With the caret on a marked line the status bar shows its message.
        QTest::keyClick(frame->ActiveView(), Qt::Key_Up);
        QVERIFY(!frame->statusBar()->currentMessage().contains(QLatin1String("first")));
        QTest::keyClick(frame->ActiveView(), Qt::Key_Down);
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("pong.qrx(2) : warning: first"));
        // The output, without its terminal colours, searched with Ctrl+F.
        auto *tabs = panel->findChild<QTabWidget *>();
        QCOMPARE(tabs->tabText(1), QStringLiteral("Output"));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QPlainTextEdit *output = panel->Output();
        QVERIFY(output->isVisible());
        QVERIFY(output->toPlainText().startsWith(QStringLiteral("Compiling\npong.qrx(2)")));
        output->setFocus();
        QTest::keyClick(output, Qt::Key_F, Qt::ControlModifier);
        auto *find = panel->findChild<QLineEdit *>();
        QTRY_VERIFY(find->isVisible() && find->hasFocus());
        QTest::keyClicks(find, QStringLiteral("line 4"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(output->textCursor().selectedText(), QStringLiteral("line 4"));
        // Ctrl+Shift+M hides the panel and shows it again; the menu item is ticked while it shows.
        QAction *item = nullptr;
        for (QAction *action : frame->findChildren<QAction *>()) {
            if (action->text().startsWith(QLatin1String("&Messages")))
                item = action;
        }
        QVERIFY(item && item->isChecked());
        QTest::keyClick(frame, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!frame->MessagesDock()->isVisible());
        QVERIFY(!item->isChecked());
        QTest::keyClick(frame, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(frame->MessagesDock()->isVisible());
        QVERIFY(item->isChecked());
    }

    // A compiler still running when its log was closed: its messages come when it ends.
    void messagesOfACompilerThatEndsAfterItsLogClosed()
    {
        const QString go = m_dir->path() + QStringLiteral("/go");
        Options().compiler =
            TestSupport::WriteScript(m_bin->path(), QStringLiteral("slow qrx"),
                                     QByteArrayLiteral("\"") + QBE_TEST_HELPER + "\" 'out=pong.qrx(2) : first\n' wait="
                                         + ShellQuoted(go) + " 'out=inc/sprites.qrx(3) : second\n'\n");
        CRichSyntaxDoc *doc = OpenProject();
        ModalDriver driver;
        driver.Then([](QWidget *log) {
            auto *text = log->findChild<QPlainTextEdit *>();
            QVERIFY(QTest::qWaitFor([text] { return text->toPlainText().contains(QLatin1String("first")); }, 30000));
            log->close();
        });
        Build().OnBuildCompile(*doc);
        CMainFrame *frame = CEditorApp::Instance()->MainFrame();
        QCOMPARE(frame->Messages()->List()->topLevelItemCount(), 1);
        TestSupport::WriteFile(go, "");
        QTRY_COMPARE_WITH_TIMEOUT(frame->Messages()->List()->topLevelItemCount(), 2, 30000);
        QVERIFY(frame->Messages()->Output()->toPlainText().endsWith(QLatin1String("second\n")));
        QVERIFY(!CTextMarks::Find(doc->TextDocument())->IsEmpty());
        QTest::keyClick(frame, Qt::Key_F8);
        QTest::keyClick(frame, Qt::Key_F8);
        QCOMPARE(Caret(), QStringLiteral("inc/sprites.qrx:3:1"));
    }

#ifndef Q_OS_WIN
    // Fault mended: a double quote or a blank in a file name split an argument or added one.
    void quoteAndBlankInTheFileNameStayOneArgument_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("compile") << 0 << QStringList{"my \"best\" game.qrx", "my \"best\" game.gba"};
        QTest::newRow("run") << 1 << QStringList{"my \"best\" game.gba"};
        QTest::newRow("link") << 2 << QStringList{"-f", "my \"best\" game.qrx", "my \"best\" game.gba"};
    }
    void quoteAndBlankInTheFileNameStayOneArgument()
    {
        QFETCH(int, command);
        QFETCH(QStringList, arguments);
        Options().linkerArguments = QStringLiteral("-f %f %b");
        auto doc = Source(Project(), QStringLiteral("my \"best\" game.qrx"));
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Run(command, *doc);
        QVERIFY(boxes.Texts().isEmpty());
        const QString record = command == 0 ? CompilerRecord() : command == 1 ? EmulatorRecord() : LinkerRecord();
        QTRY_VERIFY(QFile::exists(record));
        QCOMPARE(ReadRecord(record).arguments, arguments);
    }

    void windowsProgramsGoThroughWine_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("compile") << 0 << QStringList{"pong.qrx", "pong.gba"};
        QTest::newRow("run") << 1 << QStringList{"pong.gba"};
        QTest::newRow("link") << 2 << QStringList{"pong.mb"};
    }
    void windowsProgramsGoThroughWine()
    {
        QFETCH(int, command);
        QFETCH(QStringList, arguments);
        const QString wineRecord = m_dir->path() + QStringLiteral("/wine.txt");
        StandIn(QStringLiteral("wine"), wineRecord, command == 0);
        qputenv("PATH", QFile::encodeName(m_bin->path()) + ':' + m_path);
        QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/Program Files/QRX")));
        const QString configured =
            TestSupport::WriteFile(m_dir->path() + QStringLiteral("/Program Files/QRX/QRX.EXE"), "MZ");
        Options().compiler = Options().emulator = Options().linker = configured;
        Options().linkerArguments = QStringLiteral("%m");
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Run(command, *doc);
        QVERIFY(boxes.Texts().isEmpty());
        QTRY_VERIFY(QFile::exists(wineRecord));
        const Record record = ReadRecord(wineRecord);
        QCOMPARE(record.arguments, QStringList{configured} + arguments);
        QCOMPARE(record.folder, QDir(Project()).canonicalPath());
    }

    void withoutWineAWindowsProgramFails()
    {
        qputenv("PATH", QFile::encodeName(m_dir->path()));
        Options().compiler = TestSupport::WriteFile(m_dir->path() + QStringLiteral("/qrx.exe"), "MZ");
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        MessageBoxRecorder boxes;
        Build().OnBuildCompile(*doc);
        QCOMPARE(boxes.Texts(), QStringList{kCompilerFailed});
    }

    // Fault mended: a missing ".exe" went to wine, which complained in the log or said nothing.
    void missingWindowsProgramGivesTheDesignedMessage_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("compile") << 0 << kCompilerFailed;
        QTest::newRow("run") << 1 << kExecuteFailed;
        QTest::newRow("link") << 2 << kExecuteFailed;
    }
    void missingWindowsProgramGivesTheDesignedMessage()
    {
        QFETCH(int, command);
        QFETCH(QString, message);
        const QString wineRecord = m_dir->path() + QStringLiteral("/wine.txt");
        StandIn(QStringLiteral("wine"), wineRecord, true);
        qputenv("PATH", QFile::encodeName(m_bin->path()) + ':' + m_path);
        Options().compiler = Options().emulator = Options().linker = m_dir->path() + QStringLiteral("/nowhere/QRX.EXE");
        auto doc = Source(Project(), QStringLiteral("pong.qrx"));
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(CloseLogOnceRan());
        Run(command, *doc);
        QCOMPARE(boxes.Texts(), QStringList{message});
        QCOMPARE(driver.Handled(), 0);
        QVERIFY(!QFile::exists(wineRecord));
    }
#endif

private:
    QString m_home;
    QByteArray m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_bin;
};

QBE_TEST_MAIN(TestBuildCommands)
#include "tst_buildcommands.moc"
