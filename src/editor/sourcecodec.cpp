// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/sourcecodec.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <utility>

namespace {
// Bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

const QByteArray kBom("\xEF\xBB\xBF", 3);
const QByteArray kBomUtf16Le("\xFF\xFE", 2);
const QByteArray kBomUtf16Be("\xFE\xFF", 2);

bool IsUtf16(SourceEncoding encoding)
{
    return encoding == SourceEncoding::Utf16Le || encoding == SourceEncoding::Utf16Be;
}

// The text of UTF-16 code units in the given byte order; false for an odd
// number of bytes or a surrogate without its partner.
bool DecodeUtf16(const QByteArray &bytes, bool bigEndian, QString *text)
{
    if (bytes.size() % 2 != 0)
        return false;
    QString out(bytes.size() / 2, Qt::Uninitialized);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = 0; i < out.size(); ++i) {
        const unsigned char first = p[2 * i];
        const unsigned char second = p[2 * i + 1];
        out[i] = QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
    }
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = out.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < out.size() && QChar::isLowSurrogate(out.at(i + 1).unicode()))
            ++i;
        else if (QChar::isSurrogate(u))
            return false;
    }
    *text = out;
    return true;
}

void AppendUtf16(QByteArray *out, char16_t unit, bool bigEndian)
{
    const char high = char(unit >> 8);
    const char low = char(unit & 0xFF);
    out->append(bigEndian ? high : low);
    out->append(bigEndian ? low : high);
}

// The text document turns these into block or frame boundaries, so a file
// holding them could not come back byte for byte if it were read as UTF-8.
bool HasStructureCharacters(const QString &text)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1)
            return true;
    }
    return false;
}

bool HasNonAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// CR LF and a lone CR become '\n', in one pass over the text.
QString NormaliseLineBreaks(QString text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QChar *data = text.data();
    const qsizetype n = text.size();
    qsizetype out = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == QLatin1Char('\r')) {
            data[out++] = QLatin1Char('\n');
            if (i + 1 < n && data[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            data[out++] = data[i];
        }
    }
    text.truncate(out);
    return text;
}

// Decodes, with the line breaks normalised.
QString DecodeWindows1252(const QByteArray &bytes)
{
    // Without bytes 0x80 to 0x9F the code page is Latin-1, which Qt decodes fastest.
    const bool latin1 = std::none_of(bytes.cbegin(), bytes.cend(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 && byte <= 0x9F;
    });
    if (latin1)
        return NormaliseLineBreaks(QString::fromLatin1(bytes));
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(Windows1252ToUnicode(static_cast<unsigned char>(bytes.at(i))));
    return NormaliseLineBreaks(std::move(text));
}

char16_t Code(char ch)
{
    return char16_t(static_cast<unsigned char>(ch));
}
char16_t Code(QChar ch)
{
    return ch.unicode();
}

// The one kind of line break text uses; CR LF when it uses none or several.
template<class Text>
LineBreak LineBreakIn(const Text &text)
{
    bool seen[3] = {false, false, false};
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = Code(text.at(i));
        if (ch == u'\r') {
            const bool pair = i + 1 < n && Code(text.at(i + 1)) == u'\n';
            seen[int(pair ? LineBreak::CrLf : LineBreak::Cr)] = true;
            i += pair ? 1 : 0;
        } else if (ch == u'\n') {
            seen[int(LineBreak::Lf)] = true;
        }
    }
    const int kinds = int(seen[0]) + int(seen[1]) + int(seen[2]);
    if (kinds != 1 || seen[int(LineBreak::CrLf)])
        return LineBreak::CrLf;
    return seen[int(LineBreak::Lf)] ? LineBreak::Lf : LineBreak::Cr;
}

bool IsLineBreakAt(const QString &text, qsizetype i, qsizetype *length)
{
    const QChar ch = text.at(i);
    if (ch == QLatin1Char('\n') || ch == QChar::ParagraphSeparator) {
        *length = 1;
        return true;
    }
    if (ch == QLatin1Char('\r')) {
        *length = (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ? 2 : 1;
        return true;
    }
    return false;
}
} // namespace

char16_t Windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int UnicodeToWindows1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch)
            return int(0x80 + i);
    }
    return -1;
}

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        // Narrowed ranges for the second byte rule out overlong forms,
        // surrogates (ED A0..BF) and code points beyond U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b == 0xE0) {
            extra = 2;
            lo = 0xA0;
        } else if (b == 0xED) {
            extra = 2;
            hi = 0x9F;
        } else if (b >= 0xE1 && b <= 0xEF) {
            extra = 2;
        } else if (b == 0xF0) {
            extra = 3;
            lo = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            extra = 3;
        } else if (b == 0xF4) {
            extra = 3;
            hi = 0x8F;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k <= extra; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

DecodedSource DecodeSource(const QByteArray &bytes)
{
    DecodedSource result;
    for (const SourceEncoding utf16 : {SourceEncoding::Utf16Le, SourceEncoding::Utf16Be}) {
        const bool bigEndian = utf16 == SourceEncoding::Utf16Be;
        QString text;
        if (bytes.startsWith(bigEndian ? kBomUtf16Be : kBomUtf16Le) && DecodeUtf16(bytes.mid(2), bigEndian, &text)
            && !HasStructureCharacters(text)) {
            result.lineBreak = LineBreakIn(text);
            result.text = NormaliseLineBreaks(text);
            result.encoding = utf16;
            return result;
        }
    }
    // CR and LF are single bytes in the 8-bit encodings.
    result.lineBreak = LineBreakIn(bytes);
    const bool bom = bytes.startsWith(kBom);
    const QByteArray body = bom ? bytes.mid(kBom.size()) : bytes;
    if ((bom || HasNonAscii(body)) && IsValidUtf8(body)) {
        const QString text = QString::fromUtf8(body);
        if (!HasStructureCharacters(text)) {
            result.text = NormaliseLineBreaks(text);
            result.encoding = bom ? SourceEncoding::Utf8Bom : SourceEncoding::Utf8;
            return result;
        }
    }
    result.text = DecodeWindows1252(bytes);
    result.encoding = SourceEncoding::Windows1252;
    return result;
}

QString LineBreakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf:
        return QStringLiteral("LF");
    case LineBreak::Cr:
        return QStringLiteral("CR");
    case LineBreak::CrLf:
        break;
    }
    return QStringLiteral("CRLF");
}

bool EncodeSource(const QString &text, SourceEncoding encoding, QByteArray *bytes, int *firstBadIndex,
                  LineBreak lineBreak)
{
    const bool cr = lineBreak != LineBreak::Lf;
    const bool lf = lineBreak != LineBreak::Cr;
    QByteArray out;
    out.reserve(text.size() + text.size() / 16 + 4);
    const bool utf16 = IsUtf16(encoding);
    const bool bigEndian = encoding == SourceEncoding::Utf16Be;
    if (encoding == SourceEncoding::Utf8Bom)
        out.append(kBom);
    else if (utf16)
        out.append(bigEndian ? kBomUtf16Be : kBomUtf16Le);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype breakLength = 0;
        if (IsLineBreakAt(text, i, &breakLength)) {
            if (utf16) {
                if (cr)
                    AppendUtf16(&out, u'\r', bigEndian);
                if (lf)
                    AppendUtf16(&out, u'\n', bigEndian);
            } else {
                if (cr)
                    out.append('\r');
                if (lf)
                    out.append('\n');
            }
            i += breakLength;
            continue;
        }
        const char16_t ch = text.at(i).unicode();
        if (encoding == SourceEncoding::Windows1252) {
            const int byte = UnicodeToWindows1252(ch);
            if (byte < 0) {
                if (firstBadIndex)
                    *firstBadIndex = int(i);
                return false;
            }
            out.append(char(byte));
            ++i;
            continue;
        }
        char32_t code = ch;
        qsizetype length = 1;
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            code = QChar::surrogateToUcs4(ch, text.at(i + 1).unicode());
            length = 2;
        } else if (QChar::isSurrogate(ch)) {
            if (firstBadIndex)
                *firstBadIndex = int(i);
            return false;
        }
        if (utf16) {
            for (qsizetype k = 0; k < length; ++k)
                AppendUtf16(&out, text.at(i + k).unicode(), bigEndian);
        } else if (code < 0x80) {
            out.append(char(code));
        } else if (code < 0x800) {
            out.append(char(0xC0 | (code >> 6)));
            out.append(char(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.append(char(0xE0 | (code >> 12)));
            out.append(char(0x80 | ((code >> 6) & 0x3F)));
            out.append(char(0x80 | (code & 0x3F)));
        } else {
            out.append(char(0xF0 | (code >> 18)));
            out.append(char(0x80 | ((code >> 12) & 0x3F)));
            out.append(char(0x80 | ((code >> 6) & 0x3F)));
            out.append(char(0x80 | (code & 0x3F)));
        }
        i += length;
    }
    *bytes = out;
    return true;
}

QString SourceEncodingName(SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    case SourceEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case SourceEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 with byte-order mark");
    case SourceEncoding::Utf16Le:
        return QStringLiteral("UTF-16 little-endian");
    case SourceEncoding::Utf16Be:
        return QStringLiteral("UTF-16 big-endian");
    }
    return QString();
}

QString SourceEncodingLabel(SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 BOM");
    case SourceEncoding::Utf16Le:
        return QStringLiteral("UTF-16 LE");
    case SourceEncoding::Utf16Be:
        return QStringLiteral("UTF-16 BE");
    default:
        return SourceEncodingName(encoding);
    }
}

SourceEncoding SourceEncodingFromName(const QString &name)
{
    for (const SourceEncoding encoding :
         {SourceEncoding::Utf8, SourceEncoding::Utf8Bom, SourceEncoding::Utf16Le, SourceEncoding::Utf16Be}) {
        if (name == SourceEncodingName(encoding))
            return encoding;
    }
    return SourceEncoding::Windows1252;
}

int FirstLineLongerThan(QStringView text, int limit)
{
    int line = 1;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (end - start > limit)
            return line;
        start = end + 1;
        ++line;
    }
    return 0;
}
