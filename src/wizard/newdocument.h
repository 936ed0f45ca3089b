// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What File/New is to open: a blank document, or a project source file at
// path that starts with text.
struct NewDocumentRequest
{
    QString path;
    QString text;

    bool IsProject() const { return !path.isEmpty(); }
};

// File/New: the New Source Project Wizard. A project source file gets its
// (new) folder, which becomes the current directory, its path and its
// template text. False after Cancel or a reported failure: nothing is opened.
bool RunNewDocumentWizard(NewDocumentRequest *request);

// Makes the sub-folder name inside folder and points folder at it; false after
// a message when folder cannot be entered or name is no plain folder name.
bool CreateProjectFolder(QString &folder, const QString &name);
