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
#include <QTimer>

namespace {
// The rectangle a painted string covers.
QRect LineRect(const CAboutDlg::PaintedLine &line)
{
    const QFontMetrics metrics(line.font);
    return QRect(line.topLeft, QSize(metrics.horizontalAdvance(line.text), metrics.height()));
}

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
    void controlsAndTexts()
    {
        CAboutDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Quarn BASIC Editor"));
        QCOMPARE(Child<QPushButton>(&dialog, "okButton")->text(), QStringLiteral("OK"));
        QVERIFY(Child<QPushButton>(&dialog, "okButton")->isDefault());
        QCOMPARE(Child<QLabel>(&dialog, "logo")->pixmap().size(), QSize(122, 122));
        QVERIFY(Child<QPlainTextEdit>(&dialog, "textBox")->isReadOnly());
        QCOMPARE(Child<QPlainTextEdit>(&dialog, "textBox")->toPlainText(), dialog.m_strText);
    }

    void aboutTextIsSixLinesInThreeParagraphs()
    {
        CAboutDlg dialog;
        const QStringList lines = dialog.m_strText.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        QVERIFY(lines.at(2).isEmpty());
        QVERIFY(lines.at(5).isEmpty());
        for (int i : {0, 1, 3, 4, 6, 7})
            QVERIFY2(!lines.at(i).isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(lines.at(0).contains(QStringLiteral("Copyright (c) 2026")));
        QVERIFY(lines.at(1).contains(QStringLiteral("All rights reserved.")));
        QVERIFY(lines.at(3).contains(QStringLiteral("for everybody")));
        QVERIFY(lines.at(4).contains(QStringLiteral("warranty")));
        QVERIFY(lines.at(6).contains(QLatin1Char('@')));
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

    void paintedLines()
    {
        const QList<CAboutDlg::PaintedLine> lines = CAboutDlg::PaintedLines();
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0).text, QStringLiteral("Quarn BASIC Editor v1.3.8c"));
        QCOMPARE(lines.at(0).topLeft, QPoint(140, 8));
        QCOMPARE(lines.at(0).color, QColor(255, 0, 0));
        QCOMPARE(lines.at(0).font.pointSize(), 20);
        QVERIFY(lines.at(1).text.startsWith(QStringLiteral("by ")));
        QVERIFY(lines.at(2).text.startsWith(QStringLiteral("Logo by ")));
        QVERIFY(lines.at(2).text.contains(QLatin1Char('@')));
        QCOMPARE(lines.at(3).text, QStringLiteral("Visit ") + CEditorApp::HomepageUrl());
        QCOMPARE(lines.at(4).text, QStringLiteral("Visit ") + CEditorApp::SiteUrl());
        QVERIFY(CEditorApp::HomepageUrl().startsWith(QStringLiteral("https://")));
        QVERIFY(CEditorApp::SiteUrl().startsWith(QStringLiteral("https://")));
        const int tops[] = {55, 73, 102, 120};
        for (int i = 1; i < 5; ++i) {
            QCOMPARE(lines.at(i).topLeft, QPoint(140, tops[i - 1]));
            QCOMPARE(lines.at(i).color, QColor(0, 0, 0));
            QCOMPARE(lines.at(i).font.pointSize(), 10);
            QVERIFY(lines.at(i).font.bold());
        }
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
            const QRect rect = LineRect(line);
            QVERIFY2(image.rect().contains(rect), qPrintable(line.text));
            const int ink = CountColor(image, rect, line.color);
            QVERIFY2(ink > 20, qPrintable(line.text));
            // Opaque: the button face fills behind the letters, not the dialog's colour.
            QVERIFY2(CountColor(image, rect, face) > rect.width() * rect.height() / 3, qPrintable(line.text));
            QCOMPARE(CountColor(image, rect, window), 0);
        }
        // The title is the only red thing; the lines stand at their fixed places.
        QCOMPARE(CountColor(image, LineRect(lines.at(1)), QColor(255, 0, 0)), 0);
        // Between the title and the first credit line the dialog shows its own colour.
        QVERIFY(CountColor(image, QRect(140, 48, 40, 4), window) > 0);
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
            QVERIFY(LineRect(line).right() < dialog.width());
            // Right of the logo and above the text box.
            QVERIFY(LineRect(line).left() > Child<QLabel>(&dialog, "logo")->geometry().right());
            QVERIFY(LineRect(line).bottom() < Child<QPlainTextEdit>(&dialog, "textBox")->geometry().top());
        }
    }

    void aboutCommandShowsAModalBoxThatOkCloses()
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            auto *about = qobject_cast<CAboutDlg *>(QApplication::activeModalWidget());
            if (!about || !about->isVisible())
                return;
            seen = about->isModal();
            QTest::mouseClick(Child<QPushButton>(about, "okButton"), Qt::LeftButton);
        });
        poll.start();
        CEditorApp::Instance()->OnAppAbout();
        QVERIFY(seen);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QBE_TEST_MAIN(TestAboutDlg)
#include "tst_aboutdlg.moc"
