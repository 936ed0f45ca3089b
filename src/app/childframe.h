// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/richsyntaxdoc.h"

#include <QMdiSubWindow>
#include <QPointer>

class CRichSyntaxView;

// A document window inside the main window; always opens maximised. Its
// caption is the document's title. Closing the last window of a modified
// document asks whether to save it; the document goes with its last window.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    CChildFrame(CRichSyntaxDoc *doc, QWidget *parent = nullptr);
    ~CChildFrame() override;

    CRichSyntaxDoc *GetDocument() const { return m_pDocument; }
    CRichSyntaxView *GetView() const { return m_pView; }
    // The end of the document's folder shown after its name, which tells it
    // apart from another open file of the same name; empty for none.
    void SetDistinctFolder(const QString &folder);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void UpdateTitle();
    bool IsLastFrame() const;

    QPointer<CRichSyntaxDoc> m_pDocument;
    CRichSyntaxView *m_pView;
    QString m_strDistinctFolder;
};
