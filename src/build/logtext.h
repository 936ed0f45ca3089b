// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Turns the compiler's bytes into the log's text as they arrive, with no
// character set to choose: every well-formed UTF-8 sequence is its
// character, every other byte the character Windows-1252 gives it (the way
// the editor reads source files). A zero byte drops only itself. CR LF, a
// lone LF and a lone CR each give one '\n'. A sequence or a CR LF cut
// between two reads is held back until the next read completes it. Terminal
// control sequences (ESC [ ... m colours and the like) are dropped, also
// when a read cuts one.
class CLogDecoder
{
public:
    QString Decode(const QByteArray &bytes);
    // What is still held back, at the end of the output.
    QString Finish();

private:
    QString DecodeBytes(const QByteArray &bytes);

    QByteArray m_held;
    QString m_heldEscape; // the start of a control sequence cut by the read's end
    bool m_bHeldReturn = false;
};

// The log keeps a few thousand characters in each block of its text, its
// lines inside a block apart by line separators: a block of its own for each
// short line would cost the text many times its size. A line longer than
// kLongLineChars goes on in rows of kRowChars: the text layout's cost per
// character grows with the length of a row, so one huge row would make a long
// line take many times what short lines take. Every character is kept, in order.
namespace LogText {

// The text without its terminal control sequences: ESC [, parameters, then a final character.
QString WithoutEscapes(const QString &text);

inline constexpr int kBlockChars = 1024;    // a row that ends past this ends its block
inline constexpr int kLongLineChars = 4096; // the first row of a line holds at most this
inline constexpr int kRowChars = 128;       // each further row of a longer line holds this

// Where the text's last block and row stand.
struct Shape
{
    int blockChars = 0;
    int rowChars = 0;
    bool longLine = false; // the current line goes on in rows already
};

// The text to append for text whose lines are apart by '\n', with shape
// telling where the document's end stands; shape then tells where it stands
// afterwards.
QString ForDocument(const QString &text, Shape *shape);

} // namespace LogText
