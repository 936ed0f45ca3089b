// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class CRichSyntaxView;

// The line-number strip at the editor's left edge; the view paints it. It
// also covers the few pixels of text area beside it, so that text scrolled
// sideways never shows between the numbers and the text's left edge; mouse
// presses on it go on to the text.
class CGutterWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CGutterWidget(CRichSyntaxView *view);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void ForwardToText(QMouseEvent *event);

    CRichSyntaxView *m_pView;
};
