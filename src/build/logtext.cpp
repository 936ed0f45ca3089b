// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/logtext.h"

#include "editor/sourcecodec.h"

namespace {

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
int SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Whether byte may stand at index (1 to 3) of the sequence lead starts:
// no overlong forms, no surrogates, nothing above U+10FFFF.
bool FitsSequence(unsigned char lead, int index, unsigned char byte)
{
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (index == 1) {
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        else if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    }
    return byte >= low && byte <= high;
}

void AppendCodePoint(QString &out, char32_t code)
{
    if (code >= 0x10000) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else {
        out += QChar(char16_t(code));
    }
}

constexpr char16_t kEscape = 0x1B;

// Where the control sequence at start ends (past its final character); -1
// when the text ends before it does, start when none starts there.
qsizetype EscapeEnd(const QString &text, qsizetype start)
{
    const qsizetype size = text.size();
    if (start + 1 >= size)
        return -1;
    if (text.at(start + 1) != QLatin1Char('['))
        return start;
    for (qsizetype i = start + 2; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x40 && c <= 0x7E)
            return i + 1;
        if (c < 0x20 || c > 0x3F)
            return start; // not a sequence after all: the characters stay
    }
    return -1;
}

// The text without its control sequences; a sequence cut off by the text's end goes to held.
QString DropEscapes(const QString &text, QString *held)
{
    if (!text.contains(QChar(kEscape)))
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(QChar(kEscape)); at >= 0; at = text.indexOf(QChar(kEscape), from)) {
        const qsizetype end = EscapeEnd(text, at);
        if (end < 0 && held) {
            out += QStringView(text).mid(from, at - from);
            *held = text.mid(at);
            return out;
        }
        out += QStringView(text).mid(from, at - from);
        if (end > at) {
            from = end;
        } else {
            out += QChar(kEscape);
            from = at + 1;
        }
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace

QString CLogDecoder::Decode(const QByteArray &input)
{
    QString held;
    held.swap(m_heldEscape);
    return DropEscapes(held + DecodeBytes(input), &m_heldEscape);
}

QString CLogDecoder::DecodeBytes(const QByteArray &input)
{
    QByteArray bytes = m_held + input;
    m_held.clear();
    QString out;
    out.reserve(bytes.size() + 1);
    if (m_bHeldReturn) {
        m_bHeldReturn = false;
        out += QLatin1Char('\n');
        if (!bytes.isEmpty() && bytes.at(0) == '\n')
            bytes.remove(0, 1);
    }
    const qsizetype size = bytes.size();
    const char *data = bytes.constData();
    for (qsizetype i = 0; i < size; ++i) {
        // Plain ASCII, the bulk of any compiler's output, goes over in runs.
        qsizetype run = i;
        while (run < size && static_cast<unsigned char>(data[run]) < 0x80 && data[run] != '\r' && data[run] != 0)
            ++run;
        if (run > i) {
            out += QLatin1StringView(data + i, run - i);
            i = run - 1;
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        if (byte == 0)
            continue;
        if (byte == '\r') {
            if (i + 1 == size) {
                m_bHeldReturn = true;
                break;
            }
            if (bytes.at(i + 1) == '\n')
                ++i;
            out += QLatin1Char('\n');
            continue;
        }
        if (byte < 0x80) {
            out += QLatin1Char(char(byte));
            continue;
        }
        const int length = SequenceLength(byte);
        int fitting = 1;
        while (fitting < length && i + fitting < size
               && FitsSequence(byte, fitting, static_cast<unsigned char>(bytes.at(i + fitting))))
            ++fitting;
        if (length > 0 && fitting == length) {
            char32_t code = byte & (0x7F >> length);
            for (int k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(bytes.at(i + k)) & 0x3F);
            AppendCodePoint(out, code);
            i += length - 1;
            continue;
        }
        if (length > 0 && i + fitting == size) {
            // Cut off by the end of the read: the rest may come with the next one.
            m_held = bytes.mid(i);
            break;
        }
        out += QChar(Windows1252ToUnicode(byte));
    }
    return out;
}

QString CLogDecoder::Finish()
{
    QString out = m_heldEscape;
    m_heldEscape.clear();
    for (const char byte : std::as_const(m_held))
        out += QChar(Windows1252ToUnicode(static_cast<unsigned char>(byte)));
    m_held.clear();
    if (m_bHeldReturn)
        out += QLatin1Char('\n');
    m_bHeldReturn = false;
    return out;
}

namespace LogText {

QString WithoutEscapes(const QString &text)
{
    return DropEscapes(text, nullptr);
}

QString ForDocument(const QString &text, Shape *shape)
{
    QString out;
    out.reserve(text.size() + text.size() / kRowChars + 1);
    Shape at = *shape;
    // A row ends with a line separator, or with a block break once the block holds enough.
    auto endRow = [&out, &at] {
        if (at.blockChars >= kBlockChars) {
            out += QChar(QChar::ParagraphSeparator);
            at.blockChars = 0;
        } else {
            out += QChar(QChar::LineSeparator);
            ++at.blockChars;
        }
        at.rowChars = 0;
    };
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        if (data[i] == QLatin1Char('\n')) {
            endRow();
            at.longLine = false;
            ++i;
            continue;
        }
        const int room = (at.longLine ? kRowChars : kLongLineChars) - at.rowChars;
        if (room <= 0 && !data[i].isLowSurrogate()) {
            endRow();
            at.longLine = true;
            continue;
        }
        // Up to the line's end or the row's, whichever comes first, in one piece.
        qsizetype end = i + 1;
        while (end < size && end - i < room && data[end] != QLatin1Char('\n'))
            ++end;
        out.append(data + i, end - i);
        at.rowChars += int(end - i);
        at.blockChars += int(end - i);
        i = end;
    }
    *shape = at;
    return out;
}

} // namespace LogText
