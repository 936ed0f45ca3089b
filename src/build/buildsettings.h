// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>

class CSettingsStore;

// What Compile, Run and Link are run with: the three programs' paths, the
// compiler's two flags and the linker's argument template (with %p, %f, %b
// and %m). Build Options edit a copy; the build commands take the values.
struct BuildSettings
{
    QString compiler;
    QString linker;
    QString emulator;
    bool multiBoot = false;
    bool debug = false;
    QString linkerArguments;

    static BuildSettings Load(const CSettingsStore &store);
    // The programs and flags, all five, as Build Options' OK stores them.
    void Save(CSettingsStore &store) const;
    // The template alone, as the Command Line dialog's OK stores it at once.
    void SaveLinkerArguments(CSettingsStore &store) const;
};

// The size the log window was last given; a side of 0 is not set.
struct LogWindowSize
{
    QSize size;

    static LogWindowSize Load(const CSettingsStore &store);
    void Save(CSettingsStore &store) const;
};
