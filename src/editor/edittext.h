// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Text work behind the editing comforts: line and column, commenting lines
// and completing words. Plain functions over strings.
namespace EditText {

// The column (from 1) the position in line is shown at, a tab reaching to
// the next multiple of tabColumns.
int DisplayColumn(QStringView line, int position, int tabColumns);

// Comment Lines: when every line that is not blank starts with the comment
// marker after its indentation, the marker and one blank after it go;
// otherwise "; " goes after each such line's indentation. Blank lines stay
// as they are, unless all lines are blank.
QStringList ToggleComments(const QStringList &lines, QChar marker);

// The blanks and tabs a line starts with, up to column at most.
QString IndentationOf(QStringView line, int column);
// How many characters at a line's start one level of indentation is: a tab,
// or up to tabColumns blanks; 0 when the line starts with neither.
int OneIndentLevel(QStringView line, int tabColumns);

// The word characters just before position in line.
QString WordBefore(QStringView line, int position);
// The words a text uses, each once, in order of first use; no numbers.
QStringList WordsOf(QStringView text);
// The words offered for completing prefix, sorted without regard to case.
// Vocabulary words (lower case) are offered in lower case, or in upper case
// when the prefix is; document words as written, unless the vocabulary has
// them already. The prefix itself, in any case, is no offer.
QStringList CompletionsFor(const QString &prefix, const QStringList &vocabulary, const QStringList &documentWords);

} // namespace EditText
