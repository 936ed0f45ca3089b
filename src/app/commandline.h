// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// What the program was started for, reduced to what the editor does with it.
struct ShellCommand
{
    enum Kind {
        Nothing,  // no arguments, or a print, register or similar request
        FileOpen, // one file named on the command line
        ShellOpen // the desktop's open request: files handed to a running editor if there is one
    };
    Kind kind = Nothing;
    QStringList files;
};

// Reads the arguments after the program's name (Qt's own options already taken
// out). Flags are "-name"; on Windows also "/name". On other systems a path
// that begins with "/" is a path, never a flag.
ShellCommand ParseCommandLine(const QStringList &arguments);

// What a start asks to have printed instead of starting the editor: the usage
// for "--help" or "-h", the name and version for "--version" or "-v" (the first
// of them named wins). Empty when the editor is to start. programName is the
// name the program was started by, shown in the usage.
QString ConsoleText(const QString &programName, const QStringList &arguments);
