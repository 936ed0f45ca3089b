// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/navigation.h"

#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/uitext.h"
#include "editor/outlinemodel.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "editor/sourcecodec.h"
#include "editor/sourcestructure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QTextBlock>

namespace {
const UiText kNoDefinition{"Navigation", QT_TRANSLATE_NOOP("Navigation", "No definition of %1 found.")};
// Included files are followed this deep at most.
constexpr int kMaxIncludeDepth = 16;

// The lines of the file at path: the open document's text, else the file's.
QStringList LinesOf(const QString &path)
{
    const QString key = ComparablePath(path);
    for (const CRichSyntaxDoc *doc : CRichSyntaxDoc::OpenDocuments()) {
        if (ComparablePath(doc->GetPathName()) == key)
            return doc->TextDocument()->toPlainText().split(QLatin1Char('\n'));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeSource(file.readAll()).text.split(QLatin1Char('\n'));
}

std::optional<DefinitionSite> FindIn(const QString &name, const QString &path, QSet<QString> &seen, int depth)
{
    if (depth > kMaxIncludeDepth)
        return std::nullopt;
    const QStringList lines = LinesOf(path);
    QStringList included;
    for (int i = 0; i < lines.size(); ++i) {
        const std::optional<SourceStructure::Definition> found = SourceStructure::DefinitionIn(lines.at(i));
        if (found && depth > 0 && name.compare(found->name, Qt::CaseInsensitive) == 0)
            return DefinitionSite{path, i + 1, found->column + 1};
        const QString file = SourceStructure::IncludedFile(lines.at(i));
        if (!file.isEmpty())
            included.append(QDir(FolderOf(path)).absoluteFilePath(QDir::fromNativeSeparators(file)));
    }
    for (const QString &file : std::as_const(included)) {
        if (seen.contains(ComparablePath(file)))
            continue;
        seen.insert(ComparablePath(file));
        if (std::optional<DefinitionSite> site = FindIn(name, file, seen, depth + 1))
            return site;
    }
    return std::nullopt;
}
} // namespace

std::optional<DefinitionSite> FindIncludedDefinition(const QString &name, const QString &path)
{
    QSet<QString> seen{ComparablePath(path)};
    return FindIn(name, path, seen, 0);
}

QString WordAtCaret(const CRichSyntaxView &view)
{
    const QTextCursor cursor = view.textCursor();
    const QString line = cursor.block().text();
    const std::optional<SourceStructure::Span> word = SourceStructure::NameAt(line, cursor.positionInBlock());
    return word ? line.mid(word->start, word->length) : QString();
}

void GoToDefinition(CRichSyntaxView *view)
{
    const QString path = view->GetDocument()->GetPathName();
    const QTextCursor caret = view->textCursor();
    const QString file = SourceStructure::IncludedFile(caret.block().text());
    if (!file.isEmpty()) {
        if (!path.isEmpty())
            Services().GoToSource(QDir(FolderOf(path)).absoluteFilePath(QDir::fromNativeSeparators(file)), 1, 0);
        return;
    }
    const QString name = WordAtCaret(*view);
    if (name.isEmpty()) {
        QApplication::beep();
        return;
    }
    const COutlineModel *outline = COutlineModel::ForDocument(view->document());
    if (const int row = outline->Find(name); row >= 0) {
        view->GoToOffset(outline->PositionOf(row));
        CPlaceHistory::Instance().Record(view, caret.position(), view);
        Services().ShowStatusMessage(QString());
        return;
    }
    if (!path.isEmpty()) {
        if (const std::optional<DefinitionSite> site = FindIncludedDefinition(name, path)) {
            if (Services().GoToSource(site->path, site->line, site->column))
                Services().ShowStatusMessage(QString());
            return;
        }
    }
    Services().ShowStatusMessage(kNoDefinition.arg(name));
}

CPlaceHistory &CPlaceHistory::Instance()
{
    static CPlaceHistory history;
    return history;
}

void CPlaceHistory::Record(CRichSyntaxView *from, int position, CRichSyntaxView *to)
{
    Prune();
    // A new jump drops the places ahead, as a browser does.
    m_places.erase(m_places.begin() + (m_nCurrent + 1), m_places.end());
    QTextCursor at(from->document());
    at.setPosition(qBound(0, position, from->document()->characterCount() - 1));
    const bool known =
        !m_places.isEmpty() && m_places.last().view == from && m_places.last().cursor.blockNumber() == at.blockNumber();
    if (!known)
        m_places.append({from, at});
    m_places.append({to, to->textCursor()});
    m_places.last().cursor.clearSelection();
    m_nCurrent = int(m_places.size()) - 1;
}

bool CPlaceHistory::Back()
{
    Prune();
    return m_nCurrent > 0 && GoTo(m_nCurrent - 1);
}

bool CPlaceHistory::Forward()
{
    Prune();
    return m_nCurrent + 1 < m_places.size() && GoTo(m_nCurrent + 1);
}

void CPlaceHistory::Prune()
{
    for (int i = int(m_places.size()) - 1; i >= 0; --i) {
        if (m_places.at(i).view)
            continue;
        m_places.removeAt(i);
        if (m_nCurrent >= i)
            --m_nCurrent;
    }
    if (m_nCurrent < 0 && !m_places.isEmpty())
        m_nCurrent = 0;
}

bool CPlaceHistory::GoTo(int index)
{
    const Place &place = m_places.at(index);
    CRichSyntaxView *view = place.view;
    // The window comes forward first.
    for (QWidget *widget = view; widget; widget = widget->parentWidget()) {
        if (auto *window = qobject_cast<QMdiSubWindow *>(widget)) {
            if (window->mdiArea())
                window->mdiArea()->setActiveSubWindow(window);
            break;
        }
    }
    view->GoToOffset(place.cursor.position());
    m_nCurrent = index;
    return true;
}
