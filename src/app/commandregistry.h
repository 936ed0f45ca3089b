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
    int id = 0;
    QString text;             // menu text with its mnemonic
    QString documentMenuText; // another text in the document menu, where it differs
    QString keyText;          // shown after the text in menus (Link shows "F9" without binding it)
    QList<QKeySequence> keys; // window-wide shortcuts
    QString prompt;           // the status bar's text while the item is highlighted
    QString toolTip;
    QString image; // toolbar image name; empty for no button
    bool needsDocument = false;
    std::function<void(const CommandTarget &)> run; // empty: the command only takes its keys
    // Whether the command can act now, beyond needing a document; empty: always.
    std::function<bool(const CommandTarget &)> enabled = {};
};

namespace CommandRegistry {

const QList<CommandDescription> &Commands();
const CommandDescription *Find(int id);

// In a menu layout, a separator; the recent files take the place of ID_FILE_MRU_FILE1.
inline constexpr int kSeparator = 0;

struct MenuLayout
{
    QString title;
    QList<int> items;
};
// The menu bar without a document, and the one while a document window is active.
const QList<MenuLayout> &NoDocumentMenus();
const QList<MenuLayout> &DocumentMenus();
// The toolbar's buttons in order, with separators.
const QList<int> &ToolBarButtons();

} // namespace CommandRegistry
