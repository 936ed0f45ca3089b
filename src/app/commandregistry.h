// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/commandids.h"

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class CEditorApp;
class CMainFrame;
class CRichSyntaxDoc;
class CRichSyntaxView;

// What a command acts on: the application, its main window, and the active
// document window's document and view (null when no document window is active).
struct CommandTarget
{
    CEditorApp *app = nullptr;
    CMainFrame *frame = nullptr;
    CRichSyntaxDoc *doc = nullptr;
    CRichSyntaxView *view = nullptr;
};

// One command of the program. The main window makes one action of it, which
// menus, toolbar and keys share, and connects the action to run.
struct CommandDescription
{
    CommandId id{};
    QString text;             // menu text with its mnemonic
    QString documentMenuText; // another text in the document menu, where it differs
    QString keyText;          // shown after the text in menus (Link shows "F9" without binding it)
    QList<QKeySequence> keys; // window-wide shortcuts
    QString prompt;           // the status bar's text while the item is highlighted
    QString toolTip;
    QString image; // toolbar image name; empty for no button
    bool needsDocument = false;
    std::function<void(const CommandTarget &)> run;
    // Whether the command can act now, beyond needing a document; empty: always.
    std::function<bool(const CommandTarget &)> enabled = {};
};

namespace CommandRegistry {

const QList<CommandDescription> &Commands();
const CommandDescription *Find(CommandId id);

// The recent files' entries (as many as CRecentFileList::kSize), "Open this
// document" each; their texts are the files' names.
CommandDescription RecentFile(int index);

// Keys the main window takes so that they do nothing anywhere in it: Escape
// never reaches the text, and the pane and property keys have nothing to act on.
const QList<QKeySequence> &InertKeys();

// One entry of a menu or of the toolbar.
struct MenuItem
{
    enum class Kind { Command, Separator, RecentFiles, WindowList };

    Kind kind = Kind::Separator;
    CommandId command{};

    MenuItem(CommandId id) : kind(Kind::Command), command(id) {} // NOLINT: a command is an entry
    constexpr MenuItem(Kind what) : kind(what) {}                // NOLINT: so is a separator or a list
};
// A separator; the recent files, with a grey "Recent File" while there are
// none; the open document windows, each with its number, the active one ticked.
inline const MenuItem kSeparator{MenuItem::Kind::Separator};
inline const MenuItem kRecentFiles{MenuItem::Kind::RecentFiles};
inline const MenuItem kWindowList{MenuItem::Kind::WindowList};

struct MenuLayout
{
    QString title;
    QList<MenuItem> items;
};
// The menu bar without a document, and the one while a document window is active.
const QList<MenuLayout> &NoDocumentMenus();
const QList<MenuLayout> &DocumentMenus();
// The toolbar's buttons in order, with separators.
const QList<MenuItem> &ToolBarButtons();

} // namespace CommandRegistry
