// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "editor/sourcecodec.h"

#include <QByteArray>
#include <QString>

Q_DECLARE_METATYPE(SourceEncoding)

namespace {
// Every byte value once, line-break bytes included.
QByteArray EveryByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

// What a file becomes after a load and a save: every line break CR LF.
QByteArray WithCrLf(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r') {
            out.append("\r\n");
            if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
        } else if (c == '\n') {
            out.append("\r\n");
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray Bytes(const char *data, int size)
{
    return QByteArray(data, size);
}
} // namespace

class TestSourceCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<SourceEncoding>("encoding");

        QTest::newRow("empty file") << QByteArray() << QString() << SourceEncoding::Windows1252;
        QTest::newRow("plain ASCII is Windows-1252")
            << QByteArray("PRINT 1") << QStringLiteral("PRINT 1") << SourceEncoding::Windows1252;
        QTest::newRow("CR LF, lone LF and lone CR are one break each")
            << QByteArray("a\r\nb\nc\rd") << QStringLiteral("a\nb\nc\nd") << SourceEncoding::Windows1252;
        QTest::newRow("CR CR LF is two breaks")
            << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb") << SourceEncoding::Windows1252;
        QTest::newRow("LF CR is two breaks")
            << QByteArray("a\n\rb") << QStringLiteral("a\n\nb") << SourceEncoding::Windows1252;
        QTest::newRow("NUL survives") << Bytes("a\0b", 3)
                                      << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                                      << SourceEncoding::Windows1252;
        QTest::newRow("euro sign byte") << QByteArray("\x80") << QString(QChar(0x20AC)) << SourceEncoding::Windows1252;
        QTest::newRow("undefined bytes map to C1 controls")
            << QByteArray("\x81\x8D\x8F\x90\x9D") << QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")
            << SourceEncoding::Windows1252;
        QTest::newRow("Latin-1 range is itself")
            << QByteArray("\xA0\xE9\xFF") << QString::fromUtf16(u"\u00A0\u00E9\u00FF") << SourceEncoding::Windows1252;
        QTest::newRow("valid UTF-8 with a multi-byte sequence")
            << QByteArray("caf\xC3\xA9") << QString::fromUtf16(u"caf\u00E9") << SourceEncoding::Utf8;
        QTest::newRow("four-byte UTF-8") << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf16(u"\U0001F600")
                                         << SourceEncoding::Utf8;
        QTest::newRow("byte-order mark kept as the encoding")
            << QByteArray("\xEF\xBB\xBFx\r\ny") << QStringLiteral("x\ny") << SourceEncoding::Utf8Bom;
        QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF") << QString() << SourceEncoding::Utf8Bom;
        QTest::newRow("invalid UTF-8 falls back to Windows-1252")
            << QByteArray("caf\xC3(") << QString::fromUtf16(u"caf\u00C3(") << SourceEncoding::Windows1252;
        QTest::newRow("byte-order mark before invalid UTF-8")
            << QByteArray("\xEF\xBB\xBF\xE9") << QString::fromUtf16(u"\u00EF\u00BB\u00BF\u00E9")
            << SourceEncoding::Windows1252;
        QTest::newRow("overlong two-byte slash is not UTF-8")
            << QByteArray("\xC0\xAF") << QString::fromUtf16(u"\u00C0\u00AF") << SourceEncoding::Windows1252;
        QTest::newRow("overlong three-byte slash is not UTF-8")
            << QByteArray("\xE0\x80\xAF") << QString::fromUtf16(u"\u00E0\u20AC\u00AF") << SourceEncoding::Windows1252;
        QTest::newRow("overlong four-byte form is not UTF-8")
            << QByteArray("\xF0\x8F\xBF\xBF") << QString::fromUtf16(u"\u00F0\u008F\u00BF\u00BF")
            << SourceEncoding::Windows1252;
        QTest::newRow("encoded surrogate is not UTF-8")
            << QByteArray("\xED\xA0\x80") << QString::fromUtf16(u"\u00ED\u00A0\u20AC") << SourceEncoding::Windows1252;
        QTest::newRow("beyond U+10FFFF is not UTF-8")
            << QByteArray("\xF4\x90\x80\x80") << QString::fromUtf16(u"\u00F4\u0090\u20AC\u20AC")
            << SourceEncoding::Windows1252;
        QTest::newRow("sequence cut off at the end is not UTF-8")
            << QByteArray("a\xE2\x82") << QString::fromUtf16(u"a\u00E2\u201A") << SourceEncoding::Windows1252;
        QTest::newRow("stray continuation byte is not UTF-8")
            << QByteArray("a\x80z") << QString::fromUtf16(u"a\u20ACz") << SourceEncoding::Windows1252;
        QTest::newRow("UTF-16 little-endian behind its mark")
            << Bytes("\xFF\xFE"
                     "a\0\r\0\n\0\xE9\0\x3D\xD8\x00\xDE",
                     14)
            << QString::fromUtf16(u"a\n\u00E9\U0001F600") << SourceEncoding::Utf16Le;
        QTest::newRow("UTF-16 big-endian behind its mark")
            << Bytes("\xFE\xFF"
                     "\0a\0\r\0\n\x20\xAC",
                     10)
            << QString::fromUtf16(u"a\n\u20AC") << SourceEncoding::Utf16Be;
        QTest::newRow("UTF-16 mark alone") << QByteArray("\xFF\xFE") << QString() << SourceEncoding::Utf16Le;
        QTest::newRow("odd byte count is not UTF-16")
            << Bytes("\xFF\xFE"
                     "a\0b",
                     5)
            << QString::fromUtf16(u"\u00FF\u00FEa") + QChar(0) + QStringLiteral("b") << SourceEncoding::Windows1252;
        QTest::newRow("lone surrogate is not UTF-16")
            << Bytes("\xFE\xFF"
                     "\xD8\x3D\0a",
                     6)
            << QString::fromUtf16(u"\u00FE\u00FF\u00D8=") + QChar(0) + QStringLiteral("a")
            << SourceEncoding::Windows1252;
        QTest::newRow("UTF-8 paragraph separator is read byte by byte")
            << QByteArray("a\xE2\x80\xA9z") << QString::fromUtf16(u"a\u00E2\u20AC\u00A9z")
            << SourceEncoding::Windows1252;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(SourceEncoding, encoding);
        const DecodedSource decoded = DecodeSource(bytes);
        QCOMPARE(decoded.text, text);
        QCOMPARE(int(decoded.encoding), int(encoding));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        QByteArray noBreaks = EveryByte();
        noBreaks.remove(0x0D, 1);
        noBreaks.remove(0x0A, 1);
        QTest::newRow("every byte value, no line breaks") << noBreaks;
        QTest::newRow("every byte value with its line-break bytes") << EveryByte();
        QByteArray reversed;
        for (int b = 255; b >= 0; --b)
            reversed.append(char(b));
        QTest::newRow("every byte value backwards") << reversed;
        QTest::newRow("every byte value on its own line") << [] {
            QByteArray bytes;
            for (int b = 0; b < 256; ++b) {
                if (b != 0x0A && b != 0x0D)
                    bytes.append(char(b)).append("\r\n");
            }
            return bytes;
        }();
        QTest::newRow("mixed line breaks") << QByteArray("one\r\ntwo\nthree\rfour\r\n\r\n");
        QTest::newRow("NUL bytes") << Bytes("\0a\0\0b\0", 6);
        QTest::newRow("control bytes") << QByteArray("\x01\x07\x08\x09\x0B\x0C\x1A\x1B\x7F");
        QTest::newRow("no final line break") << QByteArray("PRINT 1\r\nEND");
        QTest::newRow("final line break") << QByteArray("PRINT 1\r\nEND\r\n");
        QTest::newRow("only line breaks") << QByteArray("\r\n\r\n\r\n");
        QTest::newRow("UTF-8 without byte-order mark") << QByteArray("' caf\xC3\xA9 \xE2\x82\xAC\r\nx");
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF' caf\xC3\xA9\r\n");
        QTest::newRow("UTF-8 no-break space and line separator") << QByteArray("a\xC2\xA0"
                                                                               "b\xE2\x80\xA8"
                                                                               "c");
        QTest::newRow("UTF-8 with NUL") << Bytes("\xC3\xA9\0\xC3\xA9", 5);
        QTest::newRow("byte-order mark before Windows-1252 text") << QByteArray("\xEF\xBB\xBF\xE9\xE8");
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        const DecodedSource decoded = DecodeSource(bytes);
        QByteArray written;
        QVERIFY(EncodeSource(decoded.text, decoded.encoding, &written));
        QCOMPARE(written, WithCrLf(bytes));
    }

    // A file's line break is kept byte for byte; one that mixes them is written with CR LF.
    void lineBreaksKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("LF") << QByteArray("a\nb\n\nc") << "LF" << QByteArray("a\nb\n\nc");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "CRLF" << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR") << QByteArray("a\rb\r") << "CR" << QByteArray("a\rb\r");
        QTest::newRow("UTF-8, LF") << QByteArray("caf\xC3\xA9\nx\n") << "LF" << QByteArray("caf\xC3\xA9\nx\n");
        QTest::newRow("UTF-16, LF") << Bytes("\xFF\xFE"
                                             "a\0\n\0b\0",
                                             8)
                                    << "LF"
                                    << Bytes("\xFF\xFE"
                                             "a\0\n\0b\0",
                                             8);
        QTest::newRow("mixed") << QByteArray("a\nb\r\nc\rd") << "CRLF" << QByteArray("a\r\nb\r\nc\r\nd");
        QTest::newRow("none") << QByteArray("a") << "CRLF" << QByteArray("a");
    }
    void lineBreaksKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        const DecodedSource decoded = DecodeSource(bytes);
        QCOMPARE(LineBreakName(decoded.lineBreak), name);
        QByteArray encoded;
        QVERIFY(EncodeSource(decoded.text, decoded.encoding, &encoded, nullptr, decoded.lineBreak));
        QCOMPARE(encoded, written);
    }

    void everyWindows1252CharacterHasItsByte()
    {
        for (int b = 0; b < 256; ++b)
            QCOMPARE(UnicodeToWindows1252(Windows1252ToUnicode(uchar(b))), b);
    }

    void encodeLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("LF") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
        QTest::newRow("paragraph separator") << QString::fromUtf16(u"a\u2029b") << QByteArray("a\r\nb");
        QTest::newRow("CR LF stays one break") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QByteArray("a\r\nb");
        QTest::newRow("nothing added at the end") << QStringLiteral("a") << QByteArray("a");
        QTest::newRow("trailing break kept") << QStringLiteral("a\n") << QByteArray("a\r\n");
    }

    void encodeLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QByteArray written;
        QVERIFY(EncodeSource(text, SourceEncoding::Windows1252, &written));
        QCOMPARE(written, bytes);
    }

    void unencodableIsReported_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<SourceEncoding>("encoding");
        QTest::addColumn<int>("badIndex");

        QTest::newRow("Latin Extended-A in Windows-1252")
            << QString::fromUtf16(u"ab\u0100c") << SourceEncoding::Windows1252 << 2;
        QTest::newRow("U+0080 has no byte in Windows-1252")
            << QString::fromUtf16(u"\u0080") << SourceEncoding::Windows1252 << 0;
        QTest::newRow("emoji in Windows-1252 after a line break")
            << QString::fromUtf16(u"x\ny\U0001F600") << SourceEncoding::Windows1252 << 3;
        QTest::newRow("lone high surrogate in UTF-8")
            << (QStringLiteral("ok") + QChar(0xD800) + QStringLiteral("z")) << SourceEncoding::Utf8 << 2;
        QTest::newRow("lone high surrogate at the end in UTF-16")
            << (QStringLiteral("ok") + QChar(0xD800)) << SourceEncoding::Utf16Be << 2;
        QTest::newRow("lone low surrogate in UTF-8 with byte-order mark")
            << (QString(QChar(0xDC00)) + QStringLiteral("z")) << SourceEncoding::Utf8Bom << 0;
    }

    void unencodableIsReported()
    {
        QFETCH(QString, text);
        QFETCH(SourceEncoding, encoding);
        QFETCH(int, badIndex);
        QByteArray written("untouched");
        int index = -1;
        QVERIFY(!EncodeSource(text, encoding, &written, &index));
        QCOMPARE(index, badIndex);
        QCOMPARE(written, QByteArray("untouched"));
    }

    void firstLineLongerThan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("all within") << "abc\nabcd\n" << 0;
        QTest::newRow("first line") << "abcde\nab" << 1;
        QTest::newRow("last line without a break") << "ab\nabc\nabcde" << 3;
        QTest::newRow("the break is not counted") << "abcd\n" << 0;
    }

    void firstLineLongerThan()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QCOMPARE(FirstLineLongerThan(text, 4), line);
    }

    void utf8HoldsWhatWindows1252CannotHold()
    {
        QByteArray written;
        QVERIFY(EncodeSource(QString::fromUtf16(u"\u0100\U0001F600"), SourceEncoding::Utf8, &written));
        QCOMPARE(written, QByteArray("\xC4\x80\xF0\x9F\x98\x80"));
    }
};

QBE_TEST_MAIN(TestSourceCodec)
#include "tst_sourcecodec.moc"
