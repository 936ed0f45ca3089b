// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/scanner.h"
#include "editor/vocabulary.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextLayout>

#include <vector>

class QTextBlock;
class QTextDocument;

// Colours Quarn BASIC: runs the line scanner over each block that an edit
// touched and applies its spans. There is one highlighter for each text
// document, whatever the number of views that show it. Colours live in the
// blocks' layouts only, so they never reach the undo history or the file.
class CSyntaxHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    explicit CSyntaxHighlighter(QTextDocument *doc);
    ~CSyntaxHighlighter() override;

    // The document's highlighter, made on first use.
    static CSyntaxHighlighter *ForDocument(QTextDocument *doc);

    // Colours every block of the document in one pass.
    void ColorDocument();
    // Colours the blocks from first to last, both included.
    void ColorBlocks(const QTextBlock &first, const QTextBlock &last);

    const QTextCharFormat &Format(ColorKind kind) const;
    // The language's words and markers the colours follow.
    const CVocabulary &Rules() const { return m_rules; }

    QTextCharFormat m_cfNumber;
    QTextCharFormat m_cfString;
    QTextCharFormat m_cfPlain;
    QTextCharFormat m_cfBuiltin;
    QTextCharFormat m_cfKeyword;
    QTextCharFormat m_cfComment;

protected:
    void highlightBlock(const QString &text) override;

private:
    void OnContentsChange(int from, int charsRemoved, int charsAdded);
    void ShareFormats(const QList<QTextLayout::FormatRange> &applied);

    CVocabulary m_rules;
    std::vector<ColorSpan> m_spans;
    bool m_shared[6] = {};
    bool m_bFormatsShared = false;
};
