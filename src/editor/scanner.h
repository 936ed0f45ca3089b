// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QStringView>

#include <cstdint>
#include <vector>

class CVocabulary;

// The colour a stretch of source text gets.
enum class ColorKind : std::uint8_t { Plain, Number, String, Builtin, Keyword, Comment };

// One coloured stretch of a line; everything outside the spans is plain.
struct ColorSpan
{
    int start = 0;
    int length = 0;
    ColorKind kind = ColorKind::Plain;

    bool operator==(const ColorSpan &other) const
    {
        return start == other.start && length == other.length && kind == other.kind;
    }
};

// Scans one line (without its line break) and appends its coloured spans, in
// order, to spans: comments run to the end of the line, numbers, strings and
// words of the vocabulary's lists. The whole line is scanned, however long.
void ColorLine(QStringView line, const CVocabulary &rules, std::vector<ColorSpan> &spans);
QList<ColorSpan> ColorLine(QStringView line, const CVocabulary &rules);
