// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// Speed of the colouring editor, each figure against a plain counterpart
// measured side by side in the same run.

#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/scanner.h"
#include "editor/syntaxhighlighter.h"
#include "editor/vocabulary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
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

qint64 OpenPlain(const QString &text, long *addedKiB = nullptr)
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
    edit.setPlainText(text);
    Settle();
    const qint64 elapsed = timer.nsecsElapsed();
    if (addedKiB)
        *addedKiB = ResidentKiB() - before;
    return elapsed;
}

qint64 OpenColored(const QString &text, long *addedKiB = nullptr)
{
    const long before = ResidentKiB();
    CRichSyntaxDoc doc;
    QElapsedTimer timer;
    timer.start();
    doc.TextDocument()->setPlainText(text);
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

qint64 Keystrokes(const QString &text, int line)
{
    CRichSyntaxDoc doc;
    doc.TextDocument()->setPlainText(text);
    CRichSyntaxView view(&doc);
    view.resize(800, 600);
    view.show();
    view.OnInitialUpdate();
    view.setFocus();
    QTextCursor cursor(doc.TextDocument()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
    view.setTextCursor(cursor);
    view.ensureCursorVisible();
    Settle();
    Type(&view, 5); // warm up
    QElapsedTimer timer;
    timer.start();
    Type(&view, kKeystrokes);
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
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    const QString big = GenerateSource(kBigLines);
    const QString small = GenerateSource(kSmallLines);
    const double megabytes = double(big.size()) / (1024.0 * 1024.0);
    std::printf("file: %d lines, %.1f MB as 8-bit text, %.1f characters a line\n", kBigLines,
                megabytes, double(big.size()) / kBigLines);

    // (4) first, before the other rounds have grown the heap.
    long addedKiB = 0;
    const qint64 firstOpen = OpenColored(big, &addedKiB);
    TrimHeap();
    long plainKiB = 0;
    OpenPlain(big, &plainKiB);
    TrimHeap();
    std::printf("(4) resident memory added by the big file: coloured view %.1f MB = %.2f x its "
                "size; plain QPlainTextEdit %.1f MB = %.2f x\n",
                double(addedKiB) / 1024.0, double(addedKiB) * 1024.0 / double(big.size()),
                double(plainKiB) / 1024.0, double(plainKiB) * 1024.0 / double(big.size()));

    // (1) open and colour vs open without colouring.
    qint64 plain = OpenPlain(big);
    qint64 colored = firstOpen;
    for (int round = 1; round < kRounds; ++round) {
        plain = std::min(plain, OpenPlain(big));
        colored = std::min(colored, OpenColored(big));
    }
    std::printf("(1) open + colour %.0f ms, plain setPlainText %.0f ms: ratio %.2f (target <= 1.4)\n",
                Ms(colored), Ms(plain), double(colored) / double(plain));

    // (2) one keystroke deep in the big file vs in a small one.
    const qint64 keyBig = Keystrokes(big, kKeyLine);
    const qint64 keySmall = Keystrokes(small, kSmallLines / 2);
    std::printf("(2) keystroke at line %d: %.3f ms, in a %d-line file: %.3f ms: ratio %.2f "
                "(target <= 3)\n",
                kKeyLine, Ms(keyBig), kSmallLines, Ms(keySmall), double(keyBig) / double(keySmall));

    // (3) scanner alone vs a pass that reads every character.
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
    std::printf("(3) scanner %.1f ms (%zu spans), reading pass %.1f ms (checksum %u): ratio %.2f "
                "(target <= 5)\n",
                Ms(scan), spans, Ms(read), checksum, double(scan) / double(read));
    return 0;
}
