// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/commandline.h"
#include "app/editorapp.h"

#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    // "--help" and "--version" answer before any window system is asked for:
    // they work without a display and leave the user's files alone.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString programName = argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QString();
    const QString text = ConsoleText(programName, arguments);
    if (!text.isEmpty()) {
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    CEditorApp app(argc, argv);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 0;
    }
    const int result = app.exec();
    app.ExitInstance();
    return result;
}
