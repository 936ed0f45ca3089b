// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// Stand-in for the compiler, the emulator and the linker in tests. Each
// argument is a step, done in order:
//   record=FILE     write the working folder and then every argument, one a line, to FILE
//   out=TEXT        write TEXT to standard output (escapes: \n \r \t \0 \\ and \xHH)
//   err=TEXT        write TEXT to standard error
//   sleep=MS        wait MS milliseconds
//   wait=FILE       wait until FILE exists: the test's word that it has seen the output so far
//   bytes=N         write N bytes of compiler-like lines to standard output
//   stream=N:MS     write N numbered lines to standard output, one every MS milliseconds
//   pid=FILE        write the process id to FILE
//   stdin=any       read standard input to its end, then write "stdin: N bytes"
//   exit=CODE       end now with CODE
//   long=N          write N bytes of one line, no line break, to standard output
//   crash           end by a crash
//   ignoreterm      from now on, a request to terminate is ignored
//   worker=FILE     start a worker, as a compiler may, that writes its process id to
//                   FILE and runs on until killed
//   logexit=FILE    as an editor: compile with a stand-in that writes its process id
//                   to FILE and runs on, close the log once FILE is there, then end;
//                   once FILE.go exists the stand-in writes more output and then
//                   FILE.image
//   recovery=MS     as an editor: keep unsaved text for recovery MS milliseconds after a change
//   editor=FILE:TEXT  as an editor: open FILE, type TEXT at its end, print "typed"
//                   and run on until killed
//   cutat=N         from now on, writing a file past N bytes ends the process at once,
//                   as a crash in the middle of a write would
//   writesafely=FILE:MB  write MB mebibytes over FILE as a save does; print "written N"
//                   with the error number
//   listen          take the editors' hand-over lock and listen as an editor would;
//                   print "listening" (or "not listening"), then "open: PATH" for each
//                   file handed over, until killed
//   busylisten=FILE as listen, but busy first, as a hung editor is: it takes no connection
//                   until FILE exists and prints "waiting" once a start waits for its answer
//   requests=N:PRE  hand N requests of one file each (PRE1, PRE2, ...) to the listener,
//                   one after the other; print "answered K"
//   hold=N          open N connections to the listener that each send half a request
//                   and stay open; print "held K", then wait until killed
// Arguments that are no step are only recorded.
#include "app/editorapp.h"
#include "app/mainframe.h"
#include "app/shellopenserver.h"
#include "build/buildlogdlg.h"
#include "core/product.h"
#include "editor/filestate.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSaveFile>
#include <QTextCursor>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
QByteArray Unescape(const QByteArray &text)
{
    QByteArray out;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == '\\' && i + 1 < text.size()) {
            const char c = text.at(++i);
            if (c == 'x' && i + 2 < text.size()) {
                out.append(char(text.mid(i + 1, 2).toInt(nullptr, 16)));
                i += 2;
                continue;
            }
            out.append(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c);
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}
// Files the tests wait for appear whole, never empty or half written.
void WriteWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        file.commit();
}
} // namespace

int main(int argc, char *argv[])
{
    // Only the editor's part needs windows.
    bool windows = false;
    bool editor = false;
    for (int i = 1; i < argc; ++i) {
        windows = windows || QByteArray(argv[i]).startsWith("logexit=");
        editor = editor || QByteArray(argv[i]).startsWith("editor=");
    }
    std::unique_ptr<QCoreApplication> application(editor    ? new CEditorApp(argc, argv)
                                                  : windows ? new QApplication(argc, argv)
                                                            : new QCoreApplication(argc, argv));
    QCoreApplication &app = *application;
    const QStringList args = app.arguments().mid(1);
    for (const QString &arg : args) {
        const QByteArray value = arg.section(QLatin1Char('='), 1).toLocal8Bit();
        if (arg.startsWith(QLatin1String("record="))) {
            QByteArray text = QDir::currentPath().toUtf8() + '\n';
            for (const QString &a : args)
                text += a.toUtf8() + '\n';
            WriteWhole(QString::fromLocal8Bit(value), text);
        } else if (arg.startsWith(QLatin1String("out="))) {
            const QByteArray text = Unescape(value);
            std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
            std::fflush(stdout);
        } else if (arg.startsWith(QLatin1String("err="))) {
            const QByteArray text = Unescape(value);
            std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
            std::fflush(stderr);
        } else if (arg.startsWith(QLatin1String("sleep="))) {
            QThread::msleep(value.toULong());
        } else if (arg.startsWith(QLatin1String("wait="))) {
            const QString file = QString::fromLocal8Bit(value);
            while (!QFile::exists(file))
                QThread::msleep(5);
        } else if (arg.startsWith(QLatin1String("bytes="))) {
            qint64 left = value.toLongLong();
            qint64 line = 0;
            while (left > 0) {
                QByteArray text =
                    "pong.qrx(" + QByteArray::number(++line) + ") : compiling statement, 0x08000000 bytes free\n";
                if (text.size() > left)
                    text.truncate(int(left));
                std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
                left -= text.size();
            }
            std::fflush(stdout);
        } else if (arg.startsWith(QLatin1String("stream="))) {
            const int count = arg.section(QLatin1Char('='), 1).section(QLatin1Char(':'), 0, 0).toInt();
            const int pause = arg.section(QLatin1Char(':'), 1).toInt();
            for (int line = 1; line <= count; ++line) {
                const QByteArray text = "line " + QByteArray::number(line) + '\n';
                std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
                std::fflush(stdout);
                QThread::msleep(pause);
            }
        } else if (arg.startsWith(QLatin1String("pid="))) {
            WriteWhole(QString::fromLocal8Bit(value), QByteArray::number(QCoreApplication::applicationPid()));
        } else if (arg.startsWith(QLatin1String("stdin="))) {
            qint64 count = 0;
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
                count += qint64(got);
            const QByteArray text = "stdin: " + QByteArray::number(count) + " bytes\n";
            std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
            std::fflush(stdout);
        } else if (arg == QLatin1String("listen") || arg.startsWith(QLatin1String("busylisten="))) {
            auto *server = new CShellOpenServer([](const QStringList &files) {
                for (const QString &file : files)
                    std::printf("open: %s\n", file.toUtf8().constData());
                std::fflush(stdout);
            });
            const bool listening = server->Claim() && server->Listen();
            std::printf(listening ? "listening\n" : "not listening\n");
            std::fflush(stdout);
#ifdef Q_OS_UNIX
            if (listening && arg.startsWith(QLatin1String("busylisten="))) {
                // The event loop does not run, so a start's connection waits in the listening socket.
                pollfd pending{int(server->findChild<QLocalServer *>()->socketDescriptor()), POLLIN, 0};
                bool told = false;
                while (!QFile::exists(QString::fromLocal8Bit(value))) {
                    if (!told && ::poll(&pending, 1, 0) > 0) {
                        std::printf("waiting\n");
                        std::fflush(stdout);
                        told = true;
                    }
                    QThread::msleep(5);
                }
            }
#endif
            return app.exec();
        } else if (arg.startsWith(QLatin1String("requests="))) {
            const int count = arg.section(QLatin1Char('='), 1).section(QLatin1Char(':'), 0, 0).toInt();
            const QString prefix = arg.section(QLatin1Char(':'), 1);
            int answered = 0;
            for (int i = 1; i <= count; ++i) {
                const QByteArray request = ShellOpenChannel::EncodeRequest({prefix + QString::number(i)});
                if (ShellOpenChannel::SendRequest(request, ShellOpenChannel::s_answerTimeoutMs.Value())
                    == ShellOpenChannel::Delivery::Answered)
                    ++answered;
            }
            std::printf("answered %d\n", answered);
            std::fflush(stdout);
        } else if (arg.startsWith(QLatin1String("hold="))) {
            const int count = value.toInt();
            int held = 0;
            for (int i = 0; i < count; ++i) {
                auto *socket = new QLocalSocket(&app);
                socket->connectToServer(ShellOpenChannel::SocketPath());
                if (socket->waitForConnected(1000) && socket->write("%2Fhalf%2Fa%2Frequest\n") > 0
                    && socket->waitForBytesWritten(1000))
                    ++held;
            }
            std::printf("held %d\n", held);
            std::fflush(stdout);
            return app.exec();
        } else if (arg.startsWith(QLatin1String("long="))) {
            const QByteArray chunk(64 * 1024, 'x');
            for (qint64 left = value.toLongLong(); left > 0; left -= chunk.size())
                std::fwrite(chunk.constData(), 1, size_t(qMin<qint64>(left, chunk.size())), stdout);
            std::fflush(stdout);
        } else if (arg == QLatin1String("crash")) {
            std::abort();
        } else if (arg == QLatin1String("ignoreterm")) {
#ifdef SIGTERM
            std::signal(SIGTERM, SIG_IGN);
#endif
#ifdef Q_OS_UNIX
        } else if (arg.startsWith(QLatin1String("worker="))) {
            const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
            const QByteArray pidStep = "pid=" + value;
            if (::fork() == 0) {
                ::execl(self.constData(), self.constData(), pidStep.constData(), "sleep=600000",
                        static_cast<char *>(nullptr));
                ::_exit(127);
            }
#endif
        } else if (arg.startsWith(QLatin1String("logexit="))) {
            const QString pidFile = QString::fromLocal8Bit(value);
            CBuildLogDlg log;
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, &log, [&log, &pidFile] {
                if (QFile::exists(pidFile))
                    log.close();
            });
            closer.start(10);
            const QStringList words{QStringLiteral("pid=") + pidFile, QStringLiteral("wait=") + pidFile + ".go",
                                    QStringLiteral("out=after the editor\\n"),
                                    QStringLiteral("record=") + pidFile + ".image"};
            if (!log.Execute({QCoreApplication::applicationFilePath(), words, words.join(QLatin1Char(' '))},
                             QDir::currentPath()))
                return 2;
            std::printf("log closed\n");
            std::fflush(stdout);
            return 0;
        } else if (arg.startsWith(QLatin1String("recovery="))) {
            CRichSyntaxDoc::s_recoveryIntervalMs.SetForTests(value.toInt());
        } else if (arg.startsWith(QLatin1String("editor="))) {
            auto *editorApp = static_cast<CEditorApp *>(&app);
            const QString value = arg.section(QLatin1Char('='), 1);
            if (!editorApp->InitInstance({value.section(QLatin1Char(':'), 0, 0)}))
                return 2;
            CRichSyntaxView *view = editorApp->MainFrame()->ActiveView();
            QTextCursor cursor(view->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(value.section(QLatin1Char(':'), 1, -1));
            std::printf("typed\n");
            std::fflush(stdout);
            const int result = app.exec();
            editorApp->ExitInstance();
            return result;
#ifdef Q_OS_UNIX
        } else if (arg.startsWith(QLatin1String("cutat="))) {
            const rlimit size{rlim_t(value.toLongLong()), rlim_t(value.toLongLong())};
            const rlimit noCore{0, 0};
            std::signal(SIGXFSZ, SIG_DFL);
            if (::setrlimit(RLIMIT_CORE, &noCore) != 0 || ::setrlimit(RLIMIT_FSIZE, &size) != 0)
                return 3;
#endif
        } else if (arg.startsWith(QLatin1String("writesafely="))) {
            // Where the editor keeps its recovery, the next start looks.
            QCoreApplication::setApplicationName(Product::kName);
            const QString value = arg.section(QLatin1Char('='), 1);
            const QByteArray bytes(value.section(QLatin1Char(':'), 1).toLongLong() << 20, 'n');
            int error = 0;
            WriteFileSafely(value.section(QLatin1Char(':'), 0, 0), bytes, &error);
            std::printf("written %d\n", error);
            std::fflush(stdout);
        } else if (arg.startsWith(QLatin1String("exit="))) {
            return value.toInt();
        }
    }
    return 0;
}
