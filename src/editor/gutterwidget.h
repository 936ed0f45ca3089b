// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class CRichSyntaxView;

// The line-number strip in the editor's left viewport margin; the view paints it.
class CGutterWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CGutterWidget(CRichSyntaxView *view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CRichSyntaxView *m_pView;
};
