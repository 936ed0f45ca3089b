// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildcommands.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

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

    // Where the messages' marks stand now, by message: a place, or none when its line was deleted.
    using PlaceLookup = std::function<QList<std::optional<MarkPlace>>()>;

    // The messages and output of a compile of the file origin; the files are
    // named from origin's folder. Each row's place follows its mark, as told by places.
    void SetCompile(const QString &origin, const QList<CompilerMessage> &messages, const QString &output);
    void SetPlaceLookup(PlaceLookup places) { m_places = std::move(places); }
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
    void UpdatePlaces();

    QTabWidget *m_pTabs;
    QLabel *m_pSummary;
    QTreeWidget *m_pList;
    QPlainTextEdit *m_pOutput;
    QLineEdit *m_pFind;
    QList<CompilerMessage> m_messages;
    PlaceLookup m_places;
    QTimer m_placeTimer;
};
