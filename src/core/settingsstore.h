// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/settingsnames.h"

#include <QList>
#include <QString>

#include <cstdint>

class QSettings;

// Writes settings out such that nobody else may change them, whatever the
// umask: the folders made for them are the user's alone, and the file is
// writable by the user only. Settings name the programs a build runs.
void SyncPrivately(QSettings &settings);

// The program's own per-user settings: sections below one root, every value
// text, integers as decimal text. Construct one where a setting is read or
// written and let it go out of scope. Nothing of it is reported, but that the
// settings cannot be written at all: that is said once a run.
//
// On Linux and macOS the values live in $XDG_CONFIG_HOME/TRZ.ini (section ""
// is the general group, the unnamed value of a section is the key "Default");
// on Windows in the registry below HKEY_CURRENT_USER\Software\TRZ.
class CSettingsStore
{
public:
    explicit CSettingsStore(const QString &rootPath = SettingsNames::kRootPath);

    // A value to write: where it goes and its text.
    struct Value
    {
        QString section;
        QString name;
        QString text;
    };
    // Writes values in one pass over the store; a text longer than
    // MaxValueLength is not written, the others are.
    void WriteValues(const QList<Value> &values);
    void WriteString(const QString &value, const QString &section, const QString &name);
    QString ReadString(const QString &section, const QString &name) const;
    void WriteInt(int32_t value, const QString &section, const QString &name);
    // Several integers of one section, the store opened once.
    void WriteInts(const QString &section, const QList<std::pair<QString, int32_t>> &values);
    int32_t ReadInt(const QString &section, const QString &name) const;

    // Longest text a value can hold. A longer write is refused: nothing is
    // written and the value stored before stays. A longer stored text reads empty.
    static constexpr int MaxValueLength = 2047;

    // The text-to-integer rule of ReadInt: leading white space, an optional
    // sign, decimal digits up to the first other character; no digits give 0.
    // Values out of range saturate.
    static int32_t ParseInt(const QString &text);

    // The key of a value inside the backing store.
    static QString KeyFor(const QString &section, const QString &name);

private:
    static QString s_strRootPath;
};
