// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/mainframe.h"
#include "editor/outlinepanel.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

class TestNavigation : public QObject
{
    Q_OBJECT

    CEditorApp *App() { return CEditorApp::Instance(); }
    CMainFrame *Frame() { return App()->MainFrame(); }
    CRichSyntaxView *View() { return Frame()->ActiveView(); }

    // Where the active window's caret stands: its file, line and column.
    QString Caret()
    {
        const QTextCursor cursor = View()->textCursor();
        return QStringLiteral("%1:%2:%3")
            .arg(QDir(m_dir.path()).relativeFilePath(View()->GetDocument()->GetPathName()))
            .arg(cursor.blockNumber() + 1)
            .arg(cursor.positionInBlock() + 1);
    }
    // Puts the caret at line (from 1) before the first occurrence of text there.
    void CaretOn(int line, const QString &text)
    {
        const QTextBlock block = View()->document()->findBlockByNumber(line - 1);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + int(block.text().indexOf(text)));
        View()->setTextCursor(cursor);
    }
    QStringList Rows()
    {
        QStringList rows;
        const QAbstractItemModel *model = Frame()->Outline()->List()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            rows.append(model->index(i, 0).data().toString() + QLatin1Char(':') + model->index(i, 1).data().toString());
        return rows;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("inc"));
        TestSupport::WriteFile(
            m_dir.filePath(QStringLiteral("inc/lib.qrx")),
            "; library\r\n#constant SPEED 4\r\nfunction Draw(x)\r\n  plot x, SPEED\r\nend function\r\n");
        TestSupport::WriteFile(m_dir.filePath(QStringLiteral("main.qrx")),
                               "#include \"inc/lib.qrx\"\r\n" // 1
                               "type Ball\r\n"                // 2
                               "end type\r\n"                 // 3
                               "function Move(b)\r\n"         // 4
                               "  Draw(b)\r\n"                // 5
                               "end function\r\n"             // 6
                               "mainloop:\r\n"                // 7
                               "  Move(1)\r\n"                // 8
                               "  nowhere(2)\r\n");           // 9
        QVERIFY(App()->InitInstance({}));
        QVERIFY(App()->OpenDocumentFile(m_dir.filePath(QStringLiteral("main.qrx"))));
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
    }
    void cleanup() { App()->ExitInstance(); }

    // The outline lists the definitions, narrows, sorts, follows the caret
    // and the typing, and goes where a row says.
    void outlineFollowsTheText()
    {
        QTest::keyClick(Frame(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(Frame()->OutlineDock()->isVisible());
        COutlinePanel *outline = Frame()->Outline();
        QVERIFY(outline->Filter()->hasFocus());
        QCOMPARE(Rows(), (QStringList{"Ball:2", "Move:4", "mainloop:7"}));
        QTest::keyClicks(outline->Filter(), QStringLiteral("m"));
        QCOMPARE(Rows(), (QStringList{"Move:4", "mainloop:7"}));
        QTest::mouseClick(outline->SortByName(), Qt::LeftButton);
        QCOMPARE(Rows(), (QStringList{"mainloop:7", "Move:4"}));
        outline->Filter()->clear();
        QTest::mouseClick(outline->SortByName(), Qt::LeftButton);
        // The row that holds the caret is the current one.
        CaretOn(5, QStringLiteral("Draw"));
        QCOMPARE(outline->List()->currentIndex().data().toString(), QStringLiteral("Move"));
        // Typed lines move the rows; a typed definition comes in.
        View()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(View(), QStringLiteral("function Top"));
        QTest::keyClick(View(), Qt::Key_Return);
        QCOMPARE(Rows(), (QStringList{"Top:1", "Ball:3", "Move:5", "mainloop:8"}));
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(), (QStringList{"Ball:2", "Move:4", "mainloop:7"}));
        // A definition typed where the caret stands becomes the current row.
        CaretOn(6, QStringLiteral("end function"));
        View()->moveCursor(QTextCursor::EndOfBlock);
        QTest::keyClick(View(), Qt::Key_Return);
        QTest::keyClicks(View(), QStringLiteral("function Mid"));
        QCOMPARE(outline->List()->currentIndex().data().toString(), QStringLiteral("Mid"));
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(), (QStringList{"Ball:2", "Move:4", "mainloop:7"}));
        // A click goes there.
        QTreeView *list = outline->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
        QCOMPARE(Caret(), QStringLiteral("main.qrx:7:1"));
    }

    // F2 and Ctrl+click find definitions here and in included files; Go Back
    // and Go Forward walk the jumps across windows and drop closed ones.
    void definitionsAndBack()
    {
        CaretOn(8, QStringLiteral("Move"));
        QTest::keyClick(View(), Qt::Key_F2);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:4:10"));
        CaretOn(5, QStringLiteral("Draw"));
        const QRect word = View()->cursorRect();
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, Qt::ControlModifier, word.center() + QPoint(4, 0));
        QCOMPARE(Caret(), QStringLiteral("inc/lib.qrx:3:10"));
        QTest::keyClick(View(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:5:4"));
        QTest::keyClick(View(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:4:10"));
        QTest::keyClick(View(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:8:3"));
        QTest::keyClick(View(), Qt::Key_Right, Qt::AltModifier);
        QTest::keyClick(View(), Qt::Key_Right, Qt::AltModifier);
        QTest::keyClick(View(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("inc/lib.qrx:3:10"));
        // A constant of the included file; the include line opens its file.
        QTest::keyClick(View(), Qt::Key_Down);
        QTest::keyClick(View(), Qt::Key_End);
        QTest::keyClick(View(), Qt::Key_F2);
        QCOMPARE(Caret(), QStringLiteral("inc/lib.qrx:2:11"));
        // The included file's window closed: its places are gone.
        const QPointer<CRichSyntaxView> closed = View();
        Frame()->MdiArea()->closeActiveSubWindow();
        QTRY_VERIFY(!closed);
        QTest::keyClick(View(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:4:10"));
        QTest::keyClick(View(), Qt::Key_Right, Qt::AltModifier);
        QTest::keyClick(View(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(Caret(), QStringLiteral("main.qrx:5:4"));
        CaretOn(1, QStringLiteral("inc"));
        QTest::keyClick(View(), Qt::Key_F2);
        QCOMPARE(Caret(), QStringLiteral("inc/lib.qrx:1:1"));
        // Nothing found: the status bar says so and the caret stays.
        QVERIFY(App()->OpenDocumentFile(m_dir.filePath(QStringLiteral("main.qrx"))));
        CaretOn(9, QStringLiteral("nowhere"));
        QTest::keyClick(View(), Qt::Key_F2);
        QCOMPARE(Frame()->statusBar()->currentMessage(), QStringLiteral("No definition of nowhere found."));
        QCOMPARE(Caret(), QStringLiteral("main.qrx:9:3"));
    }
};

QBE_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
