// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/scanner.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QRawFont>
#include <QTextCharFormat>

#include <array>
#include <functional>
#include <vector>

class QPainter;
class QTextLayout;
class QTextLine;

// Draws coloured text a page at a time. Lines are laid out without colours,
// one text item each just as the bare text edit lays them out, and the glyphs
// of every line on the page are gathered by face and colour: a page costs one
// drawing call for each colour in it instead of one for each coloured word,
// and laying a line out costs what it costs without colours. Where the ink of
// a glyph meets the ink of the one before it in another colour, the later
// glyph goes into a later layer, so that it is drawn over the earlier one, in
// the order of the text, as Qt draws a line.
class CGlyphBatches
{
public:
    static constexpr int kKinds = int(ColorKind::Comment) + 1;

    // The face and colour of every kind, for text laid out in font; the
    // Plain* lookups below serve once this was called.
    void SetStyles(const QFont &font, const std::function<QTextCharFormat(ColorKind)> &formatOf);
    const QFont &Font() const { return m_font; }
    // The laid-out face, and a Latin-1 character's glyph and advance in it.
    const QRawFont &PlainFace() const { return m_faces[std::size_t(m_plainFace)]; }
    quint32 PlainGlyph(char16_t ch) const { return m_latin1[std::size_t(m_plainFace)][ch & 0xFF]; }
    qreal PlainAdvance(char16_t ch) const { return qreal(m_plainAdvances[ch & 0xFF]) / 64; }

    // The formats the batches draw themselves: a solid foreground colour,
    // with the weight and slant of a face. A line in any other format
    // (underlined, on a background, in another family or size) is for its
    // layout to draw.
    static bool CanDraw(const QTextCharFormat &format);

    // Adds characters from..to (not included) of the first line of a layout
    // without colours, at offset, in the colours of their spans. False, with nothing added,
    // when the line's glyphs do not stand one for each character but tabs, in
    // a single face and left to right, or when a span's format is one the
    // batches cannot draw: such a line is for its layout to draw.
    bool AddLine(const QTextLayout &layout, QStringView text, const std::vector<ColorSpan> &spans,
                 const QPointF &offset, int from, int to);
    // Draws what was added since the last call, and forgets it.
    void Draw(QPainter *painter);
    // How many glyphs wait to be drawn.
    qsizetype Pending() const;

private:
    // One face (laid-out or a kind's own) in one colour in one layer, and its glyphs.
    struct Batch
    {
        int layer = 0;
        int face = 0;
        QRgb color = 0;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    struct Style
    {
        int face = -1; // -1: the face the line was laid out in
        QRgb color = 0;
        bool drawable = true;
    };
    // Finds each character's glyph and position, tabs aside, into m_placed:
    // from the font's own Latin-1 glyphs and advances, stepping over tabs as
    // the layout does, which is much cheaper than asking the layout; and from
    // the layout's glyph runs where that does not serve. False when neither
    // can tell the glyphs apart by character.
    bool PlaceLatin1(const QTextLayout &layout, QStringView text, int to);
    bool PlaceFromRuns(const QTextLine &line, QStringView text, int from, int to);
    int FaceIndex(const QRawFont &face);
    int BatchIndex(int layer, int face, QRgb color);
    // Whether the ink of two glyphs, at their positions, may share a pixel.
    bool GlyphsMeet(int face, quint32 glyph, const QPointF &at, int laterFace, quint32 later, const QPointF &laterAt);
    QRectF GlyphBounds(int face, quint32 glyph);
    quint32 GlyphOf(int face, char16_t ch) const;

    QFont m_font;
    std::array<Style, kKinds> m_styles{};
    std::vector<QRawFont> m_faces;
    // Latin-1 characters' glyphs in each face, looked up once.
    std::vector<std::array<quint32, 256>> m_latin1;
    std::vector<Batch> m_batches;
    int m_layers = 1;
    // Whether every kind's format is one the batches draw; else each line's spans are looked at.
    bool m_bAllDrawable = true;
    // Each glyph's ink box, by face and glyph.
    QHash<quint64, QRectF> m_glyphBounds;
    // The laid-out face's Latin-1 advances, in 64ths of a pixel as Qt's text
    // engine adds them up.
    int m_plainFace = -1;
    std::array<qint32, 256> m_plainAdvances{};
    // The line being added: its face, and each character's glyph and
    // position (a tab's glyph is 0).
    int m_placedFace = -1;
    std::vector<quint32> m_placedGlyphs;
    std::vector<QPointF> m_placedPositions;
};
