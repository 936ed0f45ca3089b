// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// How a source file's bytes map to the editor's text.
enum class SourceEncoding {
    Windows1252, // the compiler's own; one character for each byte
    Utf8,
    Utf8Bom,
};

struct DecodedSource
{
    QString text;   // line breaks are '\n'
    SourceEncoding encoding = SourceEncoding::Windows1252;
};

// Valid UTF-8 holding a multi-byte sequence decodes as UTF-8, everything else
// as Windows-1252. CR LF, a lone LF and a lone CR each become one '\n'.
DecodedSource DecodeSource(const QByteArray &bytes);

// Encodes text for saving, every '\n' as CR LF. Returns false, leaving bytes
// untouched, when a character cannot be held by the encoding; firstBadIndex
// then tells where.
bool EncodeSource(const QString &text, SourceEncoding encoding, QByteArray *bytes,
                  int *firstBadIndex = nullptr);
