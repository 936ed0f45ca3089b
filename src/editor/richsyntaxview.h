// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

class CRichSyntaxDoc;

// The editing window of one source document: fixed-pitch text without
// wrapping, coloured Quarn BASIC, numbered lines in a gutter, plain-text paste.
class CRichSyntaxView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CRichSyntaxView(CRichSyntaxDoc *doc, QWidget *parent = nullptr);
    ~CRichSyntaxView() override;

    CRichSyntaxDoc *GetDocument() const { return m_pDocument; }

    // First showing: the new-project template if the document asks for it, then
    // the whole text is coloured.
    void OnInitialUpdate();

    // Edit and print commands, routed here from the main frame.
    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditFind();
    void OnEditRepeat();
    void OnEditReplace();
    void OnFilePrint();

private:
    CRichSyntaxDoc *m_pDocument;
};
