// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/glyphbatches.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

namespace {
// Characters that put no ink on the page.
inline bool IsBlank(char16_t ch)
{
    return ch == u' ' || ch == u'\t' || ch == 0xA0;
}
} // namespace

void CGlyphBatches::SetStyles(const QFont &font, const std::function<QTextCharFormat(ColorKind)> &formatOf)
{
    m_font = font;
    m_faces.clear();
    m_latin1.clear();
    m_batches.clear();
    m_layers = 1;
    m_glyphBounds.clear();
    m_bAllDrawable = true;
    const QRawFont plain = QRawFont::fromFont(font);
    m_plainFace = FaceIndex(plain);
    QList<quint32> latin1(m_latin1[std::size_t(m_plainFace)].begin(), m_latin1[std::size_t(m_plainFace)].end());
    const QList<QPointF> advances = plain.advancesForGlyphIndexes(latin1);
    for (std::size_t ch = 0; ch < m_plainAdvances.size(); ++ch)
        m_plainAdvances[ch] = ch < std::size_t(advances.size()) ? qRound(advances[qsizetype(ch)].x() * 64) : 0;
    for (int kind = 0; kind < kKinds; ++kind) {
        const QTextCharFormat format = formatOf(ColorKind(kind));
        Style &style = m_styles[std::size_t(kind)];
        style.color = format.foreground().color().rgba();
        style.drawable = CanDraw(format);
        m_bAllDrawable = m_bAllDrawable && style.drawable;
        QFont face = font;
        if (format.hasProperty(QTextFormat::FontWeight))
            face.setWeight(QFont::Weight(format.fontWeight()));
        if (format.hasProperty(QTextFormat::FontItalic))
            face.setItalic(format.fontItalic());
        // A kind in the laid-out face takes the layout's glyphs as they are.
        const int index = face == font ? m_plainFace : FaceIndex(QRawFont::fromFont(face));
        style.face = index == m_plainFace ? -1 : index;
    }
}

bool CGlyphBatches::CanDraw(const QTextCharFormat &format)
{
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        switch (it.key()) {
        case QTextFormat::ForegroundBrush:
            if (format.foreground().style() != Qt::SolidPattern)
                return false;
            break;
        case QTextFormat::FontWeight:
        case QTextFormat::FontItalic:
            break;
        default:
            return false;
        }
    }
    return true;
}

int CGlyphBatches::FaceIndex(const QRawFont &face)
{
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        if (m_faces[i] == face)
            return int(i);
    }
    m_faces.push_back(face);
    std::array<quint32, 256> &table = m_latin1.emplace_back();
    QChar chars[256];
    for (int i = 0; i < 256; ++i)
        chars[i] = QChar(char16_t(i));
    int count = 256;
    if (!face.glyphIndexesForChars(chars, 256, table.data(), &count) || count != 256)
        table.fill(0);
    return int(m_faces.size() - 1);
}

quint32 CGlyphBatches::GlyphOf(int face, char16_t ch) const
{
    if (ch < 256)
        return m_latin1[std::size_t(face)][ch];
    const QChar c(ch);
    quint32 glyph = 0;
    int count = 1;
    m_faces[std::size_t(face)].glyphIndexesForChars(&c, 1, &glyph, &count);
    return count == 1 ? glyph : 0;
}

int CGlyphBatches::BatchIndex(int layer, int face, QRgb color)
{
    for (std::size_t i = 0; i < m_batches.size(); ++i) {
        if (m_batches[i].layer == layer && m_batches[i].face == face && m_batches[i].color == color)
            return int(i);
    }
    Batch &batch = m_batches.emplace_back();
    batch.layer = layer;
    batch.face = face;
    batch.color = color;
    m_layers = qMax(m_layers, layer + 1);
    return int(m_batches.size() - 1);
}

QRectF CGlyphBatches::GlyphBounds(int face, quint32 glyph)
{
    const quint64 key = (quint64(quint32(face)) << 32) | glyph;
    auto found = m_glyphBounds.constFind(key);
    if (found == m_glyphBounds.constEnd())
        found = m_glyphBounds.insert(key, m_faces[std::size_t(face)].boundingRect(glyph));
    return *found;
}

bool CGlyphBatches::GlyphsMeet(int face, quint32 glyph, const QPointF &at, int laterFace, quint32 later,
                               const QPointF &laterAt)
{
    // Anti-aliased ink reaches into the pixel its edge lies in.
    const QMarginsF pixel(1, 1, 1, 1);
    return GlyphBounds(face, glyph)
        .translated(at)
        .marginsAdded(pixel)
        .intersects(GlyphBounds(laterFace, later).translated(laterAt).marginsAdded(pixel));
}

bool CGlyphBatches::PlaceLatin1(const QTextLayout &layout, QStringView text, int to)
{
    const QTextLine line = layout.lineAt(0);
    // Tab stops as the text engine finds them: in 64ths of a pixel, the
    // quotient rounded to 64ths before its whole part is taken.
    const qint64 tab = qRound64(layout.textOption().tabStopDistance() * 64);
    if (m_plainFace < 0 || tab <= 0 || line.textStart() != 0)
        return false;
    const std::array<quint32, 256> &glyphs = m_latin1[std::size_t(m_plainFace)];
    const qreal left = line.x();
    const qreal baseline = line.y() + line.ascent();
    qint64 x = 0;
    for (int i = 0; i < to; ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == u'\t') {
            const qint64 quotient = (x * 64 + tab / 2) / tab;
            x = ((quotient >> 6) + 1) * tab;
            m_placedGlyphs.push_back(0);
            m_placedPositions.emplace_back();
            continue;
        }
        if (ch > 0xFF || glyphs[ch] == 0)
            return false;
        m_placedGlyphs.push_back(glyphs[ch]);
        m_placedPositions.emplace_back(left + qreal(x) / 64, baseline);
        x += m_plainAdvances[ch];
    }
    // Whatever the layout did otherwise (another face, kerning, a stop of
    // its own) shows in where the line ends.
    const qreal end = to < int(text.size()) ? line.cursorToX(to) : line.horizontalAdvance();
    return x == qRound64(end * 64);
}

bool CGlyphBatches::PlaceFromRuns(const QTextLine &line, QStringView text, int from, int to)
{
    const QList<QGlyphRun> runs = line.glyphRuns(from, to - from);
    // Tabs have no glyph; every other character must have exactly one, in
    // the same face, or glyphs cannot be told apart by character.
    qsizetype glyphCount = 0;
    for (const QGlyphRun &run : runs) {
        if (run.isRightToLeft() || run.rawFont() != runs.front().rawFont())
            return false;
        glyphCount += run.glyphIndexes().size();
    }
    qsizetype charCount = 0;
    for (int i = from; i < to; ++i)
        charCount += text[i] != u'\t' ? 1 : 0;
    if (glyphCount != charCount)
        return false;
    if (runs.isEmpty())
        return true;
    m_placedFace = FaceIndex(runs.front().rawFont());
    qsizetype runIndex = 0;
    qsizetype glyphIndex = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (int i = from; i < to; ++i) {
        if (text[i] == u'\t') {
            m_placedGlyphs.push_back(0);
            m_placedPositions.emplace_back();
            continue;
        }
        while (glyphIndex >= glyphs.size()) {
            glyphs = runs[runIndex].glyphIndexes();
            positions = runs[runIndex].positions();
            glyphIndex = 0;
            ++runIndex;
        }
        m_placedGlyphs.push_back(glyphs.at(glyphIndex));
        m_placedPositions.push_back(positions.at(glyphIndex));
        ++glyphIndex;
    }
    return true;
}

bool CGlyphBatches::AddLine(const QTextLayout &layout, QStringView text, const std::vector<ColorSpan> &spans,
                            const QPointF &offset, int from, int to)
{
    if (layout.lineCount() < 1)
        return false;
    if (!m_bAllDrawable) {
        for (const ColorSpan &span : spans) {
            if (!m_styles[std::size_t(span.kind)].drawable)
                return false;
        }
    }
    const QTextLine line = layout.lineAt(0);
    from = qMax(from, line.textStart());
    to = qMin(to, qMin(line.textStart() + line.textLength(), int(text.size())));
    if (from >= to)
        return true;
    m_placedGlyphs.clear();
    m_placedPositions.clear();
    m_placedFace = m_plainFace;
    if (from != 0 || !PlaceLatin1(layout, text, to)) {
        m_placedGlyphs.clear();
        m_placedPositions.clear();
        if (!PlaceFromRuns(line, text, from, to))
            return false;
    }

    const int laidOut = m_placedFace;
    auto span = spans.begin();
    int lastKey = -1;
    int batch = -1;
    // The glyph drawn before, and the layer the line has reached.
    int layer = 0;
    int lastFace = -1;
    quint32 lastGlyph = 0;
    QPointF lastAt;
    for (int i = from; i < to; ++i) {
        const char16_t ch = text[i].unicode();
        if (IsBlank(ch))
            continue;
        const std::size_t at = std::size_t(i - from);
        while (span != spans.end() && span->start + span->length <= i)
            ++span;
        const ColorKind kind = span != spans.end() && span->start <= i ? span->kind : ColorKind::Plain;
        const Style &style = m_styles[std::size_t(kind)];
        int face = style.face < 0 ? laidOut : style.face;
        quint32 glyph = style.face < 0 ? m_placedGlyphs[at] : GlyphOf(face, ch);
        if (glyph == 0) {
            // The kind's face lacks the character: the laid-out face draws it.
            face = laidOut;
            glyph = m_placedGlyphs[at];
        }
        const int key = face * kKinds + int(kind);
        const QPointF position = m_placedPositions[at] + offset;
        if (key != lastKey) {
            if (lastKey >= 0 && GlyphsMeet(lastFace, lastGlyph, lastAt, face, glyph, position))
                ++layer;
            lastKey = key;
            batch = BatchIndex(layer, face, style.color);
        }
        Batch &target = m_batches[std::size_t(batch)];
        target.glyphs.append(glyph);
        target.positions.append(position);
        lastFace = face;
        lastGlyph = glyph;
        lastAt = position;
    }
    return true;
}

void CGlyphBatches::Draw(QPainter *painter)
{
    // Layer after layer; within one, no ink of two colours meets.
    for (int layer = 0; layer < m_layers; ++layer) {
        for (Batch &batch : m_batches) {
            if (batch.layer != layer || batch.glyphs.isEmpty())
                continue;
            QGlyphRun run;
            run.setRawFont(m_faces[std::size_t(batch.face)]);
            run.setGlyphIndexes(batch.glyphs);
            run.setPositions(batch.positions);
            painter->setPen(QColor::fromRgba(batch.color));
            painter->drawGlyphRun(QPointF(0, 0), run);
            batch.glyphs.clear();
            batch.positions.clear();
        }
    }
}

qsizetype CGlyphBatches::Pending() const
{
    qsizetype count = 0;
    for (const Batch &batch : m_batches)
        count += batch.glyphs.size();
    return count;
}
