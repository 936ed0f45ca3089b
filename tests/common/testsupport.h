// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/commandids.h"
#include "app/editorapp.h"
#include "core/appservices.h"
#include "core/limit.h"

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// Answers the program's message boxes with prepared answers and records them.
// Without a prepared answer a box is answered with its first button.
class MessageBoxRecorder : public CForwardingServices
{
public:
    struct Box
    {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;

    void Answer(QMessageBox::StandardButton button) { m_answers.append(button); }
    // What others do while the next box is up.
    void WhileShown(std::function<void()> action) { m_whileShown = std::move(action); }
    const QList<Box> &Boxes() const { return m_boxes; }
    QStringList Texts() const;
    void Clear() { m_boxes.clear(); }

private:
    QList<Box> m_boxes;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<void()> m_whileShown;
};

// Answers file dialogs with prepared paths (empty text: cancelled) and records the requests.
class FileDialogStub : public CForwardingServices
{
public:
    QString FileDialog(QWidget *parent, const FileDialogRequest &request) override;

    void Answer(const QString &path) { m_answers.append(path); }
    const QList<FileDialogRequest> &Requests() const { return m_requests; }

private:
    QList<FileDialogRequest> m_requests;
    QStringList m_answers;
};

// Records shell opens and answers them with a fixed result.
class ShellOpenStub : public CForwardingServices
{
public:
    explicit ShellOpenStub(bool result = true);
    void ShellOpen(const QString &target, OpenAnswer answer) override;

    void SetResult(bool result) { m_bResult = result; }
    const QStringList &Targets() const { return m_targets; }

private:
    QStringList m_targets;
    bool m_bResult;
};

// Records what goes to the status bar.
struct StatusRecorder : CForwardingServices
{
    QStringList messages;
    void ShowStatusMessage(const QString &text) override { messages.append(text); }
};

// Answers the modal dialogs that come up, one action each, in order. Every
// action has to close its dialog; one that does not is rejected after it.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;
    ModalDriver();

    void Then(const Action &action) { m_actions.append(action); }
    // What happens to every dialog that comes up after the prepared actions are used up.
    void Otherwise(const Action &action) { m_otherwise = action; }
    const QList<QWidget *> &Shown() const { return m_shown; }
    int Handled() const { return int(m_shown.size()); }
    int Pending() const { return int(m_actions.size()); }

private:
    QTimer m_timer;
    QList<Action> m_actions;
    Action m_otherwise;
    QList<QWidget *> m_shown;
    QList<QWidget *> m_handling; // dialogs whose action runs now
};

// A child that never outlives its test, whatever the test's outcome.
class ChildProcess : public QProcess
{
public:
    ~ChildProcess() override
    {
        if (state() != NotRunning) {
            kill();
            waitForFinished();
        }
    }

    // Everything the child printed so far.
    const QByteArray &Output()
    {
        m_output += readAllStandardOutput();
        return m_output;
    }

private:
    QByteArray m_output;
};

#ifdef Q_OS_UNIX
// Files of this process cannot grow past a size while the object lives: a
// write that would fails with EFBIG, as on a full disk, and needs no privileges.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    rlimit old = {};
    void (*previousHandler)(int) = nullptr;
};
#endif

// Sets one of the program's limits for the object's lifetime.
template<typename T>
class LimitForTest
{
public:
    LimitForTest(CLimit<T> &limit, T value) : m_limit(limit), m_previous(limit.Value()) { limit.SetForTests(value); }
    ~LimitForTest() { m_limit.SetForTests(m_previous); }
    LimitForTest(const LimitForTest &) = delete;
    LimitForTest &operator=(const LimitForTest &) = delete;

private:
    CLimit<T> &m_limit;
    T m_previous;
};

// A control of a window by its object name; null when there is none.
template<class T>
T *Child(const QObject *window, const char *name)
{
    return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
}

namespace TestSupport {
// Points settings, data and config folders at fresh temporary folders, enables
// the test mode of QStandardPaths and makes Qt's warning that a process was
// destroyed while running fatal. Called before the application is made.
void PrepareEnvironment();
// Folder that holds this run's settings files, and the settings store's file there.
QString SettingsFolder();
QString IniPath();
// A file's bytes ("<unreadable>" when it cannot be read), and a file written
// whole: its path, or empty text when it could not be written.
QByteArray ReadFile(const QString &path);
QString WriteFile(const QString &path, const QByteArray &bytes);
// Whether the tests run as root, whom file permissions do not bind.
bool IsRoot();
// Starts program with arguments; when the tests run as root, as an ordinary
// user (nobody) and from a copy of the program that this user can reach, since
// the checkout may lie in a folder that only root may enter.
void StartAsOrdinaryUser(QProcess &process, const QString &program, const QStringList &arguments);
// A copy of program that the ordinary user may run, in the run's own folder
// (for root; others get program itself).
QString CopyForOrdinaryUser(const QString &program);
// The copy of program beside the running test program, where it runs as such
// a copy (see CopyForOrdinaryUser); else program.
QString ProgramBesideThis(const QString &program);
#ifdef Q_OS_UNIX
// Whether the process has ended: gone, or a zombie nobody has reaped yet.
bool ProcessIsGone(qint64 pid);
#endif
// Runs the test function of this program once more in a child with the
// environment env: true when it passed and skipped nothing; *said gets what
// it printed.
bool PassesInChild(const QString &function, QByteArray *said, const QProcessEnvironment &env);
// Runs the test function of this program once more as the ordinary user, in
// the environment env (a home of its own): true when it passed, and when
// noSkips is set also skipped nothing; *said gets what it printed.
bool PassesAsOrdinaryUser(const QString &function, QByteArray *said,
                          QProcessEnvironment env = QProcessEnvironment::systemEnvironment(), bool noSkips = false);
// Writes an executable script into folder and returns its path.
QString WriteScript(const QString &folder, const QString &name, const QByteArray &body);
// The main window's action of a command.
QAction *CommandAction(QWidget *frame, CommandId id);

// What the user fills into the New Source Project Wizard before pressing OK.
struct WizardAnswers
{
    QString name;
    QString path;
    bool blank = false;
    bool subFolder = true;
    bool autoOpen = false;
};
// Fills the wizard in as a user would, with the keyboard and the mouse, and presses OK.
void FillWizard(QWidget *modal, const WizardAnswers &answers);
} // namespace TestSupport

// Like QTEST_MAIN, but the application is the editor's own and every test runs
// with its settings and files in temporary folders.
#define QBE_TEST_MAIN(TestObject)                                                                                      \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        TestSupport::PrepareEnvironment();                                                                             \
        CEditorApp app(argc, argv);                                                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
