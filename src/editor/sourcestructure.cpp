// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/sourcestructure.h"

#include "editor/textsearch.h"

namespace SourceStructure {

namespace {

constexpr char16_t kComment = u';';
constexpr char16_t kQuote = u'"';

bool Is(QStringView word, QStringView keyword)
{
    return word.compare(keyword, Qt::CaseInsensitive) == 0;
}

int SkipBlanks(QStringView line, int from)
{
    while (from < line.size() && (line.at(from) == u' ' || line.at(from) == u'\t'))
        ++from;
    return from;
}

int WordEnd(QStringView line, int from)
{
    while (from < line.size() && TextSearch::IsWordCharacter(line.at(from)))
        ++from;
    return from;
}

// Where the code of the line ends: at its comment, or its end.
int CodeEnd(QStringView line)
{
    bool inString = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line.at(i) == kQuote)
            inString = !inString;
        else if (line.at(i) == kComment && !inString)
            return i;
    }
    return int(line.size());
}

// What a block keyword opens or closes.
enum class Block { If, For, Select, Function, Type };

struct BlockWord
{
    Span span;
    Block block;
    bool opens;
};

std::optional<Block> BlockNamed(QStringView word)
{
    static const std::pair<const char16_t *, Block> kNames[] = {
        {u"if", Block::If}, {u"select", Block::Select}, {u"function", Block::Function}, {u"type", Block::Type}};
    for (const auto &[name, block] : kNames) {
        if (Is(word, QStringView(name)))
            return block;
    }
    return std::nullopt;
}

// Whether the if at word index i starts a block: nothing but a comment after its "then".
bool IsBlockIf(QStringView line, const QList<Span> &words, int i)
{
    for (int j = i + 1; j < words.size(); ++j) {
        if (Is(line.mid(words.at(j).start, words.at(j).length), u"then")) {
            const int after = words.at(j).start + words.at(j).length;
            return line.mid(after, CodeEnd(line) - after).trimmed().isEmpty();
        }
    }
    return true;
}

QList<BlockWord> BlockWordsIn(QStringView line)
{
    QList<BlockWord> found;
    const QList<Span> words = CodeWords(line);
    auto text = [&](int i) { return line.mid(words.at(i).start, words.at(i).length); };
    for (int i = 0; i < words.size(); ++i) {
        const QStringView word = text(i);
        const Span span = words.at(i);
        const bool hasNext = i + 1 < words.size();
        if ((Is(word, u"end") || Is(word, u"exit")) && hasNext) {
            const std::optional<Block> block = BlockNamed(text(i + 1));
            if (block && Is(word, u"end")) {
                const Span next = words.at(i + 1);
                found.append({{span.start, next.start + next.length - span.start}, *block, false});
            }
            if (block || Is(text(i + 1), u"for"))
                ++i;
        } else if (Is(word, u"for")) {
            found.append({span, Block::For, true});
        } else if (Is(word, u"next")) {
            found.append({span, Block::For, false});
        } else if (Is(word, u"select")) {
            found.append({span, Block::Select, true});
        } else if (i == 0 && (Is(word, u"function") || Is(word, u"type"))) {
            found.append({span, Is(word, u"type") ? Block::Type : Block::Function, true});
        } else if (Is(word, u"if") && !(i > 0 && Is(text(i - 1), u"else"))) {
            // The rest of a one-line if is its statement: no block starts there.
            if (!IsBlockIf(line, words, i))
                break;
            found.append({span, Block::If, true});
        }
    }
    return found;
}

// Whether span holds column, or ends just before it.
bool Touches(const Span &span, int column)
{
    return column >= span.start && column <= span.start + span.length;
}

bool IsOpening(char16_t ch)
{
    return ch == u'(' || ch == u'[';
}

char16_t PartnerOf(char16_t ch)
{
    switch (ch) {
    case u'(':
        return u')';
    case u')':
        return u'(';
    case u'[':
        return u']';
    default:
        return u'[';
    }
}

bool IsBracket(char16_t ch)
{
    return ch == u'(' || ch == u')' || ch == u'[' || ch == u']';
}

} // namespace

std::optional<Definition> DefinitionIn(QStringView line)
{
    const int start = SkipBlanks(line, 0);
    const int end = WordEnd(line, start);
    if (end == start || line.at(start).isDigit())
        return std::nullopt;
    const QStringView first = line.mid(start, end - start);
    if (end < line.size() && line.at(end) == u':') {
        // A label stands alone.
        const int rest = SkipBlanks(line, end + 1);
        if (rest == line.size() || line.at(rest) == kComment)
            return Definition{DefinitionKind::Label, first.toString(), start};
        return std::nullopt;
    }
    DefinitionKind kind;
    if (Is(first, u"function"))
        kind = DefinitionKind::Function;
    else if (Is(first, u"type"))
        kind = DefinitionKind::Type;
    else if (Is(first, u"#constant"))
        kind = DefinitionKind::Constant;
    else
        return std::nullopt;
    const int nameStart = SkipBlanks(line, end);
    const int nameEnd = WordEnd(line, nameStart);
    if (nameStart == end || nameEnd == nameStart || line.at(nameStart).isDigit())
        return std::nullopt;
    return Definition{kind, line.mid(nameStart, nameEnd - nameStart).toString(), nameStart};
}

QString IncludedFile(QStringView line)
{
    const int start = SkipBlanks(line, 0);
    const int end = WordEnd(line, start);
    const QStringView word = line.mid(start, end - start);
    if (!Is(word, u"#include") && !Is(word, u"#import"))
        return QString();
    const int open = SkipBlanks(line, end);
    if (open >= line.size() || line.at(open) != kQuote)
        return QString();
    const qsizetype close = line.indexOf(kQuote, open + 1);
    if (close < 0)
        return QString();
    return line.mid(open + 1, close - open - 1).trimmed().toString();
}

std::optional<Span> NameAt(QStringView line, int column)
{
    int start = qBound(0, column, int(line.size()));
    while (start > 0 && TextSearch::IsWordCharacter(line.at(start - 1)))
        --start;
    const int end = WordEnd(line, start);
    if (end == start || line.at(start).isDigit() || !IsCode(line, start))
        return std::nullopt;
    return Span{start, end - start};
}

QList<Span> CodeWords(QStringView line)
{
    QList<Span> words;
    const int end = CodeEnd(line);
    int i = 0;
    while (i < end) {
        const QChar ch = line.at(i);
        if (ch == kQuote) {
            const qsizetype close = line.indexOf(kQuote, i + 1);
            i = close < 0 ? end : int(close) + 1;
        } else if (TextSearch::IsWordCharacter(ch) || ch == u'$' || ch == u'%') {
            const int wordEnd = WordEnd(line, i + 1);
            // Numbers, with or without their prefix, are no words.
            if (!ch.isDigit() && ch != u'$' && ch != u'%')
                words.append({i, wordEnd - i});
            i = wordEnd;
        } else {
            ++i;
        }
    }
    return words;
}

bool IsCode(QStringView line, int column)
{
    bool inString = false;
    for (int i = 0; i < column && i < line.size(); ++i) {
        if (line.at(i) == kQuote)
            inString = !inString;
        else if (line.at(i) == kComment && !inString)
            return false;
    }
    return !inString && column < line.size() && line.at(column) != kQuote && line.at(column) != kComment;
}

std::optional<Pair> BlockPairAt(const Lines &lines, int line, int column)
{
    if (line < 0 || line >= lines.count)
        return std::nullopt;
    const QList<BlockWord> here = BlockWordsIn(lines.at(line));
    int index = -1;
    for (int i = 0; i < here.size() && index < 0; ++i) {
        if (Touches(here.at(i).span, column))
            index = i;
    }
    if (index < 0)
        return std::nullopt;
    const BlockWord word = here.at(index);
    Pair pair{{line, word.span}, std::nullopt};
    const int step = word.opens ? 1 : -1;
    int depth = 0;
    QList<BlockWord> words = here;
    int at = index + step;
    for (int l = line; l >= 0 && l < lines.count && qAbs(l - line) <= kMaxPairLines;) {
        for (; at >= 0 && at < words.size(); at += step) {
            const BlockWord &other = words.at(at);
            if (other.block != word.block)
                continue;
            if (other.opens == word.opens) {
                ++depth;
            } else if (depth > 0) {
                --depth;
            } else {
                pair.partner = Place{l, other.span};
                return pair;
            }
        }
        l += step;
        if (l < 0 || l >= lines.count)
            break;
        words = BlockWordsIn(lines.at(l));
        at = step > 0 ? 0 : int(words.size()) - 1;
    }
    return pair;
}

std::optional<Pair> BracketPairAt(const Lines &lines, int line, int column)
{
    if (line < 0 || line >= lines.count)
        return std::nullopt;
    const QString text = lines.at(line);
    int at = -1;
    if (column < text.size() && IsBracket(text.at(column).unicode()) && IsCode(text, column))
        at = column;
    else if (column > 0 && column <= text.size() && IsBracket(text.at(column - 1).unicode())
             && IsCode(text, column - 1))
        at = column - 1;
    if (at < 0)
        return std::nullopt;
    const char16_t bracket = text.at(at).unicode();
    const char16_t partner = PartnerOf(bracket);
    const int step = IsOpening(bracket) ? 1 : -1;
    Pair pair{{line, {at, 1}}, std::nullopt};
    int depth = 0;
    QString current = text;
    int i = at + step;
    for (int l = line; qAbs(l - line) <= kMaxPairLines;) {
        // The code of the line, strings and comment blanked.
        const int end = CodeEnd(current);
        bool inString = false;
        QString code = current.left(end);
        for (QChar &ch : code) {
            if (ch == kQuote) {
                inString = !inString;
                ch = u' ';
            } else if (inString) {
                ch = u' ';
            }
        }
        for (; i >= 0 && i < code.size(); i += step) {
            const char16_t ch = code.at(i).unicode();
            if (ch == bracket) {
                ++depth;
            } else if (ch == partner) {
                if (depth == 0) {
                    pair.partner = Place{l, {i, 1}};
                    return pair;
                }
                --depth;
            }
        }
        l += step;
        if (l < 0 || l >= lines.count)
            break;
        current = lines.at(l);
        i = step > 0 ? 0 : int(qMin(current.size(), qsizetype(CodeEnd(current)))) - 1;
    }
    return pair;
}

} // namespace SourceStructure
