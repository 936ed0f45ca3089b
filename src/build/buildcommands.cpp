// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildcommands.h"

#include "build/buildlogdlg.h"
#include "build/buildtext.h"
#include "build/launchprogram.h"
#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/uitext.h"
#include "editor/compilemarks.h"
#include "editor/richsyntaxdoc.h"

#include <QApplication>
#include <QPointer>
#include <QSet>

namespace {
const UiText kSaveFailed{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "Failed to save source file!")};
const UiText kNoCompiler{"CBuildCommands",
                         QT_TRANSLATE_NOOP("CBuildCommands", "Path to QRX.EXE is not set in build options!")};
const UiText kCompilerFailed{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "Failed to execute compiler!")};
const UiText kRecompileQuestion{"CBuildCommands",
                                QT_TRANSLATE_NOOP("CBuildCommands", "Source file needs recompiled. Continue?")};
const UiText kNoEmulator{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "No emulator is set in build options!")};
const UiText kNoLinker{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "No hardware linker path specified!")};
const UiText kNoMessages{"CBuildCommands",
                         QT_TRANSLATE_NOOP("CBuildCommands", "The last compile named no line to go to")};
const UiText kNoMoreMessages{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "No more messages")};
const UiText kMessageOf{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "Message %1 of %2: %3")};
const UiText kCompiling{"CBuildCommands", QT_TRANSLATE_NOOP("CBuildCommands", "Compiling %1...")};
} // namespace

QHash<QString, QList<NamedMark>> MarksByFile(const QList<CompilerMessage> &messages)
{
    QHash<QString, QList<NamedMark>> marks;
    for (int i = 0; i < messages.size(); ++i) {
        const CompilerMessage &message = messages.at(i);
        marks[message.path].append({message.line, message.column, message.kind, message.text, i});
    }
    return marks;
}

CBuildCommands::CBuildCommands(QObject *parent) : QObject(parent) {}

void CBuildCommands::OnBuildCompile(CRichSyntaxDoc &doc)
{
    const bool saved = doc.DoFileSave();
    const QString path = doc.GetPathName();
    if (path.isEmpty()) {
        MessageBox(kSaveFailed);
        return;
    }
    // The save has shown its own message; compiling the file as it was on disk
    // would pass off old text as the one the user sees.
    if (!saved || !SaveNamedFiles(doc))
        return;

    if (m_settings.compiler.isEmpty()) {
        MessageBox(kNoCompiler);
        // Build Options follow, and a compiler chosen there compiles at once.
        Q_EMIT OptionsWanted();
        if (m_settings.compiler.isEmpty())
            return;
    }
    const QString image = m_settings.multiBoot ? GetMultibootFileName(doc) : GetRomFileName(doc);
    const QString folder = BuildText::ProjectFolder(path);
    const BuildText::Invocation invocation = BuildText::CompilerInvocation(
        m_settings.compiler, m_settings.debug, m_settings.multiBoot, BuildText::SourceFileName(path), image);

    CBuildLogDlg log(Services().DialogParent());
    Services().ShowStatusMessage(kCompiling.arg(BuildText::SourceFileName(path)));
    if (!log.Execute(invocation, folder)) {
        Services().ShowStatusMessage(QString());
        MessageBox(kCompilerFailed);
        return;
    }

    const quint64 compile = ++m_nCompiles;
    const std::optional<SourcePosition> chosen = log.ChosenPosition();
    TakeMessages(doc, compile, log.PositionedLines(kMaxMessages), log.Text(), chosen);
    // A compiler still running when its log closed: its messages are taken
    // again once it ends, unless a later compile has started meanwhile.
    if (CLogRemainder *rest = log.Remainder()) {
        connect(rest, &CLogRemainder::Ended, this,
                [this, target = QPointer<CRichSyntaxDoc>(&doc), compile, folder, chosen](const QString &text) {
                    if (target && compile == m_nCompiles)
                        TakeMessages(*target, compile, PositionedLinesIn(text, folder, kMaxMessages), text, chosen);
                });
    }
    // The line picked in the log is gone to at once, as F8 would go to it; F8 then goes on from it.
    if (!chosen)
        return;
    MessageWalk &walk = m_walks[&doc];
    if (walk.current >= 0)
        ShowMessage(walk, walk.current);
    else
        Services().GoToSource(ResolveSourceFile(chosen->file, folder, path), chosen->line, chosen->column);
}

bool CBuildCommands::SaveNamedFiles(const CRichSyntaxDoc &doc)
{
    const auto walk = m_walks.constFind(&doc);
    if (walk == m_walks.cend())
        return true;
    QSet<QString> named;
    for (const CompilerMessage &message : walk->messages)
        named.insert(ComparablePath(message.path));
    const QList<CRichSyntaxDoc *> open = CRichSyntaxDoc::OpenDocuments();
    for (CRichSyntaxDoc *other : open) {
        if (other != &doc && other->IsModified() && named.contains(ComparablePath(other->GetPathName()))
            && !other->DoFileSave())
            return false;
    }
    return true;
}

void CBuildCommands::TakeMessages(CRichSyntaxDoc &doc, quint64 compile, const QList<PositionedLine> &lines,
                                  const QString &output, const std::optional<SourcePosition> &chosen)
{
    const QString path = doc.GetPathName();
    const QString folder = BuildText::ProjectFolder(path);
    // The list replaces the last compile's; it goes with the document.
    if (!m_walks.contains(&doc)) {
        connect(&doc, &QObject::destroyed, this, [this, key = &doc] {
            m_walks.remove(key);
            if (m_pLatest == key)
                m_pLatest = nullptr;
        });
    }
    m_pLatest = &doc;
    MessageWalk &walk = m_walks[&doc];
    const int current = walk.compile == compile ? walk.current : -1;
    walk = MessageWalk();
    walk.origin = path;
    walk.compile = compile;
    for (const PositionedLine &line : lines) {
        walk.messages.append({ResolveSourceFile(line.position.file, folder, path), line.position.line,
                              line.position.column, line.text.trimmed(), line.position.kind});
    }
    // The marks replace this file's last compile's, in every file they name.
    CCompileMarks::Instance().Publish(path, MarksByFile(walk.messages));
    Q_EMIT Compiled(path, walk.messages, output);
    // The walk goes on from where it stood, or else from the line picked in the log.
    if (current >= 0 && current < walk.messages.size()) {
        walk.current = current;
    } else if (chosen) {
        const QString chosenPath = ResolveSourceFile(chosen->file, folder, path);
        for (int i = 0; i < walk.messages.size(); ++i) {
            const CompilerMessage &message = walk.messages.at(i);
            if (message.path == chosenPath && message.line == chosen->line && message.column == chosen->column) {
                walk.current = i;
                break;
            }
        }
    }
    if (walk.current >= 0)
        Q_EMIT MessageShown(walk.current);
}

void CBuildCommands::OnBuildNextError(CRichSyntaxDoc &doc)
{
    StepMessage(doc, 1);
}

void CBuildCommands::OnBuildPreviousError(CRichSyntaxDoc &doc)
{
    StepMessage(doc, -1);
}

CBuildCommands::MessageWalk *CBuildCommands::WalkFor(const CRichSyntaxDoc &doc)
{
    if (m_walks.contains(&doc))
        return &m_walks[&doc];
    MessageWalk *latest = nullptr;
    for (MessageWalk &walk : m_walks) {
        if (latest && latest->compile > walk.compile)
            continue;
        for (const CompilerMessage &message : std::as_const(walk.messages)) {
            if (message.path == doc.GetPathName()) {
                latest = &walk;
                break;
            }
        }
    }
    return latest;
}

void CBuildCommands::StepMessage(CRichSyntaxDoc &doc, int step)
{
    MessageWalk *found = WalkFor(doc);
    if (!found || found->messages.isEmpty()) {
        QApplication::beep();
        Services().ShowStatusMessage(kNoMessages);
        return;
    }
    MessageWalk &walk = *found;
    int next = walk.current < 0 && step < 0 ? int(walk.messages.size()) - 1 : walk.current + step;
    // Messages whose line was deleted have no place left to go to.
    while (next >= 0 && next < walk.messages.size() && !PlaceOf(walk, next))
        next += step;
    if (next < 0 || next >= walk.messages.size()) {
        QApplication::beep();
        Services().ShowStatusMessage(kNoMoreMessages);
        return;
    }
    ShowMessage(walk, next);
}

void CBuildCommands::GoToMessage(int index)
{
    if (!m_pLatest || !m_walks.contains(m_pLatest))
        return;
    MessageWalk &walk = m_walks[m_pLatest];
    if (index >= 0 && index < walk.messages.size())
        ShowMessage(walk, index);
}

void CBuildCommands::ShowMessage(MessageWalk &walk, int index)
{
    walk.current = index;
    if (m_pLatest && &walk == &m_walks[m_pLatest])
        Q_EMIT MessageShown(index);
    // The document may go while its file opens; what is needed is copied first.
    const CompilerMessage message = walk.messages.at(index);
    const QString status = kMessageOf.arg(index + 1).arg(walk.messages.size()).arg(message.text);
    const std::optional<MarkPlace> place = PlaceOf(walk, index);
    if (!place)
        Services().ShowStatusMessage(status);
    else if (Services().GoToSource(message.path, place->line, place->column))
        Services().ShowStatusMessage(status);
}

QList<std::optional<MarkPlace>> CBuildCommands::PlacesOfMessages() const
{
    QList<std::optional<MarkPlace>> places;
    const auto walk = m_walks.constFind(m_pLatest);
    if (walk == m_walks.cend())
        return places;
    const QHash<int, MarkPlace> marked = CCompileMarks::Instance().Places(walk->origin);
    QHash<QString, bool> open;
    for (int i = 0; i < walk->messages.size(); ++i) {
        const CompilerMessage &message = walk->messages.at(i);
        if (const auto it = marked.constFind(i); it != marked.cend()) {
            places.append(*it);
            continue;
        }
        auto known = open.constFind(message.path);
        if (known == open.cend())
            known = open.insert(message.path, CCompileMarks::IsOpen(message.path));
        places.append(*known ? std::nullopt : std::optional<MarkPlace>(MarkPlace{message.line, message.column}));
    }
    return places;
}

std::optional<MarkPlace> CBuildCommands::PlaceOf(const MessageWalk &walk, int index)
{
    // Where its mark stands now; the compiler's place in a file not open;
    // none when the mark's line was deleted.
    const CompilerMessage &message = walk.messages.at(index);
    if (std::optional<MarkPlace> place = CCompileMarks::Instance().PlaceOf(walk.origin, message.path, index))
        return place;
    if (CCompileMarks::IsOpen(message.path))
        return std::nullopt;
    return MarkPlace{message.line, message.column};
}

// Asks to recompile a changed or untitled source; false when the command ends
// here (cancelled, or still no file to run).
bool CBuildCommands::OfferRecompile(CRichSyntaxDoc &doc)
{
    if (doc.IsModified() || doc.GetPathName().isEmpty()) {
        const QMessageBox::StandardButton answer = MessageBox(kRecompileQuestion, QMessageBox::Question,
                                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            OnBuildCompile(doc);
        else if (answer != QMessageBox::No)
            return false;
    }
    return !doc.GetPathName().isEmpty();
}

void CBuildCommands::OnBuildRun(CRichSyntaxDoc &doc)
{
    if (m_settings.emulator.isEmpty()) {
        MessageBox(kNoEmulator);
        return;
    }
    if (!OfferRecompile(doc))
        return;
    LaunchProgram(BuildText::EmulatorInvocation(m_settings.emulator, GetRomFileName(doc)),
                  BuildText::ProjectFolder(doc.GetPathName()), false);
}

void CBuildCommands::OnBuildLink(CRichSyntaxDoc &doc)
{
    if (m_settings.linker.isEmpty()) {
        MessageBox(kNoLinker);
        return;
    }
    if (!OfferRecompile(doc))
        return;
    const QString folder = BuildText::ProjectFolder(doc.GetPathName());
    LaunchProgram(BuildText::LinkerInvocation(m_settings.linker, m_settings.linkerArguments, folder, doc.GetTitle(),
                                              GetRomFileName(doc), GetMultibootFileName(doc)),
                  folder, true);
}

QString CBuildCommands::GetRomFileName(const CRichSyntaxDoc &doc)
{
    return BuildText::ImageName(doc.GetTitle(), QLatin1String(BuildText::kRomExtension));
}

QString CBuildCommands::GetMultibootFileName(const CRichSyntaxDoc &doc)
{
    return BuildText::ImageName(doc.GetTitle(), QLatin1String(BuildText::kMultibootExtension));
}
