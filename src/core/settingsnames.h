// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The names under which the program keeps its settings. Sections are groups
// of the settings store; the empty section is its root.
namespace SettingsNames {

// The store itself: $XDG_CONFIG_HOME/TRZ.ini, or HKEY_CURRENT_USER\Software\TRZ.
inline const QString kOrganisation = QStringLiteral("TRZ");
inline const QString kRootPath = QStringLiteral("Software\\") + kOrganisation;

// Root values: the build options and the linker's argument template.
inline const QString kCompiler = QStringLiteral("Compiler");
inline const QString kLinker = QStringLiteral("Linker");
inline const QString kEmulator = QStringLiteral("Emulator");
inline const QString kMultiBoot = QStringLiteral("Multi-boot");
inline const QString kDebug = QStringLiteral("Debug");
inline const QString kCommandLine = QStringLiteral("Command Line");

// The help file's path is the unnamed value of its section.
inline const QString kHelpSection = QStringLiteral("Help");

inline const QString kLogSection = QStringLiteral("Log");
inline const QString kLogWidth = QStringLiteral("SizeX");
inline const QString kLogHeight = QStringLiteral("SizeY");

inline const QString kWizardSection = QStringLiteral("Wizard");
inline const QString kWizardName = QStringLiteral("Name");
inline const QString kWizardPath = QStringLiteral("Path");
inline const QString kWizardOpen = QStringLiteral("Open");

// The editor's view of the text: its zoom, in steps from the normal size.
inline const QString kViewSection = QStringLiteral("View");
inline const QString kViewZoom = QStringLiteral("Zoom");

// Editing: whether Enter keeps the indentation of the line it splits (1, the default, or 0).
inline const QString kEditorSection = QStringLiteral("Editor");
inline const QString kAutoIndent = QStringLiteral("AutoIndent");

// The second profile, kept apart from the store: the recent files and the
// print preview's page count.
inline const QString kProfileOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
inline const QString kRecentFileGroup = QStringLiteral("Recent File List");
inline const QString kRecentFileEntry = QStringLiteral("File%1");
inline const QString kPreviewPages = QStringLiteral("Settings/PreviewPages");

} // namespace SettingsNames
