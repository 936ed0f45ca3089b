// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// How reading or writing a document's file went. The document only finds out
// what went wrong; the command that asked says it, once, through Report().
struct FileResult
{
    enum class Kind {
        Done,
        Declined,    // the user said No to a question on the way; nothing to tell
        NameNotText, // the name is not valid in the system's encoding
        System,      // the system refused, with error
        NotAFile,    // a device, a pipe or the like
        LineTooLong, // line is longer than a line may hold
        Unencodable, // the character codePoint at line, column has no encoding of ours
    };

    Kind kind = Kind::Done;
    bool saving = false;
    QString path;
    int error = 0;
    int line = 0;
    int column = 0;
    int limit = 0;        // LineTooLong: the most a line may hold
    QString codePoint;    // Unencodable: "00E9"
    QString encodingName; // Unencodable: the encoding tried last

    static FileResult Failed(Kind kind, const QString &path, bool saving = false)
    {
        FileResult result;
        result.kind = kind;
        result.path = path;
        result.saving = saving;
        return result;
    }
    static FileResult SystemError(int error, const QString &path, bool saving)
    {
        FileResult result = Failed(Kind::System, path, saving);
        result.error = error;
        return result;
    }

    bool Ok() const { return kind == Kind::Done; }
    // The message the user reads; empty when there is nothing to tell.
    QString Message() const;
    // Shows Message() in a message box, if there is one; returns Ok().
    bool Report() const;
};
