// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "wizard/newdocument.h"

#include "core/appservices.h"
#include "core/filepaths.h"
#include "core/settingsstore.h"
#include "core/uitext.h"
#include "editor/fileerrors.h"
#include "wizard/projecttemplate.h"
#include "wizard/wizarddlg.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

namespace {
const UiText kCreateDirFailed{"NewDocument", QT_TRANSLATE_NOOP("NewDocument", "Failed to create project directory!")};
const UiText kReplaceQuestion{"NewDocument",
                              QT_TRANSLATE_NOOP("NewDocument", "%1 already exists.\nDo you want to replace it?")};
const QString kSourceExtension = QStringLiteral(".qrx");

// Makes folder the current directory. A relative folder is taken from the
// current directory as it was, and folder becomes the absolute path, so that
// names built from it later do not depend on the directory change.
bool SetProjectDirectory(QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    if (!QFileInfo(absolute).isDir() || !QDir::setCurrent(absolute))
        return false;
    folder = absolute;
    return true;
}

// A project's name makes a folder's and a file's name: one path component,
// not a way into another folder, and nothing a file name cannot hold.
bool IsPlainName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')))
        return false;
#ifdef Q_OS_WIN
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
        return false;
#endif
    for (const QChar ch : name) {
        if (ch.category() == QChar::Other_Control)
            return false;
    }
    return true;
}
} // namespace

bool RunNewDocumentWizard(NewDocumentRequest *request)
{
    *request = NewDocumentRequest();
    CSettingsStore store;
    CWizardDlg wizard(WizardEntries::Load(store));
    if (wizard.DoModal() != QDialog::Accepted)
        return false;
    // Stored whichever kind was chosen, so the next wizard offers them again.
    wizard.Entries().Save(store);
    if (wizard.m_nType == 0)
        return true;

    const int year = QDate::currentDate().year();
    if (wizard.m_bSubFolder && !CreateProjectFolder(wizard.m_strPath, wizard.m_strName))
        return false;
    // Without a sub-folder the name still makes the file's name, in the chosen
    // folder and nowhere else; an empty one makes ".qrx".
    if (!wizard.m_bSubFolder && !wizard.m_strName.isEmpty() && !IsPlainName(wizard.m_strName)) {
        MessageBox(kCreateDirFailed);
        return false;
    }
    if (!SetProjectDirectory(wizard.m_strPath)) {
        MessageBox(kSetProjectDirectoryFailed);
        return false;
    }

    const QString path = QDir(wizard.m_strPath).absoluteFilePath(wizard.m_strName + kSourceExtension);
    // The first save would silently replace a file of that name.
    if (QFileInfo::exists(path)
        && MessageBox(kReplaceQuestion.arg(QDir::toNativeSeparators(path)), QMessageBox::Warning,
                      QMessageBox::Yes | QMessageBox::No,
                      // Enter must not throw the old file away.
                      QMessageBox::No)
               != QMessageBox::Yes)
        return false;

    request->path = path;
    request->text = ProjectTemplateText(wizard.m_strName, year, UserFullName());
    return true;
}

bool CreateProjectFolder(QString &folder, const QString &name)
{
    if (!SetProjectDirectory(folder)) {
        MessageBox(kSetProjectDirectoryFailed);
        return false;
    }
    if (!IsPlainName(name) || !QDir::current().mkdir(name)) {
        MessageBox(kCreateDirFailed);
        return false;
    }
    folder = QDir::current().absoluteFilePath(name);
    return true;
}
