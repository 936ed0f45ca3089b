// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/messagespanel.h"

#include "core/uitext.h"
#include "editor/compilemarks.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const UiText kMessagesTab{"CMessagesPanel", QT_TRANSLATE_NOOP("CMessagesPanel", "Messages")};
const UiText kOutputTab{"CMessagesPanel", QT_TRANSLATE_NOOP("CMessagesPanel", "Output")};
const UiText kNoMessages{"CMessagesPanel", QT_TRANSLATE_NOOP("CMessagesPanel", "No messages")};
const UiText kFindPlaceholder{
    "CMessagesPanel", QT_TRANSLATE_NOOP("CMessagesPanel", "Find in the output (Enter: next, Shift+Enter: previous)")};
const UiText kLineDeleted{"CMessagesPanel", QT_TRANSLATE_NOOP("CMessagesPanel", "line deleted")};
constexpr int kSignSize = 12;
// Rows take their marks' places once edits have settled for this long.
constexpr int kPlaceSettleMs = 150;

QString Counted(int count, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

// A message's line, and its column when it names one.
QString PlaceText(const CompilerMessage &message)
{
    return message.column > 0 ? QStringLiteral("%1:%2").arg(message.line).arg(message.column)
                              : QString::number(message.line);
}

QIcon SignIcon(MarkKind kind)
{
    QPixmap pixmap(kSignSize * 2, kSignSize * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintMarkSign(&painter, QRectF(1, 1, kSignSize - 2, kSignSize - 2), kind);
    return QIcon(pixmap);
}
} // namespace

QString MessageSummary(const QList<CompilerMessage> &messages)
{
    int counts[3] = {0, 0, 0};
    for (const CompilerMessage &message : messages)
        ++counts[int(message.kind)];
    QStringList parts;
    if (counts[int(MarkKind::Error)] > 0)
        parts.append(Counted(counts[int(MarkKind::Error)], QStringLiteral("error"), QStringLiteral("errors")));
    if (counts[int(MarkKind::Warning)] > 0)
        parts.append(Counted(counts[int(MarkKind::Warning)], QStringLiteral("warning"), QStringLiteral("warnings")));
    if (counts[int(MarkKind::Note)] > 0)
        parts.append(Counted(counts[int(MarkKind::Note)], QStringLiteral("note"), QStringLiteral("notes")));
    return parts.isEmpty() ? kNoMessages : parts.join(QStringLiteral(", "));
}

CMessagesPanel::CMessagesPanel(QWidget *parent)
    : QWidget(parent), m_pTabs(new QTabWidget(this)), m_pSummary(new QLabel), m_pList(new QTreeWidget),
      m_pOutput(new QPlainTextEdit), m_pFind(new QLineEdit)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTabs);

    auto *messages = new QWidget;
    auto *messagesLayout = new QVBoxLayout(messages);
    messagesLayout->setContentsMargins(4, 4, 4, 4);
    messagesLayout->addWidget(m_pSummary);
    messagesLayout->addWidget(m_pList);
    m_pList->setColumnCount(3);
    m_pList->setHeaderLabels({tr("File"), tr("Place"), tr("Message")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setAccessibleName(kMessagesTab);
    // A click or Enter goes to the message.
    connect(m_pList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { Q_EMIT MessageActivated(m_pList->indexOfTopLevelItem(item)); });
    connect(m_pList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { Q_EMIT MessageActivated(m_pList->indexOfTopLevelItem(item)); });
    m_pTabs->addTab(messages, kMessagesTab);

    auto *output = new QWidget;
    auto *outputLayout = new QVBoxLayout(output);
    outputLayout->setContentsMargins(0, 0, 0, 0);
    outputLayout->addWidget(m_pOutput);
    outputLayout->addWidget(m_pFind);
    m_pOutput->setReadOnly(true);
    m_pOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pOutput->setUndoRedoEnabled(false);
    m_pOutput->setAccessibleName(kOutputTab);
    m_pFind->setPlaceholderText(kFindPlaceholder);
    m_pFind->setAccessibleName(tr("Find in the output"));
    m_pFind->setClearButtonEnabled(true);
    m_pFind->hide();
    connect(m_pFind, &QLineEdit::returnPressed, this,
            [this] { FindInOutput(QApplication::keyboardModifiers() & Qt::ShiftModifier); });
    // Ctrl+F in the output and Escape in the search field are theirs, before any window-wide key.
    m_pOutput->installEventFilter(this);
    m_pFind->installEventFilter(this);
    m_pTabs->addTab(output, kOutputTab);
    SetCompile(QString(), {}, QString());
    m_placeTimer.setSingleShot(true);
    m_placeTimer.setInterval(kPlaceSettleMs);
    connect(&m_placeTimer, &QTimer::timeout, this, &CMessagesPanel::UpdatePlaces);
    connect(&CCompileMarks::Instance(), &CCompileMarks::Moved, &m_placeTimer, qOverload<>(&QTimer::start));
}

void CMessagesPanel::SetCompile(const QString &origin, const QList<CompilerMessage> &messages, const QString &output)
{
    m_pSummary->setText(MessageSummary(messages));
    m_pList->clear();
    m_messages = messages;
    QList<QTreeWidgetItem *> rows;
    rows.reserve(messages.size());
    const QIcon signs[3] = {SignIcon(MarkKind::Error), SignIcon(MarkKind::Warning), SignIcon(MarkKind::Note)};
    // Files in the compiled file's folder by their path from there, so that
    // two of the same name stay apart; others by their whole path.
    const QDir folder = QFileInfo(origin).absoluteDir();
    for (const CompilerMessage &message : messages) {
        const QString relative = folder.relativeFilePath(message.path);
        const QString file =
            relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative) ? message.path : relative;
        auto *row = new QTreeWidgetItem({QDir::toNativeSeparators(file), PlaceText(message), message.text});
        row->setIcon(0, signs[int(message.kind)]);
        row->setToolTip(0, QDir::toNativeSeparators(message.path));
        rows.append(row);
    }
    m_pList->addTopLevelItems(rows);
    m_pOutput->setPlainText(output);
    UpdatePlaces();
}

void CMessagesPanel::UpdatePlaces()
{
    m_placeTimer.stop();
    if (!m_places)
        return;
    const QList<std::optional<MarkPlace>> places = m_places();
    for (int i = 0; i < m_messages.size() && i < places.size() && i < m_pList->topLevelItemCount(); ++i) {
        CompilerMessage message = m_messages.at(i);
        const std::optional<MarkPlace> &place = places.at(i);
        if (place) {
            message.line = place->line;
            message.column = message.column > 0 ? place->column : 0;
        }
        m_pList->topLevelItem(i)->setText(1, place ? PlaceText(message) : kLineDeleted);
    }
}

bool CMessagesPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool find = watched == m_pOutput && key->matches(QKeySequence::Find);
    const bool close = watched == m_pFind && key->matches(QKeySequence::Cancel);
    if (!find && !close)
        return QWidget::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        m_pFind->setVisible(find);
        if (find) {
            m_pFind->setFocus();
            m_pFind->selectAll();
        } else {
            m_pOutput->setFocus();
        }
    }
    return true;
}

void CMessagesPanel::SelectMessage(int index)
{
    if (QTreeWidgetItem *row = m_pList->topLevelItem(index)) {
        m_pList->setCurrentItem(row);
        m_pList->scrollToItem(row);
    }
}

void CMessagesPanel::FindInOutput(bool backwards)
{
    const QString text = m_pFind->text();
    if (text.isEmpty())
        return;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_pOutput->find(text, flags))
        return;
    // Round the end, once.
    QTextCursor cursor = m_pOutput->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_pOutput->setTextCursor(cursor);
    if (!m_pOutput->find(text, flags))
        QApplication::beep();
}
