// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/findreplace.h"

#include "core/appservices.h"
#include "core/uitext.h"
#include "editor/richsyntaxview.h"
#include "editor/textsearch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextCursor>

namespace {
enum { kFindNext, kReplace, kReplaceAll };
// Room kept between a match and the dialog moved out of its way.
constexpr int kGap = 16;
// What Find Next says of the document once it has found a match.
const UiText kOneMatch{"CFindReplace", QT_TRANSLATE_NOOP("CFindReplace", "%1 match")};
const UiText kMatches{"CFindReplace", QT_TRANSLATE_NOOP("CFindReplace", "%1 matches")};
} // namespace

CFindReplace::CFindReplace(QWidget *owner) : QObject(owner), m_pOwner(owner) {}

void CFindReplace::SetView(CRichSyntaxView *view)
{
    m_pView = view;
    if (!m_pDialog)
        return;
    if (!view && m_pDialog->isVisible()) {
        m_pDialog->hide();
        m_bHiddenWithoutView = true;
    } else if (view && m_bHiddenWithoutView) {
        m_bHiddenWithoutView = false;
        m_pDialog->show();
    }
}

void CFindReplace::OnEditFind()
{
    Show(false);
}

void CFindReplace::OnEditReplace()
{
    Show(true);
}

void CFindReplace::OnEditRepeat()
{
    if (!m_bHasLast || m_last.findWhat.isEmpty()) {
        Show(false);
        return;
    }
    Search(m_last, kFindNext);
}

void CFindReplace::Show(bool replace)
{
    if (!m_pView)
        return;
    FindRequest initial = m_last;
    const QString selected = m_pView->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        initial.findWhat = selected;
    if (m_pDialog && m_pDialog->IsReplace() != replace)
        delete m_pDialog;
    if (!m_pDialog) {
        m_pDialog = new CFindReplaceDlg(replace, initial, m_pOwner);
        connect(m_pDialog, &CFindReplaceDlg::FindNext, this, [this](const FindRequest &r) { Search(r, kFindNext); });
        connect(m_pDialog, &CFindReplaceDlg::Replace, this, [this](const FindRequest &r) { Search(r, kReplace); });
        connect(m_pDialog, &CFindReplaceDlg::ReplaceAll, this,
                [this](const FindRequest &r) { Search(r, kReplaceAll); });
    } else {
        m_pDialog->SetRequest(initial);
    }
    m_bHiddenWithoutView = false;
    m_pDialog->show();
    m_pDialog->raise();
    m_pDialog->activateWindow();
}

void CFindReplace::Search(const FindRequest &request, int what)
{
    m_last = request;
    m_bHasLast = true;
    if (!m_pView)
        return;
    if (what == kReplaceAll) {
        m_pView->ReplaceAll(request);
        return;
    }
    if (what == kReplace ? m_pView->Replace(request) : m_pView->FindNext(request)) {
        KeepMatchInSight();
        if (what == kFindNext) {
            const int count = TextSearch::CountMatches(m_pView->document(), request);
            Services().ShowStatusMessage((count == 1 ? kOneMatch : kMatches).arg(count));
        }
    }
}

void CFindReplace::KeepMatchInSight()
{
    if (!m_pDialog || !m_pDialog->isVisible())
        return;
    const QTextCursor cursor = m_pView->textCursor();
    QTextCursor start = cursor;
    start.setPosition(cursor.selectionStart());
    const QRect local = m_pView->cursorRect(start).united(m_pView->cursorRect(cursor));
    const QRect match(m_pView->viewport()->mapToGlobal(local.topLeft()), local.size());
    const QRect frame = m_pDialog->frameGeometry();
    if (!frame.intersects(match.adjusted(-kGap, -kGap, kGap, kGap)))
        return;
    const QScreen *screen = m_pDialog->screen() ? m_pDialog->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // Below the match where there is room, else above it.
    QPoint to(frame.left(), match.bottom() + kGap);
    if (available.isValid() && to.y() + frame.height() > available.bottom())
        to.setY(match.top() - kGap - frame.height());
    m_pDialog->move(to + (m_pDialog->pos() - frame.topLeft()));
}
