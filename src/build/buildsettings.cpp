// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildsettings.h"

#include "core/settingsnames.h"
#include "core/settingsstore.h"

BuildSettings BuildSettings::Load(const CSettingsStore &store)
{
    BuildSettings settings;
    settings.compiler = store.ReadString(QString(), SettingsNames::kCompiler);
    settings.linker = store.ReadString(QString(), SettingsNames::kLinker);
    settings.emulator = store.ReadString(QString(), SettingsNames::kEmulator);
    settings.multiBoot = store.ReadInt(QString(), SettingsNames::kMultiBoot) != 0;
    settings.debug = store.ReadInt(QString(), SettingsNames::kDebug) != 0;
    settings.linkerArguments = store.ReadString(QString(), SettingsNames::kCommandLine);
    return settings;
}

void BuildSettings::Save(CSettingsStore &store) const
{
    store.WriteValues({{QString(), SettingsNames::kCompiler, compiler},
                       {QString(), SettingsNames::kLinker, linker},
                       {QString(), SettingsNames::kEmulator, emulator},
                       {QString(), SettingsNames::kMultiBoot, QString::number(multiBoot ? 1 : 0)},
                       {QString(), SettingsNames::kDebug, QString::number(debug ? 1 : 0)}});
}

void BuildSettings::SaveLinkerArguments(CSettingsStore &store) const
{
    store.WriteString(linkerArguments, QString(), SettingsNames::kCommandLine);
}

LogWindowSize LogWindowSize::Load(const CSettingsStore &store)
{
    return {QSize(store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogWidth),
                  store.ReadInt(SettingsNames::kLogSection, SettingsNames::kLogHeight))};
}

void LogWindowSize::Save(CSettingsStore &store) const
{
    store.WriteInts(SettingsNames::kLogSection,
                    {{SettingsNames::kLogWidth, size.width()}, {SettingsNames::kLogHeight, size.height()}});
}
