// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

// The statement keywords in their sixteen groups, words separated by one blank.
constexpr int kKeywordGroupCount = 16;
extern const char *const g_keywordGroups[kKeywordGroupCount];

// The directives (entries 0 to 13) and the built-in routines and values.
constexpr int kBuiltinNameCount = 145;
extern const char *const g_builtinNames[kBuiltinNameCount];

// What a scanned word is.
enum class WordKind : std::uint8_t { Plain, Keyword, Builtin };

// The scanner's markers, its case mode and the two word lists. The lists are
// blank-bounded texts; a word is a keyword or built-in exactly when " word "
// occurs in the list. An index over the words of the lists answers that
// without searching the texts.
class CVocabulary
{
public:
    CVocabulary() = default;

    // The markers and lists of Quarn BASIC.
    static CVocabulary QuarnBasic();

    void SetCommentChar(char ch) { m_chComment = ch; }
    void SetStringChar(char ch) { m_chString = ch; }
    void SetNumberPrefixes(char hexPrefix, char numPrefix)
    {
        m_chHexPrefix = hexPrefix;
        m_chNumPrefix = numPrefix;
    }
    void SetCaseSensitive(bool caseSensitive) { m_bCaseSensitive = caseSensitive; }

    // Appends a blank, the text (lowered unless case-sensitive) and a blank.
    void AddKeywords(QString text);
    void AddBuiltin(QString name);

    // The word as given; the scanner lowers it first unless case-sensitive.
    WordKind Lookup(QStringView word) const;
    // Fast path for the scanner: an ASCII word already lowered as needed.
    WordKind LookupAscii(const char *word, int length) const;
    // Words longer than this are never found.
    int MaxWordLength() const { return m_nMaxWordLength; }

    const QString &Keywords() const { return m_strKeywords; }
    // Every keyword and built-in name, each once.
    QStringList Words() const;
    const QString &Builtins() const { return m_strBuiltins; }

    bool m_bCaseSensitive = false;
    char m_chString = '"';
    char m_chComment = ';';
    char m_chHexPrefix = '$';
    char m_chNumPrefix = '%';

private:
    struct Slot
    {
        std::uint32_t offset = 0;
        std::uint32_t length = 0; // 0: empty slot
        WordKind kind = WordKind::Plain;
    };

    void IndexWords(const QString &text, WordKind kind);
    void Insert(const QByteArray &word, WordKind kind);
    static std::uint32_t Hash(const char *word, int length);
    const Slot *Find(const char *word, int length) const;

    QString m_strBuiltins;
    QString m_strKeywords;

    std::vector<Slot> m_slots;
    std::vector<char> m_pool;
    int m_nWords = 0;
    int m_nMaxWordLength = 0;
};
