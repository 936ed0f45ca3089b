// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/syntaxhighlighter.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
QTextCharFormat MakeFormat(const QColor &color, bool bold, bool italic)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    return format;
}
} // namespace

CSyntaxHighlighter::CSyntaxHighlighter(QTextDocument *doc)
    : QSyntaxHighlighter(doc), m_rules(CVocabulary::QuarnBasic())
{
    m_cfPlain = MakeFormat(QColor(0, 0, 0), false, false);
    m_cfNumber = MakeFormat(QColor(255, 0, 0), false, false);
    m_cfString = MakeFormat(QColor(200, 0, 200), false, false);
    m_cfBuiltin = MakeFormat(QColor(0, 0, 255), false, false);
    m_cfKeyword = MakeFormat(QColor(0, 0, 0), true, false);
    m_cfComment = MakeFormat(QColor(0, 128, 0), false, true);
    m_spans.reserve(256);

    // Attached to a text that is not empty, QSyntaxHighlighter schedules a
    // full pass of its own and ignores every edit until that pass has run. The
    // first colouring is ColorDocument's single pass instead, and edits come
    // through OnContentsChange, so the scheduled pass and the base's own edit
    // handling are switched off: each change is coloured exactly once.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    if (disconnect(doc, SIGNAL(contentsChange(int,int,int)), this,
                   SLOT(_q_reformatBlocks(int,int,int)))) {
        connect(doc, &QTextDocument::contentsChange, this, &CSyntaxHighlighter::OnContentsChange);
    } else {
        // Left to the base class, which is correct, only slower on big texts.
        rehighlight();
    }
}

CSyntaxHighlighter::~CSyntaxHighlighter() = default;

CSyntaxHighlighter *CSyntaxHighlighter::ForDocument(QTextDocument *doc)
{
    auto *highlighter = doc->findChild<CSyntaxHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
    if (!highlighter)
        highlighter = new CSyntaxHighlighter(doc);
    return highlighter;
}

const QTextCharFormat &CSyntaxHighlighter::Format(ColorKind kind) const
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

void CSyntaxHighlighter::highlightBlock(const QString &text)
{
    m_spans.clear();
    ColorLine(text, m_rules, m_spans);
    for (const ColorSpan &span : m_spans)
        setFormat(span.start, span.length, Format(span.kind));
    // The block state is never touched: it stays constant, so recolouring a
    // line never spreads to the lines after it.
}

namespace {
// Above this many blocks a change is coloured in one pass rather than block
// by block through the base class.
constexpr int kBlockByBlockLimit = 64;
} // namespace

void CSyntaxHighlighter::OnContentsChange(int from, int charsRemoved, int charsAdded)
{
    QTextDocument *doc = document();
    const QTextBlock first = doc->findBlock(from);
    if (!first.isValid())
        return;
    QTextBlock last = doc->findBlock(from + charsAdded + (charsRemoved > 0 ? 1 : 0));
    if (!last.isValid())
        last = doc->lastBlock();
    if (last.blockNumber() - first.blockNumber() >= kBlockByBlockLimit) {
        ColorBlocks(first, last);
        return;
    }
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        rehighlightBlock(block);
        if (block == last)
            break;
    }
}

void CSyntaxHighlighter::ShareFormats(const QList<QTextLayout::FormatRange> &applied)
{
    // A layout keeps the document's own copy of each format. Taking those
    // copies as ours lets every later block match them by identity instead of
    // comparing their properties.
    for (std::size_t i = 0; i < m_spans.size() && i < std::size_t(applied.size()); ++i) {
        const int kind = int(m_spans[i].kind);
        if (m_shared[kind])
            continue;
        QTextCharFormat &format = const_cast<QTextCharFormat &>(Format(m_spans[i].kind));
        if (applied[qsizetype(i)].format == format) {
            format = applied[qsizetype(i)].format;
            m_shared[kind] = true;
        }
    }
    bool all = true;
    for (int kind = int(ColorKind::Number); kind <= int(ColorKind::Comment); ++kind)
        all = all && m_shared[kind];
    m_bFormatsShared = all;
}

void CSyntaxHighlighter::ColorDocument()
{
    QTextDocument *doc = document();
    if (doc)
        ColorBlocks(doc->firstBlock(), doc->lastBlock());
}

void CSyntaxHighlighter::ColorBlocks(const QTextBlock &first, const QTextBlock &last)
{
    QTextDocument *doc = document();
    if (!doc || !first.isValid() || !last.isValid())
        return;
    // The layouts take the formats directly and the document layout hears of
    // the change once: block by block the base class costs several times more.
    const int start = first.position();
    const int end = last.position() + last.length() - 1;
    const QString text = doc->toRawText();
    const QStringView all(text);
    QList<QTextLayout::FormatRange> ranges;
    int position = start;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
            m_spans.clear();
        const int length = block.length();
        ColorLine(all.mid(position, length - 1), m_rules, m_spans);
        position += length;
        // The list is reused from block to block: assigning a format to an
        // entry that already holds it costs nothing, making a new entry does.
        const qsizetype count = qsizetype(m_spans.size());
        if (ranges.size() > count)
            ranges.resize(count);
        for (qsizetype i = 0; i < count; ++i) {
            const ColorSpan &span = m_spans[std::size_t(i)];
            QTextLayout::FormatRange &range = i < ranges.size() ? ranges[i] : ranges.emplaceBack();
            range.start = span.start;
            range.length = span.length;
            range.format = Format(span.kind);
        }
        block.layout()->setFormats(ranges);
        if (!m_bFormatsShared)
            ShareFormats(block.layout()->formats());
        if (block == last)
            break;
    }
    doc->markContentsDirty(start, end - start + 1);
}
