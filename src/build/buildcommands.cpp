// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "build/buildcommands.h"

#include "build/buildlogdlg.h"
#include "build/buildtext.h"
#include "build/launchprogram.h"
#include "build/optionsdlg.h"
#include "core/appservices.h"
#include "editor/richsyntaxdoc.h"

namespace {
const QString kSaveFailed = QStringLiteral("Failed to save source file!");
const QString kNoCompiler = QStringLiteral("Path to QRX.EXE is not set in build options!");
const QString kCompilerFailed = QStringLiteral("Failed to execute compiler!");
const QString kRecompileQuestion = QStringLiteral("Source file needs recompiled. Continue?");
const QString kNoEmulator = QStringLiteral("No emulator is set in build options!");
const QString kNoLinker = QStringLiteral("No hardware linker path specified!");
} // namespace

CBuildCommands::CBuildCommands(const COptionsDlg &options)
    : m_options(options)
{
}

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
    if (!saved)
        return;

    if (m_options.m_strCompiler.isEmpty()) {
        MessageBox(kNoCompiler);
        return;
    }
    const QString flags = BuildText::CompilerFlags(m_options.m_bDebug, m_options.m_bMultiBoot);
    const QString image = m_options.m_bMultiBoot ? GetMultibootFileName(doc) : GetRomFileName(doc);
    const QString arguments = BuildText::CompilerArguments(flags, BuildText::SourceFileName(path), image);

    CBuildLogDlg log(Services().DialogParent());
    if (!log.Execute(m_options.m_strCompiler, arguments, BuildText::ProjectFolder(path)))
        MessageBox(kCompilerFailed);
}

// Asks to recompile a changed or untitled source; false when the command ends
// here (cancelled, or still no file to run).
bool CBuildCommands::OfferRecompile(CRichSyntaxDoc &doc)
{
    if (doc.IsModified() || doc.GetPathName().isEmpty()) {
        const QMessageBox::StandardButton answer = MessageBox(
            kRecompileQuestion, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            OnBuildCompile(doc);
        else if (answer != QMessageBox::No)
            return false;
    }
    return !doc.GetPathName().isEmpty();
}

void CBuildCommands::OnBuildRun(CRichSyntaxDoc &doc)
{
    if (m_options.m_strEmulator.isEmpty()) {
        MessageBox(kNoEmulator);
        return;
    }
    if (!OfferRecompile(doc))
        return;
    // Quoted, so that an image name with blanks reaches the emulator as one argument.
    LaunchProgram(m_options.m_strEmulator, BuildText::Quoted(GetRomFileName(doc)),
                  BuildText::ProjectFolder(doc.GetPathName()), false);
}

void CBuildCommands::OnBuildLink(CRichSyntaxDoc &doc)
{
    if (m_options.m_strLinker.isEmpty()) {
        MessageBox(kNoLinker);
        return;
    }
    if (!OfferRecompile(doc))
        return;
    const QString folder = BuildText::ProjectFolder(doc.GetPathName());
    const QString arguments =
        BuildText::FillLinkTemplate(m_options.m_cmdLineDlg.m_strArguments, folder, doc.GetTitle(),
                                    GetRomFileName(doc), GetMultibootFileName(doc));
    LaunchProgram(m_options.m_strLinker, arguments, folder, true);
}

QString CBuildCommands::GetRomFileName(const CRichSyntaxDoc &doc)
{
    return BuildText::ImageName(doc.GetTitle(), QLatin1String(BuildText::kRomExtension));
}

QString CBuildCommands::GetMultibootFileName(const CRichSyntaxDoc &doc)
{
    return BuildText::ImageName(doc.GetTitle(), QLatin1String(BuildText::kMultibootExtension));
}
