// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/commandids.h"
#include "app/commandtable.h"
#include "app/doctemplate.h"
#include "app/editorapp.h"
#include "app/keyboardindicators.h"
#include "app/recentfilelist.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {
const QString kReady = QStringLiteral("Ready");

// Menu text without the shortcut shown after the tab.
QString ItemText(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    setWindowTitle(AppTitle());
    setWindowIcon(QIcon(QStringLiteral(":/res/appicon.png")));
    setAcceptDrops(true);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateFrameState);
    UpdateFrameState();
}

CMainFrame::~CMainFrame()
{
    // The windows inside go after this part of the object; they must not call back.
    qApp->removeEventFilter(this);
    m_pMdiArea->disconnect(this);
    const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
    for (QMdiSubWindow *window : windows)
        window->disconnect(this);
}

QString CMainFrame::AppTitle()
{
    return QStringLiteral("Quarn BASIC Editor v1.3.8c");
}

void CMainFrame::CreateActions()
{
    // One action per command, shared by menus, toolbar and shortcuts. Actions
    // live on the main window so that their shortcuts work whichever menu shows.
    auto make = [this](int id, const QString &text) {
        auto *action = new QAction(text, this);
        action->setStatusTip(CommandTable::StatusTip(id));
        const QString tip = CommandTable::ToolTip(id);
        if (!tip.isEmpty())
            action->setToolTip(tip);
        const QString image = CommandTable::ToolBarImage(id);
        if (!image.isEmpty())
            action->setIcon(QIcon(image));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(action);
        m_actions.insert(id, action);
        return action;
    };
    const QList<CommandTable::Menu> menus = CommandTable::DocumentMenu() + CommandTable::NoDocumentMenu();
    for (const CommandTable::Menu &menu : menus) {
        for (const CommandTable::MenuItem &item : menu.items) {
            if (item.id != 0 && item.id != ID_FILE_MRU_FILE1 && !m_actions.contains(item.id))
                make(item.id, ItemText(item.text));
        }
    }
    // Commands that only have a key.
    for (int id : {ID_CANCEL_KEY, ID_NEXT_PANE, ID_PREV_PANE, ID_OLE_EDIT_PROPERTIES})
        make(id, QString());

    QHash<int, QList<QKeySequence>> keys;
    const QList<CommandTable::Accelerator> accelerators = CommandTable::Accelerators();
    for (const CommandTable::Accelerator &accelerator : accelerators)
        keys[accelerator.id].append(accelerator.key);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        m_actions.value(it.key())->setShortcuts(it.value());

    for (int i = 0; i < 4; ++i) {
        auto *action = new QAction(this);
        action->setStatusTip(CommandTable::StatusTip(ID_FILE_MRU_FILE1 + i));
        connect(action, &QAction::triggered, this, [i] {
            if (CEditorApp *app = CEditorApp::Instance())
                app->OnOpenRecentFile(i);
        });
        m_recentActions.append(action);
    }
}

void CMainFrame::CreateMenus()
{
    auto build = [this](const QList<CommandTable::Menu> &menus) {
        QList<QMenu *> built;
        for (const CommandTable::Menu &menu : menus) {
            auto *qmenu = new QMenu(QString::fromLatin1(menu.title), this);
            for (const CommandTable::MenuItem &item : menu.items) {
                if (item.id == 0) {
                    qmenu->addSeparator();
                } else if (item.id == ID_FILE_MRU_FILE1) {
                    // Marks where the recent files go; replaced when the menu opens.
                    QAction *placeholder = qmenu->addAction(ItemText(item.text));
                    placeholder->setEnabled(false);
                    placeholder->setObjectName(QStringLiteral("recentPlaceholder"));
                } else if (m_actions.value(item.id)->text() == ItemText(item.text)) {
                    qmenu->addAction(m_actions.value(item.id));
                } else {
                    // The same command under another text in this menu.
                    const int id = item.id;
                    QAction *alias = qmenu->addAction(ItemText(item.text));
                    alias->setStatusTip(m_actions.value(id)->statusTip());
                    connect(alias, &QAction::triggered, this, [this, id] { OnCommand(id); });
                }
            }
            if (qmenu->title() == QLatin1String("&File"))
                connect(qmenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFileMenu);
            if (qmenu->title() == QLatin1String("&Window"))
                connect(qmenu, &QMenu::aboutToShow, this, [this, qmenu] { ListWindows(qmenu); });
            built.append(qmenu);
        }
        return built;
    };
    m_noDocMenus = build(CommandTable::NoDocumentMenu());
    m_docMenus = build(CommandTable::DocumentMenu());
    for (QMenu *menu : m_noDocMenus)
        menuBar()->addMenu(menu);
    RebuildRecentFileMenu();
}

void CMainFrame::RebuildRecentFileMenu()
{
    CEditorApp *app = CEditorApp::Instance();
    const CRecentFileList *recent = app ? app->RecentFiles() : nullptr;
    const int count = recent ? recent->Count() : 0;
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction *action = m_recentActions.at(i);
        action->setVisible(i < count);
        if (i < count)
            action->setText(recent->MenuText(i));
    }
    for (QMenu *menu : m_noDocMenus + m_docMenus) {
        QAction *placeholder = nullptr;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->objectName() == QLatin1String("recentPlaceholder"))
                placeholder = action;
        }
        if (!placeholder)
            continue;
        // The grey "Recent File" item stands alone while the list is empty.
        placeholder->setVisible(count == 0);
        for (QAction *action : m_recentActions) {
            menu->removeAction(action);
            menu->insertAction(placeholder, action);
        }
    }
}

void CMainFrame::ListWindows(QMenu *menu)
{
    // Below the window commands, the open document windows, the active one
    // checked, as MDI programs list them.
    const QList<QAction *> old = menu->actions();
    for (QAction *action : old) {
        if (action->property("windowEntry").toBool()) {
            menu->removeAction(action);
            delete action;
        }
    }
    const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    QAction *separator = menu->addSeparator();
    separator->setProperty("windowEntry", true);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setProperty("windowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(window == m_pMdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                m_pMdiArea->setActiveSubWindow(window);
        });
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolBar"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->toggleViewAction()->setEnabled(false);
    const QList<int> buttons = CommandTable::ToolBarButtons();
    for (int id : buttons) {
        if (id == 0)
            m_pToolBar->addSeparator();
        else
            m_pToolBar->addAction(m_actions.value(id));
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    auto pane = [bar](const QString &longest) {
        auto *label = new QLabel(bar);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(longest) + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        return label;
    };
    m_pCapsPane = pane(QStringLiteral("CAP"));
    m_pNumPane = pane(QStringLiteral("NUM"));
    m_pScrlPane = pane(QStringLiteral("SCRL"));
    bar->showMessage(kReady);
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString &message) {
        if (message.isEmpty())
            bar->showMessage(kReady);
    });

    UpdateIndicators();
    auto *timer = new QTimer(this);
    timer->setInterval(250);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateIndicators);
    timer->start();
    qApp->installEventFilter(this);
}

void CMainFrame::UpdateIndicators()
{
    const KeyboardIndicators state = ReadKeyboardIndicators();
    m_pCapsPane->setText(state.known && state.capsLock ? QStringLiteral("CAP") : QString());
    m_pNumPane->setText(state.known && state.numLock ? QStringLiteral("NUM") : QString());
    m_pScrlPane->setText(state.known && state.scrollLock ? QStringLiteral("SCRL") : QString());
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease)
        QTimer::singleShot(0, this, &CMainFrame::UpdateIndicators);
    return QMainWindow::eventFilter(watched, event);
}

CChildFrame *CMainFrame::ActiveChildFrame() const
{
    return qobject_cast<CChildFrame *>(m_pMdiArea->activeSubWindow());
}

CRichSyntaxDoc *CMainFrame::ActiveDocument() const
{
    CChildFrame *frame = ActiveChildFrame();
    return frame ? frame->GetDocument() : nullptr;
}

CRichSyntaxView *CMainFrame::ActiveView() const
{
    CChildFrame *frame = ActiveChildFrame();
    return frame ? frame->GetView() : nullptr;
}

void CMainFrame::AddChildFrame(CChildFrame *frame)
{
    m_pMdiArea->addSubWindow(frame);
    frame->showMaximized();
    m_pMdiArea->setActiveSubWindow(frame);
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateCaption);
    connect(frame, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, &CMainFrame::UpdateFrameState);
    });
    UpdateFrameState();
}

void CMainFrame::UpdateFrameState()
{
    const bool hasDoc = ActiveChildFrame() != nullptr;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (CommandTable::NeedsDocument(it.key()))
            it.value()->setEnabled(hasDoc);
    }
    if (hasDoc != m_bDocMenu || menuBar()->actions().isEmpty()) {
        m_bDocMenu = hasDoc;
        menuBar()->clear();
        for (QMenu *menu : hasDoc ? m_docMenus : m_noDocMenus)
            menuBar()->addMenu(menu);
    }
    UpdateCaption();
    // Qt's maximised document window writes its own caption as it changes
    // state; the frame's word is the last.
    QTimer::singleShot(0, this, &CMainFrame::UpdateCaption);
}

void CMainFrame::UpdateCaption()
{
    CChildFrame *frame = ActiveChildFrame();
    const QString caption = frame ? QStringLiteral("%1 - [%2]").arg(AppTitle(), frame->windowTitle())
                                  : AppTitle();
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CMainFrame::OnCommand(int id)
{
    Q_EMIT CommandRouted(id);
    CEditorApp *app = CEditorApp::Instance();
    CRichSyntaxDoc *doc = ActiveDocument();
    CRichSyntaxView *view = ActiveView();
    switch (id) {
    case ID_FILE_NEW:
        app->OnFileNew();
        break;
    case ID_FILE_OPEN:
        app->OnFileOpen();
        break;
    case ID_FILE_PRINT_SETUP:
        app->OnFilePrintSetup();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_APP_ABOUT:
        app->OnAppAbout();
        break;
    case ID_HELP_HOMEPAGE:
        app->OnHomepage();
        break;
    case ID_HELP_FORUMS:
        app->OnForums();
        break;
    case ID_HELP_INDEX:
        app->OnHelpIndex();
        break;
    case ID_BUILD_OPTIONS:
        app->OnBuildOptions();
        break;
    case ID_FILE_CLOSE:
        if (doc && doc->SaveModified()) {
            // The user has answered for the document; its windows go without asking again.
            doc->SetModifiedFlag(false);
            const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
            for (QMdiSubWindow *window : windows) {
                auto *frame = qobject_cast<CChildFrame *>(window);
                if (frame && frame->GetDocument() == doc)
                    frame->close();
            }
        }
        break;
    case ID_FILE_SAVE:
        if (doc)
            doc->DoFileSave();
        break;
    case ID_FILE_SAVE_AS:
        if (doc)
            doc->DoSave(QString());
        break;
    case ID_BUILD_COMPILE:
        if (doc)
            doc->OnBuildCompile();
        break;
    case ID_BUILD_RUN:
        if (doc)
            doc->OnBuildRun();
        break;
    case ID_BUILD_LINK:
        if (doc)
            doc->OnBuildLink();
        break;
    case ID_FILE_PRINT:
        if (view)
            view->OnFilePrint();
        break;
    case ID_EDIT_UNDO:
        if (view)
            view->OnEditUndo();
        break;
    case ID_EDIT_CUT:
        if (view)
            view->OnEditCut();
        break;
    case ID_EDIT_COPY:
        if (view)
            view->OnEditCopy();
        break;
    case ID_EDIT_PASTE:
        if (view)
            view->OnEditPaste();
        break;
    case ID_EDIT_SELECT_ALL:
        if (view)
            view->OnEditSelectAll();
        break;
    case ID_EDIT_FIND:
        if (view)
            view->OnEditFind();
        break;
    case ID_EDIT_REPEAT:
        if (view)
            view->OnEditRepeat();
        break;
    case ID_EDIT_REPLACE:
        if (view)
            view->OnEditReplace();
        break;
    case ID_WINDOW_NEW:
        if (doc)
            app->DocTemplate()->CreateNewFrame(doc);
        break;
    case ID_WINDOW_CASCADE:
        m_pMdiArea->cascadeSubWindows();
        break;
    case ID_WINDOW_TILE_HORZ:
        m_pMdiArea->tileSubWindows();
        break;
    case ID_WINDOW_ARRANGE:
        ArrangeIcons();
        break;
    default:
        // Escape and the pane and property keys are taken here and do nothing.
        break;
    }
}

void CMainFrame::ArrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right.
    int x = 0;
    const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
    for (QMdiSubWindow *window : windows) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        window->move(x, m_pMdiArea->viewport()->height() - size.height());
        x += size.width();
    }
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // A window opened before the main window first showed loses its maximised
    // state on the way; document windows are always maximised.
    if (QMdiSubWindow *active = m_pMdiArea->activeSubWindow())
        active->showMaximized();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (!CEditorApp::DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QStringList files = CEditorApp::DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    CEditorApp::Instance()->OpenDroppedFiles(files);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    CEditorApp *app = CEditorApp::Instance();
    if (app && !app->OnAppExit()) {
        event->ignore();
        return;
    }
    event->accept();
}
