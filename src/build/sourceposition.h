// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/textmarks.h"

#include <QString>

#include <optional>

// A place in a source file that a compiler message names.
struct SourcePosition
{
    QString file;   // as the message writes it; empty: the compiled file
    int line = 0;   // from 1; a number too large for an int is the largest int
    int column = 0; // from 1; 0 when the message gives none
    MarkKind kind = MarkKind::Error;
};

// The position a line of compiler output names, in the forms compilers
// commonly write: "name(12)", "name(12,5)", "name(12) :", "name:12:",
// "name:12:5:", "File "name", line 12", ""name", line 12", "In file included
// from name:12:" and its "from name:12:" lines (notes), and "line 12" in any
// case with words around it (the compiled file; never "line 12 of 40").
// A name may hold blanks and parentheses; it must end in an extension, or
// name a file in folder when a folder is given. The kind comes from the
// line's words: "warning", "note" or "info", else an error.
std::optional<SourcePosition> FindSourcePosition(const QString &line, const QString &folder = QString());

// The kind of message a line of compiler output is, from its first word that
// says so, in any case: "error" and "fatal" (also when none does), "warning",
// "note" and "info".
MarkKind MessageKind(const QString &line);

// The local path of a file a message names: relative to the project folder or
// absolute, with backslashes; a Windows drive path as a Windows program under
// Wine writes it maps through Wine's drive folders (Z: is the root). A Windows
// path that leads to no file is looked for in the project folder: the longest
// tail of it found there, else its file name there.
// An empty name is the compiled file.
QString ResolveSourceFile(const QString &name, const QString &projectFolder, const QString &compiledPath);
