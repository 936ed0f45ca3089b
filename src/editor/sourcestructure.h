// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <optional>

// What a program's lines define and how its blocks pair up, read a line at a
// time. Words are the language's (letters, digits, "_" and "#"); strings and
// comments hold none. Names and keywords compare without regard to case.
namespace SourceStructure {

enum class DefinitionKind : std::uint8_t { Function, Type, Constant, Label };

// A name a line defines, at the start of its statement (after blanks):
// "function NAME", "type NAME", "#constant NAME", or a label "NAME:" with
// nothing after it but blanks and a comment.
struct Definition
{
    DefinitionKind kind = DefinitionKind::Function;
    QString name;
    int column = 0; // of the name, from 0
};
std::optional<Definition> DefinitionIn(QStringView line);

// The file an #include "file" or #import "file" line names; empty when none.
QString IncludedFile(QStringView line);

// A stretch of a line, from 0.
struct Span
{
    int start = 0;
    int length = 0;
    bool operator==(const Span &other) const { return start == other.start && length == other.length; }
};

// The word in code that column of line is in or just after, when it is no number.
std::optional<Span> NameAt(QStringView line, int column);
// The words of a line outside its strings and comment.
QList<Span> CodeWords(QStringView line);
// Whether column of line is in code: outside its strings and comment.
bool IsCode(QStringView line, int column);

// The lines of a text, by number from 0.
struct Lines
{
    std::function<QString(int)> at;
    int count = 0;
};

// A place in the text: a line, and a stretch of it.
struct Place
{
    int line = 0;
    Span span;
    bool operator==(const Place &other) const { return line == other.line && span == other.span; }
};

// The block word (if, for, select, function, type, or the end of one) or
// bracket at column of line, or just before it, and its partner. No partner
// found: the word or bracket alone, unmatched.
struct Pair
{
    Place at;
    std::optional<Place> partner;
};
// A block keyword of line under column: "if" of a block if (not of a
// one-line "if ... then statement"), "for", "next", "select", "function",
// "type", or "end" with the word after it.
std::optional<Pair> BlockPairAt(const Lines &lines, int line, int column);
// A bracket ( ) [ ] in code just after or just before column.
std::optional<Pair> BracketPairAt(const Lines &lines, int line, int column);

// How far a partner is looked for, in lines.
inline constexpr int kMaxPairLines = 5000;

} // namespace SourceStructure
