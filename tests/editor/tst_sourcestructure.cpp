// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/sourcestructure.h"

#include <QtTest>

using namespace SourceStructure;

namespace {
QString Written(const Place &place)
{
    return QStringLiteral("%1:%2+%3").arg(place.line).arg(place.span.start).arg(place.span.length);
}
} // namespace

class TestSourceStructure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a line defines, written "kind name column", and what it includes.
    void whatALineDefines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("defined");
        QTest::addColumn<QString>("included");
        QTest::newRow("function") << "function MoveBall(x)"
                                  << "0 MoveBall 9"
                                  << "";
        QTest::newRow("indented, any case") << "\t  FUNCTION  draw_2"
                                            << "0 draw_2 13"
                                            << "";
        QTest::newRow("type") << "type Player"
                              << "1 Player 5"
                              << "";
        QTest::newRow("constant") << "#constant SPEED 4"
                                  << "2 SPEED 10"
                                  << "";
        QTest::newRow("label") << "mainloop:"
                               << "3 mainloop 0"
                               << "";
        QTest::newRow("label with a comment") << "  start:   ; here"
                                              << "3 start 2"
                                              << "";
        QTest::newRow("label with a statement after it") << "start: cls"
                                                         << ""
                                                         << "";
        QTest::newRow("end function") << "end function"
                                      << ""
                                      << "";
        QTest::newRow("function in a comment") << "; function Old"
                                               << ""
                                               << "";
        QTest::newRow("function as a longer word") << "functions x"
                                                   << ""
                                                   << "";
        QTest::newRow("no name") << "function"
                                 << ""
                                 << "";
        QTest::newRow("a number") << "function 12"
                                  << ""
                                  << "";
        QTest::newRow("#constantly") << "#constantly X"
                                     << ""
                                     << "";
        QTest::newRow("include") << "#include \"inc/sprites.qrx\""
                                 << ""
                                 << "inc/sprites.qrx";
        QTest::newRow("import, any case") << "  #IMPORT \"gfx.qrx\" ; tiles"
                                          << ""
                                          << "gfx.qrx";
        QTest::newRow("include unclosed") << "#include \"x.qrx"
                                          << ""
                                          << "";
        QTest::newRow("include in a comment") << "; #include \"x.qrx\""
                                              << ""
                                              << "";
    }
    void whatALineDefines()
    {
        QFETCH(QString, line);
        QFETCH(QString, defined);
        QFETCH(QString, included);
        const std::optional<Definition> found = DefinitionIn(line);
        QCOMPARE(found ? QStringLiteral("%1 %2 %3").arg(int(found->kind)).arg(found->name).arg(found->column)
                       : QString(),
                 defined);
        QCOMPARE(IncludedFile(line), included);
    }

    // The pair at a caret, written "line:start+length" for the word or
    // bracket and its partner; "none" for no partner, empty for no pair.
    void pairs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("pair");
        const QString blocks = QStringLiteral("if a then\n"              // 0
                                              "  for i = 1 to 3\n"       // 1
                                              "    if b then print 1\n"  // 2
                                              "    if c then ; block\n"  // 3
                                              "      print \"end if\"\n" // 4
                                              "    end if\n"             // 5
                                              "  next\n"                 // 6
                                              "END IF ; if\n"            // 7
                                              "function f(x)\n"          // 8
                                              "  exit function\n"        // 9
                                              "  select x\n"             // 10
                                              "  end select\n"           // 11
                                              "end function");           // 12
        QTest::newRow("if to end if") << blocks << 0 << 0 << "0:0+2 7:0+6";
        QTest::newRow("caret just after the word") << blocks << 0 << 2 << "0:0+2 7:0+6";
        QTest::newRow("end if back, nested skipped") << blocks << 7 << 4 << "7:0+6 0:0+2";
        QTest::newRow("for to next") << blocks << 1 << 3 << "1:2+3 6:2+4";
        QTest::newRow("one-line if: none") << blocks << 2 << 5 << "";
        QTest::newRow("block if with a comment") << blocks << 3 << 4 << "3:4+2 5:4+6";
        QTest::newRow("in a string: none") << blocks << 4 << 13 << "";
        QTest::newRow("in a comment: none") << blocks << 7 << 9 << "";
        QTest::newRow("function, exit skipped") << blocks << 8 << 0 << "8:0+8 12:0+12";
        QTest::newRow("exit function: none") << blocks << 9 << 8 << "";
        QTest::newRow("select") << blocks << 11 << 2 << "11:2+10 10:2+6";
        QTest::newRow("unmatched if") << "if a then\nprint 1" << 0 << 1 << "0:0+2 none";
        QTest::newRow("bracket after the caret") << "x = (a(1) + [2])" << 0 << 4 << "0:4+1 0:15+1";
        QTest::newRow("bracket before the caret") << "x = (a(1) + [2])" << 0 << 16 << "0:15+1 0:4+1";
        QTest::newRow("inner bracket") << "x = (a(1) + [2])" << 0 << 6 << "0:6+1 0:8+1";
        QTest::newRow("bracket in a string skipped") << "print (\")\" + a)" << 0 << 6 << "0:6+1 0:14+1";
        QTest::newRow("bracket over lines") << "f(1,\n  2)" << 0 << 1 << "0:1+1 1:3+1";
        QTest::newRow("unmatched bracket") << "f(1" << 0 << 1 << "0:1+1 none";
        QTest::newRow("bracket in a comment") << "; f(1)" << 0 << 3 << "";
    }
    void pairs()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, pair);
        const QStringList texts = text.split(QLatin1Char('\n'));
        const Lines lines{[&texts](int i) { return texts.at(i); }, int(texts.size())};
        std::optional<Pair> found = BlockPairAt(lines, line, column);
        if (!found)
            found = BracketPairAt(lines, line, column);
        const QString written = found ? Written(found->at) + QLatin1Char(' ')
                                            + (found->partner ? Written(*found->partner) : QStringLiteral("none"))
                                      : QString();
        QCOMPARE(written, pair);
    }
};

QTEST_APPLESS_MAIN(TestSourceStructure)
#include "tst_sourcestructure.moc"
