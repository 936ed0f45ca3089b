// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The source document's build commands: Compile, Run and Link.
#include "editor/richsyntaxdoc.h"

#include "app/editorapp.h"
#include "app/mainframe.h"
#include "build/buildlogdlg.h"
#include "build/buildtext.h"
#include "build/optionsdlg.h"

namespace {
const QString kSaveFailed = QStringLiteral("Failed to save source file!");
const QString kNoCompiler = QStringLiteral("Path to QRX.EXE is not set in build options!");
const QString kCompilerFailed = QStringLiteral("Failed to execute compiler!");
const QString kRecompileQuestion = QStringLiteral("Source file needs recompiled. Continue?");
const QString kNoEmulator = QStringLiteral("No emulator is set in build options!");
const QString kNoLinker = QStringLiteral("No hardware linker path specified!");

void Warn(const QString &text)
{
    CEditorApp::MessageBox(text, QMessageBox::Warning, QMessageBox::Ok);
}

// Asks to recompile a changed or untitled source; false when the command ends
// here (cancelled, or still no file to run).
bool OfferRecompile(CRichSyntaxDoc &doc)
{
    if (doc.IsModified() || doc.GetPathName().isEmpty()) {
        const QMessageBox::StandardButton answer = CEditorApp::MessageBox(
            kRecompileQuestion, QMessageBox::Question,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            doc.OnBuildCompile();
        else if (answer != QMessageBox::No)
            return false;
    }
    return !doc.GetPathName().isEmpty();
}

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

void CRichSyntaxDoc::OnBuildCompile()
{
    CEditorApp *app = CEditorApp::Instance();
    if (!app)
        return;
    const bool saved = DoFileSave();
    const QString path = GetPathName();
    if (path.isEmpty()) {
        Warn(kSaveFailed);
        return;
    }
    // The save has shown its own message; compiling the file as it was on disk
    // would pass off old text as the one the user sees.
    if (!saved)
        return;

    const COptionsDlg &options = app->m_options;
    if (options.m_strCompiler.isEmpty()) {
        Warn(kNoCompiler);
        return;
    }
    const QString flags = BuildText::CompilerFlags(options.m_bDebug, options.m_bMultiBoot);
    const QString image = options.m_bMultiBoot ? GetMultibootFileName() : GetRomFileName();
    const QString arguments = BuildText::CompilerArguments(flags, BuildText::SourceFileName(path), image);

    CBuildLogDlg log(app->MainFrame());
    if (!log.Execute(options.m_strCompiler, arguments, BuildText::ProjectFolder(path)))
        Warn(kCompilerFailed);
}

void CRichSyntaxDoc::OnBuildRun()
{
    CEditorApp *app = CEditorApp::Instance();
    if (!app)
        return;
    if (app->m_options.m_strEmulator.isEmpty()) {
        Warn(kNoEmulator);
        return;
    }
    if (!OfferRecompile(*this))
        return;
    // Quoted, so that an image name with blanks reaches the emulator as one argument.
    app->LaunchProgram(app->m_options.m_strEmulator, Quoted(GetRomFileName()),
                       BuildText::ProjectFolder(GetPathName()), false);
}

void CRichSyntaxDoc::OnBuildLink()
{
    CEditorApp *app = CEditorApp::Instance();
    if (!app)
        return;
    if (app->m_options.m_strLinker.isEmpty()) {
        Warn(kNoLinker);
        return;
    }
    if (!OfferRecompile(*this))
        return;
    const QString folder = BuildText::ProjectFolder(GetPathName());
    const QString arguments = BuildText::FillLinkTemplate(app->m_options.m_cmdLineDlg.m_strArguments,
                                                          folder, GetTitle(), GetRomFileName(),
                                                          GetMultibootFileName());
    app->LaunchProgram(app->m_options.m_strLinker, arguments, folder, true);
}

QString CRichSyntaxDoc::GetRomFileName() const
{
    return BuildText::ImageName(GetTitle(), QLatin1String(BuildText::kRomExtension));
}

QString CRichSyntaxDoc::GetMultibootFileName() const
{
    return BuildText::ImageName(GetTitle(), QLatin1String(BuildText::kMultibootExtension));
}
