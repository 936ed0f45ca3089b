// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/vocabulary.h"

#include <QByteArray>
#include <QStringList>

#include <cstring>

// clang-format off
const char *const g_keywordGroups[kKeywordGroupCount] = {
    "also and as",
    "case",
    "data dim downto",
    "else end exit",
    "field for function",
    "gosub",
    "if interrupt",
    "leave loop",
    "mod",
    "next not",
    "or",
    "read reset restore return",
    "select sl sr step string",
    "then to type",
    "while",
    "xor",
};

const char *const g_builtinNames[kBuiltinNameCount] = {
    "#align", "#bitmap", "#code", "#constant", "#data", "#font", "#import", "#include",
    "#music", "#palette", "#size16", "#size32", "#sound", "#title",
    "abs", "animsprite", "append", "blit", "blocks", "bumpsprites", "charblock", "circle",
    "cleartiles", "clocktimer", "cls", "colorsprite", "colortile", "copy", "cos",
    "disablemosaic", "disabletiles", "dmacopy", "enablemosaic", "enabletiles", "erase",
    "fadd", "false", "fdiv", "fix", "flip", "flipsprite", "fliptile", "floor", "fmul",
    "frame", "fsqrt", "fsub", "getpalentry", "graphics", "hex", "hidesprite", "input",
    "int", "key", "keys", "left", "len", "line", "loadbyte", "loadlong", "loadpal16",
    "loadpal256", "loadsprite", "loadtext", "loadtiles", "loadword", "makepalette",
    "makerotation", "makesprite", "maketimer", "mapimage", "maptiles", "mid", "mosaic",
    "move", "movesprite", "nrnd", "onkey", "onhblank", "ontimer", "onvblank", "onvcount",
    "ordersprite", "ordertiles", "peek", "pixel", "playmusic", "playsound", "plot", "poke",
    "positionsprite", "print", "rect", "resettimer", "right", "rgb", "rgbb", "rgbg", "rgbr",
    "rnd", "rotatepal16", "rotatepal256", "rotatesprite", "rotatetiles", "round",
    "savebyte", "savelong", "savetext", "saveword", "scanline", "screen", "screenblock",
    "seed", "setpalentry", "scroll", "scrollpos", "scrollx", "scrolly", "sin",
    "sizesprite", "sprite", "spriteframe", "spritehidden", "spritemosaic", "spritex",
    "spritey", "starttimer", "stopmusic", "stopsound", "stoptimer", "tan", "tile",
    "tileoffset", "triangle", "true", "turnsoundoff", "turnsoundon", "updatesprites",
    "updatetiles", "val", "vblank", "waitkey", "waittimer", "wallpaper", "wrapangle",
};
// clang-format on

CVocabulary CVocabulary::QuarnBasic()
{
    CVocabulary rules;
    rules.SetCommentChar(';');
    rules.SetStringChar('"');
    rules.SetNumberPrefixes('$', '%');
    // Before the lists: words are lowered as they are added.
    rules.SetCaseSensitive(false);
    for (const char *group : g_keywordGroups)
        rules.AddKeywords(QString::fromLatin1(group));
    for (const char *name : g_builtinNames)
        rules.AddBuiltin(QString::fromLatin1(name));
    return rules;
}

void CVocabulary::AddKeywords(QString text)
{
    if (!m_bCaseSensitive)
        text = text.toLower();
    m_strKeywords += QLatin1Char(' ') + text + QLatin1Char(' ');
    IndexWords(text, WordKind::Keyword);
}

void CVocabulary::AddBuiltin(QString name)
{
    if (!m_bCaseSensitive)
        name = name.toLower();
    m_strBuiltins += QLatin1Char(' ') + name + QLatin1Char(' ');
    IndexWords(name, WordKind::Builtin);
}

void CVocabulary::IndexWords(const QString &text, WordKind kind)
{
    // Only blanks bound a listed word. Words outside ASCII are left out of the
    // index: the lookup of such a word searches the texts themselves.
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        bool ascii = true;
        for (QChar ch : word)
            ascii = ascii && ch.unicode() < 128;
        if (ascii)
            Insert(word.toLatin1(), kind);
    }
}

std::uint32_t CVocabulary::Hash(const char *word, int length)
{
    std::uint32_t hash = 2166136261u;
    for (int i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(word[i])) * 16777619u;
    return hash;
}

const CVocabulary::Slot *CVocabulary::Find(const char *word, int length) const
{
    if (m_slots.empty())
        return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Hash(word, length) & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.length == 0)
            return nullptr;
        if (slot.length == static_cast<std::uint32_t>(length)
            && std::memcmp(m_pool.data() + slot.offset, word, length) == 0)
            return &slot;
    }
}

void CVocabulary::Insert(const QByteArray &word, WordKind kind)
{
    const int length = int(word.size());
    if (const Slot *found = Find(word.constData(), length)) {
        // The built-in list is searched first, so a word in both is a built-in.
        if (kind == WordKind::Builtin)
            const_cast<Slot *>(found)->kind = WordKind::Builtin;
        return;
    }
    if (std::size_t(m_nWords + 1) * 2 > m_slots.size()) {
        std::vector<Slot> old;
        old.swap(m_slots);
        m_slots.assign(old.empty() ? 512 : old.size() * 2, Slot());
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot &slot : old) {
            if (slot.length == 0)
                continue;
            std::size_t i = Hash(m_pool.data() + slot.offset, int(slot.length)) & mask;
            while (m_slots[i].length != 0)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }
    Slot slot;
    slot.offset = std::uint32_t(m_pool.size());
    slot.length = std::uint32_t(length);
    slot.kind = kind;
    m_pool.insert(m_pool.end(), word.constData(), word.constData() + length);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = Hash(word.constData(), length) & mask;
    while (m_slots[i].length != 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
    ++m_nWords;
    if (length > m_nMaxWordLength)
        m_nMaxWordLength = length;
}

WordKind CVocabulary::LookupAscii(const char *word, int length) const
{
    if (length <= 0 || length > m_nMaxWordLength)
        return WordKind::Plain;
    const Slot *slot = Find(word, length);
    return slot ? slot->kind : WordKind::Plain;
}

WordKind CVocabulary::Lookup(QStringView word) const
{
    bool indexed = !word.isEmpty();
    for (QChar ch : word)
        indexed = indexed && ch.unicode() < 128 && ch != QLatin1Char(' ');
    if (indexed) {
        if (word.size() > m_nMaxWordLength)
            return WordKind::Plain;
        QByteArray ascii = word.toLatin1();
        return LookupAscii(ascii.constData(), int(ascii.size()));
    }
    // Words the index does not hold: the blank-bounded search itself.
    const QString probe = QLatin1Char(' ') + word.toString() + QLatin1Char(' ');
    if (m_strBuiltins.contains(probe))
        return WordKind::Builtin;
    if (m_strKeywords.contains(probe))
        return WordKind::Keyword;
    return WordKind::Plain;
}

QStringList CVocabulary::Words() const
{
    QStringList words = m_strKeywords.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words += m_strBuiltins.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words.removeDuplicates();
    return words;
}
