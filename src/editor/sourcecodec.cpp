// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/sourcecodec.h"

DecodedSource DecodeSource(const QByteArray &bytes)
{
    DecodedSource result;
    QString text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    result.text = text;
    return result;
}

bool EncodeSource(const QString &text, SourceEncoding, QByteArray *bytes, int *)
{
    QString out = text;
    out.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    *bytes = out.toLatin1();
    return true;
}
