// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/richsyntaxview.h"

#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/caretcues.h"
#include "editor/editorsettings.h"
#include "editor/editorzoom.h"
#include "editor/edittext.h"
#include "editor/gotolinedlg.h"
#include "editor/gutterwidget.h"
#include "editor/navigation.h"
#include "editor/richsyntaxdoc.h"
#include "editor/sourcecolorer.h"
#include "editor/textmarks.h"
#include "editor/textpainter.h"
#include "editor/textsearch.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QWheelEvent>
#include <QtMath>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <QToolTip>

namespace {
const char *const kFontFace = "Courier New";
constexpr int kFontPoints = 9;
constexpr int kDefaultGutterWidth = 40;
// The text starts this many pixels to the right of the gutter.
constexpr int kTextGap = 5;
const UiText kNotFound{"CRichSyntaxView", QT_TRANSLATE_NOOP("CRichSyntaxView", "Cannot find \"%1\"")};

// A key chord with Ctrl, Alt or Meta carries a command, never a character to
// type; unknown chords type nothing. Ctrl+Alt together is how Windows reports
// AltGr, and on macOS Option types characters, so those keep typing.
bool IsCommandChord(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint())
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && (mods & Qt::AltModifier))
        return false;
#ifdef Q_OS_MACOS
    return mods & (Qt::ControlModifier | Qt::MetaModifier);
#else
    return mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
#endif
}

} // namespace

CRichSyntaxView::CRichSyntaxView(CRichSyntaxDoc *doc, QWidget *parent) : QPlainTextEdit(parent), m_pDocument(doc)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    const int zoom = CEditorZoom::Instance().Step();
    m_font = EditorFont(zoom);
    setFont(m_font);

    // Font, wrapping and tab stops live in the shared text document. They are
    // set there before the view takes it, at once, because every change of
    // them lays out the whole text again.
    QTextDocument *text = doc->TextDocument();
    ApplyTextFormat(text, m_font);
    setDocument(text);
    // One colorer for the text, shared by every window on it.
    m_pColorer = CSourceColorer::ForDocument(text);

    // Plain text is black on white whatever the desktop's colours: the six
    // formats are made for that ground.
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, m_pColorer->m_cfPlain.foreground().color());
    setPalette(colors);

    m_pGutter = new CGutterWidget(this);
    SetGutterWidth(GutterWidth(zoom));
    connect(&CEditorZoom::Instance(), &CEditorZoom::Changed, this, &CRichSyntaxView::ApplyZoom);
    // The rows that come into view are coloured before they are painted, in
    // the update the scrolling asks for anyway.
    connect(this, &QPlainTextEdit::updateRequest, this, &CRichSyntaxView::ColorVisibleBlocks);
    connect(this, &QPlainTextEdit::updateRequest, m_pGutter, &CGutterWidget::FollowUpdate);
    // Marks in the text, shared by every window on it.
    m_pMarks = CTextMarks::ForDocument(text);
    m_pPainter = std::make_unique<CTextPainter>(*m_pColorer, *m_pMarks);
    connect(m_pMarks, &CTextMarks::Changed, this, [this] {
        viewport()->update();
        m_pGutter->update();
        ShowCaretMark();
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CRichSyntaxView::ShowCaretMark);
    // Pairs and a name's occurrences around the caret.
    new CCaretCues(this);
    m_bAutoIndent = EditorSettings::Load(CSettingsStore()).autoIndent;

    doc->AddView(this);
}

CRichSyntaxView::~CRichSyntaxView()
{
    m_pDocument->RemoveView(this);
}

QFont CRichSyntaxView::EditorFont(int zoomStep)
{
    QFont font = EditorFont();
    if (zoomStep != 0)
        font.setPointSizeF(CEditorZoom::PointSize(kFontPoints, zoomStep));
    return font;
}

int CRichSyntaxView::GutterWidth(int zoomStep)
{
    // Smaller numbers fit the normal width; larger ones widen it as they grow.
    if (zoomStep <= 0)
        return kDefaultGutterWidth;
    return qCeil(CEditorZoom::PointSize(kDefaultGutterWidth, zoomStep));
}

void CRichSyntaxView::ApplyTextFormat(QTextDocument *text, const QFont &font)
{
    QTextOption option = text->defaultTextOption();
    const qreal tabStop = kTabColumns * QFontMetricsF(font).averageCharWidth();
    if (option.wrapMode() != QTextOption::NoWrap || option.tabStopDistance() != tabStop) {
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabStopDistance(tabStop);
        text->setDefaultTextOption(option);
    }
    if (text->defaultFont() != font)
        text->setDefaultFont(font);
}

void CRichSyntaxView::ApplyZoom(int step)
{
    m_font = EditorFont(step);
    setFont(m_font);
    ApplyTextFormat(document(), m_font);
    SetGutterWidth(GutterWidth(step));
}

void CRichSyntaxView::wheelEvent(QWheelEvent *event)
{
    // Ctrl with the wheel zooms every document window, a step a notch.
    if (event->modifiers() & Qt::ControlModifier) {
        m_nWheelDelta += event->angleDelta().y();
        while (m_nWheelDelta >= QWheelEvent::DefaultDeltasPerStep) {
            m_nWheelDelta -= QWheelEvent::DefaultDeltasPerStep;
            CEditorZoom::Instance().ZoomIn();
        }
        while (m_nWheelDelta <= -QWheelEvent::DefaultDeltasPerStep) {
            m_nWheelDelta += QWheelEvent::DefaultDeltasPerStep;
            CEditorZoom::Instance().ZoomOut();
        }
        event->accept();
        return;
    }
    QPlainTextEdit::wheelEvent(event);
}

QFont CRichSyntaxView::EditorFont()
{
    QFont font(QString::fromLatin1(kFontFace));
    font.setPointSize(kFontPoints);
    // Where the face is missing, any fixed-pitch face will do.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Latin text in a fixed-pitch face needs no shaping; skipping it makes
    // laying out cheaper, and lets the view place Latin-1 glyphs by adding up
    // their advances just as the layout does.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void CRichSyntaxView::OnInitialUpdate()
{
    ColorVisibleBlocks();
}

void CRichSyntaxView::ColorVisibleBlocks()
{
    // Every line is one row high, so the rows in view are known without
    // laying anything out; a row more at each end covers partial rows.
    const QTextBlock top = firstVisibleBlock();
    if (!top.isValid())
        return;
    const int rowHeight = qMax(1, QFontMetrics(m_font).height());
    const int rows = viewport()->height() / rowHeight + 2;
    const QTextBlock bottom =
        document()->findBlockByNumber(qMin(document()->blockCount() - 1, top.blockNumber() + rows));
    m_pColorer->EnsureColored(top.isValid() && top.previous().isValid() ? top.previous() : top, bottom);
}

void CRichSyntaxView::paintEvent(QPaintEvent *event)
{
    // No row is ever drawn without its colours.
    ColorVisibleBlocks();
    CTextPainter::Page page;
    page.font = m_font;
    page.first = firstVisibleBlock();
    page.offset = contentOffset();
    page.clip = event->rect();
    page.bottom = viewport()->height();
    page.context = getPaintContext();
    page.caretShown = !isReadOnly() || (textInteractionFlags() & Qt::TextSelectableByKeyboard);
    page.readOnly = isReadOnly();
    page.caretWidth = cursorWidth();
    QPainter painter(viewport());
    m_pPainter->Paint(painter, page);
}

QTextBlock CRichSyntaxView::FirstShownBlock() const
{
    return firstVisibleBlock();
}

QRectF CRichSyntaxView::ShownRect(const QTextBlock &block) const
{
    return blockBoundingGeometry(block).translated(contentOffset());
}

void CRichSyntaxView::SetGutterWidth(int width)
{
    m_pGutter->SetNumbersWidth(width);
    const int margin = width + kTextGap - int(document()->documentMargin());
    setViewportMargins(margin > 0 ? margin : 0, 0, 0, 0);
    UpdateGutterGeometry();
}

void CRichSyntaxView::UpdateGutterGeometry()
{
    // The strip reaches to where the text starts, over the text area's own margin.
    const QRect area = contentsRect();
    const int numbers = m_pGutter->NumbersWidth();
    const int width = numbers > 0 ? numbers + kTextGap : viewportMargins().left();
    m_pGutter->setGeometry(area.left(), area.top(), width, area.height());
}

void CRichSyntaxView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    // Rows that come into view are coloured before anything is laid out to paint them.
    ColorVisibleBlocks();
    UpdateGutterGeometry();
}

QString CRichSyntaxView::MarkTextsAt(const QPoint &pos, bool inGutter) const
{
    const QTextCursor cursor = cursorForPosition(inGutter ? QPoint(0, pos.y()) : pos);
    const QTextBlock block = cursor.block();
    if (!inGutter) {
        // Only over an underline: between its ends, on its row.
        bool over = false;
        for (const CTextMarks::Mark *mark : m_pMarks->OnBlock(block)) {
            QTextCursor end(block);
            end.setPosition(block.position() + mark->column);
            const QRect start = cursorRect(end);
            end.setPosition(end.position() + CTextMarks::UnderlinedLength(block.text(), mark->column));
            over = over
                   || (pos.x() >= start.left() && pos.x() <= cursorRect(end).left() && pos.y() >= start.top()
                       && pos.y() <= start.bottom());
        }
        if (!over)
            return QString();
    }
    return m_pMarks->TextsOn(block);
}

void CRichSyntaxView::ShowMarkTip(const QHelpEvent &help, QWidget *over, bool inGutter) const
{
    const QString texts = MarkTextsAt(help.pos(), inGutter);
    if (texts.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help.globalPos(), texts, over);
}

bool CRichSyntaxView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        ShowMarkTip(*static_cast<QHelpEvent *>(event), viewport(), false);
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void CRichSyntaxView::ShowCaretMark()
{
    if (!hasFocus())
        return;
    const QList<const CTextMarks::Mark *> marks = m_pMarks->OnBlock(textCursor().block());
    if (!marks.isEmpty()) {
        Services().ShowStatusMessage(marks.constFirst()->text);
        m_bShowsMark = true;
    } else if (m_bShowsMark) {
        Services().ShowStatusMessage(QString());
        m_bShowsMark = false;
    }
}

void CRichSyntaxView::GoToPosition(int line, int column)
{
    const QTextBlock block = document()->findBlockByNumber(qBound(1, line, document()->blockCount()) - 1);
    GoToOffset(block.position() + qBound(0, column - 1, block.length() - 1));
}

void CRichSyntaxView::GoToOffset(int position)
{
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void CRichSyntaxView::OnEditUndo()
{
    undo();
}
void CRichSyntaxView::OnEditCut()
{
    cut();
}
void CRichSyntaxView::OnEditCopy()
{
    copy();
}
void CRichSyntaxView::OnEditPaste()
{
    paste();
}
void CRichSyntaxView::OnEditSelectAll()
{
    selectAll();
}

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
    // While the completion list is open it takes Enter, Tab and Escape itself;
    // the text must not.
    if (m_pCompleter && m_pCompleter->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        default:
            break;
        }
    }
    if (HandleIndentKey(*event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), event->isAutoRepeat());
        QPlainTextEdit::keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
    if (IsCommandChord(*event)) {
        // The chord may still be one of the text edit's own keys (Ctrl+A,
        // Ctrl+Left, ...); only the character it carries must not be typed.
        QKeyEvent withoutText(QEvent::KeyPress, event->key(), event->modifiers(), event->nativeScanCode(),
                              event->nativeVirtualKey(), event->nativeModifiers(), QString(), event->isAutoRepeat(),
                              ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&withoutText);
        event->setAccepted(withoutText.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    // Typing on with the list open narrows what it offers.
    if (m_pCompleter && m_pCompleter->popup()->isVisible())
        UpdateCompletions();
}

bool CRichSyntaxView::event(QEvent *event)
{
    // Escape closes the completion list before it can be any window's shortcut.
    if (event->type() == QEvent::ShortcutOverride && m_pCompleter && m_pCompleter->popup()->isVisible()
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel)) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CRichSyntaxView::OnEditRedo()
{
    redo();
}

void CRichSyntaxView::OnEditGoToLine()
{
    CGoToLineDlg dialog(textCursor().blockNumber() + 1, document()->blockCount(), this);
    const int answer = dialog.exec();
    // The keys go back to the main window, also where no window manager gives them back.
    window()->activateWindow();
    if (answer != QDialog::Accepted)
        return;
    const int from = textCursor().position();
    GoToPosition(dialog.Line(), 0);
    CPlaceHistory::Instance().Record(this, from, this);
}

void CRichSyntaxView::OnEditGoToMatching()
{
    const std::optional<SourceStructure::Pair> pair = PairAt(textCursor());
    if (!pair || !pair->partner) {
        QApplication::beep();
        return;
    }
    GoToPosition(pair->partner->line + 1, pair->partner->span.start + 1);
}

bool CRichSyntaxView::HandleIndentKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    QTextCursor cursor = textCursor();
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter && m_bAutoIndent && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        // The new line starts as the split one does.
        const QTextBlock block = document()->findBlock(cursor.selectionStart());
        const QString indentation = EditText::IndentationOf(block.text(), cursor.selectionStart() - block.position());
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock();
        cursor.insertText(indentation);
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return true;
    }
    const bool severalLines =
        cursor.hasSelection()
        && document()->findBlock(cursor.selectionStart()) != document()->findBlock(cursor.selectionEnd());
    if (event.key() == Qt::Key_Tab && mods == Qt::NoModifier && severalLines) {
        IndentLines(true);
        return true;
    }
    if (event.key() == Qt::Key_Backtab) {
        IndentLines(false);
        return true;
    }
    return false;
}

void CRichSyntaxView::IndentLines(bool inward)
{
    QTextCursor cursor = textCursor();
    const bool selected = cursor.hasSelection();
    QTextBlock first = document()->findBlock(cursor.selectionStart());
    QTextBlock last = document()->findBlock(cursor.selectionEnd());
    // A selection that ends at the start of a line leaves that line out.
    if (last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    // The view's own cursor makes the edit, so that undoing it leaves the caret there.
    QTextCursor edit = cursor;
    edit.beginEditBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        edit.setPosition(block.position());
        if (inward) {
            edit.insertText(QStringLiteral("\t"));
        } else {
            edit.setPosition(block.position() + EditText::OneIndentLevel(block.text(), kTabColumns),
                             QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        if (block == last)
            break;
    }
    edit.endEditBlock();
    // The lines stay selected, whole.
    if (selected) {
        cursor.setPosition(first.position());
        cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
}

void CRichSyntaxView::mousePressEvent(QMouseEvent *event)
{
    // Ctrl+click goes to the definition of the name clicked.
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
        setTextCursor(cursorForPosition(event->position().toPoint()));
        GoToDefinition(this);
        event->accept();
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void CRichSyntaxView::OnEditCommentLines()
{
    QTextCursor cursor = textCursor();
    QTextBlock first = document()->findBlock(cursor.selectionStart());
    QTextBlock last = document()->findBlock(cursor.selectionEnd());
    // A selection that ends at the start of a line leaves that line out.
    if (last != first && cursor.selectionEnd() == last.position())
        last = last.previous();
    QStringList lines;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        lines.append(block.text());
        if (block == last)
            break;
    }
    const QStringList changed = EditText::ToggleComments(lines, QChar::fromLatin1(m_pColorer->Rules().m_chComment));
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextBlock block = first;
    for (int i = 0; i < lines.size(); ++i, block = block.next()) {
        // Only what differs is replaced, so that carets elsewhere in the line keep their place.
        const QString &before = lines.at(i);
        const QString &after = changed.at(i);
        int head = 0;
        while (head < before.size() && head < after.size() && before.at(head) == after.at(head))
            ++head;
        int tail = 0;
        while (tail < before.size() - head && tail < after.size() - head
               && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
            ++tail;
        if (head == before.size() && head == after.size())
            continue;
        edit.setPosition(block.position() + head);
        edit.setPosition(block.position() + int(before.size()) - tail, QTextCursor::KeepAnchor);
        edit.insertText(after.mid(head, after.size() - head - tail));
    }
    edit.endEditBlock();
    // The lines stay selected, so that the command can be given again.
    QTextCursor selection(document());
    selection.setPosition(first.position());
    selection.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    // Without a selection the caret stays by its text, as the cursor kept track.
    setTextCursor(cursor.hasSelection() ? selection : cursor);
}

QPoint CRichSyntaxView::CaretLineColumn() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.blockNumber() + 1,
            EditText::DisplayColumn(cursor.block().text(), cursor.positionInBlock(), kTabColumns)};
}

void CRichSyntaxView::OnEditComplete()
{
    if (!m_pCompleter) {
        m_pCompleter = new QCompleter(this);
        m_pCompleter->setWidget(this);
        m_pCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        m_pCompleter->setModel(new QStringListModel(m_pCompleter));
        m_pCompleter->popup()->setObjectName(QStringLiteral("completionList"));
        connect(m_pCompleter, QOverload<const QString &>::of(&QCompleter::activated), this,
                &CRichSyntaxView::InsertCompletion);
    }
    // The document's words are gathered once as the list opens; typing on
    // only narrows them.
    m_completionWords = EditText::WordsOf(toPlainText());
    UpdateCompletions();
    if (!m_pCompleter->popup()->isVisible())
        QApplication::beep();
}

void CRichSyntaxView::UpdateCompletions()
{
    const QTextCursor cursor = textCursor();
    const QString prefix = EditText::WordBefore(cursor.block().text(), cursor.positionInBlock());
    const QStringList offers = EditText::CompletionsFor(prefix, m_pColorer->Rules().Words(), m_completionWords);
    if (offers.isEmpty()) {
        m_pCompleter->popup()->hide();
        return;
    }
    static_cast<QStringListModel *>(m_pCompleter->model())->setStringList(offers);
    QRect at = cursorRect();
    at.translate(viewport()->pos());
    // Wide enough for the longest word beside the scroll bar.
    QAbstractItemView *list = m_pCompleter->popup();
    int widest = 0;
    for (const QString &word : offers)
        widest = qMax(widest, list->fontMetrics().horizontalAdvance(word));
    at.setWidth(widest + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth()
                + 2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin)
                + list->fontMetrics().averageCharWidth());
    m_pCompleter->complete(at);
    m_pCompleter->popup()->setCurrentIndex(m_pCompleter->completionModel()->index(0, 0));
}

void CRichSyntaxView::InsertCompletion(const QString &word)
{
    QTextCursor cursor = textCursor();
    const QString prefix = EditText::WordBefore(cursor.block().text(), cursor.positionInBlock());
    cursor.setPosition(cursor.position() - int(prefix.size()), QTextCursor::KeepAnchor);
    cursor.insertText(word);
    setTextCursor(cursor);
}

void CRichSyntaxView::NotFound(const FindRequest &request)
{
    QApplication::beep();
    Services().ShowStatusMessage(kNotFound.arg(request.findWhat));
}

bool CRichSyntaxView::FindNext(const FindRequest &request)
{
    if (request.findWhat.isEmpty()) {
        QApplication::beep();
        return false;
    }
    const QTextCursor at = textCursor();
    QTextCursor found = TextSearch::Find(document(), request, request.down ? at.selectionEnd() : at.selectionStart());
    if (found.isNull()) {
        // Once round: from the other end of the text.
        found = TextSearch::Find(document(), request, request.down ? 0 : document()->characterCount());
    }
    if (found.isNull()) {
        NotFound(request);
        return false;
    }
    setTextCursor(found);
    return true;
}

bool CRichSyntaxView::Replace(const FindRequest &request)
{
    QTextCursor cursor = textCursor();
    if (TextSearch::IsMatch(cursor, request)) {
        cursor.insertText(request.replaceWith);
        // Searching up goes on before the replacement, never into it.
        if (!request.down)
            cursor.setPosition(cursor.position() - int(request.replaceWith.size()));
        setTextCursor(cursor);
    }
    return FindNext(request);
}

int CRichSyntaxView::ReplaceAll(const FindRequest &request)
{
    int count = 0;
    FindRequest forward = request;
    forward.down = true;
    if (!request.findWhat.isEmpty()) {
        QTextCursor edit(document());
        edit.beginEditBlock();
        int from = 0;
        for (;;) {
            QTextCursor found = TextSearch::Find(document(), forward, from);
            if (found.isNull())
                break;
            found.insertText(request.replaceWith);
            from = found.position();
            ++count;
        }
        edit.endEditBlock();
    }
    if (count == 0)
        NotFound(request);
    return count;
}

std::unique_ptr<QTextDocument> CRichSyntaxView::CreatePrintDocument() const
{
    // The copy carries the colours as character formats of its own, every
    // line coloured whether it was ever shown or not.
    std::unique_ptr<QTextDocument> copy(document()->clone());
    // Paper has no zoom, and its text is shaped as Qt shapes text by default.
    QFont font = EditorFont();
    font.setStyleStrategy(QFont::PreferDefault);
    copy->setDefaultFont(font);
    // On paper a line longer than the page goes on in the next row instead of
    // being cut off at the page's edge.
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(kTabColumns * QFontMetricsF(font).averageCharWidth());
    copy->setDefaultTextOption(option);
    QTextCursor cursor(copy.get());
    std::vector<ColorSpan> spans;
    for (QTextBlock block = copy->firstBlock(); block.isValid(); block = block.next()) {
        spans.clear();
        m_pColorer->ColorSpans(block.text(), spans);
        for (const ColorSpan &span : spans) {
            cursor.setPosition(block.position() + span.start);
            cursor.setPosition(block.position() + span.start + span.length, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(m_pColorer->Format(span.kind));
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
    // The printer, paper, orientation and margins chosen in Print Setup.
    QPrinter *printer = Services().Printer();
    if (!printer)
        return;
    // The job carries the document's name: print queues show it, a PDF takes
    // it as its title, and printing to a file suggests a file named after it
    // in the folder printed to last.
    const QString title = m_pDocument ? m_pDocument->GetTitle() : QString();
    printer->setDocName(title);
    if (!title.isEmpty() && printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        const QFileInfo last(printer->outputFileName());
        printer->setOutputFileName(last.dir().filePath(QFileInfo(title).completeBaseName() + QStringLiteral(".pdf")));
    }
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintDocument(printer);
}
