// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/desktopopener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace DesktopOpener {

CLimit<int> s_answerWithinMs(3000);

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// Runs the desktop's opener; false when there is none to run.
bool RunOpener(const QUrl &url, QObject *owner, const Answer &answer)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    auto *process = new QProcess(owner);
    // The program the opener starts may outlive it and the editor: it gets
    // the editor's own output and no pipe that could close under it.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto answered = std::make_shared<bool>(false);
    auto reply = [answered, answer](bool opened) {
        if (*answered)
            return;
        *answered = true;
        answer(opened);
    };
    QTimer::singleShot(s_answerWithinMs.Value(), process, [reply] { reply(true); });
    QObject::connect(process, &QProcess::finished, process, [process, reply](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        reply(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, reply](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        reply(false);
    });
    process->start(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    return true;
}
#else
bool RunOpener(const QUrl &, QObject *, const Answer &)
{
    // Elsewhere the desktop service reports failures itself.
    return false;
}
#endif

} // namespace

void Open(const QUrl &url, QObject *owner, Answer answer)
{
    if (!RunOpener(url, owner, answer))
        answer(QDesktopServices::openUrl(url));
}

} // namespace DesktopOpener
