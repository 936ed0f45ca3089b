// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/commandregistry.h"
#include "app/doctemplate.h"
#include "app/editorapp.h"
#include "app/keyboardindicators.h"
#include "app/recentfilelist.h"
#include "app/session.h"
#include "app/toolbaricons.h"
#include "build/buildcommands.h"
#include "build/messagespanel.h"
#include "core/filepaths.h"
#include "core/product.h"
#include "core/uitext.h"
#include "editor/findreplace.h"
#include "editor/navigation.h"
#include "editor/outlinepanel.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/sourcecodec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {
const UiText kReady{"CMainFrame", QT_TRANSLATE_NOOP("CMainFrame", "Ready")};
const UiText kPosition{"CMainFrame", QT_TRANSLATE_NOOP("CMainFrame", "Ln %1, Col %2")};
const QString kFormat = QStringLiteral("%1 \u00b7 %2");
} // namespace

CMainFrame::CMainFrame(QWidget *parent) : QMainWindow(parent)
{
    m_pMdiArea = new QMdiArea(this);
    m_pFindReplace = new CFindReplace(this);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    setWindowTitle(Product::Title());
    setWindowIcon(QIcon(QStringLiteral(":/res/svg/appicon.svg")));
    setAcceptDrops(true);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateOutline();

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateFrameState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommandStates);
    // Later, so the question does not come up in the middle of the switch.
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this,
            [this] { QTimer::singleShot(0, this, &CMainFrame::CheckActiveFileOnDisk); });
    UpdateFrameState();
}

QDockWidget *CMainFrame::AddPanel(const QString &name, const QString &title, QWidget *panel, Qt::DockWidgetArea area,
                                  CommandId command)
{
    auto *dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setWidget(panel);
    dock->setAllowedAreas(area == Qt::BottomDockWidgetArea ? Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea
                                                           : Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(area, dock);
    dock->hide();
    // The menu item is ticked while the panel shows.
    if (QAction *toggle = Action(command)) {
        toggle->setCheckable(true);
        connect(dock, &QDockWidget::visibilityChanged, toggle, &QAction::setChecked);
    }
    return dock;
}

void CMainFrame::TogglePanel(QDockWidget *dock, QWidget *focus)
{
    if (!dock)
        return;
    dock->setVisible(!dock->isVisible());
    if (dock->isVisible())
        focus->setFocus();
}

void CMainFrame::CreateOutline()
{
    m_pOutline = new COutlinePanel;
    m_pOutlineDock = AddPanel(QStringLiteral("Outline"), tr("Outline"), m_pOutline, Qt::RightDockWidgetArea,
                              CommandId::ID_WINDOW_OUTLINE);
    connect(m_pOutline, &COutlinePanel::Jumped, this,
            [](CRichSyntaxView *view, int from) { CPlaceHistory::Instance().Record(view, from, view); });
}

void CMainFrame::ToggleOutline()
{
    TogglePanel(m_pOutlineDock, m_pOutline->Filter());
}

void CMainFrame::ConnectMessages(CBuildCommands &build)
{
    m_pMessages = new CMessagesPanel;
    m_pMessagesDock = AddPanel(QStringLiteral("Messages"), tr("Messages"), m_pMessages, Qt::BottomDockWidgetArea,
                               CommandId::ID_BUILD_MESSAGES);
    connect(&build, &CBuildCommands::Compiled, this,
            [this](const QString &origin, const QList<CompilerMessage> &messages, const QString &output) {
                m_pMessages->SetCompile(origin, messages, output);
                if (!messages.isEmpty())
                    m_pMessagesDock->show();
            });
    m_pMessages->SetPlaceLookup([&build] { return build.PlacesOfMessages(); });
    connect(&build, &CBuildCommands::MessageShown, m_pMessages, &CMessagesPanel::SelectMessage);
    connect(m_pMessages, &CMessagesPanel::MessageActivated, &build, &CBuildCommands::GoToMessage);
}

void CMainFrame::ToggleMessages()
{
    if (m_pMessages)
        TogglePanel(m_pMessagesDock, m_pMessages->List());
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

QAction *CMainFrame::MakeAction(const CommandDescription &command, const QString &text)
{
    auto *action = new QAction(command.keyText.isEmpty() ? text : text + QLatin1Char('\t') + command.keyText, this);
    action->setData(int(command.id));
    action->setStatusTip(command.prompt);
    if (!command.toolTip.isEmpty())
        action->setToolTip(command.toolTip);
    if (command.needsDocument || command.enabled)
        m_stateActions.append({action, &command});
    if (command.run) {
        const auto run = command.run;
        connect(action, &QAction::triggered, this, [this, run] { run(Target()); });
    }
    return action;
}

void CMainFrame::CreateActions()
{
    // One action per command. Actions live on the main window so that their
    // shortcuts work whichever menu shows.
    for (const CommandDescription &command : CommandRegistry::Commands()) {
        QAction *action = MakeAction(command, command.text);
        action->setShortcuts(command.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_actions.insert(command.id, action);
    }
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        QAction *action = MakeAction(CommandRegistry::RecentFile(i), QString());
        addAction(action);
        m_recentActions.append(action);
    }
    // Keys that do nothing, taken before any window inside can act on them.
    auto *inert = new QAction(this);
    inert->setShortcuts(CommandRegistry::InertKeys());
    inert->setShortcutContext(Qt::WindowShortcut);
    addAction(inert);
    UpdateToolbarIcons();
}

void CMainFrame::UpdateToolbarIcons()
{
    for (const CommandDescription &command : CommandRegistry::Commands()) {
        if (QAction *action = Action(command.id); action && !command.image.isEmpty())
            action->setIcon(ToolbarIcons::Icon(command.image, palette()));
    }
}

void CMainFrame::CreateMenus()
{
    auto build = [this](const QList<CommandRegistry::MenuLayout> &layouts, bool documentMenu) {
        QList<QMenu *> built;
        for (const CommandRegistry::MenuLayout &layout : layouts) {
            auto *menu = new QMenu(layout.title, this);
            for (const CommandRegistry::MenuItem &item : layout.items) {
                switch (item.kind) {
                case CommandRegistry::MenuItem::Kind::Separator:
                    menu->addSeparator();
                    break;
                case CommandRegistry::MenuItem::Kind::RecentFiles: {
                    // Marks where the recent files go; the grey item stands alone while the list is empty.
                    QAction *placeholder = menu->addAction(tr("Recent File"));
                    placeholder->setEnabled(false);
                    placeholder->setObjectName(QStringLiteral("recentPlaceholder"));
                    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFileMenu);
                    break;
                }
                case CommandRegistry::MenuItem::Kind::WindowList:
                    connect(menu, &QMenu::aboutToShow, this, [this, menu] { ListWindows(menu); });
                    break;
                case CommandRegistry::MenuItem::Kind::Command: {
                    const CommandDescription *command = CommandRegistry::Find(item.command);
                    if (documentMenu && !command->documentMenuText.isEmpty())
                        menu->addAction(MakeAction(*command, command->documentMenuText));
                    else
                        menu->addAction(Action(item.command));
                    break;
                }
                }
            }
            built.append(menu);
        }
        return built;
    };
    m_noDocMenus = build(CommandRegistry::NoDocumentMenus(), false);
    m_docMenus = build(CommandRegistry::DocumentMenus(), true);
    for (QMenu *menu : std::as_const(m_noDocMenus))
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
        entry->setChecked(window == m_pMdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                m_pMdiArea->setActiveSubWindow(window);
        });
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(tr("Standard"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolBar"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->toggleViewAction()->setEnabled(false);
    for (const CommandRegistry::MenuItem &item : CommandRegistry::ToolBarButtons()) {
        if (item.kind == CommandRegistry::MenuItem::Kind::Command)
            m_pToolBar->addAction(Action(item.command));
        else
            m_pToolBar->addSeparator();
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
    // The file's encoding and line break, beside the designed panes.
    m_pFormatPane = pane(QString());
    m_pFormatPane->setObjectName(QStringLiteral("formatPane"));
    m_pPositionPane = pane(kPosition.arg(99999).arg(999));
    m_pPositionPane->setObjectName(QStringLiteral("positionPane"));
    m_pCapsPane = pane(tr("CAP"));
    m_pNumPane = pane(tr("NUM"));
    m_pScrlPane = pane(tr("SCRL"));
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

void CMainFrame::UpdatePositionPane()
{
    CRichSyntaxView *view = ActiveView();
    if (!view) {
        m_pPositionPane->clear();
        m_pFormatPane->clear();
        return;
    }
    const QPoint at = view->CaretLineColumn();
    m_pPositionPane->setText(kPosition.arg(at.x()).arg(at.y()));
    const CRichSyntaxDoc *doc = view->GetDocument();
    m_pFormatPane->setText(kFormat.arg(SourceEncodingLabel(doc->Encoding()), LineBreakName(doc->GetLineBreak())));
}

void CMainFrame::UpdateIndicators()
{
    const KeyboardIndicators state = ReadKeyboardIndicators();
    m_pCapsPane->setText(state.known && state.capsLock ? tr("CAP") : QString());
    m_pNumPane->setText(state.known && state.numLock ? tr("NUM") : QString());
    m_pScrlPane->setText(state.known && state.scrollLock ? tr("SCRL") : QString());
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease)
        QTimer::singleShot(0, this, &CMainFrame::UpdateIndicators);
    return QMainWindow::eventFilter(watched, event);
}

CChildFrame *CMainFrame::ActiveChildFrame() const
{
    return qobject_cast<CChildFrame *>(m_pMdiArea->currentSubWindow());
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
    connect(frame->GetDocument(), &CRichSyntaxDoc::TitleChanged, this, &CMainFrame::UpdateDistinctFolders);
    connect(frame, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            UpdateDistinctFolders();
            UpdateFrameState();
        });
    });
    UpdateDistinctFolders();
    UpdateFrameState();
}

void CMainFrame::UpdateDistinctFolders()
{
    QList<CChildFrame *> frames;
    QStringList paths;
    const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
    for (QMdiSubWindow *window : windows) {
        auto *frame = qobject_cast<CChildFrame *>(window);
        if (!frame || !frame->GetDocument())
            continue;
        frames.append(frame);
        paths.append(frame->GetDocument()->GetPathName());
    }
    const QStringList folders = DistinctFolders(paths);
    for (qsizetype i = 0; i < frames.size(); ++i)
        frames.at(i)->SetDistinctFolder(QDir::toNativeSeparators(folders.at(i)));
}

void CMainFrame::UpdateFrameState()
{
    const bool hasDoc = ActiveChildFrame() != nullptr;
    CRichSyntaxView *view = ActiveView();
    m_pFindReplace->SetView(view);
    if (m_pOutline)
        m_pOutline->SetView(view);
    if (view != m_pWatchedView) {
        if (m_pWatchedView)
            m_pWatchedView->disconnect(this);
        m_pWatchedView = view;
        if (view) {
            connect(view, &QPlainTextEdit::copyAvailable, this, &CMainFrame::UpdateCommandStates);
            connect(view, &QPlainTextEdit::undoAvailable, this, &CMainFrame::UpdateCommandStates);
            connect(view, &QPlainTextEdit::redoAvailable, this, &CMainFrame::UpdateCommandStates);
            connect(view, &QPlainTextEdit::cursorPositionChanged, this, &CMainFrame::UpdatePositionPane);
            // A save can change the encoding, with the caret where it was.
            connect(view, &QPlainTextEdit::modificationChanged, this, &CMainFrame::UpdatePositionPane);
        }
    }
    UpdatePositionPane();
    UpdateCommandStates();
    if (hasDoc != m_bDocMenu || menuBar()->actions().isEmpty()) {
        m_bDocMenu = hasDoc;
        menuBar()->clear();
        for (QMenu *menu : hasDoc ? m_docMenus : m_noDocMenus)
            menuBar()->addMenu(menu);
    }
    UpdateCaption();
}

QString CMainFrame::Caption() const
{
    CChildFrame *frame = ActiveChildFrame();
    return frame ? QStringLiteral("%1 - [%2]").arg(Product::Title(), frame->windowTitle()) : Product::Title();
}

void CMainFrame::UpdateCommandStates()
{
    const CommandTarget target = Target();
    for (const auto &[action, command] : std::as_const(m_stateActions)) {
        bool enabled = !command->needsDocument || target.view;
        if (command->enabled)
            enabled = enabled && target.view && command->enabled(target);
        action->setEnabled(enabled);
    }
}

void CMainFrame::UpdateCaption()
{
    const QString caption = Caption();
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

CommandTarget CMainFrame::Target() const
{
    return {CEditorApp::Instance(), const_cast<CMainFrame *>(this), ActiveDocument(), ActiveView()};
}

void CMainFrame::OnFileClose(CRichSyntaxDoc &doc)
{
    if (!doc.SaveModified())
        return;
    // The user has answered for the document; its windows go without asking again.
    doc.SetModifiedFlag(false);
    const QList<CChildFrame *> frames = CDocTemplate::Frames(&doc);
    for (CChildFrame *frame : frames)
        frame->close();
}

void CMainFrame::OpenMenuBar()
{
    const QList<QAction *> menus = menuBar()->actions();
    if (!menus.isEmpty())
        menuBar()->setActiveAction(menus.constFirst());
}

void CMainFrame::ArrangeIcons()
{
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
    if (!LocalFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QStringList files = LocalFilesOf(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    CEditorApp::Instance()->OpenDroppedFiles(files);
}

void CMainFrame::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A new palette, light or dark, gets pictures drawn for it.
    if (event->type() == QEvent::PaletteChange)
        UpdateToolbarIcons();
    // Qt's document windows write the caption themselves as they are
    // maximised, restored, cascaded or tiled; the caption's rule has the last word.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != Caption())
        QTimer::singleShot(0, this, &CMainFrame::UpdateCaption);
    // Back from another program, which may have changed the file.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &CMainFrame::CheckActiveFileOnDisk);
}

void CMainFrame::ResizeOuter(const QSize &outer)
{
    m_outerSize = outer;
    m_appliedFrame = QMargins();
    resize(outer);
    ApplyOuterSize();
}

void CMainFrame::ShowInPlace(const QSize &firstSize)
{
    const std::optional<Session::WindowPlace> place = Session::ReadWindowPlace();
    QScreen *screen = place ? QGuiApplication::screenAt(place->rect.center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), firstSize);
    if (!place) {
        // A window larger than the screen would hide its status bar.
        ResizeOuter(firstSize.boundedTo(available.size()));
        show();
        return;
    }
    const QRect fitted = Session::FitInside(place->rect, available);
    move(fitted.topLeft());
    resize(fitted.size());
    m_normalPlace = fitted;
    m_bKeepInside = true;
    if (place->maximized)
        showMaximized();
    else
        show();
}

void CMainFrame::KeepInsideScreen()
{
    if (!m_bKeepInside || !isVisible() || isMaximized() || isFullScreen() || !windowHandle() || !screen())
        return;
    const QMargins frame = windowHandle()->frameMargins();
    const QRect outer = geometry().marginsAdded(frame);
    const QRect fitted = Session::FitInside(outer, screen()->availableGeometry());
    // Until the window manager has framed the window, the frame's size is not known.
    if (!frame.isNull())
        m_bKeepInside = false;
    if (fitted == outer)
        return;
    move(fitted.topLeft());
    resize(fitted.marginsRemoved(frame).size());
}

void CMainFrame::SavePlace() const
{
    // Only a window that was placed has a place to keep. By now it may be
    // closed and its native window gone, but its state is still known.
    if (!m_normalPlace.isValid())
        return;
    Session::WriteWindowPlace({m_normalPlace, isMaximized()});
}

void CMainFrame::ApplyOuterSize()
{
    if (!m_outerSize.isValid() || !windowHandle())
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame == m_appliedFrame)
        return;
    m_appliedFrame = frame;
    resize(m_outerSize.shrunkBy(frame));
    if (!frame.isNull())
        m_outerSize = QSize();
}

bool CMainFrame::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    // The window manager frames the window after it is shown and tells
    // about the frame with a move.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        ApplyOuterSize();
        KeepInsideScreen();
        // The place a maximised window goes back to, by the frame's corner,
        // which is where a move puts it.
        if (isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
            m_normalPlace = QRect(pos(), size());
        break;
    default:
        break;
    }
    return handled;
}

void CMainFrame::HoldDiskChecks(bool hold)
{
    m_bDiskChecksHeld = hold;
    if (!hold)
        QTimer::singleShot(0, this, &CMainFrame::CheckActiveFileOnDisk);
}

void CMainFrame::CheckActiveFileOnDisk()
{
    CRichSyntaxDoc *doc = ActiveDocument();
    if (!doc || m_bCheckingDisk || m_bDiskChecksHeld)
        return;
    m_bCheckingDisk = true;
    doc->CheckFileOnDisk();
    m_bCheckingDisk = false;
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
