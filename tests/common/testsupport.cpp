// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/session.h"

#include "wizard/wizarddlg.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>

#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <signal.h>
#include <unistd.h>
#endif

QMessageBox::StandardButton MessageBoxRecorder::MessageBox(const QString &text, QMessageBox::Icon icon,
                                                           QMessageBox::StandardButtons buttons,
                                                           QMessageBox::StandardButton defaultButton)
{
    m_boxes.append({text, icon, buttons, defaultButton});
    if (m_whileShown)
        std::exchange(m_whileShown, nullptr)();
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    for (int bit = 0; bit < 32; ++bit) {
        const auto button = QMessageBox::StandardButton(1u << bit);
        if (buttons.testFlag(button))
            return button;
    }
    return QMessageBox::NoButton;
}

QStringList MessageBoxRecorder::Texts() const
{
    QStringList texts;
    for (const Box &box : m_boxes)
        texts.append(box.text);
    return texts;
}

QString FileDialogStub::FileDialog(QWidget *, const FileDialogRequest &request)
{
    m_requests.append(request);
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

ShellOpenStub::ShellOpenStub(bool result) : m_bResult(result) {}

void ShellOpenStub::ShellOpen(const QString &target, OpenAnswer answer)
{
    m_targets.append(target);
    answer(m_bResult);
}

ModalDriver::ModalDriver()
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || m_handling.contains(modal) || (m_actions.isEmpty() && !m_otherwise))
            return;
        const Action action = m_actions.isEmpty() ? m_otherwise : m_actions.takeFirst();
        m_shown.append(modal);
        m_handling.append(modal);
        // The action runs from a timer of its own, so that this one goes on
        // answering the dialogs the action opens in turn.
        QTimer::singleShot(0, modal, [this, action, modal] {
            QPointer<QWidget> alive(modal);
            action(modal);
            // A failed check inside the action must not leave the test waiting forever.
            if (auto *dialog = qobject_cast<QDialog *>(alive.data()); dialog && dialog->isVisible())
                dialog->reject();
            m_handling.removeAll(modal);
        });
    });
    m_timer.start();
}

namespace {
// Removed with everything in it when the test program ends.
std::unique_ptr<QTemporaryDir> g_root;
QtMessageHandler g_previousHandler = nullptr;

void FailOnRunningProcess(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("Destroyed while process"))) {
        std::fprintf(stderr, "FATAL: %s\n", qPrintable(message));
        std::abort();
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}
// Whether users other than the owner may pass through folder and every folder above it.
bool OthersCanEnter(const QString &folder)
{
    for (QDir dir(folder);;) {
        if (!(QFile::permissions(dir.absolutePath()) & QFile::ExeOther))
            return false;
        if (!dir.cdUp())
            return true;
    }
}
} // namespace

namespace TestSupport {

void PrepareEnvironment()
{
    // Children that run as the ordinary user need to reach the run's folders;
    // a private temporary folder (as libpam-tmpdir sets for root) is left for /tmp.
    if (IsRoot() && !OthersCanEnter(QDir::tempPath()))
        qputenv("TMPDIR", "/tmp");
    // Every start of a test begins with no file, unless the test asks for the last session.
    Session::s_restoreByDefault.SetForTests(false);
    g_root = std::make_unique<QTemporaryDir>();
    const QString root = g_root->path();
    // Children that run as an ordinary user find their way in too.
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                    | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    // The home of the run is its own: the data folders of the tests' test mode
    // and of the editors they start are the same, and nobody else's.
    qputenv("HOME", QFile::encodeName(root));
    QDir(root).mkpath(QStringLiteral(".qttest/share"));
    QDir(root).mkpath(QStringLiteral("config"));
    QDir(root).mkpath(QStringLiteral("data"));
    // The editors of a test hand files over in a folder of the test's own.
    QDir(root).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + QStringLiteral("/runtime")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/.qttest/share")));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root + QStringLiteral("/config"));
    g_previousHandler = qInstallMessageHandler(FailOnRunningProcess);
}

QString SettingsFolder()
{
    return g_root->path() + QStringLiteral("/config");
}

void FillWizard(QWidget *modal, const WizardAnswers &answers)
{
    auto *wizard = qobject_cast<CWizardDlg *>(modal);
    QVERIFY(wizard);
    Child<QLineEdit>(wizard, "nameEdit")->clear();
    QTest::keyClicks(Child<QLineEdit>(wizard, "nameEdit"), answers.name);
    Child<QLineEdit>(wizard, "pathEdit")->clear();
    QTest::keyClicks(Child<QLineEdit>(wizard, "pathEdit"), answers.path);
    if (Child<QCheckBox>(wizard, "subFolderCheck")->isChecked() != answers.subFolder)
        QTest::mouseClick(Child<QCheckBox>(wizard, "subFolderCheck"), Qt::LeftButton);
    if (Child<QCheckBox>(wizard, "autoOpenCheck")->isChecked() != answers.autoOpen)
        QTest::mouseClick(Child<QCheckBox>(wizard, "autoOpenCheck"), Qt::LeftButton);
    if (answers.blank)
        QTest::mouseClick(Child<QRadioButton>(wizard, "blankRadio"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(wizard, "okButton"), Qt::LeftButton);
}

bool IsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

QString CopyForOrdinaryUser(const QString &program)
{
    if (!IsRoot())
        return program;
    // The run's own folder is open to everybody (see PrepareEnvironment).
    const QString copy = g_root->filePath(QStringLiteral("programs/") + QFileInfo(program).fileName());
    if (!QFile::exists(copy)) {
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(program, copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    return copy;
}

QString ProgramBesideThis(const QString &program)
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QFileInfo(program).fileName();
    return QFileInfo(beside).isExecutable() ? beside : program;
}

void StartAsOrdinaryUser(QProcess &process, const QString &program, const QStringList &arguments)
{
#ifdef Q_OS_UNIX
    if (IsRoot()) {
        const QString copy = CopyForOrdinaryUser(program);
        process.setChildProcessModifier([] {
            constexpr uid_t kNobody = 65534;
            // In the child, between fork and exec: only what is safe there.
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(126);
        });
        process.start(copy, arguments);
        return;
    }
#endif
    process.start(program, arguments);
}

bool PassesInChild(const QString &function, QByteArray *said, const QProcessEnvironment &env)
{
    ChildProcess self;
    self.setProcessEnvironment(env);
    self.setProcessChannelMode(QProcess::MergedChannels);
    self.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("-maxwarnings"), QStringLiteral("5"), function});
    const bool ended = self.waitForFinished(120000);
    *said = self.readAll();
    return ended && self.exitCode() == 0 && said->contains(", 0 failed,") && said->contains(", 0 skipped");
}

bool PassesAsOrdinaryUser(const QString &function, QByteArray *said, QProcessEnvironment env, bool noSkips)
{
    env.remove(QStringLiteral("HOME"));
    ChildProcess self;
    self.setProcessEnvironment(env);
    self.setProcessChannelMode(QProcess::MergedChannels);
    StartAsOrdinaryUser(self, QCoreApplication::applicationFilePath(),
                        {QStringLiteral("-maxwarnings"), QStringLiteral("5"), function});
    const bool ended = self.waitForFinished(120000);
    *said = self.readAll();
    return ended && self.exitCode() == 0 && said->contains(", 0 failed,")
           && (!noSkips || said->contains(", 0 skipped"));
}

QString IniPath()
{
    return SettingsFolder() + QStringLiteral("/TRZ.ini");
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QString WriteScript(const QString &folder, const QString &name, const QByteArray &body)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write("#!/bin/sh\n");
    file.write(body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    return path;
}

QAction *CommandAction(QWidget *frame, CommandId id)
{
    const QList<QAction *> actions = frame->actions();
    for (QAction *action : actions) {
        if (action->data().toInt() == int(id))
            return action;
    }
    return nullptr;
}

#ifdef Q_OS_UNIX
bool ProcessIsGone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // The state follows the name in parentheses.
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}
#endif

} // namespace TestSupport
