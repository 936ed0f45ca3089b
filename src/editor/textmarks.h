// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

// What a mark in the text tells of: a compiler's error, warning or note.
enum class MarkKind { Error, Warning, Note };
