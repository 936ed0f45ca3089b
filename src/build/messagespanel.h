// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildcommands.h"

#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

// "2 errors, 1 warning": the kinds a compile's messages are of, each counted
// once there is one; "No messages" when there are none.
QString MessageSummary(const QList<CompilerMessage> &messages);

// The last compile's messages, a row each (its kind's sign, the file, line
// and column, the text) under a line that counts them; and, a tab away, the
// compile's whole output, read-only, searched with Ctrl+F. A click or Enter
// on a row goes to its message.
class CMessagesPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CMessagesPanel(QWidget *parent = nullptr);

    void SetCompile(const QList<CompilerMessage> &messages, const QString &output);
    // The row of the message at index becomes the current one.
    void SelectMessage(int index);
    QTreeWidget *List() const { return m_pList; }
    QPlainTextEdit *Output() const { return m_pOutput; }

Q_SIGNALS:
    void MessageActivated(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FindInOutput(bool backwards);

    QTabWidget *m_pTabs;
    QLabel *m_pSummary;
    QTreeWidget *m_pList;
    QPlainTextEdit *m_pOutput;
    QLineEdit *m_pFind;
};
