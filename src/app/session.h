// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/limit.h"

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// What the editor keeps of a run for the next one: the main window's place,
// the files that were open and where their carets stood, and the caret lines
// of the recent files. All of it lives in the settings store, in sections of
// its own; the session is written as it changes, so a crash keeps it.
namespace Session {

// A file of the session: its path, caret line and first line shown, from 1.
struct File
{
    QString path;
    int line = 1;
    int top = 1;
    bool operator==(const File &other) const { return path == other.path && line == other.line && top == other.top; }
};

struct Files
{
    QList<File> files; // in their window order
    int active = -1;   // the index of the active one
    bool operator==(const Files &other) const { return files == other.files && active == other.active; }
};

// Whether a plain start reopens the last session ("Session", "Restore"; on by default).
bool RestoreOn();
// What RestoreOn answers while nothing is stored. Tests set it off, so that
// each start of theirs begins with no file unless the test asks for more.
extern CLimit<bool> s_restoreByDefault;
Files ReadFiles();
void WriteFiles(const Files &session);

// The main window's frame position, its inner size and whether it was maximised.
struct WindowPlace
{
    QRect rect;
    bool maximized = false;
};
std::optional<WindowPlace> ReadWindowPlace();
void WriteWindowPlace(const WindowPlace &place);

// wanted moved and, where it must be, shrunk to lie inside available.
QRect FitInside(const QRect &wanted, const QRect &available);

// The caret line last seen in a recent file; 0 when none is known.
int RecentLine(const QString &path);
// Keeps the caret lines of files, beside those kept for the others in
// recent; the lines of files no longer recent go.
void RememberRecentLines(const QStringList &recent, const QList<File> &files);

} // namespace Session
