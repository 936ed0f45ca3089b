// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "paintedtext.h"
#include "testsupport.h"

#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/scanner.h"
#include "editor/sourcecolorer.h"
#include "editor/vocabulary.h"

#include <QColor>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
// One letter a character: . plain, N number, S string, B built-in,
// K keyword, C comment.
char Letter(ColorKind kind)
{
    switch (kind) {
    case ColorKind::Number:
        return 'N';
    case ColorKind::String:
        return 'S';
    case ColorKind::Builtin:
        return 'B';
    case ColorKind::Keyword:
        return 'K';
    case ColorKind::Comment:
        return 'C';
    case ColorKind::Plain:
        break;
    }
    return '.';
}

QString MaskOfSpans(const QString &line, const QList<ColorSpan> &spans)
{
    QString mask(line.size(), QLatin1Char('.'));
    for (const ColorSpan &span : spans) {
        for (int i = span.start; i < span.start + span.length; ++i)
            mask[i] = QLatin1Char(Letter(span.kind));
    }
    return mask;
}

// The lookup as the lists define it: a blank-bounded substring search.
WordKind SearchLists(const CVocabulary &rules, const QString &word)
{
    const QString probe = QLatin1Char(' ') + word + QLatin1Char(' ');
    if (rules.Builtins().contains(probe))
        return WordKind::Builtin;
    if (rules.Keywords().contains(probe))
        return WordKind::Keyword;
    return WordKind::Plain;
}
} // namespace

class TestScanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noWordIsBothKeywordAndBuiltin()
    {
        QSet<QString> builtins;
        for (const char *name : g_builtinNames)
            builtins.insert(QString::fromLatin1(name));
        QCOMPARE(builtins.size(), kBuiltinNameCount);
        for (const char *group : g_keywordGroups) {
            const QStringList words = QString::fromLatin1(group).split(QLatin1Char(' '));
            for (const QString &word : words)
                QVERIFY2(!builtins.contains(word), qPrintable(word));
        }
    }

    void indexAnswersAsTheListSearch()
    {
        const CVocabulary rules = CVocabulary::QuarnBasic();
        QStringList probes{QString(),
                           QStringLiteral(" "),
                           QStringLiteral("an"),
                           QStringLiteral("andy"),
                           QStringLiteral("sprit"),
                           QStringLiteral("#inc"),
                           QStringLiteral("printer"),
                           QStringLiteral("end1"),
                           QStringLiteral("#"),
                           QStringLiteral("as  case"),
                           QStringLiteral("and as"),
                           QStringLiteral("é")};
        for (const char *group : g_keywordGroups)
            probes += QString::fromLatin1(group).split(QLatin1Char(' '));
        for (const char *name : g_builtinNames)
            probes.append(QString::fromLatin1(name));
        const QStringList listed = probes;
        for (const QString &word : listed) {
            probes.append(word.toUpper());
            probes.append(word.left(word.size() - 1));
            probes.append(word.mid(1));
            probes.append(word + QLatin1Char('x'));
        }
        for (const QString &word : std::as_const(probes))
            QVERIFY2(rules.Lookup(word) == SearchLists(rules, word), qPrintable(word));
    }

    void caseSensitiveListsAreNotLowered()
    {
        CVocabulary rules;
        rules.SetCaseSensitive(true);
        rules.AddKeywords(QStringLiteral("If Then"));
        rules.AddBuiltin(QStringLiteral("Print"));
        QCOMPARE(rules.Keywords(), QStringLiteral(" If Then "));
        QCOMPARE(rules.Lookup(u"If"), WordKind::Keyword);
        QCOMPARE(rules.Lookup(u"if"), WordKind::Plain);
        QCOMPARE(rules.Lookup(u"Print"), WordKind::Builtin);
        QCOMPARE(ColorLine(u"If Print if", rules).size(), 2);
    }

    void colouring_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("mask");
        auto row = [](const char *name, const char *line, const char *mask) {
            QTest::newRow(name) << QString::fromUtf8(line) << QString::fromLatin1(mask);
        };
        row("numbers red, names and operators plain", "x = $1F + %101 + 42", "....NNN...NNNN...NN");
        row("G does not continue a hex number", "$1G", "NN.");
        row("A continues only a number begun with $", "%1A", "NN.");
        row("digits then a plain word", "12abc", "NN...");
        row("digits then a built-in", "12cls", "NNBBB");
        row("a lone $ after a word is red", "a$", ".N");
        row("the point of 1.5 stays plain", "1.5", "N.N");
        row("built-in looked up in lower case", "Print x", "BBBBB..");
        row("PrintX is one plain word", "PrintX", "......");
        row("directive", "#include", "BBBBBBBB");
        row("unknown directive plain", "#foo #", "......");
        row("keywords bold", "If x Then", "KK...KKKK");
        row("underscore and digits join words", "end_if x1", ".........");
        row("comment to the end of the line", "x ; note", "..CCCCCC");
        row("semicolon inside a string opens no comment", "\"a;b\" x", "SSSSS..");
        row("quotes inside a comment", "; say \"hi\"", "CCCCCCCCCC");
        row("unterminated string to the end", "print \"open", "BBBBB.SSSSS");
        row("empty line", "", "");
        row("and in any case, an and andy plain", "AND And and an andy", "KKK.KKK.KKK........");
        row("sl sr string data keywords, #data directive", "sl sr string data #data", "KK.KK.KKKKKK.KKKK.BBBBB");
        row("digits belong to built-in names", "CLS LoadPal256 WrapAngle", "BBB.BBBBBBBBBB.BBBBBBBBB");
        row("#INCLUDE directive, include plain", "#INCLUDE include", "BBBBBBBB........");
        row("true and false built-in", "true false", "BBBB.BBBBB");
        row("near misses plain", "printx end_if sprite1", ".....................");
        row("characters above 127 are not letters", "é1 xé", ".N...");
        row("tabs are plain", "\tcls\t1", ".BBB.N");
        row("string then comment", "print \"a\" ; b", "BBBBB.SSS.CCC");
    }

    void colouring()
    {
        QFETCH(QString, line);
        QFETCH(QString, mask);
        const CVocabulary rules = CVocabulary::QuarnBasic();
        QCOMPARE(MaskOfSpans(line, ColorLine(line, rules)), mask);

        // The same in a real view, as it paints a middle line and the last line.
        CRichSyntaxDoc doc;
        doc.TextDocument()->setPlainText(QStringLiteral("x\n") + line + QStringLiteral("\n") + line);
        CRichSyntaxView view(&doc);
        view.resize(400, 100);
        view.show();
        view.OnInitialUpdate();
        QVERIFY(PaintedText::PaintsAsFormatted(view));
    }

    void lineLongerThan1024IsColouredWhole()
    {
        // Fault mended: only the first 1024 characters of a line were coloured.
        const QString line = QString(1100, QLatin1Char(' ')) + QStringLiteral("print 7 ; end");
        const CVocabulary rules = CVocabulary::QuarnBasic();
        const QString mask = MaskOfSpans(line, ColorLine(line, rules));
        QCOMPARE(mask.mid(1100), QStringLiteral("BBBBB.N.CCCCC"));

        CRichSyntaxDoc doc;
        doc.TextDocument()->setPlainText(line);
        CRichSyntaxView view(&doc);
        view.resize(400, 100);
        view.show();
        view.OnInitialUpdate();
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
        QVERIFY(PaintedText::PaintsAsFormatted(view));
        QCOMPARE(PaintedText::InkAt(view, doc.TextDocument()->firstBlock(), 1100), QColor(0, 0, 255));
        QCOMPARE(PaintedText::InkAt(view, doc.TextDocument()->firstBlock(), 1106), QColor(255, 0, 0));
    }

    void emptyDocumentIsColouredWithoutError()
    {
        CRichSyntaxDoc doc;
        CRichSyntaxView view(&doc);
        view.OnInitialUpdate();
        QCOMPARE(doc.TextDocument()->blockCount(), 1);
        QVERIFY(doc.TextDocument()->firstBlock().layout()->formats().isEmpty());
    }
};

QBE_TEST_MAIN(TestScanner)
#include "tst_scanner.moc"
