// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "editor/edittext.h"
#include "editor/vocabulary.h"

class TestEditText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayColumn_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("column");
        QTest::newRow("start") << "print" << 0 << 1;
        QTest::newRow("after a word") << "print" << 5 << 6;
        QTest::newRow("tab from the start reaches column 5") << "\tx" << 1 << 5;
        QTest::newRow("tab after three letters reaches column 5") << "abc\tx" << 4 << 5;
        QTest::newRow("tab after four letters reaches column 9") << "abcd\tx" << 5 << 9;
        QTest::newRow("two tabs") << "\t\tx" << 3 << 10;
        QTest::newRow("beyond the end counts to the end") << "ab" << 9 << 3;
    }
    void displayColumn()
    {
        QFETCH(QString, line);
        QFETCH(int, position);
        QFETCH(int, column);
        QCOMPARE(EditText::DisplayColumn(line, position, 4), column);
    }

    void toggleComments_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("toggled");
        QTest::newRow("one line") << QStringList{"print x"} << QStringList{"; print x"};
        QTest::newRow("after the indentation") << QStringList{"  \tprint x"} << QStringList{"  \t; print x"};
        QTest::newRow("uncomment takes one blank") << QStringList{";  print x"} << QStringList{" print x"};
        QTest::newRow("uncomment without a blank") << QStringList{"  ;print x"} << QStringList{"  print x"};
        QTest::newRow("all commented: all come back") << QStringList{"; a", "  ; b"} << QStringList{"a", "  b"};
        QTest::newRow("one not commented: all get a marker") << QStringList{"; a", "b"} << QStringList{"; ; a", "; b"};
        QTest::newRow("blank lines stay") << QStringList{"a", "", "  ", "b"} << QStringList{"; a", "", "  ", "; b"};
        QTest::newRow("blank lines do not stop uncommenting")
            << QStringList{"; a", "", "; b"} << QStringList{"a", "", "b"};
        QTest::newRow("an empty line alone is commented") << QStringList{""} << QStringList{"; "};
        QTest::newRow("a lone marker goes") << QStringList{";"} << QStringList{""};
    }
    void toggleComments()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, toggled);
        QCOMPARE(EditText::ToggleComments(lines, QLatin1Char(';')), toggled);
        // Twice gives the lines back, where they were not already commented.
        if (!lines.constFirst().trimmed().startsWith(QLatin1Char(';')))
            QCOMPARE(EditText::ToggleComments(toggled, QLatin1Char(';')), lines);
    }

    void wordsForCompletion()
    {
        QCOMPARE(EditText::WordBefore(u"x = #sco", 8), QStringLiteral("#sco"));
        QCOMPARE(EditText::WordBefore(u"x = sco", 5), QStringLiteral("s"));
        QCOMPARE(EditText::WordBefore(u"x = ", 4), QString());
        QCOMPARE(EditText::WordsOf(u"score = score + x_1 ; 12 #hi 3d"), (QStringList{"score", "x_1", "#hi"}));
    }

    void completions_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("documentWords");
        QTest::addColumn<QStringList>("offers");
        const QStringList words = {"score", "Scroll", "print", "sc"};
        QTest::newRow("lower case prefix") << "sc" << words << QStringList{"score", "screen", "Scroll"};
        QTest::newRow("upper case prefix: vocabulary in upper case")
            << "SC" << words << QStringList{"score", "SCREEN", "Scroll"};
        QTest::newRow("mixed case prefix: vocabulary in lower case")
            << "Sc" << words << QStringList{"score", "screen", "Scroll"};
        QTest::newRow("vocabulary wins over the same document word") << "pr" << words << QStringList{"print"};
        QTest::newRow("the prefix itself is no offer") << "print" << words << QStringList{};
        QTest::newRow("digits only: no case") << "x1" << QStringList{"x1a"} << QStringList{"x1a"};
    }
    void completions()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, documentWords);
        QFETCH(QStringList, offers);
        const QStringList vocabulary = {"print", "screen", "cls"};
        QCOMPARE(EditText::CompletionsFor(prefix, vocabulary, documentWords), offers);
    }

    void vocabularyHasEveryWordOnce()
    {
        const QStringList words = CVocabulary::QuarnBasic().Words();
        QVERIFY(words.size() > kBuiltinNameCount);
        QCOMPARE(QSet<QString>(words.cbegin(), words.cend()).size(), words.size());
        QVERIFY(words.contains(QStringLiteral("print")));
    }
};

QBE_TEST_MAIN(TestEditText)
#include "tst_edittext.moc"
