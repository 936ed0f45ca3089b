// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

// A limit or interval of the program that tests may set smaller, so that they
// need not wait on the real one. The program runs with the value it is made
// with and never sets another.
template<typename T>
class CLimit
{
public:
    constexpr explicit CLimit(T value) : m_value(value) {}

    T Value() const { return m_value; }
    void SetForTests(T value) { m_value = value; }

private:
    T m_value;
};
