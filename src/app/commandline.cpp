// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/commandline.h"

namespace {

bool IsFlag(const QString &argument)
{
    if (argument.size() < 2)
        return false;
#ifdef Q_OS_WIN
    return argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1Char('/'));
#else
    return argument.startsWith(QLatin1Char('-'));
#endif
}

bool FlagIs(const QString &flag, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (flag.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

ShellCommand ParseCommandLine(const QStringList &arguments)
{
    enum Request { Open, Print, PrintTo, Dde, Register, Unregister, Automation };
    Request request = Open;
    QStringList names;
    int printToParameters = 0;
    for (const QString &argument : arguments) {
        if (printToParameters > 0 && !IsFlag(argument)) {
            // "-pt file printer driver port": the last three name the printer.
            if (names.isEmpty())
                names.append(argument);
            else
                --printToParameters;
            continue;
        }
        if (!IsFlag(argument)) {
            names.append(argument);
            continue;
        }
        const QString flag = argument.mid(1);
        if (FlagIs(flag, {"p"})) {
            request = Print;
        } else if (FlagIs(flag, {"pt"})) {
            request = PrintTo;
            printToParameters = 3;
        } else if (FlagIs(flag, {"dde"})) {
            request = Dde;
        } else if (FlagIs(flag, {"register", "regserver"})) {
            request = Register;
        } else if (FlagIs(flag, {"unregister", "unregserver"})) {
            request = Unregister;
        } else if (FlagIs(flag, {"embedding", "automation"})) {
            request = Automation;
        }
        // Any other flag is ignored.
    }

    ShellCommand command;
    if (request == Dde && !names.isEmpty()) {
        command.kind = ShellCommand::ShellOpen;
        command.files = names;
    } else if (request == Open && !names.isEmpty()) {
        command.kind = ShellCommand::FileOpen;
        command.files = names.mid(0, 1);
    }
    return command;
}
