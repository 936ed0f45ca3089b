// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/aboutdlg.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace {
int CountColor(const QImage &image, const QRect &rect, const QColor &color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb())
                ++count;
        }
    }
    return count;
}

// A dialog background unlike the button face, so that the strings' own
// background can be told apart.
QPalette DistinctPalette()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 255));
    palette.setColor(QPalette::Button, QColor(200, 220, 100));
    return palette;
}
} // namespace

class TestAboutDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The "Visit" lines open their pages; the other lines are no links.
    void visitLinesAreLinks()
    {
        CAboutDlg about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        ShellOpenStub shell;
        const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
        for (const CAboutDlg::PaintedLine &line : lines)
            QTest::mouseClick(&about, Qt::LeftButton, {}, CAboutDlg::LineRect(line).center());
        QCOMPARE(shell.Targets(), (QStringList{CEditorApp::HomepageUrl(), CEditorApp::SiteUrl()}));
    }

    void textCanBeSelectedAndCopiedButNotEdited()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QPlainTextEdit *box = Child<QPlainTextEdit>(&dialog, "textBox");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("xyz"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->toPlainText(), dialog.m_strText);
        box->selectAll();
        box->copy();
        QCOMPARE(QApplication::clipboard()->text(), dialog.m_strText);
    }

    void fontsFallBackToInstalledFaces()
    {
        // Whatever is installed, the faces resolve to something that draws letters.
        for (const QFont &font : {CAboutDlg::TitleFont(), CAboutDlg::CreditFont()}) {
            const QFontInfo info(font);
            QVERIFY(!info.family().isEmpty());
            QVERIFY(QFontMetrics(font).horizontalAdvance(QStringLiteral("Quarn")) > 0);
        }
    }

    void paintingShowsRedTitleAndBlackLinesOnButtonFace()
    {
        CAboutDlg dialog;
        dialog.setPalette(DistinctPalette());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage image = dialog.grab().toImage();
        const QColor face = DistinctPalette().color(QPalette::Button);
        const QColor window = DistinctPalette().color(QPalette::Window);
        const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
        for (const CAboutDlg::PaintedLine &line : lines) {
            const QRect rect = CAboutDlg::LineRect(line);
            QVERIFY2(image.rect().contains(rect), qPrintable(line.text));
            const int ink = CountColor(image, rect, line.color);
            QVERIFY2(ink > 20, qPrintable(line.text));
            // Opaque: the button face fills behind the letters, not the dialog's colour.
            QVERIFY2(CountColor(image, rect, face) > rect.width() * rect.height() / 3, qPrintable(line.text));
            QCOMPARE(CountColor(image, rect, window), 0);
        }
        // The title is the only red thing; the lines stand at their fixed places.
        QCOMPARE(CountColor(image, CAboutDlg::LineRect(lines.at(1)), QColor(255, 0, 0)), 0);
        // Between the title and the first credit line the dialog shows its own colour.
        QVERIFY(CountColor(image, QRect(140, 48, 40, 4), window) > 0);
    }

    // A dark desktop palette must not put the black lines on a dark face.
    void staysReadableUnderADarkPalette()
    {
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
            dark.setColor(role, QColor(30, 30, 35));
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            dark.setColor(role, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });

        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage image = dialog.grab().toImage();
        const QColor face = CAboutDlg::FaceColor();
        QVERIFY(face.lightness() > 200);
        const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
        for (const CAboutDlg::PaintedLine &line : lines) {
            const QRect rect = CAboutDlg::LineRect(line);
            QVERIFY2(CountColor(image, rect, line.color) > 20, qPrintable(line.text));
            QVERIFY2(CountColor(image, rect, face) > rect.width() * rect.height() / 3, qPrintable(line.text));
            QCOMPARE(CountColor(image, rect, QColor(30, 30, 35)), 0);
        }
        QCOMPARE(lines.at(0).color, QColor(255, 0, 0));
        QCOMPARE(lines.at(1).color, QColor(0, 0, 0));
        // The dialog around the strings and the text box are light as well.
        QVERIFY(CountColor(image, QRect(140, 48, 40, 4), face) > 0);
        QPlainTextEdit *box = Child<QPlainTextEdit>(&dialog, "textBox");
        const QRect viewport(box->viewport()->mapTo(&dialog, QPoint(0, 0)), box->viewport()->size());
        QVERIFY(CountColor(image, viewport, QColor(255, 255, 255)) > viewport.width() * viewport.height() / 2);
        QVERIFY(CountColor(image, viewport, QColor(0, 0, 0)) > 20);
    }

    void repaintingDrawsTheSameAndLeavesTheDialogsFont()
    {
        CAboutDlg dialog;
        const QFont before = dialog.font();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage first = dialog.grab().toImage();
        dialog.repaint();
        const QImage second = dialog.grab().toImage();
        QCOMPARE(first, second);
        QCOMPARE(dialog.font(), before);
    }

    void boxIsWideEnoughForThePaintedLines()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
        for (const CAboutDlg::PaintedLine &line : lines) {
            QVERIFY(CAboutDlg::LineRect(line).right() < dialog.width());
            // Right of the logo and above the text box.
            QVERIFY(CAboutDlg::LineRect(line).left() > Child<QLabel>(&dialog, "logo")->geometry().right());
            QVERIFY(CAboutDlg::LineRect(line).bottom() < Child<QPlainTextEdit>(&dialog, "textBox")->geometry().top());
        }
    }

    void aboutCommandShowsAModalBoxThatOkCloses()
    {
        bool seen = false;
        ModalDriver driver;
        driver.Then([&seen](QWidget *about) {
            seen = qobject_cast<CAboutDlg *>(about) && about->isModal();
            QTest::mouseClick(Child<QPushButton>(about, "okButton"), Qt::LeftButton);
        });
        CEditorApp::Instance()->OnAppAbout();
        QVERIFY(seen);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QBE_TEST_MAIN(TestAboutDlg)
#include "tst_aboutdlg.moc"
