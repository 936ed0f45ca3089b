// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/childframe.h"
#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "core/recoverystore.h"
#include "editor/fileerrors.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "wizard/wizarddlg.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
QByteArray WithCrLf(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            out.append("\r\n");
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
        } else {
            out.append(c);
        }
    }
    return out;
}

// A small filesystem of its own, so that a disk can really be full.
struct SmallDisk
{
    explicit SmallDisk(const QString &folder, int kilobytes) : path(folder)
    {
        QDir().mkpath(folder);
        mounted = QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), folder})
                  == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {path});
    }
    QString path;
    bool mounted = false;
};
} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

    // When a link took the place of a document's file.
    enum LinkSwap { NotSwapped, SwappedBeforeSave, SwappedWhileAsked };
    // When another user's link took a file's place.
    enum SwapMoment { RightAfterRead, RightAfterSave, BeforeReload };

    QString Fixture(const QString &name, const QByteArray &bytes)
    {
        return TestSupport::WriteFile(m_dir->filePath(name), bytes);
    }

    int Windows() const { return m_pMainFrame->MdiArea()->subWindowList().size(); }

    // Answers the next File/New wizard: blank file, or a project file named name.
    void AnswerWizard(const QString &name, bool cancel = false)
    {
        m_pDriver->Then([this, name, cancel](QWidget *wizard) {
            if (cancel)
                Child<QPushButton>(wizard, "cancelButton")->click();
            else
                TestSupport::FillWizard(wizard, {name, m_dir->path(), name.isEmpty(), false});
        });
    }

    void TypeInto(CRichSyntaxDoc *doc, const QString &text)
    {
        QTextCursor cursor(doc->TextDocument());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }

    // A window's deletion schedules its document's, so two rounds.
    void Flush()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString WithPath(const QString &message, const QString &path)
    {
        return message.contains(QLatin1String("%1")) ? message.arg(QDir::toNativeSeparators(path)) : message;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    CMainFrame *m_pMainFrame = nullptr;
    CDocTemplate *m_pTemplate = nullptr;
    std::unique_ptr<ModalDriver> m_pDriver;

#ifdef Q_OS_UNIX
    // A save cut off after 1 KiB reports a full disk, leaves the file's old
    // bytes and the document modified.
    void SaveCutShortKeepsTheOld(CRichSyntaxDoc *doc, MessageBoxRecorder &boxes, const QString &path,
                                 const QByteArray &old)
    {
        {
            FileSizeLimit limit(1024);
            QVERIFY(!doc->DoFileSave());
        }
        QCOMPARE(boxes.Texts(), QStringList{WithPath(QStringLiteral("Disk full while accessing %1."), path)});
        QCOMPARE(TestSupport::ReadFile(path), old);
        QVERIFY(doc->IsModified());
    }
#endif

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_pMainFrame = new CMainFrame;
        m_pTemplate = new CDocTemplate(m_pMainFrame);
        m_pMainFrame->resize(550, 550);
        m_pMainFrame->show();
        m_pMainFrame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_pMainFrame));
        m_pDriver = std::make_unique<ModalDriver>();
    }

    void cleanup()
    {
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
        m_pTemplate = nullptr;
        Flush();
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void openAndSaveGivesBackEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("kept"); // its one kind of line break; else written with CR LF

        QByteArray every;
        for (int b = 0; b < 256; ++b)
            every.append(char(b));
        QTest::newRow("every byte value") << every << false;
        QByteArray lines;
        for (int b = 255; b >= 0; --b)
            lines.append(char(b)).append(b % 3 == 0 ? "\n" : b % 3 == 1 ? "\r" : "\r\n");
        QTest::newRow("every byte value between mixed line breaks") << lines << false;
        QTest::newRow("NUL bytes") << QByteArray("A\0B\0\0C", 6) << false;
        QTest::newRow("no final line break") << QByteArray("PRINT 1\r\nEND") << false;
        QTest::newRow("final line break") << QByteArray("PRINT 1\r\nEND\r\n") << false;
        QTest::newRow("no-break space in Windows-1252") << QByteArray("A\xA0"
                                                                      "B")
                                                        << false;
        QTest::newRow("UTF-8 without byte-order mark")
            << QByteArray("' \xC3\xA9t\xC3\xA9 \xE2\x82\xAC\r\nEND") << false;
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF' \xC3\xA9\r\n") << false;
        QTest::newRow("UTF-8 no-break space and line separator") << QByteArray("a\xC2\xA0"
                                                                               "b\xE2\x80\xA8"
                                                                               "c")
                                                                 << false;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("LF kept") << QByteArray("PRINT 1\n\nEND\n") << true;
        QTest::newRow("CR kept") << QByteArray("PRINT 1\rEND") << true;
    }

    void openAndSaveGivesBackEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, kept);
        MessageBoxRecorder boxes;
        const QString path = Fixture(QStringLiteral("source.qrx"), bytes);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        QCOMPARE(Windows(), 1);
        QVERIFY(!doc->IsModified());
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), kept ? bytes : WithCrLf(bytes));
        QVERIFY(boxes.Boxes().isEmpty());
    }

    // Fault mended: a file behind a UTF-16 byte-order mark showed as noise,
    // and saving it corrupted it.
    void utf16OpensAsTextAndSavesBack_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("little-endian") << false;
        QTest::newRow("big-endian") << true;
    }

    void utf16OpensAsTextAndSavesBack()
    {
        QFETCH(bool, bigEndian);
        const QString text = QString::fromUtf16(u"' \u00E9t\u00E9 \u20AC \U0001F600\r\nprint \"\u4E2D\"\r\n");
        QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
        for (QChar ch : text) {
            const char high = char(ch.unicode() >> 8);
            const char low = char(ch.unicode() & 0xFF);
            bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
        }
        MessageBoxRecorder boxes;
        const QString path = Fixture(QStringLiteral("wide.qrx"), bytes);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        QCOMPARE(doc->TextDocument()->toPlainText(), QString(text).remove(QLatin1Char('\r')));
        QCOMPARE(doc->Encoding(), bigEndian ? SourceEncoding::Utf16Be : SourceEncoding::Utf16Le);
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), bytes);
        QVERIFY(boxes.Boxes().isEmpty());
    }

    void modifiedFlagIsTheTextDocuments()
    {
        const QString path = Fixture(QStringLiteral("flag.qrx"), "PRINT 1\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        QVERIFY(!doc->IsModified());
        CChildFrame *frame = CDocTemplate::Frames(doc).constFirst();
        frame->GetView()->setFocus();
        QTest::keyClick(frame->GetView(), Qt::Key_X);
        QVERIFY(doc->IsModified());
        QVERIFY(doc->TextDocument()->isModified());
        QVERIFY(doc->DoFileSave());
        QVERIFY(!doc->IsModified());
        doc->SetModifiedFlag(true);
        QVERIFY(doc->TextDocument()->isModified());
    }

    void titlesAreNumberedByFileNew()
    {
        MessageBoxRecorder boxes;
        AnswerWizard(QString());
        CRichSyntaxDoc *first = m_pTemplate->OpenNewDocument();
        QCOMPARE(m_pDriver->Pending(), 0);
        QVERIFY(first);
        QCOMPARE(first->GetTitle(), QStringLiteral("Untitled1"));
        QVERIFY(first->GetPathName().isEmpty());

        AnswerWizard(QStringLiteral("Game"));
        CRichSyntaxDoc *project = m_pTemplate->OpenNewDocument();
        QVERIFY(project);
        QCOMPARE(project->GetTitle(), QStringLiteral("Game.qrx"));

        AnswerWizard(QString(), true);
        QVERIFY(!m_pTemplate->OpenNewDocument());

        // The project document counts, the cancelled wizard does not.
        AnswerWizard(QString());
        CRichSyntaxDoc *third = m_pTemplate->OpenNewDocument();
        QVERIFY(third);
        QCOMPARE(third->GetTitle(), QStringLiteral("Untitled3"));
        QCOMPARE(Windows(), 3);
        QCOMPARE(CDocTemplate::Frames(third).constFirst()->windowTitle(), QStringLiteral("Untitled3"));
        QVERIFY(m_pMainFrame->windowTitle().contains(QStringLiteral("Untitled3")));
    }

    void openedFileIsTitledByItsName()
    {
        const QString path = Fixture(QStringLiteral("Named File.qrx"), "END\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        QCOMPARE(doc->GetTitle(), QStringLiteral("Named File.qrx"));
        QCOMPARE(doc->GetPathName(), QFileInfo(path).absoluteFilePath());
        CChildFrame *frame = CDocTemplate::Frames(doc).constFirst();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Named File.qrx"));
        QVERIFY(frame->isMaximized());
    }

    void closingPrompt_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("onDisk");

        QTest::newRow("Yes saves and closes") << int(QMessageBox::Yes) << true << QByteArray("OLD\r\nNEW");
        QTest::newRow("No discards and closes") << int(QMessageBox::No) << true << QByteArray("OLD\r\n");
        QTest::newRow("Cancel keeps the window open") << int(QMessageBox::Cancel) << false << QByteArray("OLD\r\n");
    }

    void closingPrompt()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(QByteArray, onDisk);
        const QString path = Fixture(QStringLiteral("prompt.qrx"), "OLD\r\n");
        QPointer<CRichSyntaxDoc> doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("NEW"));
        QPointer<CChildFrame> frame = CDocTemplate::Frames(doc).constFirst();

        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::StandardButton(answer));
        frame->close();
        Flush();
        QCOMPARE(boxes.Boxes().size(), 1);
        QCOMPARE(boxes.Boxes().at(0).text, QStringLiteral("Save changes to prompt.qrx?"));
        QCOMPARE(boxes.Boxes().at(0).icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().at(0).buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(frame.isNull(), closed);
        QCOMPARE(doc.isNull(), closed);
        QCOMPARE(m_pTemplate->Documents().size(), closed ? 0 : 1);
        QCOMPARE(TestSupport::ReadFile(path), onDisk);
        if (!closed)
            QVERIFY(doc->IsModified());
    }

    void closingAnUnmodifiedWindowDoesNotAsk()
    {
        MessageBoxRecorder boxes;
        const QString path = Fixture(QStringLiteral("quiet.qrx"), "END\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        CDocTemplate::Frames(doc).constFirst()->close();
        Flush();
        QVERIFY(boxes.Boxes().isEmpty());
        QCOMPARE(Windows(), 0);
    }

    void yesOnAnUntitledDocumentAsksForAName()
    {
        AnswerWizard(QString());
        QPointer<CRichSyntaxDoc> doc = m_pTemplate->OpenNewDocument();
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("PRINT 1"));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        FileDialogStub dialogs;
        const QString target = m_dir->filePath(QStringLiteral("chosen.qrx"));
        dialogs.Answer(target);
        CDocTemplate::Frames(doc).constFirst()->close();
        Flush();
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Save changes to Untitled1?")});
        QCOMPARE(dialogs.Requests().size(), 1);
        const FileDialogRequest &request = dialogs.Requests().constFirst();
        QCOMPARE(request.mode, FileDialogRequest::SaveFile);
        QCOMPARE(request.filters,
                 QStringList({QStringLiteral("Quarn BASIC Code Files (*.qrx)"), QStringLiteral("All Files (*)")}));
        QCOMPARE(request.defaultSuffix, QStringLiteral("qrx"));
        QCOMPARE(request.fileName, QStringLiteral("Untitled1.qrx"));
        QCOMPARE(TestSupport::ReadFile(target), QByteArray("PRINT 1"));
        QVERIFY(doc.isNull());
    }

    void cancelledSaveAsKeepsTheWindowOpen()
    {
        AnswerWizard(QString());
        CRichSyntaxDoc *doc = m_pTemplate->OpenNewDocument();
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("PRINT 1"));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        FileDialogStub dialogs; // answers with an empty path: cancelled
        CDocTemplate::Frames(doc).constFirst()->close();
        Flush();
        QCOMPARE(Windows(), 1);
        QVERIFY(doc->IsModified());
    }

    void onlyTheLastWindowOfADocumentAsks()
    {
        const QString path = Fixture(QStringLiteral("two.qrx"), "A\r\n");
        QPointer<CRichSyntaxDoc> doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        CChildFrame *second = m_pTemplate->CreateNewFrame(doc);
        QVERIFY(second);
        QCOMPARE(Windows(), 2);
        QCOMPARE(second->GetView()->document(), doc->TextDocument());
        QVERIFY(second->isMaximized());
        TypeInto(doc, QStringLiteral("B"));

        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        second->close();
        Flush();
        QVERIFY(boxes.Boxes().isEmpty());
        QVERIFY(!doc.isNull());
        QCOMPARE(Windows(), 1);
        QCOMPARE(doc->Views().size(), 1);

        CDocTemplate::Frames(doc).constFirst()->close();
        Flush();
        QCOMPARE(boxes.Boxes().size(), 1);
        QVERIFY(doc.isNull());
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("A\r\n"));
    }

    void exitAsksForEveryModifiedDocumentAndCancelStopsIt()
    {
        const QString a = Fixture(QStringLiteral("a.qrx"), "A");
        const QString b = Fixture(QStringLiteral("b.qrx"), "B");
        CRichSyntaxDoc *docA = m_pTemplate->OpenDocumentFile(a);
        CRichSyntaxDoc *docB = m_pTemplate->OpenDocumentFile(b);
        QVERIFY(docA && docB);
        TypeInto(docA, QStringLiteral("1"));
        TypeInto(docB, QStringLiteral("2"));

        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        boxes.Answer(QMessageBox::Cancel);
        QVERIFY(!m_pTemplate->SaveAllModified());
        QCOMPARE(boxes.Texts(),
                 QStringList({QStringLiteral("Save changes to a.qrx?"), QStringLiteral("Save changes to b.qrx?")}));
        QCOMPARE(TestSupport::ReadFile(a), QByteArray("A1"));
        QCOMPARE(Windows(), 2);

        boxes.Clear();
        boxes.Answer(QMessageBox::No);
        QVERIFY(m_pTemplate->SaveAllModified());
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Save changes to b.qrx?")});
        m_pTemplate->CloseAllDocuments();
        Flush();
        QCOMPARE(Windows(), 0);
        QVERIFY(m_pTemplate->Documents().isEmpty());
        QCOMPARE(TestSupport::ReadFile(b), QByteArray("B"));
    }

    void openingAnOpenFileActivatesItsWindow()
    {
        const QString a = Fixture(QStringLiteral("first.qrx"), "A");
        const QString b = Fixture(QStringLiteral("second.qrx"), "B");
        CRichSyntaxDoc *docA = m_pTemplate->OpenDocumentFile(a);
        CRichSyntaxDoc *docB = m_pTemplate->OpenDocumentFile(b);
        QVERIFY(docA && docB);
        TypeInto(docA, QStringLiteral("typed"));
        QCOMPARE(m_pMainFrame->ActiveDocument(), docB);
        QCOMPARE(m_pTemplate->OpenDocumentFile(m_dir->path() + QStringLiteral("/./first.qrx")), docA);
        QCOMPARE(Windows(), 2);
        QCOMPARE(m_pMainFrame->ActiveDocument(), docA);
        QCOMPARE(docA->TextDocument()->toPlainText(), QStringLiteral("Atyped"));
    }

    void openErrorsNameTheCause_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");

        QTest::newRow("missing file") << QStringLiteral("missing.qrx") << QStringLiteral("%1 was not found.");
        QTest::newRow("missing folder") << QStringLiteral("nowhere/missing.qrx") << QStringLiteral("%1 was not found.");
        QTest::newRow("a folder") << QStringLiteral("folder.qrx") << QStringLiteral("Access to %1 was denied.");
#ifdef Q_OS_UNIX
        QTest::newRow("a name that is no text")
            << QStringLiteral("bad-name")
            << QStringLiteral("%1 cannot be opened: its name is not valid in the system's "
                              "encoding, so it cannot be found.");
        QTest::newRow("a named pipe") << QStringLiteral("pipe.qrx") << QStringLiteral("Failed to open document.");
#endif
    }

    void openErrorsNameTheCause()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QString path = m_dir->filePath(name);
        QDir(m_dir->path()).mkdir(QStringLiteral("folder.qrx"));
        if (name == QLatin1String("bad-name")) {
            // The name's bytes are no UTF-8; what Qt makes of them names nothing.
            const QByteArray raw = QFile::encodeName(m_dir->path()) + "/bad\xff.qrx";
            FILE *file = std::fopen(raw.constData(), "w");
            QVERIFY(file && std::fclose(file) == 0);
            path = QFile::decodeName(raw);
        }
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir->filePath(QStringLiteral("pipe.qrx"))).constData(), 0600), 0);
#endif
        MessageBoxRecorder boxes;
        QVERIFY(!m_pTemplate->OpenDocumentFile(path));
        QCOMPARE(boxes.Texts(), QStringList{WithPath(message, path)});
        QCOMPARE(boxes.Boxes().at(0).icon, QMessageBox::Warning);
        // A failed open leaves no window and no document.
        QCOMPARE(Windows(), 0);
        QVERIFY(m_pTemplate->Documents().isEmpty());
        QVERIFY(m_pTemplate->findChildren<CRichSyntaxDoc *>().isEmpty());
    }

    // A line of a million characters opens; one character more, and the file
    // is refused with its name, the line and the limit, and left as it was.
    void longLinesUpToTheLimitOpen_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("opens");
        QTest::newRow("exactly the limit") << 1000000 << true;
        QTest::newRow("one more") << 1000001 << false;
    }

    void longLinesUpToTheLimitOpen()
    {
        QFETCH(int, length);
        QFETCH(bool, opens);
        const QByteArray bytes = "print 1\r\ncls\r\n" + QByteArray(length, 'x') + "\r\nend\r\n";
        const QString path = Fixture(QStringLiteral("wide.qrx"), bytes);
        MessageBoxRecorder boxes;
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QCOMPARE(doc != nullptr, opens);
        QCOMPARE(Windows(), opens ? 1 : 0);
        if (opens) {
            QVERIFY(boxes.Boxes().isEmpty());
            QCOMPARE(doc->TextDocument()->findBlockByNumber(2).length(), length + 1);
        } else {
            QCOMPARE(boxes.Texts(),
                     QStringList{QDir::toNativeSeparators(path)
                                 + QStringLiteral(" cannot be opened: line 3 is longer than 1000000 characters, "
                                                  "the most a line may hold.")});
        }
        QCOMPARE(TestSupport::ReadFile(path), bytes);
    }

    void fileErrorTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("disk full") << ENOSPC << QStringLiteral("Disk full while accessing %1.");
        QTest::newRow("file too large") << EFBIG << QStringLiteral("Disk full while accessing %1.");
        QTest::newRow("input/output error") << EIO << QStringLiteral("Failed to save document.");
        QTest::newRow("access denied") << EACCES << QStringLiteral("Access to %1 was denied.");
        QTest::newRow("read-only file system") << EROFS << QStringLiteral("Access to %1 was denied.");
        QTest::newRow("sharing violation")
            << EBUSY << QStringLiteral("A sharing violation occurred while accessing %1.");
        QTest::newRow("not found") << ENOENT << QStringLiteral("%1 was not found.");
    }
    void fileErrorTexts()
    {
        QFETCH(int, error);
        QFETCH(QString, message);
        const QString path = QStringLiteral("/some/where.qrx");
        QCOMPARE(FileErrorText(error, path, QStringLiteral("Failed to save document.")), WithPath(message, path));
    }

#ifdef Q_OS_UNIX
    // Regression: a save that fails part-way must not truncate the only copy of the file.
    void failedSaveLeavesOldFileAndDocument()
    {
        const QByteArray old("OLD LINE 1\r\nOLD LINE 2\r\n");
        const QString path = Fixture(QStringLiteral("keep.qrx"), old);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QString(4096, QLatin1Char('n')));
        const QString text = doc->TextDocument()->toPlainText();

        MessageBoxRecorder boxes;
        SaveCutShortKeepsTheOld(doc, boxes, path, old);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(doc->TextDocument()->toPlainText(), text);
        QCOMPARE(doc->GetPathName(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(Windows(), 1);
        // No temporary file is left behind.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.qrx")});
    }
#endif

    void fullDiskLeavesOldFileIntact()
    {
        SmallDisk disk(m_dir->filePath(QStringLiteral("small")), 64);
        if (!disk.mounted)
            QSKIP("no permission to mount a small filesystem; the file size limit covers this");
        const QByteArray old = QByteArray(20 * 1024, 'o') + "\r\n";
        const QString path = disk.path + QStringLiteral("/full.qrx");
        QVERIFY(!TestSupport::WriteFile(path, old).isEmpty());
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QString(60 * 1024, QLatin1Char('n')));

        MessageBoxRecorder boxes;
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(boxes.Texts(),
                 QStringList{QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(path))});
        QCOMPARE(TestSupport::ReadFile(path), old);
        QVERIFY(doc->IsModified());
        QCOMPARE(QDir(disk.path).entryList(QDir::Files), QStringList{QStringLiteral("full.qrx")});
        // Once there is room again the same document saves.
        doc->TextDocument()->setPlainText(QStringLiteral("short"));
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("short"));
        CloseAll();
    }

    void failedSaveAsKeepsPathAndTitle()
    {
        const QString path = Fixture(QStringLiteral("orig.qrx"), "X");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("Y"));
        MessageBoxRecorder boxes;
        FileDialogStub dialogs;
        const QString target = m_dir->filePath(QStringLiteral("nowhere/copy.qrx"));
        dialogs.Answer(target);
        QVERIFY(!doc->DoSave(QString()));
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("%1 was not found.").arg(QDir::toNativeSeparators(target))});
        QCOMPARE(doc->GetTitle(), QStringLiteral("orig.qrx"));
        QCOMPARE(doc->GetPathName(), QFileInfo(path).absoluteFilePath());
        QVERIFY(doc->IsModified());
        QCOMPARE(dialogs.Requests().constFirst().fileName, QStringLiteral("orig.qrx"));
        QCOMPARE(dialogs.Requests().constFirst().directory, QFileInfo(path).absolutePath());
    }

    void saveAsTakesTheNewName()
    {
        const QString path = Fixture(QStringLiteral("before.qrx"), "X");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        FileDialogStub dialogs;
        const QString target = m_dir->filePath(QStringLiteral("after.qrx"));
        dialogs.Answer(target);
        QVERIFY(doc->DoSave(QString()));
        QCOMPARE(doc->GetTitle(), QStringLiteral("after.qrx"));
        QCOMPARE(doc->GetPathName(), target);
        QCOMPARE(CDocTemplate::Frames(doc).constFirst()->windowTitle(), QStringLiteral("after.qrx"));
        QVERIFY(m_pMainFrame->windowTitle().contains(QStringLiteral("after.qrx")));
        QCOMPARE(TestSupport::ReadFile(target), QByteArray("X"));
    }

    void saveAsAddsTheExtensionToATypedName()
    {
        AnswerWizard(QString());
        CRichSyntaxDoc *doc = m_pTemplate->OpenNewDocument();
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("END"));
        bool typed = false;
        m_pDriver->Then([this, &typed](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialog->setDirectory(m_dir->path());
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(QStringLiteral("typed"));
            typed = true;
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QVERIFY(doc->DoSave(QString()));
        QVERIFY(typed);
        QCOMPARE(doc->GetPathName(), m_dir->filePath(QStringLiteral("typed.qrx")));
        QCOMPARE(TestSupport::ReadFile(m_dir->filePath(QStringLiteral("typed.qrx"))), QByteArray("END"));
    }

    // Fault mended: a name typed in the Open dialog with a quote in it named another file, or none.
    void typedNameWithAQuoteOpensThatFile()
    {
        const QString path = Fixture(QStringLiteral("say \"hi\".qrx"), "cls\r\n");
        m_pDriver->Then([this](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            dialog->setDirectory(m_dir->path());
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(QStringLiteral("say \"hi\".qrx"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        // A complaint about the name, were there one, goes away unanswered.
        m_pDriver->Otherwise([](QWidget *box) { box->close(); });
        FileDialogRequest request;
        request.filters = CRichSyntaxDoc::FileFilters();
        QCOMPARE(Services().FileDialog(m_pMainFrame, request), path);
    }

    // Another program's version of the file, with a time of its own.
    static void ChangeOnDisk(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    }

    // Makes the other window active and then the document's again, as a user switching windows.
    void Reactivate(CRichSyntaxDoc *doc, CRichSyntaxDoc *other)
    {
        m_pMainFrame->MdiArea()->setActiveSubWindow(CDocTemplate::Frames(other).constFirst());
        m_pMainFrame->MdiArea()->setActiveSubWindow(CDocTemplate::Frames(doc).constFirst());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // Fault mended: where a volume keeps coarse times, a change soon after the load kept size and time and was missed.
    void changeThatKeepsSizeAndTimeIsNoticed()
    {
        const QString path = Fixture(QStringLiteral("coarse.qrx"), "print 1\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        const QDateTime time = QFileInfo(path).lastModified();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write("print 2\r\n") == 9 && file.flush());
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        MessageBoxRecorder boxes;
        doc->CheckFileOnDisk();
        QCOMPARE(boxes.Texts().size(), 1);
    }

    // Fault mended: a file changed by another program was overwritten without a word.
    void fileChangedOnDiskAsksToReloadOnActivation()
    {
        const QString path = Fixture(QStringLiteral("shared.qrx"), "cls\r\n");
        CRichSyntaxDoc *other = m_pTemplate->OpenDocumentFile(Fixture(QStringLiteral("other.qrx"), "end\r\n"));
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc && other);
        const QString question =
            WithPath(QStringLiteral("%1 has been changed by another program.\nDo you want to reload it?"), path);

        // Touched only: same contents, new time.
        MessageBoxRecorder boxes;
        ChangeOnDisk(path, "cls\r\n");
        Reactivate(doc, other);
        QCOMPARE(boxes.Texts(), QStringList());

        // Changed, and the user keeps the editor's text: asked once.
        ChangeOnDisk(path, "print 1\r\n");
        boxes.Answer(QMessageBox::No);
        Reactivate(doc, other);
        QCOMPARE(boxes.Texts(), QStringList{question});
        QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("cls\n"));
        Reactivate(doc, other);
        QCOMPARE(boxes.Texts().size(), 1);

        // Changed again while the text is modified: the loss is named; Yes reloads.
        TypeInto(doc, QStringLiteral("x"));
        ChangeOnDisk(path, "print 2\r\n");
        boxes.Answer(QMessageBox::Yes);
        Reactivate(doc, other);
        QCOMPARE(boxes.Texts().constLast(), question + QStringLiteral("\nYour unsaved changes will be lost."));
        QCOMPARE(boxes.Boxes().constLast().defaultButton, QMessageBox::No);
        QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("print 2\n"));
        QVERIFY(!doc->IsModified());

        // Back from another program: the main window's activation asks too.
        ChangeOnDisk(path, "print 3\r\n");
        boxes.Answer(QMessageBox::Yes);
        QEvent activation(QEvent::ActivationChange);
        QApplication::sendEvent(m_pMainFrame, &activation);
        QTRY_COMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("print 3\n"));
    }

    void savingOverAnotherProgramsChangeAsksFirst()
    {
        const QString path = Fixture(QStringLiteral("theirs.qrx"), "cls\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("mine"));
        ChangeOnDisk(path, "theirs\r\n");
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(boxes.Texts(),
                 QStringList{WithPath(QStringLiteral("%1 has been changed by another program since it was opened.\n"
                                                     "Do you want to overwrite it?"),
                                      path)});
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("theirs\r\n"));
        QVERIFY(doc->IsModified());
        boxes.Answer(QMessageBox::Yes);
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("cls\r\nmine"));
        // Its own save is no other program's change.
        TypeInto(doc, QStringLiteral("!"));
        QVERIFY(doc->DoFileSave());
        QCOMPARE(boxes.Texts().size(), 2);
    }

#ifdef Q_OS_UNIX
    // Fault mended: a save into a folder that refuses temporary files truncated the
    // old file first, so a crash or a full disk in the middle destroyed it.
    void inPlaceSavesNeverLoseTheOldFile()
    {
        if (TestSupport::IsRoot()) {
            // Permissions do not bind root: the case runs again as an ordinary user,
            // with a small volume of its own where one can be mounted.
            QTemporaryDir small(QStringLiteral("/tmp/qbe-small-XXXXXX"));
            QFile::setPermissions(small.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                    | QFile::ExeOther);
            SmallDisk disk(small.path(), 64);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (disk.mounted) {
                QVERIFY(QDir(disk.path).mkdir(QStringLiteral("locked")));
                const QString full = TestSupport::WriteFile(disk.path + QStringLiteral("/locked/full.qrx"),
                                                            QByteArray(20 * 1024, 'o') + "\r\n");
                QVERIFY(::chown(QFile::encodeName(full).constData(), 65534, 65534) == 0);
                env.insert(QStringLiteral("QBE_SMALL_VOLUME_FILE"), full);
            }
            QByteArray said;
            QVERIFY2(TestSupport::PassesAsOrdinaryUser(QStringLiteral("inPlaceSavesNeverLoseTheOldFile"), &said, env,
                                                       disk.mounted),
                     said.constData());
            return;
        }
        const QString folder = m_dir->filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray old("OLD LINE 1\r\nOLD LINE 2\r\n");
        const QString path = TestSupport::WriteFile(folder + QStringLiteral("/in place.qrx"), old);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QString(4096, QLatin1Char('n')));
        MessageBoxRecorder boxes;

        // A write that fails half-way puts the old bytes back and keeps no backup.
        SaveCutShortKeepsTheOld(doc, boxes, path, old);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!QDirIterator(CRecoveryStore::BaseFolder(), {QStringLiteral("backup-*")}, QDir::Files,
                              QDirIterator::Subdirectories)
                     .hasNext());

        // The save itself goes in place, and the folder holds nothing else afterwards.
        QVERIFY(doc->DoFileSave());
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("OLD LINE 1\r\nOLD LINE 2\r\n") + QByteArray(4096, 'n'));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("in place.qrx")});
        QVERIFY(!QDirIterator(CRecoveryStore::BaseFolder(), {QStringLiteral("backup-*")}, QDir::Files,
                              QDirIterator::Subdirectories)
                     .hasNext());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // A volume without room for the new text: nothing is written, not even cut.
        const QString full = qEnvironmentVariable("QBE_SMALL_VOLUME_FILE");
        if (full.isEmpty())
            QSKIP("no small volume to fill; the root run mounts one");
        const QByteArray fullOld = TestSupport::ReadFile(full);
        const QDateTime fullTime = QFileInfo(full).lastModified();
        CRichSyntaxDoc *big = m_pTemplate->OpenDocumentFile(full);
        QVERIFY(big);
        TypeInto(big, QString(100 * 1024, QLatin1Char('b')));
        boxes.Clear();
        QVERIFY(!big->DoFileSave());
        QCOMPARE(boxes.Texts(), QStringList{WithPath(QStringLiteral("Disk full while accessing %1."), full)});
        QCOMPARE(TestSupport::ReadFile(full), fullOld);
        // Not even written and put back.
        QCOMPARE(QFileInfo(full).lastModified(), fullTime);
        CloseAll();
    }

    // The same without a mount: a read-only file in a folder without write permission.
    void readOnlyFileInALockedFolderAsksForANameAndKeepsTheOld()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind root; the read-only mount covers it");
        const QString folder = m_dir->filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/locked.qrx");
        QVERIFY(!TestSupport::WriteFile(path, "OLD").isEmpty());
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("NEW"));
        MessageBoxRecorder boxes;
        FileDialogStub dialogs;
        dialogs.Answer(path);
        const bool saved = doc->DoFileSave();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(boxes.Texts(), QStringList{WithPath(QStringLiteral("Access to %1 was denied."), path)});
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("OLD"));
        QVERIFY(doc->IsModified());
        CloseAll();
    }
#endif

    void readOnlyFileAsksForANameAndKeepsTheOld()
    {
        SmallDisk disk(m_dir->filePath(QStringLiteral("ro")), 64);
        if (!disk.mounted)
            QSKIP("no permission to mount a small filesystem");
        const QString path = disk.path + QStringLiteral("/locked.qrx");
        QVERIFY(!TestSupport::WriteFile(path, "OLD").isEmpty());
        QCOMPARE(
            QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), disk.path}),
            0);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("NEW"));
        MessageBoxRecorder boxes;
        FileDialogStub dialogs;
        dialogs.Answer(path);
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(boxes.Texts(), QStringList{WithPath(QStringLiteral("Access to %1 was denied."), path)});
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("OLD"));
        QVERIFY(doc->IsModified());
        CloseAll();
    }

    // Fault mended: a save wrote through a link that another user had put in the file's place.
    void saveFollowsOnlyTheLinkThatWasThere_data()
    {
        QTest::addColumn<QString>("target"); // where the link points: "" for a file that exists
        QTest::addColumn<int>("swap");       // when the link took the file's place
        QTest::addColumn<int>("answer");     // to the question whether to overwrite
        QTest::newRow("there when opened: followed") << "" << int(NotSwapped) << int(QMessageBox::NoButton);
        QTest::newRow("swapped in, dangling, No")
            << "locked/made.qrx" << int(SwappedBeforeSave) << int(QMessageBox::No);
        QTest::newRow("swapped in, dangling, Yes: replaced")
            << "locked/made.qrx" << int(SwappedBeforeSave) << int(QMessageBox::Yes);
        QTest::newRow("swapped in to a file, Yes: replaced") << "" << int(SwappedBeforeSave) << int(QMessageBox::Yes);
        QTest::newRow("swapped in while asked, Yes: replaced")
            << "locked/made.qrx" << int(SwappedWhileAsked) << int(QMessageBox::Yes);
    }
    void saveFollowsOnlyTheLinkThatWasThere()
    {
        QFETCH(QString, target);
        QFETCH(int, swap);
        QFETCH(int, answer);
        const QString pointedTo =
            target.isEmpty() ? Fixture(QStringLiteral("target.qrx"), "THEIRS") : m_dir->filePath(target);
        const QString link = m_dir->filePath(QStringLiteral("link.qrx"));
        if (swap == NotSwapped)
            QVERIFY(QFile::link(pointedTo, link));
        else
            Fixture(QStringLiteral("link.qrx"), "MINE");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(link);
        QVERIFY(doc);
        QCOMPARE(doc->GetTitle(), QStringLiteral("link.qrx"));
        TypeInto(doc, QStringLiteral("NEW"));
        const auto swapIn = [&] { QVERIFY(QFile::remove(link) && QFile::link(pointedTo, link)); };
        MessageBoxRecorder boxes;
        if (swap == SwappedBeforeSave) {
            swapIn();
        } else if (swap == SwappedWhileAsked) {
            // Another program rewrites the file; while the question is up, a link takes its place.
            TestSupport::WriteFile(link, "OTHER");
            boxes.WhileShown(swapIn);
        }
        boxes.Answer(QMessageBox::StandardButton(answer));
        FileDialogStub names;
        names.Answer(link);
        QCOMPARE(doc->DoFileSave(), answer != QMessageBox::No);
        QCOMPARE(boxes.Texts().size(), swap == NotSwapped ? 0 : 1);
        QCOMPARE(QFileInfo(link).isSymLink(), swap == NotSwapped || answer == QMessageBox::No);
        if (swap == NotSwapped) {
            QCOMPARE(TestSupport::ReadFile(pointedTo), QByteArray("THEIRSNEW"));
            return;
        }
        QCOMPARE(TestSupport::ReadFile(pointedTo),
                 target.isEmpty() ? QByteArray("THEIRS") : QByteArray("<unreadable>"));
        if (answer == QMessageBox::Yes)
            QCOMPARE(TestSupport::ReadFile(link), QByteArray("MINENEW"));
    }

#ifdef Q_OS_UNIX
    // Fault mended: the file's state was looked at again after the read or
    // the write, so a link that came in between was taken for the file, and
    // the next save wrote through it without a word.
    void linkSwappedInRightAfterAReadOrWriteIsNoticed_data()
    {
        QTest::addColumn<int>("moment");
        QTest::newRow("right after the read") << int(RightAfterRead);
        QTest::newRow("right after a save") << int(RightAfterSave);
        QTest::newRow("before a reload the user agreed to") << int(BeforeReload);
    }
    void linkSwappedInRightAfterAReadOrWriteIsNoticed()
    {
        QFETCH(int, moment);
        const QString file = Fixture(QStringLiteral("f.qrx"), "MINE");
        const QString secret = Fixture(QStringLiteral("secret.qrx"), "SECRET");
        {
            // Long unchanged, so that its time alone would not raise the question.
            QFile old(secret);
            QVERIFY(old.open(QIODevice::ReadWrite)
                    && old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        }
        const QString link = m_dir->filePath(QStringLiteral("ev.lnk"));
        QVERIFY(QFile::link(secret, link));
        CRichSyntaxDoc *doc = moment == RightAfterRead ? nullptr : m_pTemplate->OpenDocumentFile(file);
        MessageBoxRecorder boxes;
        if (moment == BeforeReload) {
            QVERIFY(doc && ::rename(QFile::encodeName(link).constData(), QFile::encodeName(file).constData()) == 0);
            boxes.Answer(QMessageBox::Yes);
            doc->CheckFileOnDisk();
            QCOMPARE(doc->TextDocument()->toPlainText(), QStringLiteral("SECRET"));
        } else {
            // Another user puts the link in place the moment after the file is read or written.
            static QString s_link;
            s_link = link;
            g_afterFileAccessForTests = [](const QString &path) {
                g_afterFileAccessForTests = nullptr;
                QVERIFY(::rename(QFile::encodeName(s_link).constData(), QFile::encodeName(path).constData()) == 0);
            };
            if (doc) {
                TypeInto(doc, QStringLiteral("1"));
                QVERIFY(doc->DoFileSave());
            } else {
                QVERIFY(doc = m_pTemplate->OpenDocumentFile(file));
            }
            QVERIFY(!g_afterFileAccessForTests);
        }

        TypeInto(doc, QStringLiteral("2"));
        boxes.Clear();
        boxes.Answer(QMessageBox::No);
        QVERIFY(!doc->DoFileSave());
        QCOMPARE(boxes.Texts().size(), 1);
        QCOMPARE(TestSupport::ReadFile(secret), QByteArray("SECRET"));
    }

    // Fault mended: Save As onto a name where another user had put a link
    // wrote through it: into a file the link named, or creating one there.
    void saveAsFollowsOnlyTheUsersOwnLinks_data()
    {
        QTest::addColumn<bool>("own");      // the link is the saving user's
        QTest::addColumn<bool>("dangling"); // the file it names is not there
        QTest::newRow("own link to a file to be made: followed") << true << true;
        QTest::newRow("another user's link to a file to be made: replaced") << false << true;
        QTest::newRow("another user's link to a private file: replaced, as private") << false << false;
    }
    void saveAsFollowsOnlyTheUsersOwnLinks()
    {
        QFETCH(bool, own);
        QFETCH(bool, dangling);
        if (!own && !TestSupport::IsRoot())
            QSKIP("only root makes links of other users");
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("private")));
        const QString target = m_dir->filePath(QStringLiteral("private/named.qrx"));
        if (!dangling) {
            TestSupport::WriteFile(target, "SECRET");
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        }
        const QString link = m_dir->filePath(QStringLiteral("chosen.qrx"));
        QVERIFY(QFile::link(target, link));
        if (!own)
            QVERIFY(::lchown(QFile::encodeName(link).constData(), 65534, 65534) == 0);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(Fixture(QStringLiteral("start.qrx"), "MINE"));
        QVERIFY(doc);
        QVERIFY(doc->DoSave(link));
        QCOMPARE(QFileInfo(link).isSymLink(), own);
        QCOMPARE(TestSupport::ReadFile(target), own        ? QByteArray("MINE")
                                                : dangling ? QByteArray("<unreadable>")
                                                           : QByteArray("SECRET"));
        if (!own) {
            QCOMPARE(TestSupport::ReadFile(link), QByteArray("MINE"));
            if (!dangling)
                QCOMPARE(QFileInfo(link).permissions() & 0x0077, QFileDevice::Permissions());
        }
    }

    // Fault mended: a save gave the file the saving user's owner and group, and split hard links.
    void saveKeepsOwnerGroupAndLinks_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("hard link stays one file") << "hard link";
        QTest::newRow("root keeps another user's file theirs") << "other owner";
        QTest::newRow("a setgid folder leaves the group alone") << "setgid folder";
        QTest::newRow("another user's file is written in place") << "foreign";
    }
    void saveKeepsOwnerGroupAndLinks()
    {
        QFETCH(QString, setup);
        const bool root = TestSupport::IsRoot();
        if (setup == QLatin1String("foreign") && root) {
            // A root-owned file that the ordinary user may write, in a folder they may write to.
            QTemporaryDir shared(QStringLiteral("/tmp/qbe-shared-XXXXXX"));
            QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 0777) == 0);
            const QString path = TestSupport::WriteFile(shared.filePath(QStringLiteral("team.qrx")), "OLD");
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QBE_FOREIGN_FILE"), path);
            QByteArray said;
            QVERIFY2(TestSupport::PassesAsOrdinaryUser(QStringLiteral("saveKeepsOwnerGroupAndLinks:")
                                                           + QLatin1String(QTest::currentDataTag()),
                                                       &said, env, true),
                     said.constData());
            return;
        }
        QString path = qEnvironmentVariable("QBE_FOREIGN_FILE");
        if (setup == QLatin1String("foreign") && path.isEmpty())
            QSKIP("a file of another user is made by a run as root");
        if ((setup == QLatin1String("other owner") || setup == QLatin1String("setgid folder")) && !root)
            QSKIP("only root makes files of other users and groups");
        if (setup != QLatin1String("foreign")) {
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
            path = Fixture(QStringLiteral("folder/kept.qrx"), "OLD");
        }
        const QByteArray native = QFile::encodeName(path);
        const QString other = m_dir->filePath(QStringLiteral("other name.qrx"));
        if (setup == QLatin1String("hard link"))
            QVERIFY(::link(native.constData(), QFile::encodeName(other).constData()) == 0);
        else if (setup == QLatin1String("other owner"))
            QVERIFY(::chown(native.constData(), 65534, 65534) == 0);
        else if (setup == QLatin1String("setgid folder"))
            QVERIFY(::chown(QFile::encodeName(QFileInfo(path).path()).constData(), 0, 65534) == 0
                    && ::chmod(QFile::encodeName(QFileInfo(path).path()).constData(), 02775) == 0);
        struct stat before = {};
        QVERIFY(::stat(native.constData(), &before) == 0);

        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("NEW"));
        QVERIFY(doc->DoFileSave());
        struct stat after = {};
        QVERIFY(::stat(native.constData(), &after) == 0);
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("OLDNEW"));
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        if (setup == QLatin1String("hard link") || setup == QLatin1String("foreign"))
            QCOMPARE(after.st_ino, before.st_ino);
        if (setup == QLatin1String("hard link"))
            QCOMPARE(TestSupport::ReadFile(other), QByteArray("OLDNEW"));
    }
#endif

    void saveKeepsPermissions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("owner only") << 0600;
        QTest::newRow("group readable") << 0640;
        QTest::newRow("executable") << 0755;
    }

    void saveKeepsPermissions()
    {
        QFETCH(int, mode);
#ifndef Q_OS_UNIX
        QSKIP("Unix permission bits");
#else
        const QString path = Fixture(QStringLiteral("perm.qrx"), "X");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        TypeInto(doc, QStringLiteral("Y"));
        QVERIFY(doc->DoFileSave());
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
        QCOMPARE(TestSupport::ReadFile(path), QByteArray("XY"));
#endif
    }

    void unencodableCharacterAsksBeforeWriting_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("No writes nothing") << int(QMessageBox::No) << QByteArray("caf\xE9\r\n");
        QTest::newRow("Yes stores the file as UTF-8") << int(QMessageBox::Yes) << QByteArray("caf\xC3\xA9\r\n\xC4\x80");
    }

    void unencodableCharacterAsksBeforeWriting()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, onDisk);
        const QString path = Fixture(QStringLiteral("latin.qrx"), "caf\xE9\r\n");
        CRichSyntaxDoc *doc = m_pTemplate->OpenDocumentFile(path);
        QVERIFY(doc);
        QCOMPARE(doc->Encoding(), SourceEncoding::Windows1252);
        TypeInto(doc, QString(QChar(0x0100)));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::StandardButton(answer));
        QCOMPARE(doc->DoFileSave(), answer == QMessageBox::Yes);
        QCOMPARE(boxes.Boxes().size(), 1);
        QCOMPARE(boxes.Boxes().at(0).icon, QMessageBox::Question);
        QCOMPARE(boxes.Boxes().at(0).buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(boxes.Boxes().at(0).text.contains(QStringLiteral("U+0100")));
        QVERIFY(boxes.Boxes().at(0).text.contains(QStringLiteral("line 2")));
        QCOMPARE(TestSupport::ReadFile(path), onDisk);
        QCOMPARE(doc->IsModified(), answer != QMessageBox::Yes);
        QCOMPARE(doc->Encoding(), answer == QMessageBox::Yes ? SourceEncoding::Utf8 : SourceEncoding::Windows1252);
    }

    void fileNewAndOpenCommandsUseTheTemplate()
    {
        // The application object's commands reach the template it made at start-up.
        CEditorApp *app = CEditorApp::Instance();
        QVERIFY(app->InitInstance(QStringList()));
        const QString path = Fixture(QStringLiteral("cmd.qrx"), "END");
        FileDialogStub dialogs;
        dialogs.Answer(path);
        app->OnFileOpen();
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(dialogs.Requests().constFirst().mode, FileDialogRequest::OpenFile);
        QCOMPARE(dialogs.Requests().constFirst().filters,
                 QStringList({QStringLiteral("Quarn BASIC Code Files (*.qrx)"), QStringLiteral("All Files (*)")}));
        QVERIFY(app->DocTemplate()->FindDocument(path));
        QCOMPARE(app->RecentFiles()->At(0), QFileInfo(path).absoluteFilePath());
        app->ExitInstance();
    }

    void recentEntryThatNoLongerOpensIsDropped()
    {
        CEditorApp *app = CEditorApp::Instance();
        QVERIFY(app->InitInstance(QStringList()));
        const QString kept = Fixture(QStringLiteral("kept.qrx"), "K");
        const QString gone = Fixture(QStringLiteral("gone.qrx"), "G");
        while (app->RecentFiles()->Count() > 0)
            app->RecentFiles()->Remove(0);
        app->RecentFiles()->Add(kept);
        app->RecentFiles()->Add(gone);
        QVERIFY(QFile::remove(gone));
        MessageBoxRecorder boxes;
        app->OnOpenRecentFile(0);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("%1 was not found.").arg(QDir::toNativeSeparators(gone))});
        QCOMPARE(app->RecentFiles()->Files(), QStringList{kept});
        app->OnOpenRecentFile(0);
        QVERIFY(app->DocTemplate()->FindDocument(kept));
        QCOMPARE(app->RecentFiles()->Files(), QStringList{QFileInfo(kept).absoluteFilePath()});
        app->ExitInstance();
    }

private:
    void CloseAll()
    {
        m_pTemplate->CloseAllDocuments();
        Flush();
    }
};

QBE_TEST_MAIN(TestDocument)
#include "tst_document.moc"
