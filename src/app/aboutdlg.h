// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "About Quarn BASIC Editor": the logo, the name and version and four credit
// lines painted beside it, and the copyright notice in a read-only text box.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
    ~CAboutDlg() override;

    int DoModal();

    // One painted string: its text, font, colour and top-left corner in pixels.
    struct PaintedLine
    {
        QString text;
        QFont font;
        QColor color;
        QPoint topLeft;
        QString link; // the web page a click on the line opens; empty for none
    };
    // The line's place in the box.
    static QRect LineRect(const PaintedLine &line);
    // The five strings, the title first.
    static QList<PaintedLine> PaintedLines();
    // The 20-point title face and the 10-point bold face, each with a fallback
    // where the wanted face is not installed.
    static QFont TitleFont();
    static QFont CreditFont();
    // The light button face the strings sit on, whatever the desktop's colours.
    static QColor FaceColor();

    QString m_strText;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_pLogo;
    QPlainTextEdit *m_pTextBox;
    QPushButton *m_pOkButton;
};
