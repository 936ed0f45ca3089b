// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/scanner.h"

#include "editor/vocabulary.h"

namespace {
// Word characters are ASCII only: a character above 127 is neither a letter
// nor a digit.
inline bool IsLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
inline bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
inline bool IsWordStart(char16_t c)
{
    return IsLetter(c) || c == u'_' || c == u'#';
}
inline bool IsWordChar(char16_t c)
{
    return IsWordStart(c) || IsDigit(c);
}
inline bool IsHexLetter(char16_t c)
{
    return (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
inline char Lower(char16_t c)
{
    return char(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
}

// Longest word the lookup is ever asked about; longer words cannot be listed.
constexpr int kWordBuffer = 256;
} // namespace

void ColorLine(QStringView line, const CVocabulary &rules, std::vector<ColorSpan> &spans)
{
    const char16_t *text = line.utf16();
    const int n = int(line.size());
    const char16_t comment = char16_t(static_cast<unsigned char>(rules.m_chComment));
    const char16_t quote = char16_t(static_cast<unsigned char>(rules.m_chString));
    const char16_t hexPrefix = char16_t(static_cast<unsigned char>(rules.m_chHexPrefix));
    const char16_t numPrefix = char16_t(static_cast<unsigned char>(rules.m_chNumPrefix));
    const bool caseSensitive = rules.m_bCaseSensitive;
    const int maxWord = rules.MaxWordLength() < kWordBuffer ? rules.MaxWordLength() : kWordBuffer;
    char word[kWordBuffer];

    int pos = 0;
    while (pos < n) {
        const char16_t c = text[pos];
        if (c == comment) {
            spans.push_back({pos, n - pos, ColorKind::Comment});
            return;
        }
        if (IsDigit(c) || c == hexPrefix || c == numPrefix) {
            const bool hex = c == hexPrefix;
            int end = pos + 1;
            while (end < n) {
                const char16_t d = text[end];
                if (!(IsDigit(d) || d == hexPrefix || d == numPrefix || (hex && IsHexLetter(d))))
                    break;
                ++end;
            }
            spans.push_back({pos, end - pos, ColorKind::Number});
            pos = end;
            continue;
        }
        if (c == quote) {
            int end = pos + 1;
            while (end < n && text[end] != quote)
                ++end;
            if (end < n)
                ++end; // the closing quote
            spans.push_back({pos, end - pos, ColorKind::String});
            pos = end;
            continue;
        }
        if (IsWordStart(c)) {
            int end = pos;
            while (end < n && IsWordChar(text[end]))
                ++end;
            const int length = end - pos;
            if (length <= maxWord) {
                for (int i = 0; i < length; ++i)
                    word[i] = caseSensitive ? char(text[pos + i]) : Lower(text[pos + i]);
                const WordKind kind = rules.LookupAscii(word, length);
                if (kind == WordKind::Builtin)
                    spans.push_back({pos, length, ColorKind::Builtin});
                else if (kind == WordKind::Keyword)
                    spans.push_back({pos, length, ColorKind::Keyword});
            }
            pos = end;
            continue;
        }
        ++pos;
    }
}

QList<ColorSpan> ColorLine(QStringView line, const CVocabulary &rules)
{
    std::vector<ColorSpan> spans;
    ColorLine(line, rules, spans);
    return QList<ColorSpan>(spans.begin(), spans.end());
}
