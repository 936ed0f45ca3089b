// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/launchprogram.h"

#include "build/buildtext.h"
#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/uitext.h"
#include "editor/fileerrors.h"

#include <QDir>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h would otherwise rename the program's MessageBox in this file.
#undef MessageBox
#endif

namespace {
const UiText kExecuteFailed{"LaunchProgram", QT_TRANSLATE_NOOP("LaunchProgram", "Failed to execute!")};
} // namespace

void LaunchProgram(const BuildText::Invocation &invocation, const QString &folder, bool show)
{
    // The editor's own current directory follows the project and stays there.
    if (!folder.isEmpty() && !QDir::setCurrent(folder)) {
        MessageBox(kSetProjectDirectoryFailed, QMessageBox::Critical, QMessageBox::Ok);
        return;
    }

    QProcess process;
    process.setProgram(invocation.program);
    process.setArguments(invocation.arguments);
    process.setWorkingDirectory(folder);
#ifdef Q_OS_WIN
    process.setNativeArguments(invocation.nativeArguments);
    process.setCreateProcessArgumentsModifier([show](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = WORD(show ? SW_SHOW : SW_HIDE);
    });
#else
    // Without start-up show states the started program decides how it appears.
    Q_UNUSED(show);
#endif
    // Detached: the editor neither waits for the program nor ever stops it.
    if (!process.startDetached())
        MessageBox(kExecuteFailed, QMessageBox::Critical, QMessageBox::Ok);
}
