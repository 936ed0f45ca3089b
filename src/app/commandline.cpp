// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include "core/product.h"

#include <QCoreApplication>

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

QString ConsoleText(const QString &programName, const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return Product::kName + QLatin1Char(' ') + Product::kVersion + QLatin1Char('\n');
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return QCoreApplication::translate(
                       "CommandLine", "Usage: %1 [FILE]\n"
                                      "       %1 -dde FILE...\n"
                                      "       %1 --help | --version\n"
                                      "\n"
                                      "%2: edit, compile and run Quarn BASIC programs.\n"
                                      "\n"
                                      "  FILE           open FILE in a new editor; only the first file named opens\n"
                                      "  -dde FILE...   hand the files to the editor that already runs for this user,\n"
                                      "                 or open them in a new one when none runs (the desktop's way)\n"
                                      "  -h, --help     print this help and exit\n"
                                      "  -v, --version  print the name and version and exit\n"
                                      "\n"
                                      "The flags -p, -pt, -register, -regserver, -unregister, -unregserver,\n"
                                      "-embedding and -automation are accepted, in any case, and start the\n"
                                      "editor without a document; any other flag is ignored.\n")
                .arg(programName, Product::kName);
        }
    }
    return QString();
}
