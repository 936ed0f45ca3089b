// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/commandregistry.h"

#include "app/doctemplate.h"
#include "app/editorapp.h"
#include "app/mainframe.h"
#include "build/buildcommands.h"
#include "editor/editorzoom.h"
#include "editor/findreplace.h"
#include "editor/navigation.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QMdiArea>

namespace CommandRegistry {

namespace {

using Key = QKeySequence;
const QString kOpenRecent = QStringLiteral("Open this document");

bool HasSelection(const CommandTarget &t)
{
    return t.view->textCursor().hasSelection();
}

QList<CommandDescription> MakeCommands()
{
    // One row a command, laid out by hand.
    // clang-format off
    QList<CommandDescription> commands = {
        // File
        {ID_FILE_NEW, QStringLiteral("&New"), {}, QStringLiteral("Ctrl+N"), {Key(Qt::CTRL | Qt::Key_N)},
         QStringLiteral("Create a new Quarn BASIC Code file"), QStringLiteral("New"), QStringLiteral("new"), false,
         [](const CommandTarget &t) { t.app->OnFileNew(); }},
        {ID_FILE_OPEN, QStringLiteral("&Open..."), {}, QStringLiteral("Ctrl+O"), {Key(Qt::CTRL | Qt::Key_O)},
         QStringLiteral("Open an existing source code file"), QStringLiteral("Open"), QStringLiteral("open"), false,
         [](const CommandTarget &t) { t.app->OnFileOpen(); }},
        {ID_FILE_CLOSE, QStringLiteral("&Close"), {}, {}, {}, QStringLiteral("Close the active source file"),
         QStringLiteral("Close"), {}, true, [](const CommandTarget &t) { t.frame->OnFileClose(*t.doc); }},
        {ID_FILE_SAVE, QStringLiteral("&Save"), {}, QStringLiteral("Ctrl+S"), {Key(Qt::CTRL | Qt::Key_S)},
         QStringLiteral("Save the active source file"), QStringLiteral("Save"), QStringLiteral("save"), true,
         [](const CommandTarget &t) { t.doc->DoFileSave(); }},
        {ID_FILE_SAVE_AS, QStringLiteral("Save &As..."), {}, {}, {},
         QStringLiteral("Save the active source file with a new name"), QStringLiteral("Save As"), {}, true,
         [](const CommandTarget &t) { t.doc->DoSave(QString()); }},
        {ID_FILE_PRINT, QStringLiteral("&Print..."), {}, QStringLiteral("Ctrl+P"), {Key(Qt::CTRL | Qt::Key_P)},
         QStringLiteral("Print the active source file"), QStringLiteral("Print"), {}, true,
         [](const CommandTarget &t) { t.view->OnFilePrint(); }},
        {ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."), {}, {}, {},
         QStringLiteral("Change the printer and printing options"), QStringLiteral("Print Setup"), {}, false,
         [](const CommandTarget &t) { t.app->OnFilePrintSetup(); }},
        {ID_APP_EXIT, QStringLiteral("E&xit"), {}, {}, {}, QStringLiteral("Quit Quarn BASIC Editor"),
         QStringLiteral("Exit"), {}, false, [](const CommandTarget &t) { t.frame->close(); }},

        // Edit
        {ID_EDIT_UNDO, QStringLiteral("&Undo"), {}, QStringLiteral("Ctrl+Z"),
         {Key(Qt::CTRL | Qt::Key_Z), Key(Qt::ALT | Qt::Key_Backspace)}, QStringLiteral("Undo the last action"),
         QStringLiteral("Undo"), {}, true, [](const CommandTarget &t) { t.view->OnEditUndo(); },
         [](const CommandTarget &t) { return t.view->document()->isUndoAvailable(); }},
        {ID_EDIT_CUT, QStringLiteral("Cu&t"), {}, QStringLiteral("Ctrl+X"),
         {Key(Qt::CTRL | Qt::Key_X), Key(Qt::SHIFT | Qt::Key_Delete)},
         QStringLiteral("Cut the selection and put it on the Clipboard"), QStringLiteral("Cut"), {}, true,
         [](const CommandTarget &t) { t.view->OnEditCut(); }, HasSelection},
        {ID_EDIT_COPY, QStringLiteral("&Copy"), {}, QStringLiteral("Ctrl+C"),
         {Key(Qt::CTRL | Qt::Key_C), Key(Qt::CTRL | Qt::Key_Insert)},
         QStringLiteral("Copy the selection and put it on the Clipboard"), QStringLiteral("Copy"), {}, true,
         [](const CommandTarget &t) { t.view->OnEditCopy(); }, HasSelection},
        {ID_EDIT_PASTE, QStringLiteral("&Paste"), {}, QStringLiteral("Ctrl+V"),
         {Key(Qt::CTRL | Qt::Key_V), Key(Qt::SHIFT | Qt::Key_Insert)}, QStringLiteral("Insert Clipboard contents"),
         QStringLiteral("Paste"), {}, true, [](const CommandTarget &t) { t.view->OnEditPaste(); },
         [](const CommandTarget &t) { return t.view->canPaste(); }},
        {ID_EDIT_SELECT_ALL, QStringLiteral("Select A&ll"), {}, QStringLiteral("Ctrl+A"), {Key(Qt::CTRL | Qt::Key_A)},
         QStringLiteral("Select the entire document"), QStringLiteral("Select All"), {}, true,
         [](const CommandTarget &t) { t.view->OnEditSelectAll(); }},
        {ID_EDIT_FIND, QStringLiteral("&Find..."), {}, QStringLiteral("Ctrl+F"), {Key(Qt::CTRL | Qt::Key_F)},
         QStringLiteral("Find the specified text"), QStringLiteral("Find"), QStringLiteral("find"), true,
         [](const CommandTarget &t) { t.frame->FindReplace()->OnEditFind(); }},
        {ID_EDIT_REPEAT, QStringLiteral("F&ind Next"), {}, QStringLiteral("F3"), {Key(Qt::Key_F3)},
         QStringLiteral("Repeat the last action"), QStringLiteral("Repeat"), {}, true,
         [](const CommandTarget &t) { t.frame->FindReplace()->OnEditRepeat(); }},
        {ID_EDIT_REPLACE, QStringLiteral("R&eplace"), {}, QStringLiteral("Ctrl+H"), {Key(Qt::CTRL | Qt::Key_H)},
         QStringLiteral("Replace specific text with different text"), QStringLiteral("Replace"), {}, true,
         [](const CommandTarget &t) { t.frame->FindReplace()->OnEditReplace(); }},

        // Edit, beyond the classic commands
        {ID_EDIT_REDO, QStringLiteral("&Redo"), {}, QStringLiteral("Ctrl+Y"),
         {Key(Qt::CTRL | Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, QStringLiteral("Redo the last action undone"),
         QStringLiteral("Redo"), {}, true, [](const CommandTarget &t) { t.view->OnEditRedo(); },
         [](const CommandTarget &t) { return t.view->document()->isRedoAvailable(); }},
        {ID_EDIT_GOTO_LINE, QStringLiteral("&Go To Line..."), {}, QStringLiteral("Ctrl+G"), {Key(Qt::CTRL | Qt::Key_G)},
         QStringLiteral("Move to the start of a line given by its number"), QStringLiteral("Go To Line"), {}, true,
         [](const CommandTarget &t) { t.view->OnEditGoToLine(); }},
        {ID_EDIT_COMMENT_LINES, QStringLiteral("Co&mment Lines"), {}, QStringLiteral("Ctrl+/"),
         {Key(Qt::CTRL | Qt::Key_Slash)}, QStringLiteral("Comment the selected lines out, or back in"),
         QStringLiteral("Comment Lines"), {}, true, [](const CommandTarget &t) { t.view->OnEditCommentLines(); }},
        {ID_EDIT_GOTO_DEFINITION, QStringLiteral("&Go To Definition"), {}, QStringLiteral("F2"), {Key(Qt::Key_F2)},
         QStringLiteral("Go to where the name at the caret is defined, or open the file an include line names"),
         QStringLiteral("Go To Definition"), {}, true, [](const CommandTarget &t) { GoToDefinition(t.view); }},
        {ID_EDIT_GO_BACK, QStringLiteral("Go &Back"), {}, QStringLiteral("Alt+Left"), {Key(Qt::ALT | Qt::Key_Left)},
         QStringLiteral("Go back to the place of the last jump"), QStringLiteral("Go Back"), {}, true,
         [](const CommandTarget &) { CPlaceHistory::Instance().Back(); }},
        {ID_EDIT_GO_FORWARD, QStringLiteral("Go &Forward"), {}, QStringLiteral("Alt+Right"),
         {Key(Qt::ALT | Qt::Key_Right)}, QStringLiteral("Go forward again to the place of a jump gone back from"),
         QStringLiteral("Go Forward"), {}, true, [](const CommandTarget &) { CPlaceHistory::Instance().Forward(); }},
        {ID_EDIT_GOTO_MATCHING, QStringLiteral("Go To &Matching"), {}, QStringLiteral("Ctrl+]"),
         {Key(Qt::CTRL | Qt::Key_BracketRight)},
         QStringLiteral("Go to the partner of the block keyword or bracket at the caret"),
         QStringLiteral("Go To Matching"), {}, true, [](const CommandTarget &t) { t.view->OnEditGoToMatching(); }},
        {ID_EDIT_COMPLETE_WORD, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_Space)}, {}, {}, {}, true,
         [](const CommandTarget &t) { t.view->OnEditComplete(); }},
        {ID_VIEW_ZOOM_IN, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Equal)}, {}, {}, {}, true,
         [](const CommandTarget &) { CEditorZoom::Instance().ZoomIn(); }},
        {ID_VIEW_ZOOM_OUT, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_Minus)}, {}, {}, {}, true,
         [](const CommandTarget &) { CEditorZoom::Instance().ZoomOut(); }},
        {ID_VIEW_ZOOM_NORMAL, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_0)}, {}, {}, {}, true,
         [](const CommandTarget &) { CEditorZoom::Instance().Reset(); }},

        // Build
        {ID_BUILD_COMPILE, QStringLiteral("&Compile"), {}, QStringLiteral("F7"), {Key(Qt::Key_F7)},
         QStringLiteral("Save and compile the active source file"), QStringLiteral("Compile F7"),
         QStringLiteral("compile"), true, [](const CommandTarget &t) { t.app->Build().OnBuildCompile(*t.doc); }},
        {ID_BUILD_RUN, QStringLiteral("&Run"), {}, QStringLiteral("F5"), {Key(Qt::Key_F5)},
         QStringLiteral("Run last compile in an emulator"), QStringLiteral("Run F5"), QStringLiteral("run"), true,
         [](const CommandTarget &t) { t.app->Build().OnBuildRun(*t.doc); }},
        // The menu shows F9 beside Link, but no key is bound to it.
        {ID_BUILD_LINK, QStringLiteral("&Link"), {}, QStringLiteral("F9"), {},
         QStringLiteral("Runs the binary on hardware through flash linker or multiboot cable"),
         QStringLiteral("Link F9"), QStringLiteral("link"), true,
         [](const CommandTarget &t) { t.app->Build().OnBuildLink(*t.doc); }},
        {ID_BUILD_OPTIONS, QStringLiteral("Options..."), {}, {}, {}, QStringLiteral("Change the current build options"),
         QStringLiteral("Options"), QStringLiteral("options"), false,
         [](const CommandTarget &t) { t.app->OnBuildOptions(); }},
        {ID_BUILD_NEXT_ERROR, QStringLiteral("Next &Error"), {}, QStringLiteral("F8"), {Key(Qt::Key_F8)},
         QStringLiteral("Go to the line of the next message of the last compile"), QStringLiteral("Next Error"), {},
         true, [](const CommandTarget &t) { t.app->Build().OnBuildNextError(*t.doc); }},
        {ID_BUILD_PREV_ERROR, QStringLiteral("Pre&vious Error"), {}, QStringLiteral("Shift+F8"),
         {Key(Qt::SHIFT | Qt::Key_F8)}, QStringLiteral("Go to the line of the previous message of the last compile"),
         QStringLiteral("Previous Error"), {}, true,
         [](const CommandTarget &t) { t.app->Build().OnBuildPreviousError(*t.doc); }},
        {ID_BUILD_MESSAGES, QStringLiteral("&Messages"), {}, QStringLiteral("Ctrl+Shift+M"),
         {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_M)}, QStringLiteral("Show or hide the last compile's messages and output"),
         QStringLiteral("Messages"), {}, false, [](const CommandTarget &t) { t.frame->ToggleMessages(); }},

        // Window
        {ID_WINDOW_NEW, QStringLiteral("&New Window"), {}, {}, {},
         QStringLiteral("Open another window for the active document"), QStringLiteral("New Window"), {}, true,
         [](const CommandTarget &t) { t.app->DocTemplate()->CreateNewFrame(t.doc); }},
        {ID_WINDOW_CASCADE, QStringLiteral("&Cascade"), {}, {}, {},
         QStringLiteral("Arrange windows so they overlap"), QStringLiteral("Cascade Windows"), {}, true,
         [](const CommandTarget &t) { t.frame->MdiArea()->cascadeSubWindows(); }},
        {ID_WINDOW_TILE_HORZ, QStringLiteral("&Tile"), {}, {}, {},
         QStringLiteral("Arrange windows as non-overlapping tiles"), QStringLiteral("Tile Windows"), {}, true,
         [](const CommandTarget &t) { t.frame->MdiArea()->tileSubWindows(); }},
        {ID_WINDOW_ARRANGE, QStringLiteral("&Arrange Icons"), {}, {}, {},
         QStringLiteral("Arrange icons at the bottom of the window"), QStringLiteral("Arrange Icons"), {}, true,
         [](const CommandTarget &t) { t.frame->ArrangeIcons(); }},

        {ID_WINDOW_OUTLINE, QStringLiteral("&Outline"), {}, QStringLiteral("Ctrl+Shift+O"),
         {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, QStringLiteral("Show or hide the outline of the active file"),
         QStringLiteral("Outline"), {}, false, [](const CommandTarget &t) { t.frame->ToggleOutline(); }},

        // Help
        {ID_HELP_HOMEPAGE, QStringLiteral("Quarn BASIC &Homepage..."), {}, {}, {},
         QStringLiteral("Go to the official Quarn BASIC webpage"), QStringLiteral("Home"), QStringLiteral("home"),
         false, [](const CommandTarget &t) { t.app->OnHomepage(); }},
        {ID_HELP_INDEX, QStringLiteral("Quarn BASIC Help &Index..."), {}, QStringLiteral("F1"), {Key(Qt::Key_F1)},
         QStringLiteral("Open the Quarn BASIC API documentation online"), QStringLiteral("Help"),
         QStringLiteral("help"), false, [](const CommandTarget &t) { t.app->OnHelpIndex(); }},
        {ID_HELP_FORUMS, QStringLiteral("&Chat in the forums..."), {}, QStringLiteral("F12"), {Key(Qt::Key_F12)},
         QStringLiteral("Chat online in the official forums"), QStringLiteral("Chat"), QStringLiteral("forums"),
         false, [](const CommandTarget &t) { t.app->OnForums(); }},
        {ID_APP_ABOUT, QStringLiteral("&About Quarn BASIC Editor..."), QStringLiteral("About Quarn BASIC..."), {}, {},
         QStringLiteral("View program version and copyright information"), QStringLiteral("About"),
         QStringLiteral("about"), false, [](const CommandTarget &t) { t.app->OnAppAbout(); }},

        // Keys without a menu item. Escape is taken here so that it never
        // reaches the text; the pane and property keys do nothing.
        {ID_CANCEL_KEY, {}, {}, {}, {Key(Qt::Key_Escape)}, {}, {}, {}, false, {}},
        {ID_NEXT_PANE, {}, {}, {}, {Key(Qt::Key_F6)}, {}, {}, {}, false, {}},
        {ID_PREV_PANE, {}, {}, {}, {Key(Qt::SHIFT | Qt::Key_F6)}, {}, {}, {}, false, {}},
        {ID_OLE_EDIT_PROPERTIES, {}, {}, {}, {Key(Qt::ALT | Qt::Key_Return)}, {}, {}, {}, false, {}},
        // The document windows' own keys; Ctrl+Tab is the window area's.
        {ID_WINDOW_CLOSE_ACTIVE, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_F4)}, {}, {}, {}, true,
         [](const CommandTarget &t) { t.frame->MdiArea()->closeActiveSubWindow(); }},
        {ID_WINDOW_NEXT, {}, {}, {}, {Key(Qt::CTRL | Qt::Key_F6)}, {}, {}, {}, true,
         [](const CommandTarget &t) { t.frame->MdiArea()->activateNextSubWindow(); }},
        {ID_WINDOW_PREVIOUS, {}, {}, {}, {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_F6)}, {}, {}, {}, true,
         [](const CommandTarget &t) { t.frame->MdiArea()->activatePreviousSubWindow(); }},
        {ID_MENU_BAR_KEY, {}, {}, {}, {Key(Qt::Key_F10)}, {}, {}, {}, false,
         [](const CommandTarget &t) { t.frame->OpenMenuBar(); }},
    };
    // clang-format on
    // The recent files; their texts are the files' names.
    for (int i = 0; i < 4; ++i) {
        commands.append(
            {ID_FILE_MRU_FILE1 + i, {}, {}, {}, {}, kOpenRecent, {}, {}, false, [i](const CommandTarget &t) {
                 t.app->OnOpenRecentFile(i);
             }});
    }
    return commands;
}

} // namespace

const QList<CommandDescription> &Commands()
{
    static const QList<CommandDescription> commands = MakeCommands();
    return commands;
}

const CommandDescription *Find(int id)
{
    for (const CommandDescription &command : Commands()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

const QList<MenuLayout> &NoDocumentMenus()
{
    static const QList<MenuLayout> menus = {
        {QStringLiteral("&File"),
         {ID_FILE_NEW, ID_FILE_OPEN, kSeparator, ID_FILE_PRINT_SETUP, kSeparator, ID_FILE_MRU_FILE1, kSeparator,
          ID_FILE_CLOSE, ID_APP_EXIT, kSeparator, ID_BUILD_OPTIONS}},
        {QStringLiteral("&Help"),
         {ID_HELP_HOMEPAGE, ID_HELP_INDEX, kSeparator, ID_HELP_FORUMS, kSeparator, ID_APP_ABOUT}},
    };
    return menus;
}

const QList<MenuLayout> &DocumentMenus()
{
    static const QList<MenuLayout> menus = {
        {QStringLiteral("&File"),
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, kSeparator, ID_FILE_PRINT,
          ID_FILE_PRINT_SETUP, kSeparator, ID_FILE_MRU_FILE1, kSeparator, ID_APP_EXIT}},
        {QStringLiteral("&Edit"),
         {ID_EDIT_UNDO, kSeparator, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL, kSeparator,
          ID_EDIT_FIND, ID_EDIT_REPEAT, ID_EDIT_REPLACE, kSeparator, ID_EDIT_REDO, ID_EDIT_GOTO_LINE,
          ID_EDIT_COMMENT_LINES, kSeparator, ID_EDIT_GOTO_DEFINITION, ID_EDIT_GO_BACK, ID_EDIT_GO_FORWARD,
          ID_EDIT_GOTO_MATCHING}},
        {QStringLiteral("Build"),
         {ID_BUILD_COMPILE, ID_BUILD_RUN, kSeparator, ID_BUILD_LINK, kSeparator, ID_BUILD_OPTIONS, kSeparator,
          ID_BUILD_NEXT_ERROR, ID_BUILD_PREV_ERROR, kSeparator, ID_BUILD_MESSAGES}},
        {QStringLiteral("&Window"),
         {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, kSeparator, ID_WINDOW_OUTLINE}},
        {QStringLiteral("&Help"),
         {ID_HELP_HOMEPAGE, ID_HELP_INDEX, kSeparator, ID_HELP_FORUMS, kSeparator, ID_APP_ABOUT}},
    };
    return menus;
}

const QList<int> &ToolBarButtons()
{
    static const QList<int> buttons = {ID_FILE_NEW,   ID_FILE_OPEN,     ID_FILE_SAVE, kSeparator,       ID_EDIT_FIND,
                                       kSeparator,    ID_BUILD_OPTIONS, kSeparator,   ID_BUILD_COMPILE, ID_BUILD_RUN,
                                       kSeparator,    ID_BUILD_LINK,    kSeparator,   ID_HELP_HOMEPAGE, ID_HELP_FORUMS,
                                       ID_HELP_INDEX, kSeparator,       ID_APP_ABOUT};
    return buttons;
}

} // namespace CommandRegistry
