// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The source document's build commands: Compile, Run and Link.
#include "editor/richsyntaxdoc.h"

void CRichSyntaxDoc::OnBuildCompile() {}
void CRichSyntaxDoc::OnBuildRun() {}
void CRichSyntaxDoc::OnBuildLink() {}

QString CRichSyntaxDoc::GetRomFileName() const
{
    return QString();
}

QString CRichSyntaxDoc::GetMultibootFileName() const
{
    return QString();
}
