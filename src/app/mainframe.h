// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class CChildFrame;
class CRichSyntaxDoc;
class CRichSyntaxView;

// The main window: the document windows, the two menus (no document, a
// document active), the window-wide shortcuts, the toolbar and the status bar.
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

    // The action of a command id (menu item, toolbar button and shortcut share it).
    QAction *Action(int id) const { return m_actions.value(id); }
    QToolBar *ToolBar() const { return m_pToolBar; }

    void AddChildFrame(CChildFrame *frame);
    // Brings the menus, the enabling and the caption up to date.
    void UpdateFrameState();
    void RebuildRecentFileMenu();

    static QString AppTitle();

Q_SIGNALS:
    // A command reached the frame from a menu, a button or a key.
    void CommandRouted(int id);

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateIndicators();
    void OnCommand(int id);
    void ArrangeIcons();
    void ListWindows(QMenu *menu);
    void UpdateCaption();

    QMdiArea *m_pMdiArea = nullptr;
    QToolBar *m_pToolBar = nullptr;
    QHash<int, QAction *> m_actions;
    QList<QAction *> m_recentActions;
    QList<QMenu *> m_noDocMenus;   // menu 128
    QList<QMenu *> m_docMenus;     // menu 129
    QLabel *m_pCapsPane = nullptr;
    QLabel *m_pNumPane = nullptr;
    QLabel *m_pScrlPane = nullptr;
    bool m_bDocMenu = false;
};
