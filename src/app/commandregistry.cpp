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

#include <QCoreApplication>
#include <QMdiArea>

namespace CommandRegistry {

namespace {

using Key = QKeySequence;

bool HasSelection(const CommandTarget &t)
{
    return t.view->textCursor().hasSelection();
}

// A command's description, a named field at a time.
class Command
{
public:
    explicit Command(CommandId id) { m_command.id = id; }

    // The menu text with its mnemonic, and another one for the document menu where it differs.
    Command &Text(const QString &text) { return Set(m_command.text, text); }
    Command &DocumentMenuText(const QString &text) { return Set(m_command.documentMenuText, text); }
    // The window-wide keys, and the one the menu shows after the text.
    Command &Keys(const QString &shown, const QList<QKeySequence> &keys)
    {
        m_command.keys = keys;
        return Set(m_command.keyText, shown);
    }
    Command &Keys(const QList<QKeySequence> &keys) { return Keys(QString(), keys); }
    // A key the menu shows that is bound to nothing.
    Command &ShownKey(const QString &shown) { return Set(m_command.keyText, shown); }
    // The status bar's text while the item is highlighted.
    Command &Prompt(const QString &text) { return Set(m_command.prompt, text); }
    Command &ToolTip(const QString &text) { return Set(m_command.toolTip, text); }
    // The toolbar picture's name.
    Command &Image(const QString &name) { return Set(m_command.image, name); }
    Command &NeedsDocument()
    {
        m_command.needsDocument = true;
        return *this;
    }
    Command &Run(std::function<void(const CommandTarget &)> run)
    {
        m_command.run = std::move(run);
        return *this;
    }
    Command &EnabledWhen(std::function<bool(const CommandTarget &)> enabled)
    {
        m_command.enabled = std::move(enabled);
        return *this;
    }
    operator CommandDescription() const { return m_command; } // NOLINT: the built description

private:
    Command &Set(QString &field, const QString &value)
    {
        field = value;
        return *this;
    }

    CommandDescription m_command;
};

// The texts of the commands and menus, for translation.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(CommandRegistry)

public:
    static QList<CommandDescription> Commands();
    static QList<CommandDescription> FileCommands();
    static QList<CommandDescription> EditCommands();
    static QList<CommandDescription> TextCommands();
    static QList<CommandDescription> GoToCommands();
    static QList<CommandDescription> BuildCommands();
    static QList<CommandDescription> WindowCommands();
    static QList<CommandDescription> HelpCommands();
    static QList<CommandDescription> WindowKeys();
    static QList<MenuLayout> NoDocumentMenus();
    static QList<MenuLayout> DocumentMenus();
};

// The File menu.
QList<CommandDescription> Texts::FileCommands()
{
    return {
        Command(CommandId::ID_FILE_NEW)
            .Text(tr("&New"))
            .Keys(tr("Ctrl+N"), {Key(Qt::CTRL | Qt::Key_N)})
            .Prompt(tr("Create a new Quarn BASIC Code file"))
            .ToolTip(tr("New"))
            .Image(QStringLiteral("new"))
            .Run([](const CommandTarget &t) { t.app->OnFileNew(); }),
        Command(CommandId::ID_FILE_OPEN)
            .Text(tr("&Open..."))
            .Keys(tr("Ctrl+O"), {Key(Qt::CTRL | Qt::Key_O)})
            .Prompt(tr("Open an existing source code file"))
            .ToolTip(tr("Open"))
            .Image(QStringLiteral("open"))
            .Run([](const CommandTarget &t) { t.app->OnFileOpen(); }),
        Command(CommandId::ID_FILE_CLOSE)
            .Text(tr("&Close"))
            .Prompt(tr("Close the active source file"))
            .ToolTip(tr("Close"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->OnFileClose(*t.doc); }),
        Command(CommandId::ID_FILE_SAVE)
            .Text(tr("&Save"))
            .Keys(tr("Ctrl+S"), {Key(Qt::CTRL | Qt::Key_S)})
            .Prompt(tr("Save the active source file"))
            .ToolTip(tr("Save"))
            .Image(QStringLiteral("save"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.doc->DoFileSave(); }),
        Command(CommandId::ID_FILE_SAVE_AS)
            .Text(tr("Save &As..."))
            .Prompt(tr("Save the active source file with a new name"))
            .ToolTip(tr("Save As"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.doc->DoSave(QString()); }),
        Command(CommandId::ID_FILE_PRINT)
            .Text(tr("&Print..."))
            .Keys(tr("Ctrl+P"), {Key(Qt::CTRL | Qt::Key_P)})
            .Prompt(tr("Print the active source file"))
            .ToolTip(tr("Print"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnFilePrint(); }),
        Command(CommandId::ID_FILE_PRINT_SETUP)
            .Text(tr("P&rint Setup..."))
            .Prompt(tr("Change the printer and printing options"))
            .ToolTip(tr("Print Setup"))
            .Run([](const CommandTarget &t) { t.app->OnFilePrintSetup(); }),
        Command(CommandId::ID_APP_EXIT)
            .Text(tr("E&xit"))
            .Prompt(tr("Quit Quarn BASIC Editor"))
            .ToolTip(tr("Exit"))
            .Run([](const CommandTarget &t) { t.frame->close(); }),
    };
}

// The Edit menu's classic commands.
QList<CommandDescription> Texts::EditCommands()
{
    return {
        Command(CommandId::ID_EDIT_UNDO)
            .Text(tr("&Undo"))
            .Keys(tr("Ctrl+Z"), {Key(Qt::CTRL | Qt::Key_Z), Key(Qt::ALT | Qt::Key_Backspace)})
            .Prompt(tr("Undo the last action"))
            .ToolTip(tr("Undo"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditUndo(); })
            .EnabledWhen([](const CommandTarget &t) { return t.view->document()->isUndoAvailable(); }),
        Command(CommandId::ID_EDIT_CUT)
            .Text(tr("Cu&t"))
            .Keys(tr("Ctrl+X"), {Key(Qt::CTRL | Qt::Key_X), Key(Qt::SHIFT | Qt::Key_Delete)})
            .Prompt(tr("Cut the selection and put it on the Clipboard"))
            .ToolTip(tr("Cut"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditCut(); })
            .EnabledWhen(HasSelection),
        Command(CommandId::ID_EDIT_COPY)
            .Text(tr("&Copy"))
            .Keys(tr("Ctrl+C"), {Key(Qt::CTRL | Qt::Key_C), Key(Qt::CTRL | Qt::Key_Insert)})
            .Prompt(tr("Copy the selection and put it on the Clipboard"))
            .ToolTip(tr("Copy"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditCopy(); })
            .EnabledWhen(HasSelection),
        Command(CommandId::ID_EDIT_PASTE)
            .Text(tr("&Paste"))
            .Keys(tr("Ctrl+V"), {Key(Qt::CTRL | Qt::Key_V), Key(Qt::SHIFT | Qt::Key_Insert)})
            .Prompt(tr("Insert Clipboard contents"))
            .ToolTip(tr("Paste"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditPaste(); })
            .EnabledWhen([](const CommandTarget &t) { return t.view->canPaste(); }),
        Command(CommandId::ID_EDIT_SELECT_ALL)
            .Text(tr("Select A&ll"))
            .Keys(tr("Ctrl+A"), {Key(Qt::CTRL | Qt::Key_A)})
            .Prompt(tr("Select the entire document"))
            .ToolTip(tr("Select All"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditSelectAll(); }),
        Command(CommandId::ID_EDIT_FIND)
            .Text(tr("&Find..."))
            .Keys(tr("Ctrl+F"), {Key(Qt::CTRL | Qt::Key_F)})
            .Prompt(tr("Find the specified text"))
            .ToolTip(tr("Find"))
            .Image(QStringLiteral("find"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->FindReplace()->OnEditFind(); }),
        Command(CommandId::ID_EDIT_REPEAT)
            .Text(tr("F&ind Next"))
            .Keys(tr("F3"), {Key(Qt::Key_F3)})
            .Prompt(tr("Repeat the last action"))
            .ToolTip(tr("Repeat"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->FindReplace()->OnEditRepeat(); }),
        Command(CommandId::ID_EDIT_REPLACE)
            .Text(tr("R&eplace"))
            .Keys(tr("Ctrl+H"), {Key(Qt::CTRL | Qt::Key_H)})
            .Prompt(tr("Replace specific text with different text"))
            .ToolTip(tr("Replace"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->FindReplace()->OnEditReplace(); }),
    };
}

// Redo, comments and completion in the text, and the zoom keys.
QList<CommandDescription> Texts::TextCommands()
{
    return {
        Command(CommandId::ID_EDIT_REDO)
            .Text(tr("&Redo"))
            .Keys(tr("Ctrl+Y"), {Key(Qt::CTRL | Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
            .Prompt(tr("Redo the last action undone"))
            .ToolTip(tr("Redo"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditRedo(); })
            .EnabledWhen([](const CommandTarget &t) { return t.view->document()->isRedoAvailable(); }),
        Command(CommandId::ID_EDIT_COMMENT_LINES)
            .Text(tr("Co&mment Lines"))
            .Keys(tr("Ctrl+/"), {Key(Qt::CTRL | Qt::Key_Slash)})
            .Prompt(tr("Comment the selected lines out, or back in"))
            .ToolTip(tr("Comment Lines"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditCommentLines(); }),
        Command(CommandId::ID_EDIT_COMPLETE_WORD)
            .Keys({Key(Qt::CTRL | Qt::Key_Space)})
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditComplete(); }),
        Command(CommandId::ID_VIEW_ZOOM_IN)
            .Keys({Key(Qt::CTRL | Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Equal)})
            .NeedsDocument()
            .Run([](const CommandTarget &) { CEditorZoom::Instance().ZoomIn(); }),
        Command(CommandId::ID_VIEW_ZOOM_OUT)
            .Keys({Key(Qt::CTRL | Qt::Key_Minus)})
            .NeedsDocument()
            .Run([](const CommandTarget &) { CEditorZoom::Instance().ZoomOut(); }),
        Command(CommandId::ID_VIEW_ZOOM_NORMAL)
            .Keys({Key(Qt::CTRL | Qt::Key_0)})
            .NeedsDocument()
            .Run([](const CommandTarget &) { CEditorZoom::Instance().Reset(); }),
    };
}

// Going to a line, a definition or a partner, and back and forward again.
QList<CommandDescription> Texts::GoToCommands()
{
    return {
        Command(CommandId::ID_EDIT_GOTO_LINE)
            .Text(tr("&Go To Line..."))
            .Keys(tr("Ctrl+G"), {Key(Qt::CTRL | Qt::Key_G)})
            .Prompt(tr("Move to the start of a line given by its number"))
            .ToolTip(tr("Go To Line"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditGoToLine(); }),
        Command(CommandId::ID_EDIT_GOTO_DEFINITION)
            .Text(tr("&Go To Definition"))
            .Keys(tr("F2"), {Key(Qt::Key_F2)})
            .Prompt(tr("Go to where the name at the caret is defined, or open the file an include line names"))
            .ToolTip(tr("Go To Definition"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { GoToDefinition(t.view); }),
        Command(CommandId::ID_EDIT_GO_BACK)
            .Text(tr("Go &Back"))
            .Keys(tr("Alt+Left"), {Key(Qt::ALT | Qt::Key_Left)})
            .Prompt(tr("Go back to the place of the last jump"))
            .ToolTip(tr("Go Back"))
            .NeedsDocument()
            .Run([](const CommandTarget &) { CPlaceHistory::Instance().Back(); }),
        Command(CommandId::ID_EDIT_GO_FORWARD)
            .Text(tr("Go &Forward"))
            .Keys(tr("Alt+Right"), {Key(Qt::ALT | Qt::Key_Right)})
            .Prompt(tr("Go forward again to the place of a jump gone back from"))
            .ToolTip(tr("Go Forward"))
            .NeedsDocument()
            .Run([](const CommandTarget &) { CPlaceHistory::Instance().Forward(); }),
        Command(CommandId::ID_EDIT_GOTO_MATCHING)
            .Text(tr("Go To &Matching"))
            .Keys(tr("Ctrl+]"), {Key(Qt::CTRL | Qt::Key_BracketRight)})
            .Prompt(tr("Go to the partner of the block keyword or bracket at the caret"))
            .ToolTip(tr("Go To Matching"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.view->OnEditGoToMatching(); }),
    };
}

// The Build menu.
QList<CommandDescription> Texts::BuildCommands()
{
    return {
        Command(CommandId::ID_BUILD_COMPILE)
            .Text(tr("&Compile"))
            .Keys(tr("F7"), {Key(Qt::Key_F7)})
            .Prompt(tr("Save and compile the active source file"))
            .ToolTip(tr("Compile F7"))
            .Image(QStringLiteral("compile"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->Build().OnBuildCompile(*t.doc); }),
        Command(CommandId::ID_BUILD_RUN)
            .Text(tr("&Run"))
            .Keys(tr("F5"), {Key(Qt::Key_F5)})
            .Prompt(tr("Run last compile in an emulator"))
            .ToolTip(tr("Run F5"))
            .Image(QStringLiteral("run"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->Build().OnBuildRun(*t.doc); }),
        // The menu shows F9 beside Link, but no key is bound to it.
        Command(CommandId::ID_BUILD_LINK)
            .Text(tr("&Link"))
            .ShownKey(tr("F9"))
            .Prompt(tr("Runs the binary on hardware through flash linker or multiboot cable"))
            .ToolTip(tr("Link F9"))
            .Image(QStringLiteral("link"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->Build().OnBuildLink(*t.doc); }),
        Command(CommandId::ID_BUILD_OPTIONS)
            .Text(tr("Options..."))
            .Prompt(tr("Change the current build options"))
            .ToolTip(tr("Options"))
            .Image(QStringLiteral("options"))
            .Run([](const CommandTarget &t) { t.app->OnBuildOptions(); }),
        Command(CommandId::ID_BUILD_NEXT_ERROR)
            .Text(tr("Next &Error"))
            .Keys(tr("F8"), {Key(Qt::Key_F8)})
            .Prompt(tr("Go to the line of the next message of the last compile"))
            .ToolTip(tr("Next Error"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->Build().OnBuildNextError(*t.doc); }),
        Command(CommandId::ID_BUILD_PREV_ERROR)
            .Text(tr("Pre&vious Error"))
            .Keys(tr("Shift+F8"), {Key(Qt::SHIFT | Qt::Key_F8)})
            .Prompt(tr("Go to the line of the previous message of the last compile"))
            .ToolTip(tr("Previous Error"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->Build().OnBuildPreviousError(*t.doc); }),
        Command(CommandId::ID_BUILD_MESSAGES)
            .Text(tr("&Messages"))
            .Keys(tr("Ctrl+Shift+M"), {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_M)})
            .Prompt(tr("Show or hide the last compile's messages and output"))
            .ToolTip(tr("Messages"))
            .Run([](const CommandTarget &t) { t.frame->ToggleMessages(); }),
    };
}

// The Window menu.
QList<CommandDescription> Texts::WindowCommands()
{
    return {
        Command(CommandId::ID_WINDOW_NEW)
            .Text(tr("&New Window"))
            .Prompt(tr("Open another window for the active document"))
            .ToolTip(tr("New Window"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.app->DocTemplate()->CreateNewFrame(t.doc); }),
        Command(CommandId::ID_WINDOW_CASCADE)
            .Text(tr("&Cascade"))
            .Prompt(tr("Arrange windows so they overlap"))
            .ToolTip(tr("Cascade Windows"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->MdiArea()->cascadeSubWindows(); }),
        Command(CommandId::ID_WINDOW_TILE_HORZ)
            .Text(tr("&Tile"))
            .Prompt(tr("Arrange windows as non-overlapping tiles"))
            .ToolTip(tr("Tile Windows"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->MdiArea()->tileSubWindows(); }),
        Command(CommandId::ID_WINDOW_ARRANGE)
            .Text(tr("&Arrange Icons"))
            .Prompt(tr("Arrange icons at the bottom of the window"))
            .ToolTip(tr("Arrange Icons"))
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->ArrangeIcons(); }),
        Command(CommandId::ID_WINDOW_OUTLINE)
            .Text(tr("&Outline"))
            .Keys(tr("Ctrl+Shift+O"), {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_O)})
            .Prompt(tr("Show or hide the outline of the active file"))
            .ToolTip(tr("Outline"))
            .Run([](const CommandTarget &t) { t.frame->ToggleOutline(); }),
    };
}

// The Help menu.
QList<CommandDescription> Texts::HelpCommands()
{
    return {
        Command(CommandId::ID_HELP_HOMEPAGE)
            .Text(tr("Quarn BASIC &Homepage..."))
            .Prompt(tr("Go to the official Quarn BASIC webpage"))
            .ToolTip(tr("Home"))
            .Image(QStringLiteral("home"))
            .Run([](const CommandTarget &t) { t.app->OnHomepage(); }),
        Command(CommandId::ID_HELP_INDEX)
            .Text(tr("Quarn BASIC Help &Index..."))
            .Keys(tr("F1"), {Key(Qt::Key_F1)})
            .Prompt(tr("Open the Quarn BASIC API documentation online"))
            .ToolTip(tr("Help"))
            .Image(QStringLiteral("help"))
            .Run([](const CommandTarget &t) { t.app->OnHelpIndex(); }),
        Command(CommandId::ID_HELP_FORUMS)
            .Text(tr("&Chat in the forums..."))
            .Keys(tr("F12"), {Key(Qt::Key_F12)})
            .Prompt(tr("Chat online in the official forums"))
            .ToolTip(tr("Chat"))
            .Image(QStringLiteral("forums"))
            .Run([](const CommandTarget &t) { t.app->OnForums(); }),
        Command(CommandId::ID_APP_ABOUT)
            .Text(tr("&About Quarn BASIC Editor..."))
            .DocumentMenuText(tr("About Quarn BASIC..."))
            .Prompt(tr("View program version and copyright information"))
            .ToolTip(tr("About"))
            .Image(QStringLiteral("about"))
            .Run([](const CommandTarget &t) { t.app->OnAppAbout(); }),
    };
}

// The document windows' own keys; Ctrl+Tab is the window area's.
QList<CommandDescription> Texts::WindowKeys()
{
    return {
        Command(CommandId::ID_WINDOW_CLOSE_ACTIVE)
            .Keys({Key(Qt::CTRL | Qt::Key_F4)})
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->MdiArea()->closeActiveSubWindow(); }),
        Command(CommandId::ID_WINDOW_NEXT)
            .Keys({Key(Qt::CTRL | Qt::Key_F6)})
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->MdiArea()->activateNextSubWindow(); }),
        Command(CommandId::ID_WINDOW_PREVIOUS)
            .Keys({Key(Qt::CTRL | Qt::SHIFT | Qt::Key_F6)})
            .NeedsDocument()
            .Run([](const CommandTarget &t) { t.frame->MdiArea()->activatePreviousSubWindow(); }),
        Command(CommandId::ID_MENU_BAR_KEY).Keys({Key(Qt::Key_F10)}).Run([](const CommandTarget &t) {
            t.frame->OpenMenuBar();
        }),
    };
}

QList<CommandDescription> Texts::Commands()
{
    QList<CommandDescription> commands;
    for (const auto &menu : {FileCommands(), EditCommands(), TextCommands(), GoToCommands(), BuildCommands(),
                             WindowCommands(), HelpCommands(), WindowKeys()})
        commands += menu;
    return commands;
}

QList<MenuLayout> Texts::NoDocumentMenus()
{
    using C = CommandId;
    return {
        {tr("&File"),
         {C::ID_FILE_NEW, C::ID_FILE_OPEN, kSeparator, C::ID_FILE_PRINT_SETUP, kSeparator, kRecentFiles, kSeparator,
          C::ID_FILE_CLOSE, C::ID_APP_EXIT, kSeparator, C::ID_BUILD_OPTIONS}},
        {tr("&Help"),
         {C::ID_HELP_HOMEPAGE, C::ID_HELP_INDEX, kSeparator, C::ID_HELP_FORUMS, kSeparator, C::ID_APP_ABOUT}},
    };
}

QList<MenuLayout> Texts::DocumentMenus()
{
    using C = CommandId;
    return {
        {tr("&File"),
         {C::ID_FILE_NEW, C::ID_FILE_OPEN, C::ID_FILE_CLOSE, C::ID_FILE_SAVE, C::ID_FILE_SAVE_AS, kSeparator,
          C::ID_FILE_PRINT, C::ID_FILE_PRINT_SETUP, kSeparator, kRecentFiles, kSeparator, C::ID_APP_EXIT}},
        {tr("&Edit"),
         {C::ID_EDIT_UNDO, kSeparator, C::ID_EDIT_CUT, C::ID_EDIT_COPY, C::ID_EDIT_PASTE, C::ID_EDIT_SELECT_ALL,
          kSeparator, C::ID_EDIT_FIND, C::ID_EDIT_REPEAT, C::ID_EDIT_REPLACE, kSeparator, C::ID_EDIT_REDO,
          C::ID_EDIT_GOTO_LINE, C::ID_EDIT_COMMENT_LINES, kSeparator, C::ID_EDIT_GOTO_DEFINITION, C::ID_EDIT_GO_BACK,
          C::ID_EDIT_GO_FORWARD, C::ID_EDIT_GOTO_MATCHING}},
        {tr("Build"),
         {C::ID_BUILD_COMPILE, C::ID_BUILD_RUN, kSeparator, C::ID_BUILD_LINK, kSeparator, C::ID_BUILD_OPTIONS,
          kSeparator, C::ID_BUILD_NEXT_ERROR, C::ID_BUILD_PREV_ERROR, kSeparator, C::ID_BUILD_MESSAGES}},
        {tr("&Window"),
         {C::ID_WINDOW_NEW, C::ID_WINDOW_CASCADE, C::ID_WINDOW_TILE_HORZ, C::ID_WINDOW_ARRANGE, kSeparator,
          C::ID_WINDOW_OUTLINE, kWindowList}},
        {tr("&Help"),
         {C::ID_HELP_HOMEPAGE, C::ID_HELP_INDEX, kSeparator, C::ID_HELP_FORUMS, kSeparator, C::ID_APP_ABOUT}},
    };
}

} // namespace

const QList<CommandDescription> &Commands()
{
    static const QList<CommandDescription> commands = Texts::Commands();
    return commands;
}

const CommandDescription *Find(CommandId id)
{
    for (const CommandDescription &command : Commands()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

CommandDescription RecentFile(int index)
{
    return Command(CommandId(int(CommandId::ID_FILE_MRU_FILE1) + index))
        .Prompt(Texts::tr("Open this document"))
        .Run([index](const CommandTarget &t) { t.app->OnOpenRecentFile(index); });
}

const QList<QKeySequence> &InertKeys()
{
    static const QList<QKeySequence> keys = {Key(Qt::Key_Escape), Key(Qt::Key_F6), Key(Qt::SHIFT | Qt::Key_F6),
                                             Key(Qt::ALT | Qt::Key_Return)};
    return keys;
}

const QList<MenuLayout> &NoDocumentMenus()
{
    static const QList<MenuLayout> menus = Texts::NoDocumentMenus();
    return menus;
}

const QList<MenuLayout> &DocumentMenus()
{
    static const QList<MenuLayout> menus = Texts::DocumentMenus();
    return menus;
}

const QList<MenuItem> &ToolBarButtons()
{
    using C = CommandId;
    static const QList<MenuItem> buttons = {
        C::ID_FILE_NEW,   C::ID_FILE_OPEN,     C::ID_FILE_SAVE, kSeparator,          C::ID_EDIT_FIND,
        kSeparator,       C::ID_BUILD_OPTIONS, kSeparator,      C::ID_BUILD_COMPILE, C::ID_BUILD_RUN,
        kSeparator,       C::ID_BUILD_LINK,    kSeparator,      C::ID_HELP_HOMEPAGE, C::ID_HELP_FORUMS,
        C::ID_HELP_INDEX, kSeparator,          C::ID_APP_ABOUT};
    return buttons;
}

} // namespace CommandRegistry
