// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildlogdlg.h"

#include "build/buildtext.h"
#include "core/appservices.h"
#include "core/settingsstore.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QResizeEvent>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Log");

// A drain works in short slices so that the window stays responsive while a
// large output is put into the control.
constexpr qint64 kSliceBytes = 64 * 1024;
constexpr qint64 kSliceBudgetMs = 10;

// How long the end of the run waits for compilers still running after their
// log window was closed.
constexpr int kExitWaitMs = 5000;

const char kOrphanProperty[] = "qbe_orphanedCompiler";

void WaitForOrphans()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    const QList<QProcess *> processes = app->findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly);
    QElapsedTimer waited;
    waited.start();
    for (QProcess *process : processes) {
        if (!process->property(kOrphanProperty).toBool())
            continue;
        // Reading goes on while waiting, so a child never blocks on a full pipe.
        while (process->state() != QProcess::NotRunning && waited.elapsed() < kExitWaitMs) {
            process->waitForFinished(100);
            process->readAll();
        }
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(-1);
        }
        delete process;
    }
}
} // namespace

CBuildLogDlg::CBuildLogDlg(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_pEdit(new QPlainTextEdit(this)), m_decoder(QStringConverter::System)
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
    m_pEdit->document()->setUndoRedoEnabled(false);

    const CSettingsStore store;
    QSize size(store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogWidth),
               store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogHeight));
    const QSize fallback = DefaultSize();
    if (size.width() <= 0)
        size.setWidth(fallback.width());
    if (size.height() <= 0)
        size.setHeight(fallback.height());
    resize(size);

    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CBuildLogDlg::OnTimer);
}

CBuildLogDlg::~CBuildLogDlg()
{
    ReleaseChild();
}

QSize CBuildLogDlg::DefaultSize()
{
    return QSize(640, 240);
}

bool CBuildLogDlg::Execute(const QString &program, const QString &arguments, const QString &folder)
{
    m_pEdit->clear();
    m_bEnded = false;
    m_bDraining = false;
    m_bHeldReturn = false;

    const BuildText::Invocation invocation = BuildText::MakeInvocation(program, arguments);
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
    m_pProcess->start(QIODevice::ReadOnly);
    if (!m_pProcess->waitForStarted()) {
        delete m_pProcess;
        m_pProcess = nullptr;
        return false;
    }

    PlaceWindow();
    m_pEdit->setFocus();
    // Output is taken in as it arrives; the half-second tick brings the caret
    // back to the end and notices the child's end.
    connect(m_pProcess, &QProcess::readyRead, this, [this] {
        if (!m_bDraining)
            DrainSlice();
    });
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
    // The end is seen before the stream is read, so everything the child wrote
    // before it ended is drained by this tick.
    if (m_pProcess && m_pProcess->state() == QProcess::NotRunning) {
        m_bEnded = true;
        m_timer.stop();
    }
    if (!m_bDraining)
        DrainSlice();
    else
        CaretToEnd();
}

void CBuildLogDlg::DrainSlice()
{
    m_bDraining = true;
    QElapsedTimer budget;
    budget.start();
    bool more = false;
    // Between reads the pipe is looked at without waiting, so that a child
    // writing fast goes on writing while its output is put into the control.
    while (m_pProcess && (m_pProcess->bytesAvailable() > 0 || m_pProcess->waitForReadyRead(0))) {
        Append(m_pProcess->read(kSliceBytes));
        if (budget.elapsed() >= kSliceBudgetMs) {
            more = m_pProcess->bytesAvailable() > 0;
            break;
        }
    }
    CaretToEnd();
    if (more) {
        QTimer::singleShot(0, this, &CBuildLogDlg::DrainSlice);
        return;
    }
    m_bDraining = false;
    if (m_bEnded)
        FinishOutput();
}

void CBuildLogDlg::Append(QByteArray bytes)
{
    // A zero byte would end the text of the read it came with; drop only itself.
    bytes.removeIf([](char c) { return c == '\0'; });
    QString text = m_decoder.decode(bytes);
    if (text.isEmpty())
        return;
    if (m_bHeldReturn) {
        text.prepend(QLatin1Char('\r'));
        m_bHeldReturn = false;
    }
    if (text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
        m_bHeldReturn = true;
    }
    if (text.isEmpty())
        return;
    QTextCursor cursor(m_pEdit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
}

void CBuildLogDlg::FinishOutput()
{
    if (m_bHeldReturn) {
        m_bHeldReturn = false;
        QTextCursor cursor(m_pEdit->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\r"));
        CaretToEnd();
    }
    ReleaseChild();
    Q_EMIT Finished();
}

void CBuildLogDlg::CaretToEnd()
{
    QTextCursor cursor = m_pEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    m_pEdit->setTextCursor(cursor);
    m_pEdit->ensureCursorVisible();
}

void CBuildLogDlg::ReleaseChild()
{
    if (!m_pProcess)
        return;
    QProcess *process = m_pProcess;
    m_pProcess = nullptr;
    if (process->state() == QProcess::NotRunning) {
        delete process;
        return;
    }
    // The window was closed while the child runs. The child is never stopped:
    // its output is read and thrown away until it ends, so it cannot block on
    // a full pipe, and the process object goes once the child has been reaped.
    static bool s_bExitHookAdded = false;
    if (!s_bExitHookAdded) {
        qAddPostRoutine(WaitForOrphans);
        s_bExitHookAdded = true;
    }
    process->disconnect(this);
    process->setProperty(kOrphanProperty, true);
    process->setParent(QCoreApplication::instance());
    process->readAll();
    connect(process, &QProcess::readyRead, process, [process] { process->readAll(); });
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

void CBuildLogDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    CSettingsStore store;
    store.WriteInt(event->size().width(), SettingsNames::kLogSection, SettingsNames::kLogWidth);
    store.WriteInt(event->size().height(), SettingsNames::kLogSection, SettingsNames::kLogHeight);
}
