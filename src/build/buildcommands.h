// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class COptionsDlg;
class CRichSyntaxDoc;

// A compiler message that names a line, with the file resolved.
struct CompilerMessage
{
    QString path;
    int line = 0;
    int column = 0;
    QString text;
};

// Compile, Run and Link of a source document, with the build options the
// application keeps, and the walk through the last compile's messages.
class CBuildCommands : public QObject
{
    Q_OBJECT
public:
    explicit CBuildCommands(const COptionsDlg &options, QObject *parent = nullptr);

    // Saves the document and runs the compiler on it, showing its output;
    // goes to the line the user picks in the log.
    void OnBuildCompile(CRichSyntaxDoc &doc);
    // Starts the emulator on the cartridge image, offering to recompile first.
    void OnBuildRun(CRichSyntaxDoc &doc);
    // Starts the hardware linker with the filled argument template.
    void OnBuildLink(CRichSyntaxDoc &doc);
    // Go to the next or the previous line that the last compile of the
    // document named, with its message in the status bar; at either end of
    // the list it stays there. In a file that a compile's messages named (an
    // included file), the walk of the latest such compile goes on.
    void OnBuildNextError(CRichSyntaxDoc &doc);
    void OnBuildPreviousError(CRichSyntaxDoc &doc);

    // The images the compiler makes of a document: its title up to the last dot plus ".gba" or ".mb".
    static QString GetRomFileName(const CRichSyntaxDoc &doc);
    static QString GetMultibootFileName(const CRichSyntaxDoc &doc);

    // The messages of a compile, at most this many, are kept for the walk.
    static constexpr int kMaxMessages = 1000;

private:
    struct MessageWalk
    {
        QList<CompilerMessage> messages;
        int current = -1;
        quint64 compile = 0; // later compiles count higher
    };

    bool OfferRecompile(CRichSyntaxDoc &doc);
    void StepMessage(CRichSyntaxDoc &doc, int step);
    MessageWalk *WalkFor(const CRichSyntaxDoc &doc);

    const COptionsDlg &m_options;
    QHash<const CRichSyntaxDoc *, MessageWalk> m_walks;
    quint64 m_nCompiles = 0;
};
