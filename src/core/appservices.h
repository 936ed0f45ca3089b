// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// What a file dialog is asked for. Every file and folder dialog of the program
// is described by one of these.
struct FileDialogRequest
{
    enum Mode { OpenFile, SaveFile, Folder };
    Mode mode = OpenFile;
    QString caption;
    QString directory;                 // folder to start in; empty: the current directory
    QString fileName;                  // initial file name
    QStringList filters;               // Qt form, "Name (*.x)"
    QString defaultSuffix;             // without the dot
    bool listFilesInFolderMode = true; // Folder mode: show files too, a file gives its folder
    bool mustExist = true;             // Open mode: only an existing file can be confirmed
    // Open mode: while this one of the filters is selected, executable files of
    // any name are listed too (programs outside Windows carry no extension).
    QString executableFilter;
};

// What the editing, build and wizard code needs from the application that
// hosts it. The application installs its implementation at start; tests
// install their own.
class IAppServices
{
public:
    virtual ~IAppServices() = default;

    // The program's message box, captioned with its name. Without a default
    // button named, Enter takes the first of the buttons.
    virtual QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) = 0;
    // A file or folder dialog over parent; the chosen full path, or empty text when cancelled.
    virtual QString FileDialog(QWidget *parent, const FileDialogRequest &request) = 0;
    // Opens a web address or a local file with the desktop's program for it and
    // calls answer once with whether it opened: at once, or from the event loop
    // when the desktop takes time to tell.
    using OpenAnswer = std::function<void(bool opened)>;
    virtual void ShellOpen(const QString &target, OpenAnswer answer) = 0;
    // The window that dialogs belong to and open over: the main window.
    virtual QWidget *DialogParent() = 0;
    // The printer that Print Setup sets up and Print uses.
    virtual QPrinter *Printer() = 0;
    // Shows text in the main window's status bar until something else is shown.
    virtual void ShowStatusMessage(const QString &text) = 0;
    // Opens path, or activates the window that shows it, and puts the caret at
    // line and column (from 1; column 0: the line's start). False when the
    // file could not be opened; the failure has been reported then.
    virtual bool GoToSource(const QString &path, int line, int column) = 0;
};

// Services installed for the object's lifetime that pass every request on to
// the services installed before; a subclass answers what it takes on itself.
class CForwardingServices : public IAppServices
{
public:
    CForwardingServices();
    ~CForwardingServices() override;
    CForwardingServices(const CForwardingServices &) = delete;
    CForwardingServices &operator=(const CForwardingServices &) = delete;

    QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString FileDialog(QWidget *parent, const FileDialogRequest &request) override;
    void ShellOpen(const QString &target, OpenAnswer answer) override;
    QWidget *DialogParent() override;
    QPrinter *Printer() override;
    void ShowStatusMessage(const QString &text) override;
    bool GoToSource(const QString &path, int line, int column) override;

protected:
    // The services installed before, or none.
    IAppServices &Previous();

private:
    IAppServices *m_pPrevious;
};

// The installed services. Before any is installed, message boxes answer with
// no button, dialogs are cancelled and nothing opens.
IAppServices &Services();
// Installs services and returns the ones installed before (nullptr for none).
IAppServices *SetServices(IAppServices *services);

// Shorthand for the installed services' message box.
QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon = QMessageBox::Warning,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
