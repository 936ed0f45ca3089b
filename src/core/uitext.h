// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include <utility>

// A text the user reads, defined once where it lives and translated where it
// is shown, in the language the program was started in. Define one as
//   const UiText kText{"Context", QT_TRANSLATE_NOOP("Context", "The words")};
// so that lupdate finds the words for the translation template.
class UiText
{
public:
    constexpr UiText(const char *context, const char *source) : m_context(context), m_source(source) {}

    QString Text() const { return QCoreApplication::translate(m_context, m_source); }
    operator QString() const { return Text(); } // NOLINT: a text is shown where a string is

    template<typename... Args>
    QString arg(Args &&...args) const
    {
        return Text().arg(std::forward<Args>(args)...);
    }

private:
    const char *m_context;
    const char *m_source;
};
