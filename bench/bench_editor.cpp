// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// Speed of the colouring editor, each figure against a plain counterpart
// measured side by side in the same run.

#include "build/buildcommands.h"
#include "build/messagespanel.h"
#include "editor/outlinepanel.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/scanner.h"
#include "editor/sourcecolorer.h"
#include "editor/textmarks.h"
#include "editor/vocabulary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdio>
#include <vector>

// Results are stored here before the clock is read, so that the compiler
// cannot move the work past the reading of the clock.
unsigned long long g_benchSink = 0;

namespace {
constexpr int kBigLines = 200000;
constexpr int kSmallLines = 100;
constexpr int kKeyLine = 100000;
constexpr int kKeystrokes = 200;
constexpr int kRounds = 5;
constexpr int kLongLine = 100000;
constexpr int kMarks = 10000;
constexpr int kOutlineLines = 10000;

QString GenerateSource(int lines)
{
    static const char *const patterns[] = {
        "    LoadSprite @1, 16, 16, \"hero@2.bmp\"        ; the player's frames",
        "For index = @1 To @2 Step 2   ; every second entry of the table",
        "    x = x + $1F * %101 - @1 : y = Rnd(@2) + (x Mod 7)",
        "    PositionSprite i, x + @1, y - @2: UpdateSprites",
        "    Next index: Poke $0600@1, table(index) : total = total + @2",
        "If Key(@1) And Not done Then Print \"pressed \", i, @2",
        "; ---- drawing loop @1 of the title screen, pass @2 ----",
        "    Plot x, y, Rgb(@1, 0, @2)   ; red to blue over the rows",
        "While Not Keys() And counter < @1: counter = counter + @2",
        "    End If   ; @1 frames since the start, @2 left to go",
        "Dim table@1(64) As Integer, names@2 As String  ; lookup tables",
        "#include \"sprites@1.qrx\"   ; the sprite sheet, @2 frames in all",
        "    WaitTimer @1: ScrollX 0, scroll@2: VBlank: copy = copy + 1",
        "Function Clamp@1(value, limit): If value > limit Then Return limit",
    };
    constexpr int patternCount = int(sizeof patterns / sizeof patterns[0]);
    QString text;
    text.reserve(lines * 62);
    for (int i = 0; i < lines; ++i) {
        QString line = QString::fromLatin1(patterns[(i * 7 + i / 13) % patternCount]);
        line.replace(QLatin1String("@1"), QString::number(i % 977));
        line.replace(QLatin1String("@2"), QString::number((i * 31) % 4099));
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Hands freed memory back, so that the next measurement starts clean.
void TrimHeap()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void Type(QWidget *target, int count);

// The file as the editor finds it on disk: Windows-1252 text with CR LF breaks.
QString WriteSourceFile(const QTemporaryDir &dir, const QString &text)
{
    const QString path = dir.filePath(QStringLiteral("big.qrx"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")).toLatin1());
    return path;
}

// Read from disk, decoded and shown by the bare widget.
qint64 OpenPlainFile(const QString &path, long *addedKiB = nullptr)
{
    const long before = ResidentKiB();
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setFont(CRichSyntaxView::EditorFont());
    edit.resize(800, 600);
    edit.show();
    Settle();
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    edit.setPlainText(QString::fromLatin1(file.readAll()));
    Settle();
    const qint64 elapsed = timer.nsecsElapsed();
    if (addedKiB)
        *addedKiB = ResidentKiB() - before;
    return elapsed;
}

// Read, decoded, shown and coloured as the editor opens a file.
qint64 OpenColoredFile(const QString &path, long *addedKiB = nullptr)
{
    const long before = ResidentKiB();
    CRichSyntaxDoc doc;
    QElapsedTimer timer;
    timer.start();
    if (!doc.OnOpenDocument(path).Ok())
        return -1;
    CRichSyntaxView view(&doc);
    view.resize(800, 600);
    view.show();
    view.OnInitialUpdate();
    Settle();
    const qint64 elapsed = timer.nsecsElapsed();
    if (addedKiB)
        *addedKiB = ResidentKiB() - before;
    return elapsed;
}

// Pages from the top of the text to its end, each page painted.
qint64 PageThrough(QPlainTextEdit *edit, int *pages)
{
    edit->moveCursor(QTextCursor::Start);
    edit->setFocus();
    Settle();
    QScrollBar *bar = edit->verticalScrollBar();
    *pages = 0;
    QElapsedTimer timer;
    timer.start();
    while (bar->value() < bar->maximum()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        edit->viewport()->repaint();
        ++*pages;
    }
    return timer.nsecsElapsed();
}

// The bare widget showing text, for one measurement.
template<class Measure>
qint64 WithBare(const QString &text, Measure measure)
{
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setFont(CRichSyntaxView::EditorFont());
    edit.resize(800, 600);
    edit.show();
    edit.setPlainText(text);
    return measure(&edit);
}

// An editor window showing text, for one measurement.
template<class Measure>
qint64 WithEditor(const QString &text, Measure measure)
{
    CRichSyntaxDoc doc;
    doc.TextDocument()->setPlainText(text);
    CRichSyntaxView view(&doc);
    view.resize(800, 600);
    view.show();
    view.OnInitialUpdate();
    return measure(&view);
}

// Keys typed in the middle of the first line, each followed by a paint.
qint64 TypeInFirstLine(QPlainTextEdit *edit, int column)
{
    edit->setFocus();
    QTextCursor cursor(edit->document());
    cursor.setPosition(column);
    edit->setTextCursor(cursor);
    Settle();
    constexpr int keys = 20;
    Type(edit, 2);
    QElapsedTimer timer;
    timer.start();
    Type(edit, keys);
    return timer.nsecsElapsed() / keys;
}

void Type(QWidget *target, int count)
{
    for (int i = 0; i < count; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    }
}

qint64 Keystrokes(QPlainTextEdit *view, int line)
{
    view->setFocus();
    QTextCursor cursor(view->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
    Settle();
    Type(view, 5); // warm up
    QElapsedTimer timer;
    timer.start();
    Type(view, kKeystrokes);
    return timer.nsecsElapsed() / kKeystrokes;
}

struct Lines
{
    std::vector<QStringView> views;
};

Lines SplitLines(const QString &text)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            lines.views.push_back(QStringView(text).mid(start, i - start));
            start = i + 1;
        }
    }
    lines.views.push_back(QStringView(text).mid(start));
    return lines;
}

qint64 ScanAll(const Lines &lines, const CVocabulary &rules, std::size_t *spanCount)
{
    std::vector<ColorSpan> spans;
    spans.reserve(256);
    std::size_t total = 0;
    QElapsedTimer timer;
    timer.start();
    for (QStringView line : lines.views) {
        spans.clear();
        ColorLine(line, rules, spans);
        total += spans.size();
    }
    g_benchSink += total;
    const qint64 elapsed = timer.nsecsElapsed();
    *spanCount = total;
    return elapsed;
}

// Reads every character once, each step depending on the one before.
qint64 ReadAll(const Lines &lines, unsigned *checksum)
{
    unsigned sum = 2166136261u;
    QElapsedTimer timer;
    timer.start();
    for (QStringView line : lines.views) {
        const char16_t *p = line.utf16();
        for (qsizetype i = 0, n = line.size(); i < n; ++i)
            sum = (sum ^ p[i]) * 16777619u;
    }
    g_benchSink += sum;
    const qint64 elapsed = timer.nsecsElapsed();
    *checksum = sum;
    return elapsed;
}

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

// A compile's messages, one on every twentieth line.
QList<CompilerMessage> Messages()
{
    QList<CompilerMessage> messages;
    for (int i = 0; i < kMarks; ++i) {
        messages.append({QStringLiteral("/p/big.qrx"), i * (kBigLines / kMarks) + 1, 5,
                         QStringLiteral("big.qrx(%1,5) : error: unknown name").arg(i * (kBigLines / kMarks) + 1),
                         MarkKind(i % 3)});
    }
    return messages;
}
} // namespace

const char kUsage[] = "usage: bench_editor [FIGURE...]\n"
                      "Measures the colouring editor, each figure against a plain counterpart in the same run,\n"
                      "on a generated file of 200,000 lines. Without FIGURE, all of them:\n"
                      "  open       (1) resident memory the big file adds, against a bare QPlainTextEdit\n"
                      "             (2) opening it from disk, against a bare read and setPlainText\n"
                      "  keystroke  (3) a keystroke in the middle of the big file, against one in a 100-line file\n"
                      "  paging     (4) paging from top to bottom, against a bare QPlainTextEdit\n"
                      "  longline   (5) a keystroke in a 100,000-character line, against a bare QPlainTextEdit\n"
                      "  scanner    (6) colouring every line, against one reading pass over the text\n"
                      "  marks      (7) a keystroke in the middle of the big file holding 10,000 marks, against\n"
                      "                 one without marks; (8) 10,000 messages marked and listed, in ms\n"
                      "  outline    (9) typing in a 10,000-line program with its outline listed, against typing\n"
                      "                 without one: the outline's cost per keystroke, in ms\n"
                      "  paging-editor  pages through the editor alone, for profiling\n";

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);

    const QString big = GenerateSource(kBigLines);
    const QString small = GenerateSource(kSmallLines);
    const double megabytes = double(big.size()) / (1024.0 * 1024.0);
    std::printf("file: %d lines, %.1f MB as 8-bit text, %.1f characters a line\n", kBigLines, megabytes,
                double(big.size()) / kBigLines);

    // Arguments name the figures to measure (open, keystroke, paging,
    // longline, scanner); without any, all are measured. "paging-editor"
    // pages through the editor alone, for profiling.
    const QStringList only = app.arguments().mid(1);
    const auto Wanted = [&only](const char *name) { return only.isEmpty() || only.contains(QLatin1String(name)); };
    QTemporaryDir dir;
    const QString path = WriteSourceFile(dir, big);

    if (Wanted("open")) {
        // Memory first, before the other rounds have grown the heap.
        long addedKiB = 0;
        const qint64 firstOpen = OpenColoredFile(path, &addedKiB);
        TrimHeap();
        long plainKiB = 0;
        const qint64 firstPlain = OpenPlainFile(path, &plainKiB);
        TrimHeap();
        std::printf("(1) resident memory added by the big file: editor %.1f MB = %.2f x its size; bare "
                    "QPlainTextEdit %.1f MB = %.2f x: ratio %.2f (goal <= 1.1)\n",
                    double(addedKiB) / 1024.0, double(addedKiB) * 1024.0 / double(big.size()),
                    double(plainKiB) / 1024.0, double(plainKiB) * 1024.0 / double(big.size()),
                    double(addedKiB) / double(plainKiB));

        // Opening from disk: read, decode, show and colour what is shown.
        qint64 plain = firstPlain;
        qint64 colored = firstOpen;
        for (int round = 1; round < kRounds; ++round) {
            plain = std::min(plain, OpenPlainFile(path));
            colored = std::min(colored, OpenColoredFile(path));
            TrimHeap();
        }
        std::printf("(2) open from disk %.0f ms, bare read + setPlainText %.0f ms: ratio %.2f (goal <= 1.1)\n",
                    Ms(colored), Ms(plain), double(colored) / double(plain));
    }

    if (Wanted("keystroke")) {
        // One keystroke deep in the big file vs in a small one.
        const qint64 keyBig = WithEditor(big, [](QPlainTextEdit *view) { return Keystrokes(view, kKeyLine); });
        const qint64 keySmall =
            WithEditor(small, [](QPlainTextEdit *view) { return Keystrokes(view, kSmallLines / 2); });
        std::printf("(3) keystroke at line %d: %.3f ms, in a %d-line file: %.3f ms: ratio %.2f "
                    "(goal <= 1.5)\n",
                    kKeyLine, Ms(keyBig), kSmallLines, Ms(keySmall), double(keyBig) / double(keySmall));
    }

    if (Wanted("paging")) {
        // Paging through the whole file, each page painted.
        int pagesPlain = 0;
        int pagesColored = 0;
        const auto pagePlainOnce = [&] {
            return WithBare(big, [&](QPlainTextEdit *edit) { return PageThrough(edit, &pagesPlain); });
        };
        const auto pageColoredOnce = [&] {
            return WithEditor(big, [&](QPlainTextEdit *edit) { return PageThrough(edit, &pagesColored); });
        };
        // Taken in turns, so that a slow spell of the machine falls on both.
        qint64 pagePlain = pagePlainOnce();
        qint64 pageColored = pageColoredOnce();
        for (int round = 1; round < kRounds; ++round) {
            pagePlain = std::min(pagePlain, pagePlainOnce());
            pageColored = std::min(pageColored, pageColoredOnce());
        }
        std::printf("(4) paging top to bottom: editor %.0f ms (%d pages), bare %.0f ms (%d pages): ratio "
                    "%.2f (goal <= 1.3)\n",
                    Ms(pageColored), pagesColored, Ms(pagePlain), pagesPlain, double(pageColored) / double(pagePlain));
    }

    if (only.contains(QLatin1String("paging-editor"))) {
        // The editor's side of (4) alone, once, for a profiler to watch.
        int pages = 0;
        const qint64 time = WithEditor(big, [&](QPlainTextEdit *edit) { return PageThrough(edit, &pages); });
        std::printf("paging the editor alone: %.0f ms (%d pages)\n", Ms(time), pages);
    }

    if (Wanted("longline")) {
        // Typing in a line of 100,000 characters.
        QString longLine;
        const QString source = GenerateSource(3000);
        for (qsizetype i = 0; longLine.size() < kLongLine; ++i) {
            const QChar ch = source.at(i % source.size());
            longLine += ch == QLatin1Char('\n') ? QLatin1Char(':') : ch;
        }
        longLine.truncate(kLongLine);
        longLine += QStringLiteral("\nEnd\n");
        const auto typeInLine = [](QPlainTextEdit *edit) { return TypeInFirstLine(edit, 40); };
        const qint64 longPlain = std::min(WithBare(longLine, typeInLine), WithBare(longLine, typeInLine));
        const qint64 longColored = std::min(WithEditor(longLine, typeInLine), WithEditor(longLine, typeInLine));
        std::printf("(5) keystroke in a %d-character line: editor %.2f ms, bare %.2f ms: ratio %.2f (goal <= 1.5)\n",
                    kLongLine, Ms(longColored), Ms(longPlain), double(longColored) / double(longPlain));
    }

    if (Wanted("marks")) {
        // Typing where 10,000 marks go with the text, against typing where none stand.
        const QList<CompilerMessage> messages = Messages();
        const QString output = [&messages] {
            QString text;
            for (const CompilerMessage &message : messages)
                text += message.text + QLatin1Char('\n');
            return text;
        }();
        qint64 marked = 0;
        qint64 unmarked = 0;
        qint64 ready = 0;
        for (int round = 0; round < 2; ++round) {
            unmarked += WithEditor(big, [](QPlainTextEdit *view) { return Keystrokes(view, kKeyLine); });
            marked += WithEditor(big, [&](QPlainTextEdit *view) {
                CMessagesPanel panel;
                panel.resize(800, 300);
                panel.show();
                QElapsedTimer timer;
                timer.start();
                CTextMarks *marks = CTextMarks::ForDocument(view->document());
                marks->Set(QStringLiteral("/p/big.qrx"), MarksByFile(messages).value(QStringLiteral("/p/big.qrx")));
                // The rows take the marks' places, as in the program.
                panel.SetPlaceLookup([&] {
                    const QHash<int, MarkPlace> marked = marks->Places(QStringLiteral("/p/big.qrx"));
                    QList<std::optional<MarkPlace>> places;
                    for (int i = 0; i < messages.size(); ++i)
                        places.append(marked.value(i));
                    return places;
                });
                panel.SetCompile(QStringLiteral("/p/big.qrx"), messages, output);
                QCoreApplication::processEvents();
                ready = std::max(ready, timer.nsecsElapsed());
                return Keystrokes(view, kKeyLine);
            });
        }
        std::printf("(7) keystroke at line %d among %d marks: %.3f ms, without marks: %.3f ms: ratio %.2f "
                    "(goal <= 1.5)\n",
                    kKeyLine, kMarks, Ms(marked / 2), Ms(unmarked / 2), double(marked) / double(unmarked));
        std::printf("(8) %d messages marked and listed in %.1f ms (goal <= 200 ms)\n", kMarks, Ms(ready));
    }

    if (Wanted("outline")) {
        // Typing in a 10,000-line program with its outline listed, against typing without one.
        QString program;
        for (int i = 0; i < kOutlineLines; ++i) {
            program += i % 10 == 0 ? QStringLiteral("function f%1(x)\n").arg(i)
                                   : QStringLiteral("  x = x + %1 ; step\n").arg(i);
        }
        const auto typing = [](int key, bool listed) {
            return [key, listed](QPlainTextEdit *edit) {
                auto *view = static_cast<CRichSyntaxView *>(edit);
                COutlinePanel panel;
                if (listed) {
                    panel.resize(300, 600);
                    panel.show();
                    panel.SetView(view);
                }
                QTextCursor cursor(view->document()->findBlockByNumber(kOutlineLines / 2));
                cursor.movePosition(QTextCursor::EndOfBlock);
                view->setTextCursor(cursor);
                view->setFocus();
                Settle();
                QElapsedTimer timer;
                timer.start();
                for (int i = 0; i < kKeystrokes; ++i) {
                    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_X ? "x" : "\r");
                    QApplication::sendEvent(view, &press);
                    QCoreApplication::processEvents();
                }
                return timer.nsecsElapsed() / kKeystrokes;
            };
        };
        qint64 results[2][2] = {{LLONG_MAX, LLONG_MAX}, {LLONG_MAX, LLONG_MAX}};
        for (int round = 0; round < 2; ++round) {
            for (int k = 0; k < 2; ++k) {
                const int key = k == 0 ? Qt::Key_X : Qt::Key_Return;
                results[k][0] = std::min(results[k][0], WithEditor(program, typing(key, false)));
                results[k][1] = std::min(results[k][1], WithEditor(program, typing(key, true)));
            }
        }
        std::printf("(9) outline update in a %d-line file: a character %.3f ms, a line break %.3f ms (goal <= 2 ms); "
                    "keystroke with the outline %.3f ms, without %.3f ms: ratio %.2f\n",
                    kOutlineLines, Ms(std::max<qint64>(0, results[0][1] - results[0][0])),
                    Ms(std::max<qint64>(0, results[1][1] - results[1][0])), Ms(results[0][1]), Ms(results[0][0]),
                    double(results[0][1]) / double(results[0][0]));
    }

    // The scanner alone vs a pass that reads every character.
    if (!Wanted("scanner"))
        return 0;
    const Lines lines = SplitLines(big);
    const CVocabulary rules = CVocabulary::QuarnBasic();
    std::size_t spans = 0;
    unsigned checksum = 0;
    qint64 scan = ScanAll(lines, rules, &spans);
    qint64 read = ReadAll(lines, &checksum);
    for (int round = 1; round < kRounds; ++round) {
        scan = std::min(scan, ScanAll(lines, rules, &spans));
        read = std::min(read, ReadAll(lines, &checksum));
    }
    std::printf("(6) scanner %.1f ms (%zu spans), reading pass %.1f ms (checksum %u): ratio %.2f "
                "(target <= 5)\n",
                Ms(scan), spans, Ms(read), checksum, double(scan) / double(read));
    return 0;
}
