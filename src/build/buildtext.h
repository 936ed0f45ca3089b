// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The texts the build commands hand to the compiler, the emulator and the
// linker: file and folder names, argument texts, the filled link template and
// the program with its arguments as they are finally started.
namespace BuildText {

inline constexpr char kRomExtension[] = ".gba";
inline constexpr char kMultibootExtension[] = ".mb";

// The value in double quotes, so that it stays one argument.
QString Quoted(const QString &value);

// The title up to its last dot (never the first character) plus extension.
QString ImageName(const QString &title, const QString &extension);

// The path up to and including its last separator; empty when it has none.
QString ProjectFolder(const QString &path);
// The part of the path after its last separator; the whole path when it has none.
QString SourceFileName(const QString &path);

// " -debug" and then " -mb", each only when its flag is on.
QString CompilerFlags(bool debug, bool multiBoot);
// Flags, two blanks, the quoted source name, a blank, the quoted image name.
QString CompilerArguments(const QString &flags, const QString &sourceName, const QString &imageName);

// The linker's argument template with "%p", "%f", "%b" and "%m" replaced by
// their values in double quotes, in one pass from left to right, so that an
// inserted value is never searched again. Every other percent sign stays.
QString FillLinkTemplate(const QString &text, const QString &projectFolder, const QString &title,
                         const QString &romName, const QString &multibootName);

// The link template's arguments outside Windows: the template is split into
// arguments first (at blanks, a double-quoted part being one), then each
// placeholder's value is put into its argument as it is, so that no file or
// folder name can split an argument or add one.
QStringList FillLinkArguments(const QString &text, const QString &projectFolder, const QString &title,
                              const QString &romName, const QString &multibootName);

// A program and its arguments as a process is given them.
struct Invocation
{
    QString program;
    QStringList arguments;   // outside Windows
    QString nativeArguments; // on Windows: the argument text as the command line
};

// True for a name ending in ".exe", in any case.
bool IsWindowsProgram(const QString &program);

// How the compiler, the emulator and the linker are started. On Windows the
// arguments are the designed command-line texts. Elsewhere they are lists
// made from their values, and an existing Windows program runs through wine
// when wine is on the PATH (wine becomes the program, the configured path its
// first argument); a missing one stays as it is and fails to start.
Invocation CompilerInvocation(const QString &program, bool debug, bool multiBoot, const QString &sourceName,
                              const QString &imageName);
Invocation EmulatorInvocation(const QString &program, const QString &imageName);
Invocation LinkerInvocation(const QString &program, const QString &text, const QString &projectFolder,
                            const QString &title, const QString &romName, const QString &multibootName);
// Any program with an argument text split as the link template is.
Invocation MakeInvocation(const QString &program, const QString &argumentText);

} // namespace BuildText
