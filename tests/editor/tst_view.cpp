// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "paintedtext.h"
#include "testsupport.h"

#include "core/settingsnames.h"
#include "core/settingsstore.h"
#include "editor/caretcues.h"
#include "editor/editorzoom.h"
#include "editor/findreplacedlg.h"
#include "editor/glyphbatches.h"
#include "editor/gutterwidget.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/sourcecolorer.h"
#include "editor/textmarks.h"
#include "editor/textsearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPageLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {
const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// The colour a block's layout gives to one of its characters, black when
// none: the colours of lines drawn by their layouts.
QColor LayoutColorAt(const QTextBlock &block, int index)
{
    QColor color(0, 0, 0);
    const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
    for (const QTextLayout::FormatRange &range : ranges) {
        if (index >= range.start && index < range.start + range.length
            && range.format.hasProperty(QTextFormat::ForegroundBrush))
            color = range.format.foreground().color();
    }
    return color;
}

QTextBlock Block(const CRichSyntaxView &view, int number)
{
    return view.document()->findBlockByNumber(number);
}

QString Lines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("x = %1\n").arg(i);
    return text;
}

// The colour one character of a line in view is painted in.
QColor InkAt(CRichSyntaxView &view, int number, int index)
{
    return PaintedText::InkAt(view, Block(view, number), index);
}

// Whether every row the view shows has its colours decided, and is painted
// exactly as Qt paints the same text with its colours as formats.
bool RowsInViewAreColoured(CRichSyntaxView &view)
{
    const int height = view.viewport()->height();
    for (QTextBlock block = view.cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
        if (view.cursorRect(QTextCursor(block)).top() >= height)
            break;
        if (!CSourceColorer::IsColored(block))
            return false;
    }
    return PaintedText::PaintsAsFormatted(view);
}

// Whether, in what the view paints now, every row with a number shows red ink.
bool PaintedRowsHaveRedDigits(CRichSyntaxView &view)
{
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QTextBlock block = view.cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
        const QRect row = view.cursorRect(QTextCursor(block));
        if (row.bottom() >= image.height())
            break;
        bool hasDigit = false;
        for (QChar ch : block.text())
            hasDigit = hasDigit || ch.isDigit();
        if (!hasDigit)
            continue;
        bool red = false;
        for (int y = qMax(0, row.top()); y <= row.bottom() && !red; ++y) {
            for (int x = 0; x < image.width() && !red; ++x) {
                const QColor c = image.pixelColor(x, y);
                red = c.red() > 200 && c.green() < 120 && c.blue() < 120;
            }
        }
        if (!red)
            return false;
    }
    return true;
}

// A view on a document of its own, shown and coloured as a document window is.
// The rectangles a widget was asked to paint.
struct PaintedRects : QObject
{
    explicit PaintedRects(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
    QList<QRect> rects;
};

struct Window
{
    explicit Window(const QString &text)
    {
        // As a file is loaded: the text, then no changes yet.
        doc.TextDocument()->setPlainText(text);
        doc.SetModifiedFlag(false);
        view = std::make_unique<CRichSyntaxView>(&doc);
        highlighter = CSourceColorer::ForDocument(doc.TextDocument());
        view->resize(400, 300);
        view->show();
        view->OnInitialUpdate();
    }
    CRichSyntaxDoc doc;
    CSourceColorer *highlighter;
    std::unique_ptr<CRichSyntaxView> view;
};
} // namespace

class TestView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The view draws most lines itself, a colour at a time; what it paints
    // must be what Qt paints for the same text with its colours as formats,
    // pixel for pixel: faces, positions after tabs, selections and all.
    void paintsAsQtDrawsFormattedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectFrom");
        QTest::addColumn<int>("selectTo");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("sideways");
        const QString mix =
            QStringLiteral("print 1 ; one\n\tcls $1F, %101 \"str\" if x then y\n\t\tx = 1\t; \u00e9 \u00a0comment\n"
                           "CLS LoadPal256 #include \"open\nand\n");
        const QString beyond =
            QStringLiteral("print 1 ; \u043a\u043b\u044e\u0447\nx = \"\u65e5\u672c\" 2 + \u05e9\u05dc\n");
        QTest::newRow("words, numbers, strings, comments, tabs") << mix << 0 << 0 << 0 << false;
        QTest::newRow("beyond Latin-1") << beyond + mix << 0 << 0 << 0 << false;
        QTest::newRow("selection over lines and their breaks") << mix << 3 << 30 << 0 << false;
        QTest::newRow("selection inside a keyword and a comment") << mix << 38 << 48 << 0 << false;
        QTest::newRow("selection in a line beyond Latin-1") << beyond << 4 << 12 << 0 << false;
        QTest::newRow("soft hyphen and a control character")
            << QStringLiteral("x\u00ad1 print\nprint\u0001 2\n") << 0 << 0 << 0 << false;
        QTest::newRow("control characters")
            << QStringLiteral("a\u0001b\u0007c\u001bd\u007fe\u0085f 1\n") << 0 << 0 << 0 << false;
        QTest::newRow("Arabic, joined") << QStringLiteral(
            "print \"\u0633\u0644\u0627\u0645\" ; \u0645\u0631\u062d\u0628\u0627\n")
                                        << 0 << 0 << 0 << false;
        QTest::newRow("stacked marks") << QStringLiteral("x = \"a\u0301\u0323 e\u0302\u0301\" 1\n") << 0 << 0 << 0
                                       << false;
        QTest::newRow("touching glyphs of two colours, black met first")
            << QStringLiteral("W%1 @%1 f%1 W$F\n") << 0 << 0 << 0 << false;
        QTest::newRow("touching glyphs of two colours, red met first")
            << QStringLiteral("1 W%1 @%1 f%1 W$F\n") << 0 << 0 << 0 << false;
        QTest::newRow("touching glyphs, zoomed in") << QStringLiteral("1 W%1 @%1 f%1 W$F\n") << 0 << 0 << 4 << false;
        QTest::newRow("selection edges inside an italic comment")
            << QStringLiteral("print 1 ; Wolf fifty W%1\nx = 2 ; ffff @@@@\n") << 14 << 36 << 0 << false;
        QTest::newRow("zoomed in") << mix << 5 << 20 << 3 << false;
        QTest::newRow("zoomed out") << mix << 0 << 0 << -2 << false;
        QTest::newRow("a long line scrolled sideways")
            << QStringLiteral("print 12 \"ab\" ; x\t").repeated(150) + QStringLiteral("\n") + mix << 1500 << 1520 << 0
            << true;
    }

    void paintsAsQtDrawsFormattedText()
    {
        QFETCH(QString, text);
        QFETCH(int, selectFrom);
        QFETCH(int, selectTo);
        QFETCH(int, zoom);
        QFETCH(bool, sideways);
        CEditorZoom::Instance().SetStep(zoom);
        const auto resetZoom = qScopeGuard([] { CEditorZoom::Instance().Reset(); });
        Window w(text);
        CRichSyntaxView &view = *w.view;
        // Selected text shows in colours unlike any of the text's own.
        QPalette colors = view.palette();
        colors.setColor(QPalette::Highlight, QColor(40, 60, 200));
        colors.setColor(QPalette::HighlightedText, QColor(250, 250, 0));
        view.setPalette(colors);
        QTextCursor selection(view.document());
        selection.setPosition(selectFrom);
        selection.setPosition(selectTo, QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        if (sideways) {
            view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
            QVERIFY(view.horizontalScrollBar()->value() > 5000);
        }
        QPoint where;
        QVERIFY2(PaintedText::PaintsAsFormatted(view, &where),
                 qPrintable(QStringLiteral("first difference at %1,%2").arg(where.x()).arg(where.y())));
    }

    // Every format an extra selection carries shows, on lines the view
    // places itself and on lines Qt lays out alike.
    void extraSelectionsShowOnEveryLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("underline"); // else a background
        QTest::newRow("underline, Latin-1") << "print bad 1\n" << true;
        QTest::newRow("underline, beyond Latin-1") << "print bad \u0436\n" << true;
        QTest::newRow("background, Latin-1") << "print bad 1\n" << false;
    }
    void extraSelectionsShowOnEveryLine()
    {
        QFETCH(QString, text);
        QFETCH(bool, underline);
        Window w(text);
        CRichSyntaxView &view = *w.view;
        QTextEdit::ExtraSelection extra{QTextCursor(view.document()), QTextCharFormat()};
        extra.cursor.setPosition(6);
        extra.cursor.setPosition(9, QTextCursor::KeepAnchor);
        if (underline) {
            extra.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            extra.format.setUnderlineColor(kRed);
        } else {
            extra.format.setBackground(QColor(255, 255, 0));
        }
        view.setExtraSelections({extra});
        const QImage before = PaintedText::Painted(view);
        QPoint where;
        QVERIFY2(PaintedText::PaintsAsFormatted(view, &where),
                 qPrintable(QStringLiteral("first difference at %1,%2").arg(where.x()).arg(where.y())));
        view.setExtraSelections({});
        QVERIFY(PaintedText::Painted(view) != before);
    }

    // A mark shows as a wavy line under its word and a sign in the gutter,
    // in its kind's colour, on every line; its messages show over either.
    void marksShowOnEveryLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("selected");
        QTest::newRow("error, Latin-1") << "x = bad 1\nend\n" << int(MarkKind::Error) << false;
        QTest::newRow("warning, beyond Latin-1") << "x = bad \u0436\nend\n" << int(MarkKind::Warning) << false;
        QTest::newRow("note") << "x = bad 1\nend\n" << int(MarkKind::Note) << false;
        QTest::newRow("error, in a selection") << "x = bad 1\nend\n" << int(MarkKind::Error) << true;
    }
    void marksShowOnEveryLine()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(bool, selected);
        Window w(text);
        CRichSyntaxView &view = *w.view;
        if (selected)
            view.selectAll();
        const QImage unmarked = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        CTextMarks::ForDocument(view.document())
            ->Set(QStringLiteral("/o.qrx"),
                  {{1, 5, MarkKind(kind), QStringLiteral("first")}, {1, 0, MarkKind::Note, QStringLiteral("second")}});
        const QColor color = MarkColor(MarkKind(kind));
        // Ink of the colour, anti-aliased or not: its way from white points where the colour's does.
        const auto near = [&color](QRgb pixel) {
            const double ink[3] = {255.0 - qRed(pixel), 255.0 - qGreen(pixel), 255.0 - qBlue(pixel)};
            const double full[3] = {255.0 - color.red(), 255.0 - color.green(), 255.0 - color.blue()};
            const double dot = ink[0] * full[0] + ink[1] * full[1] + ink[2] * full[2];
            const double inkLength = std::sqrt(ink[0] * ink[0] + ink[1] * ink[1] + ink[2] * ink[2]);
            const double fullLength = std::sqrt(full[0] * full[0] + full[1] * full[1] + full[2] * full[2]);
            return inkLength > fullLength / 2 && dot > 0.97 * inkLength * fullLength;
        };
        const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTextCursor word(view.document());
        word.setPosition(4);
        const QRect start = view.cursorRect(word).translated(view.viewport()->pos());
        word.setPosition(7);
        const int end = view.cursorRect(word).translated(view.viewport()->pos()).left();
        int underlined = 0;
        int sign = 0;
        for (int y = start.top(); y <= start.bottom() + 2; ++y) {
            for (int x = start.left(); x < end; ++x)
                underlined += image.pixel(x, y) != unmarked.pixel(x, y) ? 1 : 0;
            for (int x = 0; x < 14; ++x)
                sign += near(image.pixel(x, y)) ? 1 : 0;
        }
        QVERIFY2(underlined >= 6, qPrintable(QString::number(underlined)));
        QVERIFY2(sign >= 12, qPrintable(QString::number(sign)));
        // The tooltip holds every message of the line.
        const QPoint over = view.cursorRect(word).center() - QPoint(5, 0);
        QHelpEvent help(QEvent::ToolTip, over, view.viewport()->mapToGlobal(over));
        QApplication::sendEvent(view.viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("second\nfirst"));
        QCOMPARE(view.MarkTextsAt(QPoint(5, start.center().y()), true), QStringLiteral("second\nfirst"));
        QCOMPARE(view.MarkTextsAt(QPoint(5, start.center().y() + start.height()), true), QString());
        // A word that ends its line: the tip is over the word, not the room after it.
        CTextMarks::ForDocument(view.document())
            ->Set(QStringLiteral("/p.qrx"), {{2, 0, MarkKind::Note, QStringLiteral("third")}});
        const QRect last = view.cursorRect(QTextCursor(view.document()->findBlockByNumber(1)));
        QVERIFY(!view.MarkTextsAt(last.center() + QPoint(last.height() / 2, 0), false).isEmpty());
        QCOMPARE(view.MarkTextsAt(last.center() + QPoint(last.height() * 4, 0), false), QString());
        QToolTip::hideText();
    }

    // However long a marked line's number, its sign never covers it.
    void signNeverCoversTheNumber_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("signShows");
        QTest::newRow("1 digit") << 9 << true;
        QTest::newRow("4 digits") << 1000 << true;
        QTest::newRow("5 digits") << 10000 << false;
    }
    void signNeverCoversTheNumber()
    {
        QFETCH(int, lines);
        QFETCH(bool, signShows);
        Window w(QStringLiteral("x\n").repeated(lines - 1) + QStringLiteral("x"));
        CRichSyntaxView &view = *w.view;
        view.moveCursor(QTextCursor::End);
        const QRect row = view.cursorRect().translated(view.viewport()->pos());
        const QRect strip(0, row.top(), view.viewport()->x(), row.height());
        const QImage unmarked = view.grab(strip).toImage().convertToFormat(QImage::Format_RGB32);
        CTextMarks::ForDocument(view.document())->Set(QStringLiteral("/o.qrx"), {{lines, 0, MarkKind::Error, {}}});
        const QImage marked = view.grab(strip).toImage().convertToFormat(QImage::Format_RGB32);
        int red = 0;
        for (int y = 0; y < marked.height(); ++y) {
            for (int x = 0; x < marked.width(); ++x) {
                const QRgb before = unmarked.pixel(x, y);
                const QRgb after = marked.pixel(x, y);
                if (qGray(before) < 200)
                    QVERIFY2(qAbs(qRed(after) - qRed(before)) < 60, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                red += qRed(after) > 180 && qGreen(after) < 80 ? 1 : 0;
            }
        }
        QCOMPARE(red >= 4, signShows);
    }

    // The caret is drawn after the text, so no glyph hides it.
    void caretIsDrawn()
    {
        Window w(QStringLiteral("print 1     \ncls\n"));
        CRichSyntaxView &view = *w.view;
        view.activateWindow();
        view.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTextCursor cursor(view.document());
        cursor.setPosition(10);
        view.setTextCursor(cursor);
        const QRect caret = view.cursorRect();
        const auto caretShows = [&view, &caret] {
            const QImage image = view.viewport()->grab().toImage();
            for (int y = caret.top() + 2; y < caret.bottom() - 2; ++y) {
                if (qGray(image.pixel(caret.left(), y)) > 100)
                    return false;
            }
            return true;
        };
        QTRY_VERIFY(caretShows());
    }

    void glyphInkTakesOnlyLinesItCanMap_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("glyphs");
        QTest::newRow("tabs have no glyph") << QStringLiteral("\tcls\t1") << true << 4;
        QTest::newRow("blanks put no ink") << QStringLiteral("a b\u00a0c") << true << 3;
        QTest::newRow("Latin-1") << QStringLiteral("\u00e9\u00fc") << true << 2;
        QTest::newRow("right to left") << QStringLiteral("\u05e9\u05dc\u05d5\u05dd") << false << 0;
        QTest::newRow("a face of its own for some characters") << QStringLiteral("a\u2603b") << false << 0;
    }

    void glyphInkTakesOnlyLinesItCanMap()
    {
        QFETCH(QString, line);
        QFETCH(bool, taken);
        QFETCH(int, glyphs);
        const QFont font = CRichSyntaxView::EditorFont();
        QTextLayout layout(line, font);
        QTextOption option;
        option.setTabStopDistance(40);
        layout.setTextOption(option);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        if (QTest::currentDataTag() == QByteArrayLiteral("a face of its own for some characters")) {
            const QList<QGlyphRun> runs = layout.lineAt(0).glyphRuns();
            if (std::all_of(runs.begin(), runs.end(),
                            [&runs](const QGlyphRun &run) { return run.rawFont() == runs.front().rawFont(); }))
                QSKIP("The editor's font has this character itself; no other face is used.");
        }
        CGlyphBatches ink;
        ink.SetStyles(font, [](ColorKind) { return QTextCharFormat(); });
        std::vector<ColorSpan> spans;
        ColorLine(line, CVocabulary::QuarnBasic(), spans);
        QCOMPARE(ink.AddLine(layout, line, spans, QPointF(), 0, int(line.size())), taken);
        QCOMPARE(ink.Pending(), glyphs);
    }

    void fontWrapAndTabStops()
    {
        Window w(QStringLiteral("\tX"));
        CRichSyntaxView &view = *w.view;
        QVERIFY(view.font().fixedPitch() || QFontInfo(view.font()).fixedPitch());
        QCOMPARE(view.font().pointSize(), 9);
        QCOMPARE(view.lineWrapMode(), QPlainTextEdit::NoWrap);
        const qreal average = QFontMetricsF(view.font()).averageCharWidth();
        QCOMPARE(view.tabStopDistance(), 4 * average);
        // On the screen: the X after the tab stands one tab width from the start.
        QTextCursor cursor(view.document());
        const int start = view.cursorRect(cursor).left();
        cursor.setPosition(1);
        QVERIFY(qAbs(view.cursorRect(cursor).left() - start - 4 * average) <= 1.0);
    }

    void colouringLoadedTextIsNoEdit()
    {
        Window w(QStringLiteral("print 1 ; one\ncls\n"));
        QCOMPARE(InkAt(*w.view, 0, 0), kBlue);
        QVERIFY(!w.doc.IsModified());
        QVERIFY(!w.view->document()->isUndoAvailable());
    }

    // The rows in view, and only they, are coloured: a big file keeps no
    // layout for the lines nobody has looked at.
    void firstShowColoursTheRowsInView()
    {
        Window w(Lines(5000));
        CRichSyntaxView &view = *w.view;
        QVERIFY(RowsInViewAreColoured(view));
        QVERIFY(w.highlighter->ColoredCount() < 60);
        QVERIFY(!CSourceColorer::IsColored(Block(view, 2500)));
        QCOMPARE(Block(view, 2500).layout()->formats().size(), 0);
    }

    void rowsAreColouredWhereverTheViewGoes()
    {
        Window w(Lines(5000));
        CRichSyntaxView &view = *w.view;
        const auto check = [&view](const char *where) {
            QVERIFY2(RowsInViewAreColoured(view), where);
            QVERIFY2(PaintedRowsHaveRedDigits(view), where);
        };
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        check("end");
        QTest::keyClick(&view, Qt::Key_PageUp);
        QTest::keyClick(&view, Qt::Key_PageUp);
        check("two pages up");
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        check("middle by the scroll bar");
        view.GoToPosition(1234, 1);
        check("a line far away");
        view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        check("page down by the scroll bar");
        // Fast: many steps before anything is painted.
        for (int i = 0; i < 40; ++i)
            view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        check("many small steps");
        view.resize(400, 900);
        check("taller window");
        // A second window on the same text colours what it shows itself.
        CRichSyntaxView second(&w.doc);
        second.resize(400, 300);
        second.show();
        second.OnInitialUpdate();
        second.GoToPosition(3333, 1);
        QVERIFY(RowsInViewAreColoured(second));
        QVERIFY(PaintedRowsHaveRedDigits(second));
    }

    // Colours of lines no edit touched stay; the lines an edit touches are
    // coloured anew, also when they are far from the rows in view.
    void editsFarAwayAndBigPastes()
    {
        Window w(Lines(3000));
        CRichSyntaxView &view = *w.view;
        // A line beyond Latin-1 keeps its colours in its layout; they are
        // set at once, far from the view.
        QTextCursor far(Block(view, 2000));
        far.insertText(QStringLiteral("cls \u0436 "));
        QCOMPARE(LayoutColorAt(Block(view, 2000), 0), kBlue);
        QCOMPARE(LayoutColorAt(Block(view, 2000), 10), kRed);
        // Taking the last such character out leaves it to be coloured as drawn.
        far.deletePreviousChar();
        far.deletePreviousChar();
        QVERIFY(Block(view, 2000).layout()->formats().isEmpty());
        view.GoToPosition(2001, 1);
        QCOMPARE(InkAt(view, 2000, 0), kBlue);
        QCOMPARE(InkAt(view, 2000, 8), kRed);
        QVERIFY(RowsInViewAreColoured(view));
        // A paste of many lines: what comes into view is coloured right.
        view.moveCursor(QTextCursor::Start);
        QGuiApplication::clipboard()->setText(QStringLiteral("print 7\n").repeated(2000));
        view.paste();
        QVERIFY(RowsInViewAreColoured(view));
        QVERIFY(PaintedRowsHaveRedDigits(view));
        view.GoToPosition(1500, 1);
        QCOMPARE(Block(view, 1500).text(), QStringLiteral("print 7"));
        QVERIFY(RowsInViewAreColoured(view));
        QCOMPARE(InkAt(view, 1500, 0), kBlue);
        QCOMPARE(InkAt(view, 1500, 6), kRed);
        // The line where the paste ended joins pasted and old text.
        view.GoToPosition(2001, 1);
        QCOMPARE(Block(view, 2000).text(), QStringLiteral("x = 0"));
        QCOMPARE(InkAt(view, 2000, 4), kRed);
        // Undo holds the paste and the edit, never a colouring.
        view.undo();
        QCOMPARE(Block(view, 0).text(), QStringLiteral("x = 0"));
        for (int step = 0; step < 3 && Block(view, 2000).text() != QStringLiteral("x = 2000"); ++step)
            view.undo();
        QCOMPARE(Block(view, 2000).text(), QStringLiteral("x = 2000"));
        QVERIFY(!view.document()->isUndoAvailable());
        QVERIFY(RowsInViewAreColoured(view));
    }

    // Fault mended: one edit over more than 256 lines left the lines in view
    // with the colours of their old text, at the old offsets.
    void bigEditsLeaveNoOldColours_data()
    {
        QTest::addColumn<bool>("comment"); // Comment Lines over all, else Replace All
        QTest::addColumn<QColor>("lastInk");
        QTest::addColumn<bool>("undoRedo"); // then undone and redone, each shown
        QTest::newRow("Replace All") << false << kRed << false;
        QTest::newRow("Comment Lines") << true << QColor(0, 128, 0) << false;
        QTest::newRow("Replace All, undone and redone") << false << kRed << true;
        QTest::newRow("Comment Lines, undone and redone") << true << QColor(0, 128, 0) << true;
    }
    void bigEditsLeaveNoOldColours()
    {
        QFETCH(bool, comment);
        QFETCH(QColor, lastInk);
        QFETCH(bool, undoRedo);
        // Lines beyond Latin-1 keep their colours in their layouts.
        Window w(QStringLiteral("print \"\u0436\" 12\n").repeated(600));
        CRichSyntaxView &view = *w.view;
        view.viewport()->repaint();
        if (comment) {
            view.selectAll();
            view.OnEditCommentLines();
        } else {
            FindRequest request;
            request.findWhat = QStringLiteral("print");
            request.replaceWith = QStringLiteral("cls");
            QCOMPARE(view.ReplaceAll(request), 600);
        }
        view.moveCursor(QTextCursor::Start);
        view.viewport()->repaint();
        if (undoRedo) {
            // A redo brings the text back without a new revision of its lines.
            view.undo();
            view.viewport()->repaint();
            view.redo();
            view.moveCursor(QTextCursor::Start);
            view.viewport()->repaint();
        }
        QVERIFY(RowsInViewAreColoured(view));
        for (int row = 0; row < 10; ++row) {
            const QTextBlock block = Block(view, row);
            QCOMPARE(LayoutColorAt(block, int(block.text().size()) - 1), lastInk);
        }
    }

    void undoAfterTypingRestoresTextOnly()
    {
        Window w(QStringLiteral("x = 1\n"));
        CRichSyntaxView &view = *w.view;
        view.moveCursor(QTextCursor::End);
        QTest::keyClicks(&view, QStringLiteral("print 42"));
        QCOMPARE(InkAt(view, 1, 0), kBlue);
        QCOMPARE(InkAt(view, 1, 6), kRed);
        while (view.document()->isUndoAvailable())
            view.OnEditUndo();
        QCOMPARE(view.toPlainText(), QStringLiteral("x = 1\n"));
        QVERIFY(!w.doc.IsModified());
        // Nothing is left to redo but the typing.
        view.document()->redo();
        QCOMPARE(view.toPlainText(), QStringLiteral("x = 1\nprint 42"));
        QVERIFY(!view.document()->isRedoAvailable());
    }

    void typingRecoloursOnlyTheTouchedLine()
    {
        Window w(Lines(100));
        CRichSyntaxView &view = *w.view;
        QTextCursor cursor(Block(view, 50));
        view.setTextCursor(cursor);
        const qint64 before = w.highlighter->ColoredCount();
        QTest::keyClicks(&view, QStringLiteral("cls "));
        QCOMPARE(w.highlighter->ColoredCount() - before, 4);
        QCOMPARE(Block(view, 50).text(), QStringLiteral("cls x = 50"));
        QCOMPARE(InkAt(view, 50, 0), kBlue);
        QCOMPARE(InkAt(view, 50, 8), kRed);
        // A new line recolours the two lines the break touched.
        const qint64 beforeBreak = w.highlighter->ColoredCount();
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(w.highlighter->ColoredCount() - beforeBreak, 2);
        QCOMPARE(InkAt(view, 51, 4), kRed);
    }

    void shiftEnterBreaksTheLine_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Shift+Return") << int(Qt::Key_Return);
        QTest::newRow("Shift+Enter on the keypad") << int(Qt::Key_Enter);
    }
    // Fault mended: Shift+Enter put a line separator into the line, which no file line break stands for.
    void shiftEnterBreaksTheLine()
    {
        QFETCH(int, key);
        Window w{QString()};
        CRichSyntaxView &view = *w.view;
        QTest::keyClicks(&view, QStringLiteral("x ; note"));
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Enter ? Qt::ShiftModifier | Qt::KeypadModifier : Qt::ShiftModifier;
        QTest::keyClick(&view, Qt::Key(key), modifiers);
        QTest::keyClicks(&view, QStringLiteral("cls"));
        QCOMPARE(view.document()->blockCount(), 2);
        QVERIFY(!view.document()->toRawText().contains(QChar::LineSeparator));
        QCOMPARE(Block(view, 1).text(), QStringLiteral("cls"));
        // The comment ends with its line; the next line is coloured on its own.
        QCOMPARE(InkAt(view, 1, 0), kBlue);
        QVERIFY(view.document()->isUndoAvailable());
        view.OnEditUndo();
        QCOMPARE(view.toPlainText(), QStringLiteral("x ; note\n"));
    }

    void chordsThatAreNoCommandTypeNothing_data()
    {
        // clang-format off
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Alt+Q") << int(Qt::Key_Q) << int(Qt::AltModifier) << "q" << "";
        QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << int(Qt::ControlModifier) << "q" << "";
        QTest::newRow("Meta+Q") << int(Qt::Key_Q) << int(Qt::MetaModifier) << "q" << "";
        QTest::newRow("Alt+Shift+1") << int(Qt::Key_Exclam) << int(Qt::AltModifier | Qt::ShiftModifier) << "!"
                                     << "";
        QTest::newRow("AltGr reported as Ctrl+Alt") << int(Qt::Key_At)
                                                    << int(Qt::ControlModifier | Qt::AltModifier) << "@" << "@";
        QTest::newRow("Shift alone") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << "Q" << "Q";
        // clang-format on
    }
    // Fault mended: Alt+Q typed "q".
    void chordsThatAreNoCommandTypeNothing()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        Window w{QString()};
        CRichSyntaxView &view = *w.view;
        QTest::keyClicks(&view, QStringLiteral("ab"));
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(&view, &press);
        QCOMPARE(view.toPlainText(), QStringLiteral("ab") + typed);
        // The text edit's own chords still work.
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.textCursor().selectedText(), view.toPlainText());
    }

    void pasteTakesPlainTextOnly_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Edit menu") << 0;
        QTest::newRow("Ctrl+V") << 1;
        QTest::newRow("Shift+Insert") << 2;
    }

    void pasteTakesPlainTextOnly()
    {
        QFETCH(int, way);
        Window w{QString()};
        CRichSyntaxView &view = *w.view;
        auto *mime = new QMimeData;
        mime->setHtml(QStringLiteral("<b style=\"color:#00ff00\">print</b> <i>1</i><br>cls"));
        mime->setText(QStringLiteral("print 1\ncls\nx = 2"));
        QGuiApplication::clipboard()->setMimeData(mime);
        view.setFocus();
        if (way == 0)
            view.OnEditPaste();
        else if (way == 1)
            QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
        else
            QTest::keyClick(&view, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(view.toPlainText(), QStringLiteral("print 1\ncls\nx = 2"));
        // Not a trace of the rich text in the document's own formats.
        for (QTextBlock block = view.document()->firstBlock(); block.isValid(); block = block.next()) {
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
                QVERIFY(!format.hasProperty(QTextFormat::FontWeight));
                QVERIFY(!format.hasProperty(QTextFormat::FontItalic));
            }
        }
        // The pasted lines are coloured, every one of them.
        QCOMPARE(InkAt(view, 0, 0), kBlue);
        QCOMPARE(InkAt(view, 1, 0), kBlue);
        QCOMPARE(InkAt(view, 2, 4), kRed);
    }

    void pastedLineSeparatorsBreakTheLine()
    {
        Window w{QString()};
        CRichSyntaxView &view = *w.view;
        auto *mime = new QMimeData;
        mime->setText(QStringLiteral("cls\u2028print 1\r\nx = 2"));
        QGuiApplication::clipboard()->setMimeData(mime);
        view.OnEditPaste();
        QCOMPARE(view.document()->blockCount(), 3);
        QCOMPARE(view.document()->toRawText(), QStringLiteral("cls\u2029print 1\u2029x = 2"));
    }

    void droppedTextIsPlainToo()
    {
        Window w{QString()};
        CRichSyntaxView &view = *w.view;
        QMimeData mime;
        mime.setHtml(QStringLiteral("<b>cls</b>"));
        QVERIFY(!view.document()->isUndoAvailable());
        // Rich text without a plain form is not taken at all.
        QMetaObject::invokeMethod(&view, [&] {
            QDropEvent drop(QPointF(50, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view.viewport(), &drop);
        });
        QCOMPARE(view.toPlainText(), QString());
    }

    void gutterPixels()
    {
        Window w(QStringLiteral("WWWW\n") + Lines(40));
        CRichSyntaxView &view = *w.view;
        // Drawn once at a smaller size first: the strip keeps up with the window.
        view.resize(400, 150);
        QVERIFY(!view.grab().isNull());
        view.resize(400, 300);
        const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int height = image.height();
        QVERIFY(height >= 300);
        for (int y = 0; y < height; ++y) {
            const QColor expected = y % 2 == 0 ? kTeal : QColor(Qt::white);
            QVERIFY2(image.pixelColor(39, y) == expected, qPrintable(QString::number(y)));
            QCOMPARE(image.pixelColor(2, y), QColor(Qt::white));
            for (int x = 36; x < 39; ++x)
                QVERIFY(image.pixelColor(x, y) == QColor(Qt::white));
        }
        // Black on white, whatever the desktop's colours.
        QCOMPARE(image.pixelColor(200, height - 5), QColor(Qt::white));
        QCOMPARE(view.palette().color(QPalette::Text), QColor(Qt::black));
        // The numbers are teal and end just before x = 36.
        int rightmostInk = -1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < 36; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c != QColor(Qt::white)) {
                    QVERIFY(c.blue() > c.red() && c.green() > c.red());
                    rightmostInk = qMax(rightmostInk, x);
                }
            }
        }
        QVERIFY(rightmostInk >= 32);
        // The text starts at x = 45: the first W's ink lies right there.
        const int lineHeight = QFontMetrics(view.font()).height();
        int leftmostText = image.width();
        for (int y = 0; y < lineHeight; ++y) {
            for (int x = 40; x < 60; ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    leftmostText = qMin(leftmostText, x);
            }
        }
        QVERIFY2(leftmostText >= 45 && leftmostText <= 46, qPrintable(QString::number(leftmostText)));
    }

    // Fault mended: on screens that scale, the separator was not drawn at all.
    void gutterSeparatorAtAnyScale_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1.25") << 1.25;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }
    void gutterSeparatorAtAnyScale()
    {
        QFETCH(qreal, ratio);
        if (qEnvironmentVariable("QT_SCALE_FACTOR") != QString::number(ratio)) {
            // The screen's scale is set as a program starts: the case runs again in a child.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(ratio));
            QByteArray said;
            QVERIFY2(TestSupport::PassesInChild(QStringLiteral("gutterSeparatorAtAnyScale:")
                                                    + QLatin1String(QTest::currentDataTag()),
                                                &said, env),
                     said.constData());
            return;
        }
        Window w(Lines(40));
        QWidget *gutter = w.view->findChild<CGutterWidget *>();
        QVERIFY(gutter);
        const QPixmap pixmap = gutter->grab();
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
        // The separator's column, x = 39, in device pixels; teal on every second row.
        const int column = int(39.5 * ratio);
        int teal = 0;
        for (int y = 0; y < image.height(); ++y)
            teal += image.pixelColor(column, y) == kTeal ? 1 : 0;
        QVERIFY2(teal >= image.height() / 3 && teal <= image.height() * 2 / 3, qPrintable(QString::number(teal)));
    }

    // Fault mended: on a row made taller by a CJK face, the number sat above
    // the text's baseline.
    void numberSitsOnItsRowsBaseline()
    {
        Window w(QStringLiteral("x\nx \u4e2d\u6587\nx\n"));
        CRichSyntaxView &view = *w.view;
        const QTextBlock tall = view.document()->findBlockByNumber(1);
        QVERIFY2(tall.layout()->lineAt(0).ascent() > QFontMetricsF(view.font()).ascent() + 1,
                 "a CJK font with a taller ascent is needed (scripts/deps.sh installs one)");
        const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The lowest inked row of the number and of the "x" beside it: both sit on the baseline.
        const QRect row = view.cursorRect(QTextCursor(tall)).translated(view.viewport()->pos());
        const auto lowestInk = [&](int left, int right) {
            int lowest = -1;
            for (int y = row.top(); y <= row.bottom(); ++y)
                for (int x = left; x < right; ++x)
                    lowest = qGray(image.pixel(x, y)) < 200 ? y : lowest;
            return lowest;
        };
        const int x = 45;
        QCOMPARE(lowestInk(0, 36), lowestInk(x, x + view.fontMetrics().horizontalAdvance(QLatin1Char('x'))));
    }

    void gutterFollowsScrolling()
    {
        Window w(Lines(200));
        CRichSyntaxView &view = *w.view;
        const QImage top = view.grab(QRect(0, 0, 40, 60)).toImage();
        view.verticalScrollBar()->setValue(50);
        QTRY_COMPARE(view.cursorForPosition(QPoint(60, 2)).blockNumber(), 50);
        const QImage scrolled = view.grab(QRect(0, 0, 40, 60)).toImage();
        QVERIFY(top != scrolled);
        view.verticalScrollBar()->setValue(0);
        QTRY_COMPARE(view.grab(QRect(0, 0, 40, 60)).toImage(), top);

        // A scroll by a row moves what the strip shows and paints only the
        // row that came into view; on the screen the strip, its dots
        // included, is what it would be drawn as whole.
        auto *gutter = view.findChild<CGutterWidget *>();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const int row = int(view.ShownRect(view.FirstShownBlock()).height());
        for (int step = 1; step <= 3; ++step) {
            PaintedRects painted(gutter);
            view.verticalScrollBar()->setValue(step);
            QTRY_VERIFY(!painted.rects.isEmpty());
            for (const QRect &rect : std::as_const(painted.rects))
                QVERIFY2(rect.height() <= 2 * row, qPrintable(QStringLiteral("%1 of %2").arg(rect.height()).arg(row)));
            const QImage shown =
                view.screen()
                    ->grabWindow(view.winId(), gutter->x(), gutter->y(), gutter->width(), gutter->height())
                    .toImage()
                    .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown, gutter->grab().toImage().convertToFormat(QImage::Format_RGB32));
        }
    }

    // Fault mended: text scrolled sideways showed in the gap between the
    // numbers and the text's left edge.
    void sidewaysTextStaysOutOfTheGap()
    {
        Window w(QString(300, QLatin1Char('W')) + QStringLiteral("\n") + Lines(40));
        CRichSyntaxView &view = *w.view;
        QScrollBar *bar = view.horizontalScrollBar();
        QTRY_VERIFY(bar->maximum() > 100);
        for (int value : {1, 3, 4, 7, 100, bar->maximum()}) {
            bar->setValue(value);
            const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < image.height() - bar->height(); ++y) {
                for (int x = 40; x < 45; ++x) {
                    QVERIFY2(image.pixelColor(x, y) == QColor(Qt::white),
                             qPrintable(QStringLiteral("scrolled %1: %2,%3").arg(value).arg(x).arg(y)));
                }
            }
        }
        // A press beside the text, or on a number, puts the caret at the start of that line.
        bar->setValue(0);
        const int y = view.cursorRect(QTextCursor(view.document()->findBlockByNumber(3))).center().y();
        for (int x : {43, 10}) {
            QWidget *target = view.childAt(x, y);
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&view, QPoint(x, y)));
            QCOMPARE(view.textCursor().blockNumber(), 3);
            QCOMPARE(view.textCursor().positionInBlock(), 0);
            view.moveCursor(QTextCursor::Start);
        }
    }

    void secondViewSharesTextAndColours()
    {
        CRichSyntaxDoc doc;
        doc.TextDocument()->setPlainText(QStringLiteral("x = 1\n"));
        auto first = std::make_unique<CRichSyntaxView>(&doc);
        first->show();
        first->OnInitialUpdate();
        auto second = std::make_unique<CRichSyntaxView>(&doc);
        second->show();
        second->OnInitialUpdate();
        QCOMPARE(doc.TextDocument()->findChildren<CSourceColorer *>().size(), 1);

        second->moveCursor(QTextCursor::End);
        QTest::keyClicks(second.get(), QStringLiteral("cls"));
        QCOMPARE(first->toPlainText(), QStringLiteral("x = 1\ncls"));
        QCOMPARE(InkAt(*first, 1, 0), kBlue);

        // Closing one window leaves the other working.
        first.reset();
        QCOMPARE(doc.Views().size(), 1);
        const int lines = 300;
        QTest::keyClick(second.get(), Qt::Key_Return);
        second->insertPlainText(Lines(lines));
        QTest::keyClicks(second.get(), QStringLiteral("print"));
        QCOMPARE(PaintedText::InkAt(*second, doc.TextDocument()->lastBlock(), 0), kBlue);
        QTRY_VERIFY(second->verticalScrollBar()->maximum() > lines / 2);
        QVERIFY(!second->grab().isNull());
    }

    void newFileShowsItsTextInEveryView()
    {
        // A second view of a new project file once put the template in again,
        // throwing away what had been typed since.
        QTemporaryDir dir;
        CRichSyntaxDoc doc;
        const QString text = QStringLiteral("; new project\ncls\n");
        QVERIFY(doc.StartNewFile(dir.filePath(QStringLiteral("game.qrx")), text).Ok());
        QVERIFY(QFile::exists(doc.GetPathName()));
        QVERIFY(!doc.IsModified());
        CRichSyntaxView first(&doc);
        first.OnInitialUpdate();
        QCOMPARE(first.toPlainText(), text);
        QCOMPARE(InkAt(first, 0, 0), QColor(0, 128, 0));
        first.moveCursor(QTextCursor::End);
        QTest::keyClicks(&first, QStringLiteral("print"));
        CRichSyntaxView second(&doc);
        second.OnInitialUpdate();
        QCOMPARE(second.toPlainText(), text + QStringLiteral("print"));
    }

    void printCopyCarriesTheColours()
    {
        Window w(QStringLiteral("print 42 ; done\n\"text\""));
        std::unique_ptr<QTextDocument> copy = w.view->CreatePrintDocument();
        QCOMPARE(copy->toPlainText(), w.view->toPlainText());
        auto colorOf = [&](int position) {
            QTextCursor cursor(copy.get());
            cursor.setPosition(position + 1);
            return cursor.charFormat();
        };
        QCOMPARE(colorOf(0).foreground().color(), kBlue);
        QCOMPARE(colorOf(6).foreground().color(), kRed);
        QCOMPARE(colorOf(9).foreground().color(), QColor(0, 128, 0));
        QVERIFY(colorOf(9).fontItalic());
        QCOMPARE(colorOf(16).foreground().color(), QColor(200, 0, 200));
        // The original text carries no formats of its own: only the copy does.
        QTextCursor original(w.view->document());
        original.setPosition(1);
        QVERIFY(!original.charFormat().hasProperty(QTextFormat::ForegroundBrush));

        // Drawn, the copy shows blue and red ink.
        QImage image(400, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            copy->drawContents(&painter);
        }
        bool blue = false;
        bool red = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue = blue || (c.blue() > 200 && c.red() < 80 && c.green() < 80);
                red = red || (c.red() > 200 && c.blue() < 80 && c.green() < 80);
            }
        }
        QVERIFY(blue);
        QVERIFY(red);
    }

    // Fault mended: the printout skipped shaping: marks did not stack, control characters took no room.
    void printedTextIsShaped()
    {
        // Marks stack on their letter only when the text is shaped.
        const QString text = QStringLiteral("print \"a\u0301\u0323 e\u0302\u0301\" 1");
        Window w(text);
        std::unique_ptr<QTextDocument> copy = w.view->CreatePrintDocument();
        copy->documentLayout()->documentSize();
        // Laid out as Qt lays out the text in the family and size by default.
        QTextLayout reference(text, QFont(copy->defaultFont().family(), copy->defaultFont().pointSize()));
        reference.beginLayout();
        const QTextLine line = reference.createLine();
        reference.endLayout();
        // Each glyph's place on the line's baseline.
        const auto placed = [](const QTextLine &line) {
            QList<QPointF> positions;
            for (const QGlyphRun &run : line.glyphRuns())
                for (const QPointF &position : run.positions())
                    positions.append(position - QPointF(0, line.ascent()));
            return positions;
        };
        QCOMPARE(placed(copy->firstBlock().layout()->lineAt(0)), placed(line));
    }

    // Printed pages carry the colours of lines that were never shown, and
    // printing leaves the lines on screen as they were.
    void printedPagesColourEveryLine()
    {
        Window w(Lines(3000));
        const qint64 shown = w.highlighter->ColoredCount();
        std::unique_ptr<QTextDocument> copy = w.view->CreatePrintDocument();
        for (int line : {0, 1500, 2999}) {
            QTextCursor cursor(copy->findBlockByNumber(line));
            cursor.setPosition(cursor.position() + 5);
            QVERIFY2(cursor.charFormat().foreground().color() == kRed, qPrintable(QString::number(line)));
        }
        QCOMPARE(w.highlighter->ColoredCount(), shown);
        QVERIFY(!CSourceColorer::IsColored(Block(*w.view, 1500)));
    }

    // Fault mended: a line wider than the page was cut off at the page's edge on paper.
    void printCopyWrapsLinesWiderThanThePage()
    {
        const QString line = QStringLiteral("print \"") + QString(300, QLatin1Char('a')) + QStringLiteral("\" ; end");
        Window w(line + QStringLiteral("\ncls"));
        std::unique_ptr<QTextDocument> copy = w.view->CreatePrintDocument();
        copy->setTextWidth(400);
        QVERIFY(copy->size().width() <= 400);
        QVERIFY(copy->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(copy->lastBlock().layout()->lineCount(), 1);
        // Tabs still stand where they stand on the screen.
        QCOMPARE(copy->defaultTextOption().tabStopDistance(),
                 w.view->document()->defaultTextOption().tabStopDistance());
    }

    void printCommandPrintsThroughTheDialog()
    {
        QTemporaryDir dir;
        Window w(Lines(20));
        QPrinter *printer = CEditorApp::Instance()->Printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir.filePath(QStringLiteral("command.pdf")));
        ModalDriver driver;
        driver.Then([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->accept(); });
        w.view->OnFilePrint();
        QCOMPARE(driver.Handled(), 1);
        const QMarginsF margins = printer->pageLayout().margins(QPageLayout::Inch);
        QCOMPARE(margins, QMarginsF(0.5, 0.5, 0.5, 0.5));
        QFile pdf(printer->outputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
    }

    void findNextAndReplace()
    {
        Window w(QStringLiteral("cls\nCLS\nclsx\ncls\n"));
        CRichSyntaxView &view = *w.view;
        FindRequest request;
        request.findWhat = QStringLiteral("cls");
        request.wholeWord = true;
        request.matchCase = true;
        QVERIFY(view.FindNext(request));
        QCOMPARE(view.textCursor().selectionStart(), 0);
        QVERIFY(view.FindNext(request));
        QCOMPARE(view.textCursor().selectionStart(), 13);
        QVERIFY(view.FindNext(request)); // round to the top again
        QCOMPARE(view.textCursor().selectionStart(), 0);

        request.down = false;
        QVERIFY(view.FindNext(request));
        QCOMPARE(view.textCursor().selectionStart(), 13);

        request.replaceWith = QStringLiteral("print");
        request.down = true;
        QVERIFY(view.Replace(request)); // replaces the selection, selects the next
        QCOMPARE(view.toPlainText(), QStringLiteral("cls\nCLS\nclsx\nprint\n"));
        QCOMPARE(view.textCursor().selectionStart(), 0);

        request.matchCase = false;
        QCOMPARE(view.ReplaceAll(request), 2);
        QCOMPARE(view.toPlainText(), QStringLiteral("print\nprint\nclsx\nprint\n"));
        QCOMPARE(InkAt(view, 1, 0), kBlue);
        // One undo takes the whole Replace All back.
        view.OnEditUndo();
        QCOMPARE(view.toPlainText(), QStringLiteral("cls\nCLS\nclsx\nprint\n"));

        request.findWhat = QStringLiteral("nowhere");
        QVERIFY(!view.FindNext(request));
        QCOMPARE(view.ReplaceAll(request), 0);
    }

    // Regular expressions: matches counted, case as asked; an invalid one finds nothing.
    void regularExpressions_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("count");
        QTest::newRow("numbers") << "\\d+" << false << 3;
        QTest::newRow("case-blind") << "print|cls" << false << 3;
        QTest::newRow("case as written") << "print|cls" << true << 1;
        QTest::newRow("nothing at a place is no match") << "^" << false << 0;
        QTest::newRow("invalid") << "(print" << false << 0;
    }
    void regularExpressions()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, matchCase);
        QFETCH(int, count);
        Window w(QStringLiteral("print 12\nPRINT 3\nCLS 45"));
        FindRequest request;
        request.findWhat = pattern;
        request.matchCase = matchCase;
        request.regularExpression = true;
        QCOMPARE(TextSearch::CountMatches(w.view->document(), request), count);
        QCOMPARE(w.view->FindNext(request), count > 0);
    }
    void invalidExpressionIsSaidInTheDialog()
    {
        CFindReplaceDlg dialog(false, FindRequest(), nullptr);
        dialog.show();
        QSignalSpy found(&dialog, &CFindReplaceDlg::FindNext);
        dialog.findChild<QLineEdit *>(QStringLiteral("findEdit"))->setText(QStringLiteral("(a"));
        dialog.findChild<QCheckBox *>(QStringLiteral("regularExpressionCheck"))->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("findNextButton")), Qt::LeftButton);
        auto *error = dialog.findChild<QLabel *>(QStringLiteral("expressionError"));
        QVERIFY(error->isVisible() && error->text().startsWith(QLatin1String("Invalid regular expression")));
        QCOMPARE(found.count(), 0);
        dialog.findChild<QLineEdit *>(QStringLiteral("findEdit"))->setText(QStringLiteral("(a)"));
        QVERIFY(!error->isVisible());
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("findNextButton")), Qt::LeftButton);
        QCOMPARE(found.count(), 1);
        QVERIFY(found.at(0).at(0).value<FindRequest>().regularExpression);
    }

    // Enter keeps the indentation; Tab and Shift+Tab move lines a level, each one undo step.
    void indentationKeys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("autoIndent");
        QTest::addColumn<QString>("result");
        QTest::newRow("Enter keeps tabs and blanks")
            << "\t  x = 1" << 8 << 8 << int(Qt::Key_Return) << true << "\t  x = 1\n\t  ";
        QTest::newRow("Enter inside the indentation")
            << "\t\tx" << 1 << 1 << int(Qt::Key_Return) << true << "\t\n\t\tx";
        QTest::newRow("Enter over a selection") << "  abc" << 3 << 5 << int(Qt::Key_Return) << true << "  a\n  ";
        QTest::newRow("Enter with AutoIndent off") << "\tx" << 2 << 2 << int(Qt::Key_Return) << false << "\tx\n";
        QTest::newRow("Tab over lines") << "a\nb\nc" << 0 << 3 << int(Qt::Key_Tab) << true << "\ta\n\tb\nc";
        QTest::newRow("Tab, the last line only reached")
            << "a\nb\nc" << 0 << 4 << int(Qt::Key_Tab) << true << "\ta\n\tb\nc";
        QTest::newRow("Tab over lines further down")
            << "x\na\nb" << 2 << 5 << int(Qt::Key_Tab) << true << "x\n\ta\n\tb";
        QTest::newRow("Tab in one line types") << "ab" << 0 << 1 << int(Qt::Key_Tab) << true << "\tb";
        QTest::newRow("Shift+Tab over lines")
            << "\ta\n      b\n  c" << 0 << 14 << int(Qt::Key_Backtab) << true << "a\n  b\nc";
        QTest::newRow("Shift+Tab on the caret's line") << "\t\tx" << 2 << 2 << int(Qt::Key_Backtab) << true << "\tx";
    }
    void indentationKeys()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, key);
        QFETCH(bool, autoIndent);
        QFETCH(QString, result);
        CSettingsStore().WriteString(autoIndent ? QStringLiteral("1") : QStringLiteral("0"),
                                     SettingsNames::kEditorSection, SettingsNames::kAutoIndent);
        Window w(text);
        CRichSyntaxView &view = *w.view;
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
        QTest::keyClick(&view, Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(view.toPlainText(), result);
        // Lines moved a level stay selected, whole.
        if (key != Qt::Key_Return && from != to && result.count(QLatin1Char('\n')) > 0)
            QCOMPARE(view.textCursor().selectionStart(), view.document()->findBlock(from).position());
        view.OnEditUndo();
        QCOMPARE(view.toPlainText(), text);
        // Undone, the caret is back on the lines the key changed.
        QCOMPARE(view.textCursor().blockNumber(), view.document()->findBlock(to).blockNumber());
        CSettingsStore().WriteString(QStringLiteral("1"), SettingsNames::kEditorSection, SettingsNames::kAutoIndent);
    }

    // Beside a block keyword or a bracket, it and its partner get a ground;
    // resting on a name shows its other occurrences in view.
    void pairsAndOccurrences()
    {
        Window w(QStringLiteral("if a then\n  x = b(a)\nend if\nprint a ; a\nf(1"));
        CRichSyntaxView &view = *w.view;
        auto grounds = [&view](const QColor &color) {
            QStringList found;
            for (const QTextEdit::ExtraSelection &selection : view.extraSelections()) {
                if (selection.format.background().color() == color)
                    found.append(selection.cursor.selectedText());
            }
            return found;
        };
        QTextCursor cursor(view.document());
        cursor.setPosition(1);
        view.setTextCursor(cursor);
        QCOMPARE(grounds(CCaretCues::kPairGround), (QStringList{"if", "end if"}));
        view.OnEditGoToMatching();
        QCOMPARE(view.textCursor().blockNumber(), 2);
        // The name rested on: its other occurrences in code.
        cursor.setPosition(3);
        view.setTextCursor(cursor);
        QCOMPARE(grounds(CCaretCues::kPairGround), QStringList());
        QTRY_COMPARE(grounds(CCaretCues::kOccurrenceGround), (QStringList{"a", "a"}));
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
        QCOMPARE(grounds(CCaretCues::kOccurrenceGround), QStringList());
        // A bracket and its partner; one without.
        cursor.setPosition(17);
        view.setTextCursor(cursor);
        QCOMPARE(grounds(CCaretCues::kPairGround), (QStringList{"(", ")"}));
        view.moveCursor(QTextCursor::End);
        view.moveCursor(QTextCursor::Left);
        view.moveCursor(QTextCursor::Left);
        QCOMPARE(grounds(CCaretCues::kUnmatchedGround), QStringList{"("});
    }

    // Fault mended: the whole word "x" was replaced inside "#x", whose "#" the language counts as part of a word.
    void wholeWordsAreTheLanguagesWords_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("longer words stay") << "x x_pos #x x1 x#" << "y x_pos #x x1 x#";
        QTest::newRow("punctuation bounds a word") << "(x)+x,x\nx" << "(y)+y,y\ny";
        QTest::newRow("only parts of words") << "xx _x" << "xx _x";
        // clang-format on
    }
    void wholeWordsAreTheLanguagesWords()
    {
        QFETCH(QString, text);
        QFETCH(QString, replaced);
        Window w(text);
        FindRequest request;
        request.findWhat = QStringLiteral("x");
        request.replaceWith = QStringLiteral("y");
        request.wholeWord = true;
        w.view->ReplaceAll(request);
        QCOMPARE(w.view->toPlainText(), replaced);
    }

    // Fault mended: Replace searching up selected its own replacement again.
    void replaceUpMovesToThePreviousMatch()
    {
        Window w(QStringLiteral("a a a"));
        CRichSyntaxView &view = *w.view;
        view.moveCursor(QTextCursor::End);
        FindRequest request;
        request.findWhat = QStringLiteral("a");
        request.replaceWith = QStringLiteral("aa");
        request.down = false;
        QVERIFY(view.FindNext(request));
        QCOMPARE(view.textCursor().selectionStart(), 4);
        QVERIFY(view.Replace(request));
        QCOMPARE(view.toPlainText(), QStringLiteral("a a aa"));
        QCOMPARE(view.textCursor().selectionStart(), 2);
        QVERIFY(view.Replace(request));
        QCOMPARE(view.toPlainText(), QStringLiteral("a aa aa"));
        QCOMPARE(view.textCursor().selectionStart(), 0);
    }

    void droppedFilesAreAnnounced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dropped.qrx"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("cls\r\n");
        }
        Window w(QStringLiteral("x = 1\n"));
        QSignalSpy dropped(w.view.get(), &CRichSyntaxView::FilesDropped);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(60, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.view->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(60, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.view->viewport(), &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.constFirst().constFirst().toStringList(), QStringList{path});
        QCOMPARE(w.view->toPlainText(), QStringLiteral("x = 1\n"));
    }
};

QBE_TEST_MAIN(TestView)
#include "tst_view.moc"
