// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class CRichSyntaxView;

// The line-number strip at the editor's left edge: a number for each row in
// view, a tint and a sign for a marked line, and a dotted separator. It also
// covers the few pixels of text area beside it, so that text scrolled
// sideways never shows between the numbers and the text's left edge; mouse
// presses on it go on to the text. When the text scrolls, the numbers scroll
// with it and only the rows that come into view are painted.
class CGutterWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CGutterWidget(CRichSyntaxView *view);

    // The numbers' part of the strip, up to the separator; the rest is ground.
    void SetNumbersWidth(int width);
    int NumbersWidth() const { return m_nNumbersWidth; }

    // Follows the text area's update: scrolled by dy, else rect repainted.
    void FollowUpdate(const QRect &rect, int dy);

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
    int m_nNumbersWidth = 0; // set by the view as it is made and zoomed
};
