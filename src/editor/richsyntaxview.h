// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/findreplacedlg.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>

#include <memory>

class CGutterWidget;
class CRichSyntaxDoc;
class CSyntaxHighlighter;
class QPagedPaintDevice;
class QTextDocument;

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
    void OnFilePrint();

    // Colours every line, under a wait cursor.
    void ColorDocument();

    void SetGutterWidth(int width);
    // Draws the gutter's background, separator and the visible line numbers.
    void PaintGutter(QWidget *gutter, const QRect &rect);

    // Puts the caret at line and column (both from 1; column 0: the line's
    // start), within the text, shows it and takes the focus.
    void GoToPosition(int line, int column);

    // Searching; false (after a beep) when the text was not found.
    bool FindNext(const FindRequest &request);
    bool Replace(const FindRequest &request);
    int ReplaceAll(const FindRequest &request);
    // The beep, and the status bar's word of what was not found.
    static void NotFound(const FindRequest &request);

    // A copy of the text with the colours made part of it, as it is printed.
    std::unique_ptr<QTextDocument> CreatePrintDocument() const;
    // Prints the coloured text with the view's margins.
    void PrintDocument(QPagedPaintDevice *printer) const;

    static QFont EditorFont();
    // Print margins on each side, in inches.
    static constexpr double kPrintMarginInches = 0.5;

Q_SIGNALS:
    // Files were dropped on the text; they open as documents, never as their names in the text.
    void FilesDropped(const QStringList &files);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void UpdateGutterGeometry();

    CRichSyntaxDoc *m_pDocument;
    CSyntaxHighlighter *m_pHighlighter = nullptr;
    CGutterWidget *m_pGutter = nullptr;
    QFont m_font;
    int m_nGutterWidth = 40;
};
