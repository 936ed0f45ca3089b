// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "editor/textmarks.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString kOrigin = QStringLiteral("/p/main.qrx");

// Does an edit written as "insert:POS:TEXT", "remove:POS:N" or "comment"
// (every line gets "; " in front, as one step).
void Edit(QTextDocument &doc, const QString &edit)
{
    const QStringList parts = edit.split(QLatin1Char(':'));
    QTextCursor cursor(&doc);
    if (parts.at(0) == QLatin1String("comment")) {
        cursor.beginEditBlock();
        for (QTextBlock block = doc.firstBlock(); block.isValid(); block = block.next()) {
            cursor.setPosition(block.position());
            cursor.insertText(QStringLiteral("; "));
        }
        cursor.endEditBlock();
        return;
    }
    cursor.setPosition(parts.at(1).toInt());
    if (parts.at(0) == QLatin1String("insert")) {
        cursor.insertText(parts.mid(2).join(QLatin1Char(':')).replace(QStringLiteral("\\n"), QStringLiteral("\n")));
    } else {
        cursor.setPosition(parts.at(1).toInt() + parts.at(2).toInt(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}
} // namespace

class TestTextMarks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A mark goes with its text through edits; deleting its line removes it.
    void marksFollowTheText_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("line");   // where the mark stands then, from 1; 0: gone
        QTest::addColumn<int>("column"); // from 1
        // The mark is set at line 2, column 5 ("bad") of "a = 1\nx = bad 2\nend".
        QTest::newRow("no edit") << "insert:0:" << 2 << 5;
        QTest::newRow("typing before it on its line") << "insert:6:zz" << 2 << 7;
        QTest::newRow("typing after it") << "insert:15:zz" << 2 << 5;
        QTest::newRow("lines inserted above") << "insert:0:one\\ntwo\\n" << 4 << 5;
        QTest::newRow("a line deleted above") << "remove:0:6" << 1 << 5;
        QTest::newRow("its line deleted") << "remove:6:10" << 0 << 0;
        QTest::newRow("its line deleted from the line before") << "remove:5:10" << 0 << 0;
        QTest::newRow("Enter at its line's start") << "insert:6:\\n" << 3 << 5;
        QTest::newRow("Enter before it on its line") << "insert:8:\\n" << 3 << 3;
        QTest::newRow("its line joined to the one above") << "remove:5:1" << 1 << 10;
        QTest::newRow("its word replaced") << "remove:10:3" << 2 << 5;
        QTest::newRow("every line commented in one step") << "comment" << 2 << 7;
        QTest::newRow("the whole text replaced") << "remove:0:19" << 0 << 0;
    }
    void marksFollowTheText()
    {
        QFETCH(QString, edit);
        QFETCH(int, line);
        QFETCH(int, column);
        QTextDocument doc;
        doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
        doc.setPlainText(QStringLiteral("a = 1\nx = bad 2\nend"));
        CTextMarks *marks = CTextMarks::ForDocument(&doc);
        marks->Set(kOrigin, {{2, 5, MarkKind::Error, QStringLiteral("bad name")}});
        Edit(doc, edit);
        const std::optional<MarkPlace> place = marks->PlaceOf(kOrigin, 0);
        QCOMPARE(place.has_value(), line > 0);
        int shown = 0;
        for (QTextBlock block = doc.firstBlock(); block.isValid(); block = block.next())
            shown += int(marks->OnBlock(block).size());
        QCOMPARE(shown, line > 0 ? 1 : 0);
        if (line > 0) {
            QCOMPARE(place->line, line);
            QCOMPARE(place->column, column);
            QCOMPARE(marks->OnBlock(doc.findBlockByNumber(line - 1)).value(0)->text, QStringLiteral("bad name"));
        }
    }

    void placesAsTheCompilerNamesThem_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("placedLine");
        QTest::addColumn<int>("placedColumn");
        QTest::addColumn<int>("underlined");
        QTest::newRow("a word") << 2 << 2 << 2 << 2 << 5;
        QTest::newRow("no column: the first non-blank") << 2 << 0 << 2 << 2 << 5;
        QTest::newRow("past the line's end") << 2 << 99 << 2 << 15 << 0;
        QTest::newRow("past the last line, on a directive") << 9999999 << 1 << 3 << 1 << 8;
        QTest::newRow("on punctuation") << 2 << 8 << 2 << 8 << 1;
    }
    void placesAsTheCompilerNamesThem()
    {
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, placedLine);
        QFETCH(int, placedColumn);
        QFETCH(int, underlined);
        QTextDocument doc;
        doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
        doc.setPlainText(QStringLiteral("x\n\tprint(\"a\", 1)\n#include \"y\""));
        doc.setModified(false);
        CTextMarks *marks = CTextMarks::ForDocument(&doc);
        marks->Set(kOrigin, {{line, column, MarkKind::Warning, QString()}});
        // The marks are no part of the text.
        QCOMPARE(doc.availableUndoSteps(), 0);
        QVERIFY(!doc.isModified());
        const std::optional<MarkPlace> place = marks->PlaceOf(kOrigin, 0);
        QVERIFY(place);
        QCOMPARE(place->line, placedLine);
        QCOMPARE(place->column, placedColumn);
        QCOMPARE(CTextMarks::UnderlinedLength(doc.findBlockByNumber(placedLine - 1).text(), placedColumn - 1),
                 underlined);
    }

    // A compile's marks replace that compile's marks only.
    void eachOriginReplacesItsOwn()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("a\nb\nc"));
        CTextMarks *marks = CTextMarks::ForDocument(&doc);
        QCOMPARE(CTextMarks::ForDocument(&doc), marks);
        marks->Set(kOrigin, {{1, 1, MarkKind::Error, QString()}, {2, 1, MarkKind::Note, QString()}});
        marks->Set(QStringLiteral("/p/other.qrx"), {{3, 1, MarkKind::Warning, QString()}});
        marks->Set(kOrigin, {{2, 1, MarkKind::Error, QString()}});
        QVERIFY(marks->PlaceOf(kOrigin, 0));
        QVERIFY(!marks->PlaceOf(kOrigin, 1));
        QCOMPARE(marks->PlaceOf(QStringLiteral("/p/other.qrx"), 0)->line, 3);
        QVERIFY(marks->OnBlock(doc.firstBlock()).isEmpty());
    }
};

QBE_TEST_MAIN(TestTextMarks)
#include "tst_textmarks.moc"
