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

void CRichSyntaxView::OnInitialUpdate()
{
    CRichSyntaxDoc *doc = m_pDocument;
    // A new project file gets its template once, from the first view shown;
    // a later view on the same document must not throw away what was typed.
    if (doc->m_nNewType != 0 && !doc->m_bTemplatePlaced) {
        doc->m_bTemplatePlaced = true;
        setPlainText(doc->m_strTemplate);
        moveCursor(QTextCursor::End);
        doc->OnSaveDocument(doc->GetPathName());
    }
}
void CRichSyntaxView::OnEditUndo() { undo(); }
void CRichSyntaxView::OnEditCut() { cut(); }
void CRichSyntaxView::OnEditCopy() { copy(); }
void CRichSyntaxView::OnEditPaste() { paste(); }
void CRichSyntaxView::OnEditSelectAll() { selectAll(); }
void CRichSyntaxView::OnEditFind() {}
void CRichSyntaxView::OnEditRepeat() {}
void CRichSyntaxView::OnEditReplace() {}
void CRichSyntaxView::OnFilePrint() {}
