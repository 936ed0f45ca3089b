// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringDecoder>
#include <QTimer>

class QPlainTextEdit;
class QProcess;

// "Log": runs the compiler with its standard output and standard error merged
// into one stream and shows what it writes while it runs, in a modal tool
// window at the top left of the main window's client area.
class CBuildLogDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CBuildLogDlg(QWidget *parent = nullptr);
    ~CBuildLogDlg() override;

    // Starts program in folder and shows the window until the user closes it.
    // False at once, and nothing shown, when the program cannot be started.
    bool Execute(const QString &program, const QString &arguments, const QString &folder);

    // Size used when no size is stored yet.
    static QSize DefaultSize();

    static constexpr int kTickMs = 500;

Q_SIGNALS:
    // The compiler has ended and everything it wrote is shown.
    void Finished();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void OnTimer();
    void DrainSlice();
    void Append(QByteArray bytes);
    void FinishOutput();
    void CaretToEnd();
    void PlaceWindow();
    void ReleaseChild();

    QPlainTextEdit *m_pEdit;
    QProcess *m_pProcess = nullptr;
    QTimer m_timer;
    QStringDecoder m_decoder;
    // A carriage return at the end of a read waits for the next one, so that
    // a CR LF pair split between two reads stays one line break.
    bool m_bHeldReturn = false;
    bool m_bEnded = false;
    bool m_bDraining = false;
};
