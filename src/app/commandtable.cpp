// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/commandtable.h"

#include "app/commandids.h"

#include <QHash>

namespace CommandTable {

namespace {

QList<MenuItem> HelpItems(const char *aboutText)
{
    return {
        {ID_HELP_HOMEPAGE, "Quarn BASIC &Homepage..."},
        {ID_HELP_INDEX, "Quarn BASIC Help &Index...\tF1"},
        {0, nullptr},
        {ID_HELP_FORUMS, "&Chat in the forums...\tF12"},
        {0, nullptr},
        {ID_APP_ABOUT, aboutText},
    };
}

} // namespace

QList<Menu> NoDocumentMenu()
{
    return {
        {"&File",
         {
             {ID_FILE_NEW, "&New\tCtrl+N"},
             {ID_FILE_OPEN, "&Open...\tCtrl+O"},
             {0, nullptr},
             {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
             {0, nullptr},
             {ID_FILE_MRU_FILE1, "Recent File"},
             {0, nullptr},
             {ID_FILE_CLOSE, "&Close"},
             {ID_APP_EXIT, "E&xit"},
         }},
        {"&Help", HelpItems("&About Quarn BASIC Editor...")},
    };
}

QList<Menu> DocumentMenu()
{
    return {
        {"&File",
         {
             {ID_FILE_NEW, "&New\tCtrl+N"},
             {ID_FILE_OPEN, "&Open...\tCtrl+O"},
             {ID_FILE_CLOSE, "&Close"},
             {ID_FILE_SAVE, "&Save\tCtrl+S"},
             {ID_FILE_SAVE_AS, "Save &As..."},
             {0, nullptr},
             {ID_FILE_PRINT, "&Print...\tCtrl+P"},
             {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
             {0, nullptr},
             {ID_FILE_MRU_FILE1, "Recent File"},
             {0, nullptr},
             {ID_APP_EXIT, "E&xit"},
         }},
        {"&Edit",
         {
             {ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
             {0, nullptr},
             {ID_EDIT_CUT, "Cu&t\tCtrl+X"},
             {ID_EDIT_COPY, "&Copy\tCtrl+C"},
             {ID_EDIT_PASTE, "&Paste\tCtrl+V"},
             {ID_EDIT_SELECT_ALL, "Select A&ll\tCtrl+A"},
             {0, nullptr},
             {ID_EDIT_FIND, "&Find...\tCtrl+F"},
             {ID_EDIT_REPEAT, "F&ind Next\tF3"},
             {ID_EDIT_REPLACE, "R&eplace\tCtrl+H"},
         }},
        {"Build",
         {
             {ID_BUILD_COMPILE, "&Compile\tF7"},
             {ID_BUILD_RUN, "&Run\tF5"},
             {0, nullptr},
             {ID_BUILD_LINK, "&Link\tF9"},
             {0, nullptr},
             {ID_BUILD_OPTIONS, "Options..."},
         }},
        {"&Window",
         {
             {ID_WINDOW_NEW, "&New Window"},
             {ID_WINDOW_CASCADE, "&Cascade"},
             {ID_WINDOW_TILE_HORZ, "&Tile"},
             {ID_WINDOW_ARRANGE, "&Arrange Icons"},
         }},
        {"&Help", HelpItems("About Quarn BASIC...")},
    };
}

QList<Accelerator> Accelerators()
{
    // There is no F9 here: the Link item only shows the key.
    return {
        {QKeySequence(Qt::Key_F7), ID_BUILD_COMPILE},
        {QKeySequence(Qt::Key_F5), ID_BUILD_RUN},
        {QKeySequence(Qt::Key_Escape), ID_CANCEL_KEY},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_F), ID_EDIT_FIND},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::Key_F3), ID_EDIT_REPEAT},
        {QKeySequence(Qt::CTRL | Qt::Key_H), ID_EDIT_REPLACE},
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_EDIT_SELECT_ALL},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::Key_F1), ID_HELP_INDEX},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::ALT | Qt::Key_Return), ID_OLE_EDIT_PROPERTIES},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        {QKeySequence(Qt::Key_F12), ID_HELP_FORUMS},
    };
}

QList<int> ToolBarButtons()
{
    return {ID_FILE_NEW,    ID_FILE_OPEN,  ID_FILE_SAVE,     0, ID_EDIT_FIND,     0,
            ID_BUILD_OPTIONS, 0,           ID_BUILD_COMPILE, ID_BUILD_RUN,     0, ID_BUILD_LINK,
            0,              ID_HELP_HOMEPAGE, ID_HELP_FORUMS, ID_HELP_INDEX,   0, ID_APP_ABOUT};
}

QString Prompt(int id)
{
    static const QHash<int, QString> prompts = {
        {ID_FILE_NEW, QStringLiteral("Create a new Quarn BASIC Code file\nNew")},
        {ID_FILE_OPEN, QStringLiteral("Open an existing source code file\nOpen")},
        {ID_FILE_CLOSE, QStringLiteral("Close the active source file\nClose")},
        {ID_FILE_SAVE, QStringLiteral("Save the active source file\nSave")},
        {ID_FILE_SAVE_AS, QStringLiteral("Save the active source file with a new name\nSave As")},
        {ID_FILE_PRINT_SETUP, QStringLiteral("Change the printer and printing options\nPrint Setup")},
        {ID_FILE_PRINT, QStringLiteral("Print the active source file\nPrint")},
        {ID_FILE_PRINT_PREVIEW, QStringLiteral("Display full pages\nPrint Preview")},
        {ID_FILE_MRU_FILE1, QStringLiteral("Open this document")},
        {ID_FILE_MRU_FILE2, QStringLiteral("Open this document")},
        {ID_FILE_MRU_FILE3, QStringLiteral("Open this document")},
        {ID_FILE_MRU_FILE4, QStringLiteral("Open this document")},
        {ID_APP_EXIT, QStringLiteral("Quit Quarn BASIC Editor\nExit")},
        {ID_BUILD_COMPILE, QStringLiteral("Save and compile the active source file\nCompile F7")},
        {ID_BUILD_RUN, QStringLiteral("Run last compile in an emulator\nRun F5")},
        {ID_BUILD_LINK,
         QStringLiteral("Runs the binary on hardware through flash linker or multiboot cable\nLink F9")},
        {ID_BUILD_OPTIONS, QStringLiteral("Change the current build options\nOptions")},
        {ID_HELP_HOMEPAGE, QStringLiteral("Go to the official Quarn BASIC webpage\nHome")},
        {ID_HELP_INDEX, QStringLiteral("Open the Quarn BASIC API documentation online\nHelp")},
        {ID_HELP_FORUMS, QStringLiteral("Chat online in the official forums\nChat")},
        {ID_APP_ABOUT, QStringLiteral("View program version and copyright information\nAbout")},
        // The framework's usual texts for the edit and window commands.
        {ID_EDIT_UNDO, QStringLiteral("Undo the last action\nUndo")},
        {ID_EDIT_CUT, QStringLiteral("Cut the selection and put it on the Clipboard\nCut")},
        {ID_EDIT_COPY, QStringLiteral("Copy the selection and put it on the Clipboard\nCopy")},
        {ID_EDIT_PASTE, QStringLiteral("Insert Clipboard contents\nPaste")},
        {ID_EDIT_SELECT_ALL, QStringLiteral("Select the entire document\nSelect All")},
        {ID_EDIT_FIND, QStringLiteral("Find the specified text\nFind")},
        {ID_EDIT_REPEAT, QStringLiteral("Repeat the last action\nRepeat")},
        {ID_EDIT_REPLACE, QStringLiteral("Replace specific text with different text\nReplace")},
        {ID_WINDOW_NEW, QStringLiteral("Open another window for the active document\nNew Window")},
        {ID_WINDOW_CASCADE, QStringLiteral("Arrange windows so they overlap\nCascade Windows")},
        {ID_WINDOW_TILE_HORZ, QStringLiteral("Arrange windows as non-overlapping tiles\nTile Windows")},
        {ID_WINDOW_ARRANGE, QStringLiteral("Arrange icons at the bottom of the window\nArrange Icons")},
    };
    return prompts.value(id);
}

QString StatusTip(int id)
{
    return Prompt(id).section(QLatin1Char('\n'), 0, 0);
}

QString ToolTip(int id)
{
    return Prompt(id).section(QLatin1Char('\n'), 1, 1);
}

QString ToolBarImage(int id)
{
    static const QHash<int, QString> images = {
        {ID_FILE_NEW, QStringLiteral("new")},          {ID_FILE_OPEN, QStringLiteral("open")},
        {ID_FILE_SAVE, QStringLiteral("save")},        {ID_EDIT_FIND, QStringLiteral("find")},
        {ID_BUILD_OPTIONS, QStringLiteral("options")}, {ID_BUILD_COMPILE, QStringLiteral("compile")},
        {ID_BUILD_RUN, QStringLiteral("run")},         {ID_BUILD_LINK, QStringLiteral("link")},
        {ID_HELP_HOMEPAGE, QStringLiteral("home")},    {ID_HELP_FORUMS, QStringLiteral("forums")},
        {ID_HELP_INDEX, QStringLiteral("help")},       {ID_APP_ABOUT, QStringLiteral("about")},
    };
    const QString name = images.value(id);
    return name.isEmpty() ? QString() : QStringLiteral(":/res/toolbar/%1.png").arg(name);
}

bool NeedsDocument(int id)
{
    switch (id) {
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_PRINT:
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_FIND:
    case ID_EDIT_REPEAT:
    case ID_EDIT_REPLACE:
    case ID_BUILD_COMPILE:
    case ID_BUILD_RUN:
    case ID_BUILD_LINK:
    case ID_WINDOW_NEW:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE:
        return true;
    default:
        return false;
    }
}

} // namespace CommandTable
