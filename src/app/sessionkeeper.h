// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/session.h"
#include "core/limit.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <functional>

class CMainFrame;
class QMdiSubWindow;

// Writes the session shortly after the open files, their order, the active
// one or a caret or scroll position change, and remembers the caret line of
// each file that closes for the recent files.
class CSessionKeeper : public QObject
{
    Q_OBJECT
public:
    using RecentFiles = std::function<QStringList()>;
    CSessionKeeper(CMainFrame *frame, RecentFiles recent);

    // The open files as they stand, in window order.
    Session::Files Snapshot() const;
    // The session as last written, at first the one the last run left.
    const Session::Files &Written() const { return m_written; }
    // Writes now what is waiting to be written.
    void WriteNow();
    // While held nothing is written: at the end of a run, when the windows
    // close, and while a session is being reopened.
    void Hold(bool held);
    // At the end of a run: writes the session, keeps the caret lines of its
    // files for the recent files, and holds.
    void Finish();

    // How long changes gather before they are written.
    static CLimit<int> s_writeDelayMs;

private:
    void Watch(QMdiSubWindow *window);
    void Schedule();

    CMainFrame *m_pFrame;
    RecentFiles m_recent;
    QTimer m_timer;
    Session::Files m_written;
    // The path and caret line of each watched window, kept for when it closes.
    QHash<QObject *, Session::File> m_carets;
    bool m_bHeld = false;
};
