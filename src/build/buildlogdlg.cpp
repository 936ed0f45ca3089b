// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildlogdlg.h"

#include "build/buildsettings.h"
#include "core/appservices.h"
#include "core/settingsstore.h"
#include "core/uitext.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {
const UiText kCaption{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "Log")};
const UiText kStopText{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "Stop Compiler")};
const UiText kFinished{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "Compiler finished with exit code %1")};
const UiText kStopped{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "Compiler stopped")};
const UiText kCrashed{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "Compiler crashed")};
const UiText kCrashSignal{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", " (signal %1)")};
const UiText kCutNote{"CBuildLogDlg", QT_TRANSLATE_NOOP("CBuildLogDlg", "output past %1 MiB is not shown")};

// A drain works in short slices so that the window stays responsive while a
// large output is put into the control.
constexpr qint64 kSliceBytes = 64 * 1024;
constexpr qint64 kSliceBudgetMs = 10;
// A size is stored once the user has stopped resizing.
constexpr int kSizeSettleMs = 300;
// How far the list of positions is looked for in a very long log.
constexpr int kMaxScannedLines = 200000;

// What the status bar adds when the log let output go.
QString CutNote()
{
    return kCutNote.arg(CBuildLogDlg::s_maxLogBytes.Value() >> 20);
}

const char kOrphanProperty[] = "qbe_orphanedCompiler";

// At the end of the run, compilers still running are let go: the editor
// neither waits for them nor stops them (destroying a process object would).
void ReleaseOrphans()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    const QList<QProcess *> processes = app->findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly);
    for (QProcess *process : processes) {
        if (!process->property(kOrphanProperty).toBool())
            continue;
        if (process->state() == QProcess::NotRunning) {
            delete process;
        } else {
            // Kept where the process's end can still find them, never destroyed.
            static auto *const running = new QList<QProcess *>;
            process->setParent(nullptr);
            running->append(process);
        }
    }
}

// The line of a block that holds position: lines inside a block are apart by line separators.
QString LineInBlock(const QString &text, int position)
{
    const qsizetype start = position > 0 ? text.lastIndexOf(QChar(QChar::LineSeparator), position - 1) + 1 : 0;
    qsizetype end = text.indexOf(QChar(QChar::LineSeparator), position);
    if (end < 0)
        end = text.size();
    return text.mid(start, end - start);
}
} // namespace

CBuildLogDlg::CBuildLogDlg(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_pEdit(new QPlainTextEdit(this)), m_pStopAction(new QAction(kStopText, this))
{
    setWindowTitle(kCaption);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pEdit);
    m_pEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEdit->setUndoRedoEnabled(false);
    m_pEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pEdit->viewport()->setMouseTracking(true);
    m_pEdit->installEventFilter(this);
    m_pEdit->viewport()->installEventFilter(this);
    connect(m_pEdit, &QWidget::customContextMenuRequested, this, &CBuildLogDlg::ShowContextMenu);

    // Ctrl+Break: X11 reports it as Ctrl+Pause, Windows as Ctrl+Cancel.
    m_pStopAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Pause), QKeySequence(Qt::CTRL | Qt::Key_Cancel)});
    m_pStopAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_pStopAction->setEnabled(false);
    addAction(m_pStopAction);
    connect(m_pStopAction, &QAction::triggered, this, &CBuildLogDlg::OnStop);

    QSize size = LogWindowSize::Load(CSettingsStore()).size;
    const QSize fallback = DefaultSize();
    if (size.width() <= 0)
        size.setWidth(fallback.width());
    if (size.height() <= 0)
        size.setHeight(fallback.height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);

    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CBuildLogDlg::OnTimer);
    m_sizeTimer.setSingleShot(true);
    m_sizeTimer.setInterval(kSizeSettleMs);
    connect(&m_sizeTimer, &QTimer::timeout, this, &CBuildLogDlg::StoreSize);
}

CBuildLogDlg::~CBuildLogDlg()
{
    ReleaseChild();
}

QSize CBuildLogDlg::DefaultSize()
{
    return QSize(640, 240);
}

QString CBuildLogDlg::EndText(int exitCode, QProcess::ExitStatus status, bool stopped, bool cut)
{
    QString text = stopped ? kStopped : status == QProcess::CrashExit ? kCrashed : kFinished.arg(exitCode);
#ifdef Q_OS_UNIX
    // A crashed process's exit code is the signal that ended it.
    if (!stopped && status == QProcess::CrashExit && exitCode > 0)
        text += kCrashSignal.arg(exitCode);
#endif
    if (cut)
        text += QStringLiteral("; ") + CutNote();
    return text;
}

bool CBuildLogDlg::Execute(const BuildText::Invocation &invocation, const QString &folder)
{
    m_pEdit->clear();
    m_shape = LogText::Shape();
    m_chosen.reset();
    m_strFolder = folder;
    m_bEnded = m_bDraining = m_bStopped = m_bCut = false;
    m_nKeptBytes = 0;

    m_pProcess = new QProcess;
    m_pProcess->setProcessChannelMode(QProcess::MergedChannels);
    m_pProcess->setWorkingDirectory(folder);
    // Nobody writes to the compiler; one that reads its input meets the end at once.
    m_pProcess->setStandardInputFile(QProcess::nullDevice());
    m_pProcess->setProgram(invocation.program);
    m_pProcess->setArguments(invocation.arguments);
#ifdef Q_OS_WIN
    m_pProcess->setNativeArguments(invocation.nativeArguments);
#endif
#ifdef Q_OS_UNIX
    m_pProcess->setChildProcessModifier([] {
        // A process group of its own, so that Stop reaches every process the
        // compiler starts; and a write to a log that has gone (the editor
        // quit) fails instead of ending the compiler before its image is out.
        ::setpgid(0, 0);
        ::signal(SIGPIPE, SIG_IGN);
    });
#endif
    m_nRun = ++s_nLatestRun;
    m_pProcess->start(QIODevice::ReadOnly);
    if (!m_pProcess->waitForStarted()) {
        delete m_pProcess;
        m_pProcess = nullptr;
        return false;
    }

    PlaceWindow();
    m_pEdit->setFocus();
    m_pStopAction->setEnabled(true);
    connect(m_pProcess, &QProcess::readyRead, this, &CBuildLogDlg::OnReadyRead);
    connect(m_pProcess, &QProcess::finished, this, &CBuildLogDlg::OnProcessFinished);
    // Output is taken in as it arrives; the half-second tick brings the caret
    // back to the end.
    m_timer.start();
    exec();
    m_timer.stop();
    ReleaseChild();
    return true;
}

void CBuildLogDlg::PlaceWindow()
{
    // The top left of the main window's client area: where the document windows are.
    const auto *frame = qobject_cast<const QMainWindow *>(Services().DialogParent());
    if (frame && frame->centralWidget() && frame->isVisible()) {
        move(frame->centralWidget()->mapToGlobal(QPoint(0, 0)));
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().topLeft());
    }
}

void CBuildLogDlg::OnTimer()
{
    if (!m_bDraining)
        CaretToEnd();
}

void CBuildLogDlg::OnReadyRead()
{
    if (!m_bDraining)
        DrainSlice();
}

void CBuildLogDlg::DrainSlice()
{
    m_bDraining = true;
    QElapsedTimer budget;
    budget.start();
    const qint64 maxBytes = s_maxLogBytes.Value();
    while (m_pProcess && m_pProcess->bytesAvailable() > 0) {
        if (m_nKeptBytes >= maxBytes) {
            // Past what the log keeps: read and let go, so the compiler never waits on a full pipe.
            m_pProcess->readAll();
            break;
        }
        const QByteArray bytes = m_pProcess->read(qMin(kSliceBytes, maxBytes - m_nKeptBytes));
        m_nKeptBytes += bytes.size();
        Append(m_decoder.Decode(bytes));
        if (m_nKeptBytes >= maxBytes && !m_bCut) {
            m_bCut = true;
            Services().ShowStatusMessage(tr("Compiler %1").arg(CutNote()));
        }
        if (budget.elapsed() >= kSliceBudgetMs)
            break;
    }
    CaretToEnd();
    if (m_pProcess && m_pProcess->bytesAvailable() > 0) {
        QTimer::singleShot(0, this, &CBuildLogDlg::DrainSlice);
        return;
    }
    m_bDraining = false;
    if (m_bEnded)
        FinishOutput();
}

void CBuildLogDlg::Append(const QString &text)
{
    if (text.isEmpty())
        return;
    QTextDocument *document = m_pEdit->document();
    // The user may have typed into the last block.
    m_shape.blockChars = document->lastBlock().length() - 1;
    const QString shaped = LogText::ForDocument(text, &m_shape);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shaped);
}

void CBuildLogDlg::OnProcessFinished()
{
    m_bEnded = true;
    m_timer.stop();
    m_pStopAction->setEnabled(false);
    if (!m_bDraining)
        DrainSlice();
}

void CBuildLogDlg::FinishOutput()
{
    Append(m_decoder.Finish());
    CaretToEnd();
    const QString text = EndText(m_pProcess->exitCode(), m_pProcess->exitStatus(), m_bStopped, m_bCut);
    ReleaseChild();
    Services().ShowStatusMessage(text);
    Q_EMIT Finished();
}

void CBuildLogDlg::CaretToEnd()
{
    QTextCursor cursor = m_pEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    m_pEdit->setTextCursor(cursor);
    m_pEdit->ensureCursorVisible();
}

void CBuildLogDlg::OnStop()
{
    if (!m_pProcess || m_pProcess->state() == QProcess::NotRunning)
        return;
    m_bStopped = true;
#ifdef Q_OS_UNIX
    // The compiler and whatever it started: asked first, killed after the grace time.
    const pid_t group = pid_t(m_pProcess->processId());
    ::kill(-group, SIGTERM);
    QTimer::singleShot(s_stopGraceMs.Value(), QCoreApplication::instance(), [group] {
        if (::kill(-group, 0) == 0)
            ::kill(-group, SIGKILL);
    });
#else
    m_pProcess->terminate();
    QProcess *process = m_pProcess;
    QTimer::singleShot(s_stopGraceMs.Value(), process, [process] {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
#endif
}

void CBuildLogDlg::ShowContextMenu(const QPoint &pos)
{
    QMenu *menu = m_pEdit->createStandardContextMenu(pos);
    menu->addSeparator();
    menu->addAction(m_pStopAction);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_pEdit->viewport()->mapToGlobal(pos));
}

std::optional<SourcePosition> CBuildLogDlg::PositionAt(const QTextCursor &cursor) const
{
    return FindSourcePosition(LineInBlock(cursor.block().text(), cursor.positionInBlock()), m_strFolder);
}

bool CBuildLogDlg::GoToLineAt(const QTextCursor &cursor)
{
    const std::optional<SourcePosition> position = PositionAt(cursor);
    if (!position)
        return false;
    m_chosen = position;
    accept();
    return true;
}

QString CBuildLogDlg::Text() const
{
    QString text = m_pEdit->document()->toRawText();
    for (QChar &ch : text) {
        if (ch == QChar(QChar::LineSeparator) || ch == QChar(QChar::ParagraphSeparator))
            ch = QLatin1Char('\n');
    }
    return text;
}

QList<PositionedLine> CBuildLogDlg::PositionedLines(int max) const
{
    return PositionedLinesIn(Text(), m_strFolder, max);
}

QList<PositionedLine> PositionedLinesIn(const QString &text, const QString &folder, int max)
{
    QList<PositionedLine> lines;
    int scanned = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (lines.size() >= max || ++scanned > kMaxScannedLines)
            break;
        if (const std::optional<SourcePosition> position = FindSourcePosition(line.toString(), folder))
            lines.append({line.toString(), *position});
    }
    return lines;
}

CLogRemainder::CLogRemainder(QProcess *process, const QString &text, const CLogDecoder &decoder, qint64 keptBytes)
    : QObject(process), m_strText(text), m_decoder(decoder), m_nKeptBytes(keptBytes)
{
    Read(process);
    connect(process, &QProcess::readyRead, this, [this, process] { Read(process); });
    connect(process, &QProcess::finished, this, [this] {
        m_strText += m_decoder.Finish();
        Q_EMIT Ended(m_strText);
    });
}

void CLogRemainder::Read(QProcess *process)
{
    // As the log: what is past its size is read and let go.
    const QByteArray bytes = process->read(qMax<qint64>(0, CBuildLogDlg::s_maxLogBytes.Value() - m_nKeptBytes));
    m_nKeptBytes += bytes.size();
    m_strText += m_decoder.Decode(bytes);
    process->readAll();
}

bool CBuildLogDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && GoToLineAt(m_pEdit->textCursor()))
            return true;
    } else if (watched == m_pEdit->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton
                && GoToLineAt(m_pEdit->cursorForPosition(mouse->position().toPoint())))
                return true;
        } else if (event->type() == QEvent::MouseMove) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const bool onPosition = PositionAt(m_pEdit->cursorForPosition(mouse->position().toPoint())).has_value();
            m_pEdit->viewport()->setCursor(onPosition ? Qt::PointingHandCursor : Qt::IBeamCursor);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CBuildLogDlg::ReleaseChild()
{
    if (!m_pProcess)
        return;
    QProcess *process = m_pProcess;
    m_pProcess = nullptr;
    m_pStopAction->setEnabled(false);
    if (process->state() == QProcess::NotRunning) {
        // Later: this may run inside the process's own finished signal.
        process->deleteLater();
        return;
    }
    // The window was closed while the compiler runs. It is never stopped for
    // that: its output is read and let go until it ends, so it cannot block on
    // a full pipe; its end still shows in the status bar.
    static bool s_bExitHookAdded = false;
    if (!s_bExitHookAdded) {
        qAddPostRoutine(ReleaseOrphans);
        s_bExitHookAdded = true;
    }
    process->disconnect(this);
    process->setProperty(kOrphanProperty, true);
    process->setParent(QCoreApplication::instance());
    m_pRemainder = new CLogRemainder(process, Text(), m_decoder, m_nKeptBytes);
    const bool stopped = m_bStopped;
    const bool cut = m_bCut;
    const quint64 run = m_nRun;
    connect(process, &QProcess::finished, process, [process, stopped, cut, run](int code, QProcess::ExitStatus status) {
        // A later compile's text stays.
        if (run == s_nLatestRun)
            Services().ShowStatusMessage(EndText(code, status, stopped, cut));
        process->deleteLater();
    });
}

void CBuildLogDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_sizeTimer.start();
}

void CBuildLogDlg::done(int result)
{
    if (m_sizeTimer.isActive())
        StoreSize();
    QDialog::done(result);
    // The keys go back to the main window, for the next F7 or F8.
    if (QWidget *owner = parentWidget())
        owner->activateWindow();
}

void CBuildLogDlg::StoreSize()
{
    m_sizeTimer.stop();
    CSettingsStore store;
    LogWindowSize{size()}.Save(store);
}
