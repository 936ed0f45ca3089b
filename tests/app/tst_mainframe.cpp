// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/childframe.h"
#include "app/commandids.h"
#include "app/mainframe.h"
#include "core/settingsstore.h"
#include "editor/editorzoom.h"
#include "editor/findreplacedlg.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QAction>
#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSet>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <QSpinBox>
#include <QWheelEvent>
#include <QLayout>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace {
// A menu as the user sees it: one line an item, "-" for a separator.
QStringList Items(QMenu *menu)
{
    QStringList items;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (!action->isVisible())
            continue;
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

// Records the keys that reach a widget.
class KeySpy : public QObject
{
public:
    QList<int> keys;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys.append(static_cast<QKeyEvent *>(event)->key());
        return false;
    }
};
} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

    CEditorApp *App() { return CEditorApp::Instance(); }
    CMainFrame *Frame() { return App()->MainFrame(); }

    QMenu *Menu(const QString &title)
    {
        const QList<QAction *> actions = Frame()->menuBar()->actions();
        for (QAction *action : actions) {
            if (action->text() == title)
                return action->menu();
        }
        return nullptr;
    }

    QStringList MenuTitles()
    {
        QStringList titles;
        const QList<QAction *> actions = Frame()->menuBar()->actions();
        for (QAction *action : actions)
            titles.append(action->text());
        return titles;
    }

    void OpenSample()
    {
        const QString path = m_dir.filePath(QStringLiteral("pong.qrx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("print x\r\n");
        file.close();
        QVERIFY(App()->OpenDocumentFile(path));
        QTRY_VERIFY(Frame()->ActiveView());
        Frame()->ActiveView()->setFocus();
        QTRY_VERIFY(Frame()->ActiveView()->hasFocus());
    }

    // A tool's standard output; the test fails when the tool is missing.
    static QString RunTool(const QString &program, const QStringList &arguments)
    {
        QProcess tool;
        tool.start(program, arguments);
        if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
            return QStringLiteral("<%1 failed: %2>").arg(program, tool.errorString());
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        QVERIFY(App()->InitInstance({}));
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
    }
    void cleanup() { App()->ExitInstance(); }

    void menusWithoutDocument()
    {
        QCOMPARE(MenuTitles(), (QStringList{QStringLiteral("&File"), QStringLiteral("&Help")}));
        QCOMPARE(Items(Menu(QStringLiteral("&File"))),
                 (QStringList{QStringLiteral("&New\tCtrl+N"), QStringLiteral("&Open...\tCtrl+O"), QStringLiteral("-"),
                              QStringLiteral("P&rint Setup..."), QStringLiteral("-"), QStringLiteral("Recent File"),
                              QStringLiteral("-"), QStringLiteral("&Close"), QStringLiteral("E&xit"),
                              QStringLiteral("-"), QStringLiteral("Options...")}));
        QCOMPARE(
            Items(Menu(QStringLiteral("&Help"))),
            (QStringList{QStringLiteral("Quarn BASIC &Homepage..."), QStringLiteral("Quarn BASIC Help &Index...\tF1"),
                         QStringLiteral("-"), QStringLiteral("&Chat in the forums...\tF12"), QStringLiteral("-"),
                         QStringLiteral("&About Quarn BASIC Editor...")}));
    }

    void menusWithDocument()
    {
        OpenSample();
        QCOMPARE(MenuTitles(), (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("Build"),
                                            QStringLiteral("&Window"), QStringLiteral("&Help")}));
        const QString recent = QStringLiteral("&1 ") + m_dir.filePath(QStringLiteral("pong.qrx"));
        QStringList file = Items(Menu(QStringLiteral("&File")));
        QCOMPARE(file.size(), 12);
        QCOMPARE(
            file.mid(0, 9),
            (QStringList{QStringLiteral("&New\tCtrl+N"), QStringLiteral("&Open...\tCtrl+O"), QStringLiteral("&Close"),
                         QStringLiteral("&Save\tCtrl+S"), QStringLiteral("Save &As..."), QStringLiteral("-"),
                         QStringLiteral("&Print...\tCtrl+P"), QStringLiteral("P&rint Setup..."), QStringLiteral("-")}));
        QVERIFY2(file.at(9).startsWith(QStringLiteral("&1 ")), qPrintable(file.at(9)));
        QVERIFY(file.at(9).endsWith(QStringLiteral("pong.qrx")));
        QCOMPARE(file.mid(10), (QStringList{QStringLiteral("-"), QStringLiteral("E&xit")}));
        QCOMPARE(
            Items(Menu(QStringLiteral("&Edit"))),
            (QStringList{QStringLiteral("&Undo\tCtrl+Z"), QStringLiteral("-"), QStringLiteral("Cu&t\tCtrl+X"),
                         QStringLiteral("&Copy\tCtrl+C"), QStringLiteral("&Paste\tCtrl+V"),
                         QStringLiteral("Select A&ll\tCtrl+A"), QStringLiteral("-"), QStringLiteral("&Find...\tCtrl+F"),
                         QStringLiteral("F&ind Next\tF3"), QStringLiteral("R&eplace\tCtrl+H"), QStringLiteral("-"),
                         QStringLiteral("&Redo\tCtrl+Y"), QStringLiteral("&Go To Line...\tCtrl+G"),
                         QStringLiteral("Co&mment Lines\tCtrl+/"), QStringLiteral("-"),
                         QStringLiteral("&Go To Definition\tF2"), QStringLiteral("Go &Back\tAlt+Left"),
                         QStringLiteral("Go &Forward\tAlt+Right"), QStringLiteral("Go To &Matching\tCtrl+]")}));
        QCOMPARE(Items(Menu(QStringLiteral("Build"))),
                 (QStringList{QStringLiteral("&Compile\tF7"), QStringLiteral("&Run\tF5"), QStringLiteral("-"),
                              QStringLiteral("&Link\tF9"), QStringLiteral("-"), QStringLiteral("Options..."),
                              QStringLiteral("-"), QStringLiteral("Next &Error\tF8"),
                              QStringLiteral("Pre&vious Error\tShift+F8"), QStringLiteral("-"),
                              QStringLiteral("&Messages\tCtrl+Shift+M")}));
        QCOMPARE(Items(Menu(QStringLiteral("&Window"))),
                 (QStringList{QStringLiteral("&New Window"), QStringLiteral("&Cascade"), QStringLiteral("&Tile"),
                              QStringLiteral("&Arrange Icons"), QStringLiteral("-"),
                              QStringLiteral("&Outline\tCtrl+Shift+O")}));
        // As it opens, the menu lists the document windows below its commands.
        Q_EMIT Menu(QStringLiteral("&Window"))->aboutToShow();
        QCOMPARE(Items(Menu(QStringLiteral("&Window"))).mid(6),
                 (QStringList{QStringLiteral("-"), QStringLiteral("&1 pong.qrx")}));
        QCOMPARE(Items(Menu(QStringLiteral("&Help"))).constLast(), QStringLiteral("About Quarn BASIC..."));
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [pong.qrx]"));

        // Closing the last document brings back the short menu and the bare title.
        TestSupport::CommandAction(Frame(), CommandId::ID_FILE_CLOSE)->trigger();
        QTRY_COMPARE(MenuTitles(), (QStringList{QStringLiteral("&File"), QStringLiteral("&Help")}));
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c"));
    }

    void toolbarOrderAndEnabling()
    {
        QToolBar *bar = Frame()->findChild<QToolBar *>();
        QVERIFY(!bar->isMovable());
        QVERIFY(!bar->isFloatable());
        QStringList buttons;
        const QList<QAction *> actions = bar->actions();
        for (QAction *action : actions)
            buttons.append(action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        QCOMPARE(
            buttons.join(QLatin1Char(' ')),
            QStringLiteral("New Open Save | Find | Options | Compile F7 Run F5 | Link F9 | Home Chat Help | About"));
        for (QAction *action : actions) {
            if (!action->isSeparator()) {
                QVERIFY(!action->icon().isNull());
                QCOMPARE(action->icon().pixmap(16, 16).size(), QSize(16, 16));
            }
        }
        const QList<CommandId> needDocument{CommandId::ID_FILE_SAVE, CommandId::ID_EDIT_FIND,
                                            CommandId::ID_BUILD_COMPILE, CommandId::ID_BUILD_RUN,
                                            CommandId::ID_BUILD_LINK};
        const QList<CommandId> always{CommandId::ID_FILE_NEW,      CommandId::ID_FILE_OPEN,
                                      CommandId::ID_BUILD_OPTIONS, CommandId::ID_HELP_HOMEPAGE,
                                      CommandId::ID_HELP_FORUMS,   CommandId::ID_HELP_INDEX,
                                      CommandId::ID_APP_ABOUT};
        for (CommandId id : needDocument)
            QVERIFY2(!TestSupport::CommandAction(Frame(), id)->isEnabled(), qPrintable(QString::number(int(id))));
        for (CommandId id : always)
            QVERIFY2(TestSupport::CommandAction(Frame(), id)->isEnabled(), qPrintable(QString::number(int(id))));
        OpenSample();
        for (CommandId id : needDocument + always)
            QVERIFY2(TestSupport::CommandAction(Frame(), id)->isEnabled(), qPrintable(QString::number(int(id))));
        QCOMPARE(TestSupport::CommandAction(Frame(), CommandId::ID_BUILD_COMPILE)->statusTip(),
                 QStringLiteral("Save and compile the active source file"));
    }

    // Every toolbar and window icon is drawn afresh at the screen's scale, not
    // blown up from a small picture.
    void iconsAreSharpAtAnyScale()
    {
        QList<QPair<QString, QIcon>> icons;
        const QList<QAction *> actions = Frame()->findChild<QToolBar *>()->actions();
        for (QAction *action : actions) {
            if (!action->isSeparator())
                icons.append({action->toolTip(), action->icon()});
        }
        icons.append({QStringLiteral("main window"), Frame()->windowIcon()});
        OpenSample();
        icons.append(
            {QStringLiteral("document window"), Frame()->MdiArea()->subWindowList().constFirst()->windowIcon()});
        for (const auto &[name, icon] : std::as_const(icons)) {
            for (const qreal scale : {1.0, 1.5, 2.0, 3.0}) {
                const QPixmap pixmap = icon.pixmap(QSize(16, 16), scale);
                const int pixels = qRound(16 * scale);
                QVERIFY2(pixmap.size() == QSize(pixels, pixels), qPrintable(name));
                QCOMPARE(pixmap.devicePixelRatio(), scale);
                // Something is drawn, and not in one colour only.
                const QImage image = pixmap.toImage();
                QSet<QRgb> colours;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x)
                        colours.insert(image.pixel(x, y));
                }
                QVERIFY2(colours.size() > 2, qPrintable(name));
            }
        }
    }

    void statusBarPanes()
    {
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("Ready"));
        QList<QLabel *> panes = Frame()->statusBar()->findChildren<QLabel *>();
        QVERIFY(panes.size() >= 3);
        Frame()->statusBar()->showMessage(QStringLiteral("Open this document"));
        Frame()->statusBar()->clearMessage();
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("Ready"));
    }

    void everyKeyReachesItsCommand_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("id");
        // The keys that only the main window takes trigger an action of no command.
        constexpr int kInert = 0;
        const QList<QPair<QKeySequence, int>> keys = {
            {QKeySequence(Qt::Key_F7), int(CommandId::ID_BUILD_COMPILE)},
            {QKeySequence(Qt::Key_F5), int(CommandId::ID_BUILD_RUN)},
            {QKeySequence(Qt::Key_Escape), kInert},
            {QKeySequence(Qt::CTRL | Qt::Key_C), int(CommandId::ID_EDIT_COPY)},
            {QKeySequence(Qt::CTRL | Qt::Key_Insert), int(CommandId::ID_EDIT_COPY)},
            {QKeySequence(Qt::SHIFT | Qt::Key_Delete), int(CommandId::ID_EDIT_CUT)},
            {QKeySequence(Qt::CTRL | Qt::Key_X), int(CommandId::ID_EDIT_CUT)},
            {QKeySequence(Qt::CTRL | Qt::Key_F), int(CommandId::ID_EDIT_FIND)},
            {QKeySequence(Qt::CTRL | Qt::Key_V), int(CommandId::ID_EDIT_PASTE)},
            {QKeySequence(Qt::SHIFT | Qt::Key_Insert), int(CommandId::ID_EDIT_PASTE)},
            {QKeySequence(Qt::Key_F3), int(CommandId::ID_EDIT_REPEAT)},
            {QKeySequence(Qt::CTRL | Qt::Key_H), int(CommandId::ID_EDIT_REPLACE)},
            {QKeySequence(Qt::CTRL | Qt::Key_A), int(CommandId::ID_EDIT_SELECT_ALL)},
            {QKeySequence(Qt::ALT | Qt::Key_Backspace), int(CommandId::ID_EDIT_UNDO)},
            {QKeySequence(Qt::CTRL | Qt::Key_Z), int(CommandId::ID_EDIT_UNDO)},
            {QKeySequence(Qt::CTRL | Qt::Key_N), int(CommandId::ID_FILE_NEW)},
            {QKeySequence(Qt::CTRL | Qt::Key_O), int(CommandId::ID_FILE_OPEN)},
            {QKeySequence(Qt::CTRL | Qt::Key_P), int(CommandId::ID_FILE_PRINT)},
            {QKeySequence(Qt::CTRL | Qt::Key_S), int(CommandId::ID_FILE_SAVE)},
            {QKeySequence(Qt::Key_F1), int(CommandId::ID_HELP_INDEX)},
            {QKeySequence(Qt::Key_F6), kInert},
            {QKeySequence(Qt::ALT | Qt::Key_Return), kInert},
            {QKeySequence(Qt::SHIFT | Qt::Key_F6), kInert},
            {QKeySequence(Qt::Key_F12), int(CommandId::ID_HELP_FORUMS)},
            {QKeySequence(Qt::Key_F8), int(CommandId::ID_BUILD_NEXT_ERROR)},
            {QKeySequence(Qt::SHIFT | Qt::Key_F8), int(CommandId::ID_BUILD_PREV_ERROR)},
            {QKeySequence(Qt::CTRL | Qt::Key_F4), int(CommandId::ID_WINDOW_CLOSE_ACTIVE)},
            {QKeySequence(Qt::CTRL | Qt::Key_F6), int(CommandId::ID_WINDOW_NEXT)},
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), int(CommandId::ID_WINDOW_PREVIOUS)},
            {QKeySequence(Qt::Key_F10), int(CommandId::ID_MENU_BAR_KEY)},
            {QKeySequence(Qt::CTRL | Qt::Key_Y), int(CommandId::ID_EDIT_REDO)},
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), int(CommandId::ID_EDIT_REDO)},
            {QKeySequence(Qt::CTRL | Qt::Key_G), int(CommandId::ID_EDIT_GOTO_LINE)},
            {QKeySequence(Qt::CTRL | Qt::Key_Slash), int(CommandId::ID_EDIT_COMMENT_LINES)},
            {QKeySequence(Qt::CTRL | Qt::Key_Space), int(CommandId::ID_EDIT_COMPLETE_WORD)},
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), int(CommandId::ID_VIEW_ZOOM_IN)},
            {QKeySequence(Qt::CTRL | Qt::Key_Equal), int(CommandId::ID_VIEW_ZOOM_IN)},
            {QKeySequence(Qt::CTRL | Qt::Key_Minus), int(CommandId::ID_VIEW_ZOOM_OUT)},
            {QKeySequence(Qt::CTRL | Qt::Key_0), int(CommandId::ID_VIEW_ZOOM_NORMAL)},
        };
        for (const auto &[key, id] : keys)
            QTest::newRow(qPrintable(key.toString())) << key << id;
    }
    void everyKeyReachesItsCommand()
    {
        QFETCH(QKeySequence, key);
        QFETCH(int, id);
        OpenSample();
        // Every edit command can act: an edit to undo, one to redo, a selection, text to paste.
        CRichSyntaxView *view = Frame()->ActiveView();
        QTest::keyClicks(view, QStringLiteral("x"));
        view->selectAll();
        view->cut();
        view->undo();
        view->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("cls"));
        // Whatever the command opens is answered or closed at once.
        MessageBoxRecorder boxes;
        FileDialogStub files;
        ShellOpenStub shell;
        ModalDriver driver;
        driver.Otherwise([](QWidget *modal) { modal->close(); });
        QList<int> triggered;
        const QList<QAction *> actions = Frame()->actions();
        for (QAction *action : actions)
            connect(action, &QAction::triggered, this,
                    [&triggered, action] { triggered.append(action->data().toInt()); });
        Frame()->setFocus();
        QTest::keySequence(Frame(), key);
        QTRY_VERIFY(!triggered.isEmpty());
        QCOMPARE(triggered, QList<int>{id});
        for (QAction *action : actions)
            action->disconnect(this);
        if (view->Completer())
            view->Completer()->popup()->hide();
        CEditorZoom::Instance().Reset();
    }

    void f9IsShownButNotBound()
    {
        const QList<QAction *> actions = Frame()->actions();
        for (QAction *action : actions)
            QVERIFY(!action->shortcuts().contains(QKeySequence(Qt::Key_F9)));
    }

    void forumsAndHomepageKeys()
    {
        ShellOpenStub shell;
        QTest::keyClick(Frame(), Qt::Key_F12);
        QCOMPARE(shell.Targets(), QStringList{CEditorApp::ForumsUrl()});
        QVERIFY(CEditorApp::ForumsUrl().startsWith(QStringLiteral("http")));
        QVERIFY(CEditorApp::ForumsUrl().endsWith(QStringLiteral("/phpBB2/index.php")));
        TestSupport::CommandAction(Frame(), CommandId::ID_HELP_HOMEPAGE)->trigger();
        QCOMPARE(shell.Targets().constLast(), CEditorApp::HomepageUrl());
    }

    // The program's message boxes (the recovery question among them) sit over
    // the middle of the main window.
    void messageBoxIsCentredOverTheWindow()
    {
        Frame()->move(30, 20);
        bool centred = false;
        ModalDriver driver;
        driver.Then([this, &centred](QWidget *box) {
            QTRY_VERIFY((box->frameGeometry().center() - Frame()->frameGeometry().center()).manhattanLength() <= 1);
            centred = true;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        ::MessageBox(QStringLiteral("Unsaved changes of a.qrx were recovered.\nOpen them?"), QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(driver.Pending(), 0);
        QVERIFY(centred);
    }

    void webCommandFailure_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("homepage") << int(CommandId::ID_HELP_HOMEPAGE);
        QTest::newRow("forums") << int(CommandId::ID_HELP_FORUMS);
    }
    void webCommandFailure()
    {
        QFETCH(int, id);
        ShellOpenStub shell(false);
        MessageBoxRecorder boxes;
        TestSupport::CommandAction(Frame(), CommandId(id))->trigger();
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Failed to launch web browser!")});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void buildKeysOnlyWithDocument()
    {
        MessageBoxRecorder boxes;
        App()->Build().Settings().compiler.clear();
        App()->Build().Settings().emulator.clear();
        QTest::keyClick(Frame(), Qt::Key_F7);
        QTest::keyClick(Frame(), Qt::Key_F5);
        QCOMPARE(boxes.Boxes().size(), 0);

        OpenSample();
        CRichSyntaxView *view = Frame()->ActiveView();
        // Build Options follow the message; cancelled, nothing is compiled.
        ModalDriver driver;
        driver.Then([](QWidget *options) {
            QVERIFY(options->inherits("COptionsDlg"));
            options->close();
        });
        QTest::keyClick(view, Qt::Key_F7);
        QCOMPARE(driver.Pending(), 0);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Path to QRX.EXE is not set in build options!")});
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(Frame()));
        QTest::keyClick(view, Qt::Key_F5);
        QCOMPARE(boxes.Texts().constLast(), QStringLiteral("No emulator is set in build options!"));
        // F9 is shown beside Link but reaches nothing.
        boxes.Clear();
        App()->Build().Settings().linker.clear();
        QTest::keyClick(view, Qt::Key_F9);
        QCOMPARE(boxes.Boxes().size(), 0);
    }

    void escapeIsConsumedBeforeTheEditor()
    {
        OpenSample();
        CRichSyntaxView *view = Frame()->ActiveView();
        KeySpy spy;
        view->installEventFilter(&spy);
        const QString before = view->document()->toPlainText();
        QTest::keyClick(view, Qt::Key_Escape);
        QTest::keyClick(view, Qt::Key_A);
        view->removeEventFilter(&spy);
        QVERIFY(!spy.keys.contains(Qt::Key_Escape));
        QVERIFY(spy.keys.contains(Qt::Key_A));
        QCOMPARE(view->document()->toPlainText(), QStringLiteral("a") + before);
    }

    void editKeysReachTheView()
    {
        OpenSample();
        CRichSyntaxView *view = Frame()->ActiveView();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view->textCursor().selectedText(), QStringLiteral("print x\u2029"));
        QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(view->document()->toPlainText(), QString());
        QTest::keyClick(view, Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(view->document()->toPlainText(), QStringLiteral("print x\n"));
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->document()->toPlainText(), QStringLiteral("print x\nprint x\n"));
    }

    void droppedFilesOpenEachInItsWindow()
    {
        QStringList paths;
        QList<QUrl> urls;
        for (const char *name : {"drop1.qrx", "drop2.qrx"}) {
            const QString path = m_dir.filePath(QString::fromLatin1(name));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("cls\r\n");
            paths.append(path);
            urls.append(QUrl::fromLocalFile(path));
        }
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &drop);
        QTRY_COMPARE(Frame()->MdiArea()->subWindowList().size(), 2);
        QStringList opened;
        const QList<QMdiSubWindow *> windows = Frame()->MdiArea()->subWindowList();
        for (QMdiSubWindow *window : windows)
            opened.append(qobject_cast<CChildFrame *>(window)->GetDocument()->GetPathName());
        QCOMPARE(opened, paths);
    }

    // Opens a file of the fixture holding text; its view.
    CRichSyntaxView *OpenFile(const QString &name, const QByteArray &text)
    {
        const QString path = TestSupport::WriteFile(m_dir.filePath(name), text);
        if (!App()->OpenDocumentFile(path))
            return nullptr;
        return Frame()->ActiveView();
    }

    // Fault mended: each window had a Find dialog of its own, which stayed on
    // screen after switching windows and replaced text in a window out of sight.
    void oneFindDialogActsOnTheActiveWindow()
    {
        CRichSyntaxView *a = OpenFile(QStringLiteral("a.qrx"), "print cls\r\n");
        CRichSyntaxView *b = OpenFile(QStringLiteral("b.qrx"), "cls ; cls\r\n");
        QVERIFY(a && b);
        QCOMPARE(Frame()->ActiveView(), b);
        // F3 with no search yet opens Find.
        QTest::keyClick(Frame(), Qt::Key_F3);
        const QList<CFindReplaceDlg *> dialogs = Frame()->findChildren<CFindReplaceDlg *>();
        QCOMPARE(dialogs.size(), 1);
        CFindReplaceDlg *dialog = dialogs.constFirst();
        QVERIFY(dialog->isVisible());
        QTest::keyClicks(Child<QLineEdit>(dialog, "findEdit"), QStringLiteral("cls"));
        QTest::mouseClick(Child<QPushButton>(dialog, "findNextButton"), Qt::LeftButton);
        QCOMPARE(b->textCursor().selectionStart(), 0);
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("2 matches"));
        // The other window: F3 repeats the search there, and only there.
        Frame()->MdiArea()->setActiveSubWindow(Frame()->MdiArea()->subWindowList().constFirst());
        QCOMPARE(Frame()->ActiveView(), a);
        QTest::keyClick(Frame(), Qt::Key_F3);
        QCOMPARE(a->textCursor().selectedText(), QStringLiteral("cls"));
        QCOMPARE(a->textCursor().selectionStart(), 6);
        QCOMPARE(b->textCursor().selectionStart(), 0);
        // Replace takes the Find dialog's place; still one dialog, acting on the active window.
        QTest::keyClick(Frame(), Qt::Key_H, Qt::ControlModifier);
        QTRY_COMPARE(Frame()->findChildren<CFindReplaceDlg *>().size(), 1);
        dialog = Frame()->findChild<CFindReplaceDlg *>();
        QVERIFY(dialog->IsReplace());
        Child<QLineEdit>(dialog, "replaceEdit")->setText(QStringLiteral("rnd"));
        QTest::mouseClick(Child<QPushButton>(dialog, "replaceAllButton"), Qt::LeftButton);
        QCOMPARE(a->toPlainText(), QStringLiteral("print rnd\n"));
        QCOMPARE(b->toPlainText(), QStringLiteral("cls ; cls\n"));
        // Nothing found: a beep and the status bar says what.
        Child<QLineEdit>(dialog, "findEdit")->setText(QStringLiteral("nowhere"));
        QTest::mouseClick(Child<QPushButton>(dialog, "findNextButton"), Qt::LeftButton);
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("Cannot find \"nowhere\""));
        // No document window: the dialog hides, and comes back with the next one.
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        boxes.Answer(QMessageBox::No);
        QVERIFY(App()->OnAppExit());
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(OpenFile(QStringLiteral("c.qrx"), "cls\r\n"));
        QTRY_VERIFY(dialog->isVisible());
    }

    void foundMatchIsNotHiddenBehindTheDialog()
    {
        QByteArray text;
        for (int i = 0; i < 8; ++i)
            text += "rem filler line\r\n";
        CRichSyntaxView *view = OpenFile(QStringLiteral("hidden.qrx"), text + "print target\r\n");
        QVERIFY(view);
        QTest::keyClick(Frame(), Qt::Key_F, Qt::ControlModifier);
        auto *dialog = Frame()->findChild<CFindReplaceDlg *>();
        QVERIFY(dialog && dialog->isVisible());
        // The dialog stands right where the match will be.
        QTextCursor target = view->document()->find(QStringLiteral("target"));
        const QRect rect = view->cursorRect(target);
        dialog->move(view->viewport()->mapToGlobal(rect.topLeft()) - QPoint(20, 10));
        Child<QLineEdit>(dialog, "findEdit")->setText(QStringLiteral("target"));
        QTest::mouseClick(Child<QPushButton>(dialog, "findNextButton"), Qt::LeftButton);
        QCOMPARE(view->textCursor().selectedText(), QStringLiteral("target"));
        const QRect match(view->viewport()->mapToGlobal(view->cursorRect().topLeft()), view->cursorRect().size());
        QVERIFY(!dialog->frameGeometry().intersects(match));
    }

    void captionKeepsItsRule_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Cascade") << 0;
        QTest::newRow("Tile") << 1;
        QTest::newRow("restore") << 2;
        QTest::newRow("restore, then maximise") << 3;
        QTest::newRow("minimise") << 4;
        QTest::newRow("Tile, then maximise the other window") << 5;
        QTest::newRow("Cascade, window opened before the main window showed") << 6;
    }
    // Fault mended: after Cascade, Tile or a restore the caption lost the document's name or kept a stale one.
    void captionKeepsItsRule()
    {
        QFETCH(int, way);
        // One window alone, or two.
        if (way == 5)
            QVERIFY(OpenFile(QStringLiteral("one.qrx"), "cls\r\n"));
        if (way == 6) {
            App()->ExitInstance();
            QVERIFY(
                App()->InitInstance({TestSupport::WriteFile(m_dir.filePath(QStringLiteral("two.qrx")), "cls\r\n")}));
            QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        } else {
            QVERIFY(OpenFile(QStringLiteral("two.qrx"), "cls\r\n"));
        }
        const QString withTwo = QStringLiteral("Quarn BASIC Editor v1.3.8c - [two.qrx]");
        QTRY_COMPARE(Frame()->windowTitle(), withTwo);
        QMdiSubWindow *active = Frame()->MdiArea()->activeSubWindow();
        if (way == 0 || way == 6) {
            QTest::keyClick(Frame(), Qt::Key_W, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
        } else if (way == 1)
            TestSupport::CommandAction(Frame(), CommandId::ID_WINDOW_TILE_HORZ)->trigger();
        else if (way == 4)
            active->showMinimized();
        else
            active->showNormal();
        if (way == 3)
            active->showMaximized();
        if (way == 5) {
            TestSupport::CommandAction(Frame(), CommandId::ID_WINDOW_TILE_HORZ)->trigger();
            QTRY_COMPARE(Frame()->windowTitle(), withTwo);
            Frame()->MdiArea()->subWindowList().constFirst()->showMaximized();
            QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [one.qrx]"));
            Frame()->MdiArea()->subWindowList().constFirst()->showNormal();
            Frame()->MdiArea()->setActiveSubWindow(active);
            active->showMaximized();
        }
        QTRY_COMPARE(Frame()->windowTitle(), withTwo);
        // And it still follows the windows afterwards.
        QVERIFY(OpenFile(QStringLiteral("three.qrx"), "cls\r\n"));
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [three.qrx]"));
        Frame()->MdiArea()->setActiveSubWindow(active);
        QTRY_COMPARE(Frame()->windowTitle(), withTwo);
        while (Frame()->ActiveDocument())
            TestSupport::CommandAction(Frame(), CommandId::ID_FILE_CLOSE)->trigger();
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c"));
    }

    QStringList WindowMenuEntries()
    {
        QMenu *windowMenu = Menu(QStringLiteral("&Window"));
        Q_EMIT windowMenu->aboutToShow();
        QStringList entries;
        const QList<QAction *> actions = windowMenu->actions();
        for (QAction *action : actions) {
            if (action->property("windowEntry").toBool() && !action->isSeparator())
                entries.append(action->text());
        }
        return entries;
    }

    void newWindowsAreNumbered()
    {
        OpenSample();
        TestSupport::CommandAction(Frame(), CommandId::ID_WINDOW_NEW)->trigger();
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [pong.qrx:2]"));
        QCOMPARE(WindowMenuEntries(), QStringList({QStringLiteral("&1 pong.qrx:1"), QStringLiteral("&2 pong.qrx:2")}));
        TestSupport::CommandAction(Frame(), CommandId::ID_WINDOW_NEW)->trigger();
        QCOMPARE(WindowMenuEntries(), QStringList({QStringLiteral("&1 pong.qrx:1"), QStringLiteral("&2 pong.qrx:2"),
                                                   QStringLiteral("&3 pong.qrx:3")}));
        // The numbers close up as windows go, and a lone window has none.
        QMdiSubWindow *first = Frame()->MdiArea()->subWindowList().constFirst();
        Frame()->MdiArea()->setActiveSubWindow(first);
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [pong.qrx:1]"));
        QTest::keyClick(Frame(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(WindowMenuEntries(),
                     QStringList({QStringLiteral("&1 pong.qrx:1"), QStringLiteral("&2 pong.qrx:2")}));
        QTRY_COMPARE(
            Frame()->windowTitle(),
            QStringLiteral("Quarn BASIC Editor v1.3.8c - [%1]").arg(Frame()->ActiveChildFrame()->windowTitle()));
        QTest::keyClick(Frame(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(WindowMenuEntries(), QStringList{QStringLiteral("&1 pong.qrx")});
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [pong.qrx]"));
    }

    void documentWindowKeys()
    {
        CRichSyntaxView *a = OpenFile(QStringLiteral("a.qrx"), "cls\r\n");
        CRichSyntaxView *b = OpenFile(QStringLiteral("b.qrx"), "cls\r\n");
        CRichSyntaxView *c = OpenFile(QStringLiteral("c.qrx"), "cls\r\n");
        QVERIFY(a && b && c);
        QCOMPARE(Frame()->ActiveView(), c);
        // Ctrl+F6 and Ctrl+Shift+F6 go round the windows; Ctrl+Tab too.
        QTest::keyClick(c, Qt::Key_F6, Qt::ControlModifier);
        QTRY_COMPARE(Frame()->ActiveView(), a);
        QTest::keyClick(a, Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(Frame()->ActiveView(), c);
        QTest::keyClick(c, Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(Frame()->ActiveView(), b);
        QTest::keyClick(b, Qt::Key_Tab, Qt::ControlModifier);
        QTRY_VERIFY(Frame()->ActiveView() != b);
        QCOMPARE(b->toPlainText(), QStringLiteral("cls\n"));
        // Ctrl+F4 closes the active window, with the closing prompt.
        Frame()->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(b->parentWidget()));
        QTest::keyClicks(b, QStringLiteral("x"));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Cancel);
        QTest::keyClick(b, Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Save changes to b.qrx?")});
        QCOMPARE(Frame()->MdiArea()->subWindowList().size(), 3);
        boxes.Answer(QMessageBox::No);
        QTest::keyClick(b, Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(Frame()->MdiArea()->subWindowList().size(), 2);
        // F10 gives the keyboard to the menu bar: its first menu opens.
        QTest::keyClick(Frame()->ActiveView(), Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget(), Menu(QStringLiteral("&File")));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    }

    void editCommandsFollowTheState()
    {
        CRichSyntaxView *view = OpenFile(QStringLiteral("a.qrx"), "cls\r\n");
        QVERIFY(view);
        QAction *cut = TestSupport::CommandAction(Frame(), CommandId::ID_EDIT_CUT);
        QAction *copy = TestSupport::CommandAction(Frame(), CommandId::ID_EDIT_COPY);
        QAction *paste = TestSupport::CommandAction(Frame(), CommandId::ID_EDIT_PASTE);
        QAction *undo = TestSupport::CommandAction(Frame(), CommandId::ID_EDIT_UNDO);
        QGuiApplication::clipboard()->clear();
        QTRY_VERIFY(!paste->isEnabled());
        QVERIFY(!cut->isEnabled());
        QVERIFY(!copy->isEnabled());
        QVERIFY(!undo->isEnabled());
        // Selecting turns Cut and Copy on; moving the caret off the selection turns them off.
        QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(cut->isEnabled());
        QVERIFY(copy->isEnabled());
        QVERIFY(!paste->isEnabled());
        // Copy fills the clipboard, and Paste is on at once.
        copy->trigger();
        QVERIFY(paste->isEnabled());
        QTest::keyClick(view, Qt::Key_Home);
        QVERIFY(!cut->isEnabled());
        QVERIFY(!copy->isEnabled());
        // Typing gives Undo something to do; undoing all of it takes it away again.
        QTest::keyClicks(view, QStringLiteral("x"));
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(view->toPlainText(), QStringLiteral("cls\n"));
        QVERIFY(!undo->isEnabled());
        // A clipboard holding no text leaves Paste off.
        auto *data = new QMimeData;
        data->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
        QGuiApplication::clipboard()->setMimeData(data);
        QTRY_VERIFY(!paste->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("print"));
        QTRY_VERIFY(paste->isEnabled());
    }

    // What Print Setup sets is what the print uses; the job carries the document's name.
    void printSetupGovernsThePrint()
    {
        QByteArray text;
        for (int i = 0; i < 30; ++i)
            text += "print \"line\"\r\n";
        QVERIFY(OpenFile(QStringLiteral("pong.qrx"), text));
        QPrinter *printer = App()->Printer();
        ModalDriver driver;
        QString marginShown;
        driver.Then([&](QWidget *dialog) {
            auto *left = Child<QDoubleSpinBox>(dialog, "leftMargin");
            marginShown = left->text();
            Child<QRadioButton>(dialog, "landscape")->click();
            left->setValue(left->value() * 2);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        TestSupport::CommandAction(Frame(), CommandId::ID_FILE_PRINT_SETUP)->trigger();
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(marginShown, QStringLiteral("0.50in"));

        // Printed to a file before: the suggestion is named after this document.
        printer->setOutputFileName(m_dir.filePath(QStringLiteral("earlier.pdf")));
        driver.Then([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->accept(); });
        TestSupport::CommandAction(Frame(), CommandId::ID_FILE_PRINT)->trigger();
        QCOMPARE(driver.Handled(), 2);
        const QString pdf = m_dir.filePath(QStringLiteral("pong.pdf"));
        QVERIFY(QFileInfo::exists(pdf));

        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(
                     QRegularExpression(QStringLiteral("^Title:\\s+pong\\.qrx$"), QRegularExpression::MultilineOption)),
                 qPrintable(info));
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
        QVERIFY(size.hasMatch());
        QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble()); // landscape

        // The text begins at the margins: one inch on the left, half an inch at the top.
        const QString boxes = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        double left = 1e9;
        double top = 1e9;
        QRegularExpressionMatchIterator words =
            QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"")).globalMatch(boxes);
        while (words.hasNext()) {
            const QRegularExpressionMatch word = words.next();
            left = qMin(left, word.captured(1).toDouble());
            top = qMin(top, word.captured(2).toDouble());
        }
        QVERIFY2(left > 71.5 && left < 76, qPrintable(QString::number(left)));
        QVERIFY2(top > 35.5 && top < 40, qPrintable(QString::number(top)));
    }

    void goToLine()
    {
        QByteArray text;
        for (int i = 1; i <= 200; ++i)
            text += "print " + QByteArray::number(i) + "\r\n";
        CRichSyntaxView *view = OpenFile(QStringLiteral("long.qrx"), text);
        QVERIFY(view);
        ModalDriver driver;
        QString prompt;
        int maximum = 0;
        driver.Then([&](QWidget *dialog) {
            prompt = dialog->findChild<QLabel *>()->text();
            auto *box = Child<QSpinBox>(dialog, "lineBox");
            maximum = box->maximum();
            QTest::keyClicks(box, QStringLiteral("150"));
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(prompt, QStringLiteral("&Line number (1 - 201):"));
        QCOMPARE(maximum, 201);
        QCOMPARE(view->textCursor().blockNumber(), 149);
        QCOMPARE(view->textCursor().positionInBlock(), 0);
        QVERIFY(view->viewport()->rect().contains(view->cursorRect()));
        // Escape leaves the caret where it is.
        driver.Then([](QWidget *dialog) { QTest::keyClick(Child<QSpinBox>(dialog, "lineBox"), Qt::Key_Escape); });
        QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(view->textCursor().blockNumber(), 149);
    }

    // A changed document shows "*" after its name in its window's title, the
    // main caption and the Window menu, until it is saved or undone.
    // The active window's title, the main caption and the Window menu's last item.
    QStringList TitlesShown()
    {
        QMenu *windows = Menu(QStringLiteral("&Window"));
        Q_EMIT windows->aboutToShow();
        return QStringList{Frame()->MdiArea()->activeSubWindow()->windowTitle(), Frame()->windowTitle(),
                           windows->actions().constLast()->text()};
    }

    void unsavedMarkInAllThreePlaces()
    {
        CRichSyntaxView *view = OpenFile(QStringLiteral("a.qrx"), "x\r\n");
        QVERIFY(view);
        QCOMPARE(view->accessibleName(), QStringLiteral("a.qrx"));
        auto shown = [this] { return TitlesShown(); };
        const QStringList saved{"a.qrx", "Quarn BASIC Editor v1.3.8c - [a.qrx]", "&1 a.qrx"};
        QTRY_COMPARE(shown(), saved);
        QTest::keyClicks(view, QStringLiteral("y"));
        QTRY_COMPARE(shown(), (QStringList{"a.qrx*", "Quarn BASIC Editor v1.3.8c - [a.qrx*]", "&1 a.qrx*"}));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(shown(), saved);
        QTest::keyClicks(view, QStringLiteral("y"));
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(shown(), saved);
    }

    void toolbarPicturesStandOutOfTheirToolbar_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(0xef, 0xef, 0xef) << QColor(Qt::black);
        QTest::newRow("dark") << QColor(0x2d, 0x2d, 0x2d) << QColor(0xe6, 0xe6, 0xe6);
    }
    void toolbarPicturesStandOutOfTheirToolbar()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        const QPalette before = Frame()->palette();
        QPalette palette = before;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::WindowText, text);
        Frame()->setPalette(palette);
        const QList<QAction *> actions = Frame()->findChild<QToolBar *>()->actions();
        for (QAction *action : actions) {
            if (action->icon().isNull())
                continue;
            // The picture's outline stands out: most pixels at its edge differ from the toolbar.
            const QImage image = action->icon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
            const auto opaque = [&image](int x, int y) {
                return image.valid(x, y) && image.pixelColor(x, y).alpha() >= 128;
            };
            int edge = 0, sunk = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (!opaque(x, y) || (opaque(x - 1, y) && opaque(x + 1, y) && opaque(x, y - 1) && opaque(x, y + 1)))
                        continue;
                    const QColor pixel = image.pixelColor(x, y);
                    ++edge;
                    sunk += qAbs(pixel.red() - window.red()) + qAbs(pixel.green() - window.green())
                                + qAbs(pixel.blue() - window.blue())
                            < 90;
                }
            }
            QVERIFY2(sunk * 100 < edge * 30,
                     qPrintable(QStringLiteral("%1: %2 of %3").arg(action->text()).arg(sunk).arg(edge)));
        }
        Frame()->setPalette(before);
    }

    void sameNamesToldApartByFolder()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("game1"))
                && QDir(m_dir.path()).mkpath(QStringLiteral("game2")));
        QVERIFY(OpenFile(QStringLiteral("game1/a.qrx"), "x\r\n"));
        QCOMPARE(TitlesShown().constFirst(), QStringLiteral("a.qrx"));
        QVERIFY(OpenFile(QStringLiteral("game2/a.qrx"), "x\r\n"));
        QTRY_COMPARE(TitlesShown(),
                     (QStringList{"a.qrx \u2014 game2", "Quarn BASIC Editor v1.3.8c - [a.qrx \u2014 game2]",
                                  "&2 a.qrx \u2014 game2"}));
        QCOMPARE(Frame()->MdiArea()->subWindowList().constFirst()->windowTitle(), QStringLiteral("a.qrx \u2014 game1"));
        // The unsaved mark goes with the name, not the folder.
        QTest::keyClicks(Frame()->ActiveView(), QStringLiteral("y"));
        QTRY_COMPARE(TitlesShown().constFirst(), QStringLiteral("a.qrx* \u2014 game2"));
        Frame()->ActiveView()->document()->setModified(false);
        // With one of them closed, the other is plain again.
        Frame()->MdiArea()->closeActiveSubWindow();
        QTRY_COMPARE(TitlesShown().constFirst(), QStringLiteral("a.qrx"));
    }

    void lineAndColumnPane()
    {
        auto *pane = Frame()->statusBar()->findChild<QLabel *>(QStringLiteral("positionPane"));
        QVERIFY(pane);
        QCOMPARE(pane->text(), QString());
        // Left of CAP, NUM and SCRL; only the file's encoding and line break before it.
        auto *format = Frame()->statusBar()->findChild<QLabel *>(QStringLiteral("formatPane"));
        QList<QLabel *> panes;
        for (QLabel *label : Frame()->statusBar()->findChildren<QLabel *>()) {
            if (label->frameShape() == QFrame::Panel)
                panes.append(label);
        }
        QCOMPARE(panes.size(), 5);
        for (QLabel *other : std::as_const(panes))
            QVERIFY(other == pane || other == format || other->x() > pane->x());
        QVERIFY(format->x() < pane->x());
        CRichSyntaxView *a = OpenFile(QStringLiteral("a.qrx"), "\tab\nline two\n");
        QVERIFY(a);
        QCOMPARE(pane->text(), QStringLiteral("Ln 1, Col 1"));
        QCOMPARE(format->text(), QStringLiteral("Windows-1252 \u00b7 LF"));
        QTest::keyClick(a, Qt::Key_End);
        QCOMPARE(pane->text(), QStringLiteral("Ln 1, Col 7")); // the tab reaches column 5
        QTest::keyClick(a, Qt::Key_Down);
        QCOMPARE(pane->text(), QStringLiteral("Ln 2, Col 7"));
        CRichSyntaxView *b = OpenFile(QStringLiteral("b.qrx"), "\xC3\xA9\r\n");
        QVERIFY(b);
        QCOMPARE(pane->text(), QStringLiteral("Ln 1, Col 1"));
        QCOMPARE(format->text(), QStringLiteral("UTF-8 \u00b7 CRLF"));
        QTest::keyClick(b, Qt::Key_F6, Qt::ControlModifier);
        QTRY_COMPARE(pane->text(), QStringLiteral("Ln 2, Col 7"));
        // Saved as UTF-8 after the question, the pane says so with the caret where it was.
        a->insertPlainText(QStringLiteral("\u2192"));
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        QVERIFY(a->GetDocument()->DoFileSave());
        QCOMPARE(format->text(), QStringLiteral("UTF-8 \u00b7 LF"));
        TestSupport::CommandAction(Frame(), CommandId::ID_FILE_CLOSE)->trigger();
        TestSupport::CommandAction(Frame(), CommandId::ID_FILE_CLOSE)->trigger();
        QTRY_COMPARE(pane->text(), QString());
    }

    void completionOffersWordsAtTheCaret()
    {
        CRichSyntaxView *view = OpenFile(QStringLiteral("a.qrx"), "score = 1\r\n");
        QVERIFY(view);
        view->moveCursor(QTextCursor::End);
        QTest::keyClicks(view, QStringLiteral("PRI"));
        // Nothing pops up by itself.
        QVERIFY(!view->Completer() || !view->Completer()->popup()->isVisible());
        QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(view->Completer());
        QAbstractItemView *list = view->Completer()->popup();
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("PRINT"));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(view->toPlainText(), QStringLiteral("score = 1\nPRINT"));
        // One undo step takes the completion back.
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("score = 1\nPRI"));

        // A word of the document, as written; typing on narrows the list; Tab takes it.
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, QStringLiteral("s"));
        QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(list->isVisible());
        const int offered = list->model()->rowCount();
        QTest::keyClick(list, Qt::Key_C);
        QTest::keyClick(list, Qt::Key_O);
        QTRY_VERIFY(list->model()->rowCount() < offered);
        QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("score"));
        QTest::keyClick(list, Qt::Key_Tab);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(view->toPlainText(), QStringLiteral("score = 1\nPRI\nscore"));
        // Escape closes the list and changes nothing.
        QTest::keyClicks(view, QStringLiteral(" p"));
        QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Escape);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(view->toPlainText(), QStringLiteral("score = 1\nPRI\nscore p"));
        QVERIFY(Frame()->ActiveView() == view);
    }

    void zoomChangesEveryWindow()
    {
        CRichSyntaxView *a = OpenFile(QStringLiteral("a.qrx"), "print 1\r\n");
        CRichSyntaxView *b = OpenFile(QStringLiteral("b.qrx"), "print 2\r\n");
        QVERIFY(a && b);
        const QFont normal = CRichSyntaxView::EditorFont();
        QCOMPARE(a->font(), normal);
        const qreal normalWidth = a->document()->defaultTextOption().tabStopDistance();
        QTest::keyClick(b, Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(a->font().pointSizeF() > normal.pointSizeF());
        QCOMPARE(b->font(), a->font());
        QCOMPARE(a->document()->defaultFont(), a->font());
        QVERIFY(a->document()->defaultTextOption().tabStopDistance() > normalWidth);
        QCOMPARE(CSettingsStore().ReadInt(QStringLiteral("View"), QStringLiteral("Zoom")), 1);
        // Eight steps at most; the gutter grows with the numbers.
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(b, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(CEditorZoom::Instance().Step(), 8);
        QVERIFY(b->viewport()->x() > 45);
        const int lineHeight = QFontMetrics(b->font()).height();
        QVERIFY(b->cursorRect(QTextCursor(b->document()->findBlockByNumber(1))).top() >= lineHeight);
        // A window opened now opens at that size.
        CRichSyntaxView *c = OpenFile(QStringLiteral("c.qrx"), "print 3\r\n");
        QCOMPARE(c->font(), b->font());
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(c, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(CEditorZoom::Instance().Step(), -8);
        QCOMPARE(c->viewport()->x(), 41); // the normal gutter
        // Ctrl with the wheel, a step a notch.
        QWheelEvent up(QPointF(60, 10), c->viewport()->mapToGlobal(QPointF(60, 10)), QPoint(), QPoint(0, 120),
                       Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c->viewport(), &up);
        QCOMPARE(CEditorZoom::Instance().Step(), -7);
        // Ctrl+0: everything exactly as at the start.
        QTest::keyClick(c, Qt::Key_0, Qt::ControlModifier);
        for (CRichSyntaxView *view : {a, b, c}) {
            QCOMPARE(view->font(), normal);
            QCOMPARE(view->viewport()->x(), 41);
            QCOMPARE(view->document()->defaultTextOption().tabStopDistance(), normalWidth);
        }
        QCOMPARE(CSettingsStore().ReadInt(QStringLiteral("View"), QStringLiteral("Zoom")), 0);
    }

    void redoAfterUndo()
    {
        CRichSyntaxView *view = OpenFile(QStringLiteral("a.qrx"), "cls\r\n");
        QVERIFY(view);
        QAction *redo = TestSupport::CommandAction(Frame(), CommandId::ID_EDIT_REDO);
        QVERIFY(!redo->isEnabled());
        QTest::keyClicks(view, QStringLiteral("x"));
        QVERIFY(!redo->isEnabled());
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("cls\n"));
        QVERIFY(redo->isEnabled());
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("xcls\n"));
        QVERIFY(!redo->isEnabled());
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("xcls\n"));
    }

    void commentLinesIsOneUndoStep()
    {
        CRichSyntaxView *view = OpenFile(QStringLiteral("a.qrx"), "x = 1\r\n  print x\r\n\r\ncls\r\n");
        QVERIFY(view);
        // The first three lines, selected with the keyboard up to the start of the fourth.
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("; x = 1\n  ; print x\n\ncls\n"));
        QTest::keyClick(view, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("x = 1\n  print x\n\ncls\n"));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("; x = 1\n  ; print x\n\ncls\n"));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("x = 1\n  print x\n\ncls\n"));
        QVERIFY(!view->document()->isUndoAvailable());
        // Without a selection, the caret's line; the caret stays by its text.
        QTextCursor caret(view->document()->findBlockByNumber(3));
        caret.movePosition(QTextCursor::Right);
        view->setTextCursor(caret);
        QTest::keyClick(view, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(view->toPlainText(), QStringLiteral("x = 1\n  print x\n\n; cls\n"));
        QCOMPARE(view->textCursor().positionInBlock(), 3);
        QVERIFY(!view->textCursor().hasSelection());
    }

    void childWindowsOpenMaximised()
    {
        OpenSample();
        const QString second = m_dir.filePath(QStringLiteral("second.qrx"));
        QFile file(second);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(App()->OpenDocumentFile(second));
        const QList<QMdiSubWindow *> windows = Frame()->MdiArea()->subWindowList();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(Frame()->MdiArea()->activeSubWindow(), windows.at(1));
        QVERIFY(windows.at(1)->isMaximized());
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [second.qrx]"));
        // Going back to the first window, through the Window menu, shows it maximised too.
        QMenu *windowMenu = Menu(QStringLiteral("&Window"));
        Q_EMIT windowMenu->aboutToShow();
        QList<QAction *> entries = windowMenu->actions().mid(7);
        QCOMPARE(entries.size(), 2);
        QVERIFY(!entries.at(0)->isChecked());
        QVERIFY(entries.at(1)->isChecked());
        QCOMPARE(entries.at(1)->text(), QStringLiteral("&2 second.qrx"));
        entries.at(0)->trigger();
        QCOMPARE(Frame()->MdiArea()->activeSubWindow(), windows.at(0));
        QTRY_VERIFY(windows.at(0)->isMaximized());
        QTRY_COMPARE(Frame()->windowTitle(), QStringLiteral("Quarn BASIC Editor v1.3.8c - [pong.qrx]"));
    }
};

QBE_TEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
