// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// How a source file's bytes map to the editor's text.
enum class SourceEncoding {
    Windows1252, // the compiler's own; one character for each byte
    Utf8,
    Utf8Bom,
    Utf16Le, // always with its byte-order mark
    Utf16Be,
};

// How a file's lines end: CR LF (the default, and what a file that mixes them keeps), LF alone or CR alone.
enum class LineBreak { CrLf, Lf, Cr };

struct DecodedSource
{
    QString text; // line breaks are '\n'
    SourceEncoding encoding = SourceEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf; // the one the file used throughout, else CR LF
};

// The name users know a line break by: "CRLF", "LF" or "CR".
QString LineBreakName(LineBreak lineBreak);

// Valid UTF-8 holding a multi-byte sequence decodes as UTF-8, and valid UTF-16
// behind its byte-order mark as UTF-16 (a byte-order mark is dropped from the
// text and kept as the encoding); everything else as Windows-1252. CR LF, a lone LF and a lone CR each become one '\n'.
DecodedSource DecodeSource(const QByteArray &bytes);

// Encodes text for saving. '\n', U+2029, CR LF and a lone CR are each written
// as lineBreak; nothing is added at the end but the byte-order mark at the start. Returns false, leaving bytes
// untouched, when a character cannot be held by the encoding; firstBadIndex
// then tells where it is in text.
bool EncodeSource(const QString &text, SourceEncoding encoding, QByteArray *bytes, int *firstBadIndex = nullptr,
                  LineBreak lineBreak = LineBreak::CrLf);

// The name users know the encoding by, for messages.
QString SourceEncodingName(SourceEncoding encoding);
// The encoding's short name, for the status bar: "Windows-1252", "UTF-8 BOM", "UTF-16 LE" and the like.
QString SourceEncodingLabel(SourceEncoding encoding);
// The encoding of a name SourceEncodingName gives; Windows-1252 for any other.
SourceEncoding SourceEncodingFromName(const QString &name);

// True when bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no cut-off sequence.
bool IsValidUtf8(const QByteArray &bytes);

// The character one Windows-1252 byte stands for; the five bytes the code page
// leaves undefined stand for the C1 controls of the same value.
char16_t Windows1252ToUnicode(unsigned char byte);
// The byte for a character, or -1 when Windows-1252 has none.
int UnicodeToWindows1252(char16_t ch);

// The number (from 1) of the first line of text longer than limit
// characters, or 0 when there is none. Lines end at '\n'.
int FirstLineLongerThan(QStringView text, int limit);
