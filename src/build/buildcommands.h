// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class COptionsDlg;
class CRichSyntaxDoc;

// Compile, Run and Link of a source document, with the build options the
// application keeps.
class CBuildCommands
{
public:
    explicit CBuildCommands(const COptionsDlg &options);

    // Saves the document and runs the compiler on it, showing its output.
    void OnBuildCompile(CRichSyntaxDoc &doc);
    // Starts the emulator on the cartridge image, offering to recompile first.
    void OnBuildRun(CRichSyntaxDoc &doc);
    // Starts the hardware linker with the filled argument template.
    void OnBuildLink(CRichSyntaxDoc &doc);

    // The images the compiler makes of a document: its title up to the last dot plus ".gba" or ".mb".
    static QString GetRomFileName(const CRichSyntaxDoc &doc);
    static QString GetMultibootFileName(const CRichSyntaxDoc &doc);

private:
    bool OfferRecompile(CRichSyntaxDoc &doc);

    const COptionsDlg &m_options;
};
