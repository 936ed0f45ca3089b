// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

class CSettingsStore;

// How the text is shown and edited: the zoom, in steps from the normal size,
// and whether Enter keeps the indentation of the line it splits.
struct EditorSettings
{
    int zoom = 0;
    bool autoIndent = true;

    // An unset or empty auto-indent value counts as on.
    static EditorSettings Load(const CSettingsStore &store);
    // The zoom alone: auto-indent is only ever set by hand in the store.
    void SaveZoom(CSettingsStore &store) const;
};
