// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/richsyntaxview.h"

#include "editor/richsyntaxdoc.h"

CRichSyntaxView::CRichSyntaxView(CRichSyntaxDoc *doc, QWidget *parent)
    : QPlainTextEdit(parent), m_pDocument(doc)
{
    setDocument(doc->TextDocument());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    doc->AddView(this);
}

CRichSyntaxView::~CRichSyntaxView()
{
    m_pDocument->RemoveView(this);
}

void CRichSyntaxView::OnInitialUpdate() {}
void CRichSyntaxView::OnEditUndo() { undo(); }
void CRichSyntaxView::OnEditCut() { cut(); }
void CRichSyntaxView::OnEditCopy() { copy(); }
void CRichSyntaxView::OnEditPaste() { paste(); }
void CRichSyntaxView::OnEditSelectAll() { selectAll(); }
void CRichSyntaxView::OnEditFind() {}
void CRichSyntaxView::OnEditRepeat() {}
void CRichSyntaxView::OnEditReplace() {}
void CRichSyntaxView::OnFilePrint() {}
