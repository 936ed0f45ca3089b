// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// How the build log keeps up with a compiler that writes a lot: a child writes
// compiler-like lines through the real log window, from the start to the last
// byte shown, against the same text put into the same control in one call;
// 40 MB against 20 MB; and the longest stall of the user-interface thread
// while the output streams in.
#include "build/buildlogdlg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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

// Milliseconds to put the text into a log window's control in one call and show it.
double OneCall(const QString &text)
{
    CBuildLogDlg log;
    log.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    auto *edit = log.findChild<QPlainTextEdit *>();
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    QCoreApplication::processEvents();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    log.hide();
    return ms;
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
};

// A child writing bytes through the real log window, start to last byte shown.
Streamed Stream(qint64 bytes, qint64 characters, const QString &folder)
{
    Streamed result;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double gap = double(sinceTick.nsecsElapsed()) / 1e6;
        result.longestStallMs = std::max(result.longestStallMs, gap);
        sinceTick.restart();
    });
    CBuildLogDlg log;
    auto *edit = log.findChild<QPlainTextEdit *>();
    QObject::connect(edit->document(), &QTextDocument::contentsChanged, &log, [&] {
        if (result.ms == 0 && edit->document()->characterCount() - 1 >= characters) {
            result.ms = double(clock.nsecsElapsed()) / 1e6;
            result.shownChars = edit->document()->characterCount() - 1;
        }
    });
    QObject::connect(&log, &CBuildLogDlg::Finished, &log, [&] {
        probe.stop();
        log.close();
    });
    clock.start();
    sinceTick.start();
    probe.start();
    if (!log.Execute(QStringLiteral(QBE_TEST_HELPER), QStringLiteral("bytes=%1").arg(bytes), folder))
        std::fprintf(stderr, "helper did not start\n");
    return result;
}
} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);

    constexpr qint64 kMB = 1000 * 1000;
    const QString twenty = CompilerLines(20 * kMB);
    const QString forty = CompilerLines(40 * kMB);

    // Warm up caches, fonts and the process machinery once.
    OneCall(CompilerLines(kMB));
    Stream(kMB, kMB, settings.path());

    // The machine is shared: each measure is taken several times, the kinds
    // interleaved, and the median counts.
    constexpr int kRounds = 5;
    QList<double> oneCall20s, oneCall40s, stream20s, stream40s;
    Streamed stream20, stream40;
    for (int round = 0; round < kRounds; ++round) {
        oneCall20s.append(OneCall(twenty));
        const Streamed s20 = Stream(20 * kMB, twenty.size(), settings.path());
        oneCall40s.append(OneCall(forty));
        const Streamed s40 = Stream(40 * kMB, forty.size(), settings.path());
        stream20s.append(s20.ms);
        stream40s.append(s40.ms);
        stream20.longestStallMs = std::max(stream20.longestStallMs, s20.longestStallMs);
        stream40.longestStallMs = std::max(stream40.longestStallMs, s40.longestStallMs);
        stream20.shownChars = s20.shownChars;
        stream40.shownChars = s40.shownChars;
    }
    const double oneCall20 = Median(oneCall20s);
    const double oneCall40 = Median(oneCall40s);
    stream20.ms = Median(stream20s);
    stream40.ms = Median(stream40s);

    std::printf("medians of %d rounds\n", kRounds);
    std::printf("one call, 20 MB:            %8.0f ms\n", oneCall20);
    std::printf("log window, 20 MB:          %8.0f ms  (%lld of %lld characters shown)\n", stream20.ms,
                stream20.shownChars, qlonglong(twenty.size()));
    std::printf("one call, 40 MB:            %8.0f ms\n", oneCall40);
    std::printf("log window, 40 MB:          %8.0f ms  (%lld of %lld characters shown)\n", stream40.ms,
                stream40.shownChars, qlonglong(forty.size()));
    std::printf("log / one call, 20 MB:      %8.2f  (target at most 1.5)\n", stream20.ms / oneCall20);
    std::printf("log 40 MB / log 20 MB:      %8.2f  (target at most 2.3)\n", stream40.ms / stream20.ms);
    std::printf("longest stall, 20 MB:       %8.0f ms  (any round)\n", stream20.longestStallMs);
    std::printf("longest stall, 40 MB:       %8.0f ms  (target at most 100)\n", stream40.longestStallMs);
    return 0;
}
