// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildtext.h"
#include "build/logtext.h"
#include "build/sourceposition.h"
#include "core/limit.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <optional>

class QAction;
class QPlainTextEdit;
class QTextCursor;

// A line of the log that names a source position.
struct PositionedLine
{
    QString text;
    SourcePosition position;
};

// What a compiler still running when its log closed goes on to write, kept
// as the log keeps it, until the compiler ends.
class CLogRemainder : public QObject
{
    Q_OBJECT
public:
    CLogRemainder(QProcess *process, const QString &text, const CLogDecoder &decoder, qint64 keptBytes);

Q_SIGNALS:
    // The compiler has ended: the log's text with all it wrote, lines apart by '\n'.
    void Ended(const QString &text);

private:
    void Read(QProcess *process);

    QString m_strText;
    CLogDecoder m_decoder;
    qint64 m_nKeptBytes;
};

// The lines of text (apart by '\n') that name a position, in order, at most
// max of them; names without an extension are looked for in folder.
QList<PositionedLine> PositionedLinesIn(const QString &text, const QString &folder, int max);

// "Log": runs the compiler with its standard output and standard error merged
// into one stream and shows what it writes while it runs, in a modal tool
// window at the top left of the main window's client area. A double-click on
// a line that names a source position, or Enter on it, closes the window and
// leaves that position for the caller. Ctrl+Break or the context menu's
// "Stop Compiler" stops the compiler; closing the window does not.
class CBuildLogDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CBuildLogDlg(QWidget *parent = nullptr);
    ~CBuildLogDlg() override;

    // Starts the program in folder and shows the window until the user closes
    // it. False at once, and nothing shown, when the program cannot be started.
    bool Execute(const BuildText::Invocation &invocation, const QString &folder);

    // The position of the line the user went to; none when the window was
    // closed otherwise.
    std::optional<SourcePosition> ChosenPosition() const { return m_chosen; }
    // Everything the log shows, its lines apart by '\n'.
    QString Text() const;
    // The log's lines that name a position, in order, at most max of them.
    QList<PositionedLine> PositionedLines(int max) const;
    // Where the rest of the output goes when the window closed while the
    // compiler runs; none when it had ended.
    CLogRemainder *Remainder() const { return m_pRemainder; }

    // Size used when no size is stored yet.
    static QSize DefaultSize();
    // The status bar's text for a compiler that has ended.
    static QString EndText(int exitCode, QProcess::ExitStatus status, bool stopped, bool cut);

    static constexpr int kTickMs = 500;
    // The log holds this much of the output, a whole number of MiB; the rest is read and let go.
    static inline CLimit<qint64> s_maxLogBytes{qint64(64) << 20};
    // A compiler asked to stop is killed when it has not ended after this.
    static inline CLimit<int> s_stopGraceMs{2000};

Q_SIGNALS:
    // The compiler has ended and everything it wrote is shown.
    void Finished();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnTimer();
    void OnReadyRead();
    void DrainSlice();
    void Append(const QString &text);
    void OnProcessFinished();
    void FinishOutput();
    void CaretToEnd();
    void PlaceWindow();
    void OnStop();
    void ShowContextMenu(const QPoint &pos);
    void StoreSize();
    // The position the log line at cursor names, if any.
    std::optional<SourcePosition> PositionAt(const QTextCursor &cursor) const;
    bool GoToLineAt(const QTextCursor &cursor);
    void ReleaseChild();

    QPlainTextEdit *m_pEdit;
    QAction *m_pStopAction;
    QProcess *m_pProcess = nullptr;
    QTimer m_timer;
    QTimer m_sizeTimer;
    CLogDecoder m_decoder;
    LogText::Shape m_shape;
    std::optional<SourcePosition> m_chosen;
    QString m_strFolder; // where the compiler runs: names without an extension are looked for there
    qint64 m_nKeptBytes = 0;
    bool m_bDraining = false;
    bool m_bEnded = false;
    bool m_bStopped = false;
    bool m_bCut = false;
    quint64 m_nRun = 0; // this window's compile, counted from the program's start
    QPointer<CLogRemainder> m_pRemainder;

    static inline quint64 s_nLatestRun = 0;
};
