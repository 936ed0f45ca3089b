// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/sessionkeeper.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QMdiArea>
#include <QScrollBar>

CLimit<int> CSessionKeeper::s_writeDelayMs(500);

CSessionKeeper::CSessionKeeper(CMainFrame *frame, RecentFiles recent)
    : QObject(frame), m_pFrame(frame), m_recent(std::move(recent)), m_written(Session::ReadFiles())
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSessionKeeper::WriteNow);
    connect(frame->MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        Watch(window);
        Schedule();
    });
}

Session::Files CSessionKeeper::Snapshot() const
{
    Session::Files session;
    const QList<QMdiSubWindow *> windows = m_pFrame->MdiArea()->subWindowList();
    for (QMdiSubWindow *window : windows) {
        auto *frame = qobject_cast<CChildFrame *>(window);
        CRichSyntaxView *view = frame ? frame->GetView() : nullptr;
        const QString path = frame && frame->GetDocument() ? frame->GetDocument()->GetPathName() : QString();
        // An untitled document has nothing to reopen; a second window of a file adds nothing.
        if (!view || path.isEmpty()
            || std::any_of(session.files.cbegin(), session.files.cend(),
                           [&](const Session::File &file) { return file.path == path; }))
            continue;
        if (window == m_pFrame->MdiArea()->activeSubWindow())
            session.active = int(session.files.size());
        session.files.append({path, view->textCursor().blockNumber() + 1, view->verticalScrollBar()->value() + 1});
    }
    return session;
}

void CSessionKeeper::WriteNow()
{
    m_timer.stop();
    if (m_bHeld)
        return;
    const Session::Files session = Snapshot();
    if (session == m_written)
        return;
    Session::WriteFiles(session);
    m_written = session;
}

void CSessionKeeper::Finish()
{
    WriteNow();
    Session::RememberRecentLines(m_recent(), m_written.files);
    Hold(true);
}

void CSessionKeeper::Hold(bool held)
{
    m_bHeld = held;
    if (held)
        m_timer.stop();
}

void CSessionKeeper::Watch(QMdiSubWindow *window)
{
    auto *frame = qobject_cast<CChildFrame *>(window);
    if (!frame || !frame->GetView() || m_carets.contains(frame))
        return;
    CRichSyntaxView *view = frame->GetView();
    const auto noteCaret = [this, frame, view] {
        m_carets.insert(frame, {frame->GetDocument()->GetPathName(), view->textCursor().blockNumber() + 1});
    };
    noteCaret();
    connect(view, &QPlainTextEdit::cursorPositionChanged, this, noteCaret);
    connect(view, &QPlainTextEdit::cursorPositionChanged, this, &CSessionKeeper::Schedule);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &CSessionKeeper::Schedule);
    connect(frame->GetDocument(), &CRichSyntaxDoc::TitleChanged, this, &CSessionKeeper::Schedule);
    connect(frame, &QObject::destroyed, this, [this](QObject *gone) {
        // A file that closes keeps its caret line for the recent files.
        const Session::File closed = m_carets.take(gone);
        const QStringList recent = m_recent();
        if (!m_bHeld && recent.contains(closed.path))
            Session::RememberRecentLines(recent, {closed});
        Schedule();
    });
}

void CSessionKeeper::Schedule()
{
    if (!m_bHeld)
        m_timer.start(s_writeDelayMs.Value());
}
