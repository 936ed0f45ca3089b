// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// What the menus, the toolbar and the shortcuts are made of. Plain tables, so
// tests can compare them with what the windows show.
namespace CommandTable {

// A menu item: its command id and text; id 0 is a separator. The text after a
// tab is the shortcut as the menu shows it.
struct MenuItem
{
    int id;
    const char *text;
};

struct Menu
{
    const char *title;
    QList<MenuItem> items;
};

// Menu 128 (no document open) and menu 129 (a document active). The recent-file
// entries take the place of ID_FILE_MRU_FILE1.
QList<Menu> NoDocumentMenu();
QList<Menu> DocumentMenu();

// The window-wide shortcuts and the commands they reach.
struct Accelerator
{
    QKeySequence key;
    int id;
};
QList<Accelerator> Accelerators();

// Toolbar buttons in order; 0 is a separator.
QList<int> ToolBarButtons();

// Status-bar prompt and tooltip of a command ("prompt\ntooltip").
QString Prompt(int id);
QString StatusTip(int id);
QString ToolTip(int id);

// Image of a command's toolbar button in the resources.
QString ToolBarImage(int id);

// Commands that need an active document.
bool NeedsDocument(int id);

} // namespace CommandTable
