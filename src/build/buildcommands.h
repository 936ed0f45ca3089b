// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildsettings.h"
#include "build/sourceposition.h"
#include "editor/textmarks.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

struct PositionedLine;
class CRichSyntaxDoc;

// A compiler message that names a line, with the file resolved.
struct CompilerMessage
{
    QString path;
    int line = 0;
    int column = 0;
    QString text;
    MarkKind kind = MarkKind::Error;
};

// The marks a compile's messages make, by the file they stand in; each
// mark's index is its message's.
QHash<QString, QList<NamedMark>> MarksByFile(const QList<CompilerMessage> &messages);

// Compile, Run and Link of a source document, with the build options the
// application keeps, and the walk through the last compile's messages.
class CBuildCommands : public QObject
{
    Q_OBJECT
public:
    explicit CBuildCommands(QObject *parent = nullptr);

    // What the commands run with.
    BuildSettings &Settings() { return m_settings; }
    const BuildSettings &Settings() const { return m_settings; }

    // Saves the document and runs the compiler on it, showing its output;
    // goes to the line the user picks in the log.
    void OnBuildCompile(CRichSyntaxDoc &doc);
    // Starts the emulator on the cartridge image, offering to recompile first.
    void OnBuildRun(CRichSyntaxDoc &doc);
    // Starts the hardware linker with the filled argument template.
    void OnBuildLink(CRichSyntaxDoc &doc);
    // Go to the next or the previous message of the last compile of the
    // document, where its mark stands now, and say "Message 2 of 3: <text>";
    // past either end the beep and "No more messages". In a file that a
    // compile's messages named (an included file), the walk of the latest
    // such compile goes on. A message picked in the log is where it goes on from.
    void OnBuildNextError(CRichSyntaxDoc &doc);
    void OnBuildPreviousError(CRichSyntaxDoc &doc);

    // Goes to the message at index of the latest compile, as F8 would.
    void GoToMessage(int index);
    // Where the marks of the latest compile's messages stand now, by message:
    // the compiler's place in a file not open; none when its line was deleted.
    QList<std::optional<MarkPlace>> PlacesOfMessages() const;

    // The images the compiler makes of a document: its title up to the last dot plus ".gba" or ".mb".
    static QString GetRomFileName(const CRichSyntaxDoc &doc);
    static QString GetMultibootFileName(const CRichSyntaxDoc &doc);

    // The messages of a compile, at most this many, are kept for the walk and marked.
    static constexpr int kMaxMessages = 10000;

Q_SIGNALS:
    // A compile ended and its log closed: its messages and its whole output.
    void Compiled(const QString &origin, const QList<CompilerMessage> &messages, const QString &output);
    // The walk of the latest compile went to (or stands at) the message at index.
    void MessageShown(int index);
    // The compiler's path is missing: Build Options should open, at once.
    void OptionsWanted();

private:
    struct MessageWalk
    {
        QString origin; // the compiled file
        QList<CompilerMessage> messages;
        int current = -1;
        quint64 compile = 0; // later compiles count higher
    };

    // Saves the changed files that the document's last compile named (the
    // files it includes, fixed since); false when a save failed.
    bool SaveNamedFiles(const CRichSyntaxDoc &doc);
    // Makes the lines of a compile's output the document's messages, marks and walk.
    void TakeMessages(CRichSyntaxDoc &doc, quint64 compile, const QList<PositionedLine> &lines, const QString &output,
                      const std::optional<SourcePosition> &chosen);
    bool OfferRecompile(CRichSyntaxDoc &doc);
    void StepMessage(CRichSyntaxDoc &doc, int step);
    void ShowMessage(MessageWalk &walk, int index);
    MessageWalk *WalkFor(const CRichSyntaxDoc &doc);
    static std::optional<MarkPlace> PlaceOf(const MessageWalk &walk, int index);

    BuildSettings m_settings;
    QHash<const CRichSyntaxDoc *, MessageWalk> m_walks;
    quint64 m_nCompiles = 0;
    const CRichSyntaxDoc *m_pLatest = nullptr; // whose compile was the latest
};
