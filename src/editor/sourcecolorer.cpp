// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/sourcecolorer.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
// A block's user state holds the block's revision when it was coloured: the
// revision changes with the block's text (and an undo brings back the
// revision of the text it brings back), so colours made for other text are
// never taken for this text's. A new block's user state, -1, is no revision.
// A redo brings text back without a revision of its own: every block an edit
// touches is coloured at once or has its user state cleared.

// Up to this many blocks an edit colours at once; the blocks of a bigger
// paste wait until they are shown.
constexpr int kEagerBlocks = 256;

QTextCharFormat MakeFormat(const QColor &color, bool bold, bool italic)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    return format;
}
} // namespace

CSourceColorer::CSourceColorer(QTextDocument *doc) : QObject(doc), m_pDocument(doc), m_rules(CVocabulary::QuarnBasic())
{
    m_cfPlain = MakeFormat(QColor(0, 0, 0), false, false);
    m_cfNumber = MakeFormat(QColor(255, 0, 0), false, false);
    m_cfString = MakeFormat(QColor(200, 0, 200), false, false);
    m_cfBuiltin = MakeFormat(QColor(0, 0, 255), false, false);
    m_cfKeyword = MakeFormat(QColor(0, 0, 0), true, false);
    m_cfComment = MakeFormat(QColor(0, 128, 0), false, true);
    m_cfShaped.setFontStyleStrategy(QFont::PreferDefault);
    m_spans.reserve(256);
    // The document tells of an edit before it lays the touched blocks out
    // again, so that colours set now are laid out once with the new text.
    connect(doc, &QTextDocument::contentsChange, this, &CSourceColorer::OnContentsChange);
}

CSourceColorer::~CSourceColorer() = default;

CSourceColorer *CSourceColorer::ForDocument(QTextDocument *doc)
{
    auto *colorer = doc->findChild<CSourceColorer *>(QString(), Qt::FindDirectChildrenOnly);
    if (!colorer)
        colorer = new CSourceColorer(doc);
    return colorer;
}

const QTextCharFormat &CSourceColorer::Format(ColorKind kind) const
{
    switch (kind) {
    case ColorKind::Number:
        return m_cfNumber;
    case ColorKind::String:
        return m_cfString;
    case ColorKind::Builtin:
        return m_cfBuiltin;
    case ColorKind::Keyword:
        return m_cfKeyword;
    case ColorKind::Comment:
        return m_cfComment;
    case ColorKind::Plain:
        break;
    }
    return m_cfPlain;
}

void CSourceColorer::ColorSpans(QStringView line, std::vector<ColorSpan> &spans) const
{
    ColorLine(line, m_rules, spans);
}

bool CSourceColorer::IsColored(const QTextBlock &block)
{
    return block.userState() == block.revision();
}

bool CSourceColorer::NeedsLayoutColors(QStringView line)
{
    for (const QChar ch : line) {
        const char16_t c = ch.unicode();
        if (!(c == u'\t' || (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF && c != 0xAD)))
            return true;
    }
    return false;
}

bool CSourceColorer::ColorBlock(QTextBlock &block)
{
    ++m_nColored;
    block.setUserState(block.revision());
    const QString text = block.text();
    QTextLayout *layout = block.layout();
    if (!NeedsLayoutColors(text)) {
        // Drawn in colour over a layout without any.
        if (layout->formats().isEmpty())
            return false;
        layout->clearFormats();
        return true;
    }
    m_spans.clear();
    ColorLine(text, m_rules, m_spans);
    // The list is reused from block to block: assigning a format to an entry
    // that already holds it costs nothing, making a new entry does.
    // The first range shapes the whole line as Qt does by default, which
    // the editor's font leaves out for the lines a view places itself.
    const qsizetype count = qsizetype(m_spans.size()) + 1;
    if (m_ranges.size() > count)
        m_ranges.resize(count);
    if (m_ranges.isEmpty())
        m_ranges.emplaceBack();
    m_ranges[0].start = 0;
    m_ranges[0].length = int(text.size());
    m_ranges[0].format = m_cfShaped;
    for (qsizetype i = 1; i < count; ++i) {
        const ColorSpan &span = m_spans[std::size_t(i - 1)];
        QTextLayout::FormatRange &range = i < m_ranges.size() ? m_ranges[i] : m_ranges.emplaceBack();
        range.start = span.start;
        range.length = span.length;
        range.format = Format(span.kind);
    }
    layout->setFormats(m_ranges);
    return true;
}

bool CSourceColorer::EnsureColored(const QTextBlock &first, const QTextBlock &last)
{
    if (!first.isValid())
        return false;
    int start = -1;
    int end = -1;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (!IsColored(block) && ColorBlock(block)) {
            if (start < 0)
                start = block.position();
            end = block.position() + block.length();
        }
        if (block == last)
            break;
    }
    if (start < 0)
        return false;
    // The document lays the coloured blocks out again with their colours.
    m_pDocument->markContentsDirty(start, end - start);
    return true;
}

void CSourceColorer::OnContentsChange(int from, int charsRemoved, int charsAdded)
{
    const QTextBlock first = m_pDocument->findBlock(from);
    if (!first.isValid())
        return;
    QTextBlock last = m_pDocument->findBlock(from + charsAdded + (charsRemoved > 0 ? 1 : 0));
    if (!last.isValid())
        last = m_pDocument->lastBlock();
    // The blocks of a bigger edit are coloured when shown.
    if (last.blockNumber() - first.blockNumber() >= kEagerBlocks) {
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            block.setUserState(-1);
            if (block == last)
                break;
        }
        return;
    }
    // Colours set while the document tells of the change are laid out with it.
    bool changed = false;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        changed = ColorBlock(block) || changed;
        if (block == last)
            break;
    }
    if (changed)
        m_pDocument->markContentsDirty(first.position(), last.position() + last.length() - first.position());
}
