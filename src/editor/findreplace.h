// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/findreplacedlg.h"

#include <QObject>
#include <QPointer>

class CRichSyntaxView;

// The program's one Find or Replace dialog and its last search, acting on
// the active document window: the dialog hides while no document window is
// active and comes back with the next one. A match it finds is never left
// behind the dialog.
class CFindReplace : public QObject
{
    Q_OBJECT
public:
    // owner: the window the dialog belongs to.
    explicit CFindReplace(QWidget *owner);

    // The view of the active document window; null when there is none.
    void SetView(CRichSyntaxView *view);

    void OnEditFind();
    void OnEditReplace();
    // Find Next: the last search (text and options) in the active window.
    void OnEditRepeat();

private:
    void Show(bool replace);
    void Search(const FindRequest &request, int what);
    void KeepMatchInSight();

    QWidget *m_pOwner;
    QPointer<CRichSyntaxView> m_pView;
    QPointer<CFindReplaceDlg> m_pDialog;
    FindRequest m_last;
    bool m_bHasLast = false;
    bool m_bHiddenWithoutView = false;
};
