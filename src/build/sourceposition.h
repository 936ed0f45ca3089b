// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

// A place in a source file that a compiler message names.
struct SourcePosition
{
    QString file;   // as the message writes it; empty: the compiled file
    int line = 0;   // from 1
    int column = 0; // from 1; 0 when the message gives none
};

// The position a line of compiler output names, in the forms compilers
// commonly write: "name(12)", "name(12,5)", "name(12) :", "name:12:",
// "name:12:5:", and "line 12" in any case with words around it (the compiled
// file). A name must look like a file's: it holds a dot or a separator.
std::optional<SourcePosition> FindSourcePosition(const QString &line);

// The local path of a file a message names: relative to the project folder or
// absolute, with backslashes; a Windows drive path as a Windows program under
// Wine writes it maps through Wine's drive folders (Z: is the root).
// An empty name is the compiled file.
QString ResolveSourceFile(const QString &name, const QString &projectFolder, const QString &compiledPath);
