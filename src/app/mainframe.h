// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "app/commandids.h"

#include <QHash>
#include <QMainWindow>
#include <QMargins>
#include <QPointer>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class CBuildCommands;
class CChildFrame;
class CMessagesPanel;
class COutlinePanel;
class QDockWidget;
class CFindReplace;
class CRichSyntaxDoc;
class CRichSyntaxView;
struct CommandDescription;
struct CommandTarget;

// The main window: the document windows, the two menu bars (the no-document
// menu and the document menu), the window-wide shortcuts, the toolbar and the
// status bar, all made from the command registry.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    QMdiArea *MdiArea() const { return m_pMdiArea; }
    CChildFrame *ActiveChildFrame() const;
    CRichSyntaxDoc *ActiveDocument() const;
    CRichSyntaxView *ActiveView() const;

    void AddChildFrame(CChildFrame *frame);
    // Brings the menus, the enabling and the caption up to date.
    void UpdateFrameState();
    // Windows of open files that share a name show the folders that tell them apart.
    void UpdateDistinctFolders();
    void RebuildRecentFileMenu();

    // The program's one Find or Replace dialog.
    CFindReplace *FindReplace() const { return m_pFindReplace; }

    // File/Close: the closing prompt, then every window of the document goes.
    void OnFileClose(CRichSyntaxDoc &doc);
    // F10: the menu bar takes the keyboard, its first menu open.
    void OpenMenuBar();
    // Window/Arrange Icons: minimised windows line up along the bottom edge.
    void ArrangeIcons();
    // Sizes the window with its frame, as far as the window system reports
    // the frame; a frame reported later, once the window is on screen, is
    // taken into account then.
    void ResizeOuter(const QSize &outer);
    // Puts the window where it was at the end of the last run, or at its
    // first size, inside the screen's available area either way, and shows it.
    void ShowInPlace(const QSize &firstSize);
    // Keeps the window's place for the next run.
    void SavePlace() const;
    void KeepInsideScreen();
    // The toolbar's pictures, drawn for the window's palette.
    void UpdateToolbarIcons();
    // While held, no question about files changed on disk comes up; the
    // active document's file is looked at once they are no longer held.
    void HoldDiskChecks(bool hold);

    // The "Messages" panel, docked below the windows: it shows each compile's
    // messages and output and opens when a compile reported messages.
    void ConnectMessages(CBuildCommands &build);
    void ToggleMessages();
    QDockWidget *MessagesDock() const { return m_pMessagesDock; }
    CMessagesPanel *Messages() const { return m_pMessages; }
    // The "Outline" panel, docked at the right: the active window's definitions.
    void ToggleOutline();
    QDockWidget *OutlineDock() const { return m_pOutlineDock; }
    COutlinePanel *Outline() const { return m_pOutline; }

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    QAction *MakeAction(const CommandDescription &command, const QString &text);
    QAction *Action(CommandId id) const { return m_actions.value(id); }
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateOutline();
    // A panel docked in area, hidden, its menu item (command) ticked while it shows.
    QDockWidget *AddPanel(const QString &name, const QString &title, QWidget *panel, Qt::DockWidgetArea area,
                          CommandId command);
    // Shows or hides the panel; shown, focus goes into it.
    void TogglePanel(QDockWidget *dock, QWidget *focus);
    void UpdateIndicators();
    void UpdatePositionPane();
    CommandTarget Target() const;
    void ListWindows(QMenu *menu);
    // The title alone, or the title followed by the active document window's.
    QString Caption() const;
    void UpdateCaption();
    void UpdateCommandStates();
    // Asks about the active document's file when another program has changed it.
    void CheckActiveFileOnDisk();
    void ApplyOuterSize();

    QMdiArea *m_pMdiArea = nullptr;
    QDockWidget *m_pMessagesDock = nullptr;
    QDockWidget *m_pOutlineDock = nullptr;
    COutlinePanel *m_pOutline = nullptr;
    CMessagesPanel *m_pMessages = nullptr;
    CFindReplace *m_pFindReplace = nullptr;
    QToolBar *m_pToolBar = nullptr;
    QHash<CommandId, QAction *> m_actions; // one per command; menus, toolbar and keys share it
    // Actions enabled only while a document window is active, or as the command's state says.
    QList<QPair<QAction *, const CommandDescription *>> m_stateActions;
    QPointer<CRichSyntaxView> m_pWatchedView; // whose selection and undo the enabling follows
    QList<QAction *> m_recentActions;
    QList<QMenu *> m_noDocMenus;
    QList<QMenu *> m_docMenus;
    QLabel *m_pPositionPane = nullptr; // the caret's line and column
    QLabel *m_pFormatPane = nullptr;   // the file's encoding and line break
    QLabel *m_pCapsPane = nullptr;
    QLabel *m_pNumPane = nullptr;
    QLabel *m_pScrlPane = nullptr;
    bool m_bDocMenu = false;
    bool m_bCheckingDisk = false;
    bool m_bDiskChecksHeld = false;
    QSize m_outerSize; // valid until a reported frame has been taken into account
    QMargins m_appliedFrame;
    // A restored place is kept inside the screen once the frame around it is known.
    bool m_bKeepInside = false;
    QRect m_normalPlace;
};
