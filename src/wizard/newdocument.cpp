// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// File/New of a source document: the wizard and the project folder.
#include "editor/richsyntaxdoc.h"

#include <QTextDocument>

bool CRichSyntaxDoc::OnNewDocument()
{
    m_pTextDoc->clear();
    m_strPathName.clear();
    m_nNewType = 0;
    SetModifiedFlag(false);
    return true;
}

bool CRichSyntaxDoc::CreateProjectFolder(QString &, QString)
{
    return false;
}
