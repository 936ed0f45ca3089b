// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QMdiSubWindow>

class CRichSyntaxDoc;
class CRichSyntaxView;

// A document window inside the main window; always opens maximised.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    CChildFrame(CRichSyntaxDoc *doc, QWidget *parent = nullptr);
    ~CChildFrame() override;

    CRichSyntaxDoc *GetDocument() const { return m_pDocument; }
    CRichSyntaxView *GetView() const { return m_pView; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void UpdateTitle();

    CRichSyntaxDoc *m_pDocument;
    CRichSyntaxView *m_pView;
};
