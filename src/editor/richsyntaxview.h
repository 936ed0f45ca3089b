// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "editor/findrequest.h"
#include "editor/scanner.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>

#include <memory>
#include <vector>

class CGutterWidget;
class CRichSyntaxDoc;
class CTextMarks;
class CTextPainter;
class QHelpEvent;
class CSourceColorer;
class QCompleter;
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
    // the rows in view are coloured.
    void OnInitialUpdate();

    // Edit and print commands, routed here from the main frame.
    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnFilePrint();
    void OnEditRedo();
    // Asks for a line and puts the caret at its start.
    void OnEditGoToLine();
    // Go To Matching: to the partner of the block keyword or bracket at the caret.
    void OnEditGoToMatching();
    // Tab and Shift+Tab over lines: each line one level in or out, as one step.
    void IndentLines(bool inward);
    // Comments the selected lines (or the caret's) out, or back in; one undo step.
    void OnEditCommentLines();
    // Offers the words that complete the word before the caret, in a list at the caret.
    void OnEditComplete();
    // The completion list, while it is open.
    QCompleter *Completer() const { return m_pCompleter; }

    // The caret's line and the column it is shown at, both from 1.
    QPoint CaretLineColumn() const;

    // Colours the rows in view that are not coloured yet.
    void ColorVisibleBlocks();

    void SetGutterWidth(int width);

    // What the gutter draws from: the rows in view, the painter's faces and the marks.
    QTextBlock FirstShownBlock() const;
    QRectF ShownRect(const QTextBlock &block) const;
    CTextPainter &Painter() const { return *m_pPainter; }
    const CTextMarks &Marks() const { return *m_pMarks; }
    const QFont &TextFont() const { return m_font; }

    // The messages of the marks under pos (in the text area's, or with
    // inGutter the gutter's coordinates: any mark of the row); empty when none.
    QString MarkTextsAt(const QPoint &pos, bool inGutter) const;
    // Shows them as the tooltip a help event over the widget asks for.
    void ShowMarkTip(const QHelpEvent &help, QWidget *over, bool inGutter) const;

    // Puts the caret at line and column (both from 1; column 0: the line's
    // start), within the text, shows it and takes the focus.
    void GoToPosition(int line, int column);
    // Puts the caret at a position in the text, shown in the middle, and gives the view the focus.
    void GoToOffset(int position);

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

    // The text's font at the normal size, and at a zoom step.
    static QFont EditorFont();
    static QFont EditorFont(int zoomStep);
    // The gutter's width at a zoom step: wider as the numbers grow.
    static int GutterWidth(int zoomStep);
    static constexpr int kTabColumns = 4;
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
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void UpdateGutterGeometry();
    // Font, tab stops and gutter for the zoom step.
    void ApplyZoom(int step);
    static void ApplyTextFormat(QTextDocument *text, const QFont &font);
    // Offers the completions of the word before the caret again, or closes the list.
    void UpdateCompletions();
    void InsertCompletion(const QString &word);
    // The status bar shows the message of a mark on the caret's line.
    void ShowCaretMark();
    // Enter, Tab and Shift+Tab as indentation asks; false when the key is left to the text edit.
    bool HandleIndentKey(const QKeyEvent &event);

    CRichSyntaxDoc *m_pDocument;
    CSourceColorer *m_pColorer = nullptr;
    CGutterWidget *m_pGutter = nullptr;
    CTextMarks *m_pMarks = nullptr;
    bool m_bAutoIndent = true; // Enter keeps the line's indentation
    bool m_bShowsMark = false; // the status bar shows a mark's message
    QFont m_font;
    QCompleter *m_pCompleter = nullptr;
    QStringList m_completionWords; // the document's words, while the list is open
    int m_nWheelDelta = 0;         // Ctrl+wheel turns not yet a whole zoom step
    std::unique_ptr<CTextPainter> m_pPainter;
};
