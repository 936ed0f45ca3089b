// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/editorsettings.h"

#include "core/settingsnames.h"
#include "core/settingsstore.h"

EditorSettings EditorSettings::Load(const CSettingsStore &store)
{
    EditorSettings settings;
    settings.zoom = store.ReadInt(SettingsNames::kViewSection, SettingsNames::kViewZoom);
    const QString autoIndent = store.ReadString(SettingsNames::kEditorSection, SettingsNames::kAutoIndent);
    settings.autoIndent = autoIndent.isEmpty() || CSettingsStore::ParseInt(autoIndent) != 0;
    return settings;
}

void EditorSettings::SaveZoom(CSettingsStore &store) const
{
    store.WriteInt(zoom, SettingsNames::kViewSection, SettingsNames::kViewZoom);
}
