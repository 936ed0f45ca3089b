// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class CRichSyntaxDoc;

// File/New: the New Source Project Wizard for a fresh document. A project
// source file gets its (new) folder, which becomes the current directory, its
// path and the template text that its first view puts in place. False after
// Cancel or a reported failure: the document is abandoned.
bool RunNewDocumentWizard(CRichSyntaxDoc &doc);

// Makes the sub-folder name inside folder and points folder at it; false after
// a message when folder cannot be entered or name is no plain folder name.
bool CreateProjectFolder(QString &folder, const QString &name);
