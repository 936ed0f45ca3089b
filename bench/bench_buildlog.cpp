// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// How the build log keeps up with a compiler that writes a lot. A child writes
// through the real log window, from its start to the last character shown:
// 20 MB of compiler-like lines against the same text put into a bare control
// in one call; 40 MB against 20 MB; 20 MB in one line against 20 MB of lines;
// the longest stall of the user-interface thread while output streams in; and
// the resident memory that 60 MB of output adds, against its size.
#include "build/buildlogdlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr qint64 kMB = 1000 * 1000;

// The helper's bytes=N output.
QString CompilerLines(qint64 count)
{
    QByteArray all;
    all.reserve(count + 100);
    qint64 line = 0;
    while (all.size() < count)
        all += "pong.qrx(" + QByteArray::number(++line) + ") : compiling statement, 0x08000000 bytes free\n";
    all.truncate(count);
    return QString::fromUtf8(all);
}

// Milliseconds to put the text into a bare control in one call and show it.
double OneCall(const QString &text)
{
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.resize(640, 240);
    edit.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    QTextCursor cursor(edit.document());
    cursor.insertText(text);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

qint64 ResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    // A file of /proc tells no size, so it is read whole.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong() * 1024;
    }
    return 0;
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

struct Streamed
{
    double ms = 0;
    double longestStallMs = 0;
    qint64 shownChars = 0;
    qint64 residentAdded = 0;
};

// A child writing through the real log window, from its start to the end of the output shown.
Streamed Stream(const QString &step, const QString &folder)
{
    Streamed result;
    const qint64 residentBefore = ResidentBytes();
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        result.longestStallMs = std::max(result.longestStallMs, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    CBuildLogDlg log;
    QObject::connect(&log, &CBuildLogDlg::Finished, &log, [&] {
        QCoreApplication::processEvents();
        result.ms = double(clock.nsecsElapsed()) / 1e6;
        result.residentAdded = ResidentBytes() - residentBefore;
        result.shownChars = log.findChild<QPlainTextEdit *>()->document()->characterCount() - 1;
        probe.stop();
        log.close();
    });
    clock.start();
    sinceTick.start();
    probe.start();
    const QString helper = QStringLiteral(QBE_TEST_HELPER);
    if (!log.Execute({helper, {step}, step}, folder))
        std::fprintf(stderr, "helper did not start\n");
    return result;
}
} // namespace

const char kUsage[] = "usage: bench_buildlog\n"
                      "Streams compiler output through the real build log window and prints the medians of 5 rounds:\n"
                      "  20 MB of lines through the log, against the same text put into a bare control in one call\n"
                      "  40 MB of lines against 20 MB\n"
                      "  20 MB in one line against 20 MB of lines\n"
                      "  the longest stall of the user-interface thread while output streams in\n"
                      "  the resident memory that 60 MB of output adds, against its size\n";

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    const QString folder = settings.path();
    const auto lines = [](qint64 bytes) { return QStringLiteral("bytes=%1").arg(bytes); };
    const auto oneLine = [](qint64 bytes) { return QStringLiteral("long=%1").arg(bytes); };

    // Memory first, while the heap is fresh.
    Stream(lines(kMB), folder);
    const Streamed sixty = Stream(lines(60 * kMB), folder);

    const QString twenty = CompilerLines(20 * kMB);
    OneCall(CompilerLines(kMB));

    // The machine is shared: each measure is taken several times, the kinds
    // interleaved, and the median counts.
    constexpr int kRounds = 5;
    QList<double> oneCall20s, lines20s, lines40s, oneLine20s;
    double longestStall = 0;
    for (int round = 0; round < kRounds; ++round) {
        oneCall20s.append(OneCall(twenty));
        for (const auto &[step, times] : {std::pair{lines(20 * kMB), &lines20s}, std::pair{lines(40 * kMB), &lines40s},
                                          std::pair{oneLine(20 * kMB), &oneLine20s}}) {
            const Streamed streamed = Stream(step, folder);
            times->append(streamed.ms);
            longestStall = std::max(longestStall, streamed.longestStallMs);
        }
    }
    const double oneCall20 = Median(oneCall20s);
    const double lines20 = Median(lines20s);
    const double lines40 = Median(lines40s);
    const double oneLine20 = Median(oneLine20s);

    std::printf("medians of %d rounds\n", kRounds);
    std::printf("bare control, 20 MB of lines in one call: %8.0f ms\n", oneCall20);
    std::printf("log, 20 MB of lines:                      %8.0f ms\n", lines20);
    std::printf("log, 40 MB of lines:                      %8.0f ms\n", lines40);
    std::printf("log, 20 MB in one line:                   %8.0f ms\n", oneLine20);
    std::printf("log 20 MB of lines / one call:            %8.2f  (target at most 1.5)\n", lines20 / oneCall20);
    std::printf("log 40 MB / log 20 MB:                    %8.2f  (target at most 2.3)\n", lines40 / lines20);
    std::printf("log one line / log lines, 20 MB:          %8.2f  (target at most 1.5)\n", oneLine20 / lines20);
    std::printf("longest stall, any shape:                 %8.0f ms  (target at most 100)\n", longestStall);
    std::printf("60 MB: %.0f ms, %lld characters shown\n", sixty.ms, sixty.shownChars);
    std::printf("resident memory added by 60 MB of output: %8.0f MB = %.2f x its size (target at most 4)\n",
                double(sixty.residentAdded) / kMB, double(sixty.residentAdded) / double(60 * kMB));
    return 0;
}
