// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/richsyntaxview.h"

#include "core/appservices.h"
#include "core/filepaths.h"
#include "editor/gutterwidget.h"
#include "editor/richsyntaxdoc.h"
#include "editor/syntaxhighlighter.h"

#include <QApplication>
#include <QColor>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>

namespace {
const char *const kFontFace = "Courier New";
constexpr int kFontPoints = 9;
constexpr int kTabColumns = 4;
constexpr int kDefaultGutterWidth = 40;
// The text starts this many pixels to the right of the gutter.
constexpr int kTextGap = 5;
// The separator sits one pixel inside the gutter, the numbers end three
// pixels before the separator.
constexpr int kNumberGap = 3;
const QColor kGutterInk(0, 128, 128);

// Restores the cursor however the colouring ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
} // namespace

CRichSyntaxView::CRichSyntaxView(CRichSyntaxDoc *doc, QWidget *parent)
    : QPlainTextEdit(parent), m_pDocument(doc)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    m_font = EditorFont();
    setFont(m_font);

    // Font, wrapping and tab stops live in the shared text document. They are
    // set there before the view takes it, at once, because every change of
    // them lays out the whole text again.
    QTextDocument *text = doc->TextDocument();
    QTextOption option = text->defaultTextOption();
    const qreal tabStop = kTabColumns * QFontMetricsF(m_font).averageCharWidth();
    if (option.wrapMode() != QTextOption::NoWrap || option.tabStopDistance() != tabStop) {
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabStopDistance(tabStop);
        text->setDefaultTextOption(option);
    }
    if (text->defaultFont() != m_font)
        text->setDefaultFont(m_font);
    setDocument(text);
    // One highlighter for the text, shared by every window on it.
    m_pHighlighter = CSyntaxHighlighter::ForDocument(text);

    // Plain text is black on white whatever the desktop's colours: the six
    // formats are made for that ground.
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, m_pHighlighter->m_cfPlain.foreground().color());
    setPalette(colors);

    m_pGutter = new CGutterWidget(this);
    SetGutterWidth(kDefaultGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, m_pGutter, [this](const QRect &, int) {
        m_pGutter->update();
    });

    doc->AddView(this);
}

CRichSyntaxView::~CRichSyntaxView()
{
    m_pDocument->RemoveView(this);
}

QFont CRichSyntaxView::EditorFont()
{
    QFont font(QString::fromLatin1(kFontFace));
    font.setPointSize(kFontPoints);
    // Where the face is missing, any fixed-pitch face will do.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
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
    ColorDocument();
}

void CRichSyntaxView::ColorDocument()
{
    WaitCursor wait;
    m_pHighlighter->ColorDocument();
}

void CRichSyntaxView::SetGutterWidth(int width)
{
    m_nGutterWidth = width;
    const int margin = width + kTextGap - int(document()->documentMargin());
    setViewportMargins(margin > 0 ? margin : 0, 0, 0, 0);
    UpdateGutterGeometry();
}

void CRichSyntaxView::UpdateGutterGeometry()
{
    const QRect area = contentsRect();
    m_pGutter->setGeometry(area.left(), area.top(), viewportMargins().left(), area.height());
}

void CRichSyntaxView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    UpdateGutterGeometry();
}

void CRichSyntaxView::PaintGutter(QWidget *gutter, const QRect &rect)
{
    const int x = m_nGutterWidth - 1;
    QPainter painter(gutter);
    painter.fillRect(rect, Qt::white);
    if (x < 1)
        return;
    const int bottom = gutter->height();
    painter.setPen(kGutterInk);
    for (int y = 0; y < bottom; y += 2)
        painter.drawPoint(x, y);

    painter.setFont(m_font);
    const int right = x - kNumberGap;
    const int lineHeight = QFontMetrics(m_font).height();
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const int top = int(blockBoundingGeometry(block).translated(offset).top());
        if (top >= bottom)
            break;
        if (!block.isVisible())
            continue;
        const QString number = QString::asprintf("%6d", block.blockNumber() + 1);
        painter.drawText(QRect(0, top, right, lineHeight), Qt::AlignRight | Qt::AlignTop, number);
    }
}

void CRichSyntaxView::GoToPosition(int line, int column)
{
    const QTextBlock block = document()->findBlockByNumber(qBound(1, line, document()->blockCount()) - 1);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qBound(0, column - 1, block.length() - 1));
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void CRichSyntaxView::OnEditUndo() { undo(); }
void CRichSyntaxView::OnEditCut() { cut(); }
void CRichSyntaxView::OnEditCopy() { copy(); }
void CRichSyntaxView::OnEditPaste() { paste(); }
void CRichSyntaxView::OnEditSelectAll() { selectAll(); }

bool CRichSyntaxView::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void CRichSyntaxView::insertFromMimeData(const QMimeData *source)
{
    // Only the plain text: rich text, pictures and objects are never taken.
    // A line separator from the clipboard is a line break here, as in a file;
    // kept inside the line it would not survive a save as the compiler's text.
    if (source->hasText()) {
        QString text = source->text();
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        insertPlainText(text);
    }
}

void CRichSyntaxView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!LocalFilesOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void CRichSyntaxView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!LocalFilesOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void CRichSyntaxView::dropEvent(QDropEvent *event)
{
    const QStringList files = LocalFilesOf(event->mimeData());
    if (files.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    // Dropped files open as documents, never as their names in the text.
    event->acceptProposedAction();
    Q_EMIT FilesDropped(files);
}

void CRichSyntaxView::keyPressEvent(QKeyEvent *event)
{
    // Shift+Enter would put a line separator inside the line: a break on the
    // screen but none in the file, nor for the line numbers and the colours.
    // Here it makes the same line break as Enter.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                        event->isAutoRepeat());
        QPlainTextEdit::keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CRichSyntaxView::ShowFindDialog(bool replace)
{
    FindRequest initial = m_lastFind;
    const QString selected = textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        initial.findWhat = selected;
    if (m_pFindDlg && m_pFindDlg->IsReplace() != replace)
        delete m_pFindDlg;
    if (!m_pFindDlg) {
        m_pFindDlg = new CFindReplaceDlg(replace, initial, this);
        connect(m_pFindDlg, &CFindReplaceDlg::FindNext, this, &CRichSyntaxView::FindNext);
        connect(m_pFindDlg, &CFindReplaceDlg::Replace, this, &CRichSyntaxView::Replace);
        connect(m_pFindDlg, &CFindReplaceDlg::ReplaceAll, this, &CRichSyntaxView::ReplaceAll);
    } else {
        m_pFindDlg->SetRequest(initial);
    }
    m_pFindDlg->show();
    m_pFindDlg->raise();
    m_pFindDlg->activateWindow();
}

void CRichSyntaxView::OnEditFind()
{
    ShowFindDialog(false);
}

void CRichSyntaxView::OnEditReplace()
{
    ShowFindDialog(true);
}

void CRichSyntaxView::OnEditRepeat()
{
    if (!m_bHasLastFind || m_lastFind.findWhat.isEmpty()) {
        OnEditFind();
        return;
    }
    FindNext(m_lastFind);
}

namespace {
QTextDocument::FindFlags FlagsOf(const FindRequest &request)
{
    QTextDocument::FindFlags flags;
    if (request.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (request.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!request.down)
        flags |= QTextDocument::FindBackward;
    return flags;
}

bool SelectionMatches(const QTextCursor &cursor, const FindRequest &request)
{
    if (!cursor.hasSelection())
        return false;
    // The selection must be exactly what a search would find from its start.
    QTextCursor probe(cursor.document());
    probe.setPosition(cursor.selectionStart());
    QTextDocument::FindFlags flags = FlagsOf(request) & ~QTextDocument::FindBackward;
    const QTextCursor found = cursor.document()->find(request.findWhat, probe, flags);
    return !found.isNull() && found.selectionStart() == cursor.selectionStart()
        && found.selectionEnd() == cursor.selectionEnd();
}
} // namespace

bool CRichSyntaxView::FindNext(const FindRequest &request)
{
    m_lastFind = request;
    m_bHasLastFind = true;
    if (request.findWhat.isEmpty()) {
        QApplication::beep();
        return false;
    }
    const QTextDocument::FindFlags flags = FlagsOf(request);
    QTextCursor found = document()->find(request.findWhat, textCursor(), flags);
    if (found.isNull()) {
        // Once round: from the other end of the text.
        QTextCursor start(document());
        start.movePosition(request.down ? QTextCursor::Start : QTextCursor::End);
        found = document()->find(request.findWhat, start, flags);
    }
    if (found.isNull()) {
        QApplication::beep();
        return false;
    }
    setTextCursor(found);
    return true;
}

bool CRichSyntaxView::Replace(const FindRequest &request)
{
    QTextCursor cursor = textCursor();
    if (SelectionMatches(cursor, request)) {
        cursor.insertText(request.replaceWith);
        setTextCursor(cursor);
    }
    return FindNext(request);
}

int CRichSyntaxView::ReplaceAll(const FindRequest &request)
{
    m_lastFind = request;
    m_bHasLastFind = true;
    int count = 0;
    if (!request.findWhat.isEmpty()) {
        const QTextDocument::FindFlags flags = FlagsOf(request) & ~QTextDocument::FindBackward;
        QTextCursor edit(document());
        edit.beginEditBlock();
        QTextCursor from(document());
        for (;;) {
            QTextCursor found = document()->find(request.findWhat, from, flags);
            if (found.isNull())
                break;
            found.insertText(request.replaceWith);
            from = found;
            ++count;
        }
        edit.endEditBlock();
    }
    if (count == 0)
        QApplication::beep();
    return count;
}

std::unique_ptr<QTextDocument> CRichSyntaxView::CreatePrintDocument() const
{
    // Printing a document drops the colours that live in the block layouts,
    // so the copy carries them as character formats of its own.
    std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setDefaultFont(m_font);
    // On paper a line longer than the page goes on in the next row instead of
    // being cut off at the page's edge.
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    QTextCursor cursor(copy.get());
    for (QTextBlock source = document()->firstBlock(), target = copy->firstBlock();
         source.isValid() && target.isValid(); source = source.next(), target = target.next()) {
        const QList<QTextLayout::FormatRange> ranges = source.layout()->formats();
        for (const QTextLayout::FormatRange &range : ranges) {
            cursor.setPosition(target.position() + range.start);
            cursor.setPosition(target.position() + range.start + range.length,
                               QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(range.format);
        }
    }
    return copy;
}

void CRichSyntaxView::PrintDocument(QPagedPaintDevice *printer) const
{
    std::unique_ptr<QTextDocument> copy = CreatePrintDocument();
    // Laid out for the printer's own page area, so that only the printer's
    // margins lie around the text.
    copy->documentLayout()->setPaintDevice(printer);
    copy->setDocumentMargin(0);
    copy->setPageSize(QSizeF(printer->width(), printer->height()));
    copy->print(printer);
}

void CRichSyntaxView::OnFilePrint()
{
    // The printer and paper chosen in Print Setup; the margins are the view's.
    QPrinter *printer = Services().Printer();
    if (!printer)
        return;
    printer->setPageMargins(QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches,
                                      kPrintMarginInches),
                            QPageLayout::Inch);
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintDocument(printer);
}
