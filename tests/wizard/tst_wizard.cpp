// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/doctemplate.h"
#include "app/mainframe.h"
#include "core/settingsstore.h"
#include "editor/richsyntaxdoc.h"
#include "editor/richsyntaxview.h"
#include "wizard/projecttemplate.h"
#include "wizard/wizarddlg.h"

#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QStringList WizardKeys()
{
    QSettings ini(TestSupport::IniPath(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Wizard"));
    return ini.childKeys();
}

QString Stored(const QString &name)
{
    return CSettingsStore().ReadString(QStringLiteral("Wizard"), name);
}

void StoreWizard(const QString &name, const QString &path, const QString &open)
{
    CSettingsStore store;
    store.WriteString(name, QStringLiteral("Wizard"), QStringLiteral("Name"));
    store.WriteString(path, QStringLiteral("Wizard"), QStringLiteral("Path"));
    store.WriteString(open, QStringLiteral("Wizard"), QStringLiteral("Open"));
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT

    QString m_strStartDir;
    std::unique_ptr<QTemporaryDir> m_pTemp;
    std::unique_ptr<CMainFrame> m_pFrame;
    CDocTemplate *m_pTemplate = nullptr;

    QString Temp() const { return m_pTemp->path(); }

    // File/New as the main frame does it, with the wizard answered by driver.
    CRichSyntaxDoc *FileNew(ModalDriver &driver)
    {
        const int handled = driver.Handled();
        CRichSyntaxDoc *doc = m_pTemplate->OpenNewDocument();
        // Exactly one wizard came up and was answered.
        [&] { QCOMPARE(driver.Handled(), handled + 1); }();
        return doc;
    }

    int WindowCount() const { return int(m_pFrame->MdiArea()->subWindowList().size()); }

private Q_SLOTS:
    void initTestCase() { m_strStartDir = QDir::currentPath(); }

    void init()
    {
        QFile::remove(TestSupport::IniPath());
        m_pTemp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pTemp->isValid());
        QVERIFY(QDir::setCurrent(m_strStartDir));
        m_pFrame = std::make_unique<CMainFrame>();
        m_pTemplate = new CDocTemplate(m_pFrame.get());
    }

    void cleanup()
    {
        m_pTemplate = nullptr;
        m_pFrame.reset();
        QDir::setCurrent(m_strStartDir);
        m_pTemp.reset();
    }

    // --- the dialog on its own ---

    void opensWithDefaultsWithoutStoredSettings()
    {
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        QCOMPARE(wizard.windowTitle(), QStringLiteral("New Source Project Wizard"));
        QCOMPARE(Child<QLineEdit>(&wizard, "nameEdit")->text(), QStringLiteral("My Project"));
        // Nothing stored: the documents folder where there is one, else home.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(!QFileInfo::exists(documents));
        QCOMPARE(Child<QLineEdit>(&wizard, "pathEdit")->text(), QDir::toNativeSeparators(QDir::homePath()));
        QVERIFY(QDir().mkpath(documents));
        auto removeDocuments = qScopeGuard([&documents] { QDir(documents).removeRecursively(); });
        CWizardDlg withDocuments(WizardEntries::Load(CSettingsStore()));
        QCOMPARE(Child<QLineEdit>(&withDocuments, "pathEdit")->text(), QDir::toNativeSeparators(documents));
        QVERIFY(Child<QRadioButton>(&wizard, "projectRadio")->isChecked());
        QVERIFY(!Child<QRadioButton>(&wizard, "blankRadio")->isChecked());
        QVERIFY(Child<QCheckBox>(&wizard, "subFolderCheck")->isChecked());
        QVERIFY(!Child<QCheckBox>(&wizard, "autoOpenCheck")->isChecked());
        for (QWidget *control : {static_cast<QWidget *>(Child<QLineEdit>(&wizard, "nameEdit")),
                                 static_cast<QWidget *>(Child<QLineEdit>(&wizard, "pathEdit")),
                                 static_cast<QWidget *>(Child<QPushButton>(&wizard, "browseButton")),
                                 static_cast<QWidget *>(Child<QCheckBox>(&wizard, "subFolderCheck")),
                                 static_cast<QWidget *>(Child<QCheckBox>(&wizard, "autoOpenCheck"))})
            QVERIFY(control->isEnabled());
        QCOMPARE(Child<QLabel>(&wizard, "logo")->pixmap().size(), QSize(122, 122));
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
    }

    void opensWithStoredSettings_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<bool>("autoOpen");
        QTest::newRow("last OK's name, folder and auto-open on")
            << "Space Game" << "/home/me/games" << "1" << "Space Game" << true;
        QTest::newRow("auto-open left off") << "Pong" << "/srv/x" << "0" << "Pong" << false;
        QTest::newRow("empty stored name shows My Project") << "" << "/srv/x" << "1" << "My Project" << true;
        QTest::newRow("any non-zero number is on, no folder: home") << "A" << "" << "7" << "A" << true;
        QTest::newRow("text that is no number is off") << "A" << "" << "yes" << "A" << false;
        // clang-format on
    }
    void opensWithStoredSettings()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, open);
        QFETCH(QString, shownName);
        QFETCH(bool, autoOpen);
        StoreWizard(name, path, open);
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        QCOMPARE(Child<QLineEdit>(&wizard, "nameEdit")->text(), shownName);
        QCOMPARE(Child<QLineEdit>(&wizard, "pathEdit")->text(),
                 path.isEmpty() ? QDir::toNativeSeparators(QDir::homePath()) : path);
        QCOMPARE(Child<QCheckBox>(&wizard, "autoOpenCheck")->isChecked(), autoOpen);
        // Kind and sub-folder are never remembered.
        QVERIFY(Child<QRadioButton>(&wizard, "projectRadio")->isChecked());
        QVERIFY(Child<QCheckBox>(&wizard, "subFolderCheck")->isChecked());
    }

    void radioButtonsEnableTheProjectControls()
    {
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        const QList<QWidget *> controls = {Child<QLineEdit>(&wizard, "nameEdit"), Child<QLineEdit>(&wizard, "pathEdit"),
                                           Child<QPushButton>(&wizard, "browseButton"),
                                           Child<QCheckBox>(&wizard, "autoOpenCheck"),
                                           Child<QCheckBox>(&wizard, "subFolderCheck")};
        QTest::mouseClick(Child<QRadioButton>(&wizard, "blankRadio"), Qt::LeftButton);
        QVERIFY(Child<QRadioButton>(&wizard, "blankRadio")->isChecked());
        for (QWidget *control : controls)
            QVERIFY2(!control->isEnabled(), qPrintable(control->metaObject()->className()));
        QVERIFY(Child<QPushButton>(&wizard, "okButton")->isEnabled());
        QVERIFY(Child<QPushButton>(&wizard, "cancelButton")->isEnabled());
        QVERIFY(Child<QRadioButton>(&wizard, "projectRadio")->isEnabled());
        QTest::mouseClick(Child<QRadioButton>(&wizard, "projectRadio"), Qt::LeftButton);
        for (QWidget *control : controls)
            QVERIFY(control->isEnabled());
    }

    void tabVisitsTheControlsInTheDialogsOrder()
    {
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        QVERIFY(QTest::qWaitForWindowActive(&wizard));
        Child<QLineEdit>(&wizard, "nameEdit")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(Child<QLineEdit>(&wizard, "nameEdit")));
        const QList<QWidget *> expected = {
            Child<QLineEdit>(&wizard, "pathEdit"),        Child<QPushButton>(&wizard, "browseButton"),
            Child<QCheckBox>(&wizard, "subFolderCheck"),  Child<QCheckBox>(&wizard, "autoOpenCheck"),
            Child<QRadioButton>(&wizard, "projectRadio"), Child<QPushButton>(&wizard, "okButton"),
            Child<QPushButton>(&wizard, "cancelButton"),  Child<QLineEdit>(&wizard, "nameEdit")};
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void okWritesTheThreeValuesWhicheverKind_data()
    {
        QTest::addColumn<bool>("blank");
        QTest::newRow("project source file") << false;
        QTest::newRow("blank source file, fields disabled") << true;
    }
    void okWritesTheThreeValuesWhicheverKind()
    {
        QFETCH(bool, blank);
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        Child<QLineEdit>(&wizard, "nameEdit")->selectAll();
        QTest::keyClicks(Child<QLineEdit>(&wizard, "nameEdit"), QStringLiteral("Ghost \"Town\""));
        Child<QLineEdit>(&wizard, "pathEdit")->selectAll();
        QTest::keyClicks(Child<QLineEdit>(&wizard, "pathEdit"), QStringLiteral("/tmp/nowhere"));
        QTest::mouseClick(Child<QCheckBox>(&wizard, "autoOpenCheck"), Qt::LeftButton);
        if (blank)
            QTest::mouseClick(Child<QRadioButton>(&wizard, "blankRadio"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(&wizard, "okButton"), Qt::LeftButton);
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QCOMPARE(wizard.m_nType, blank ? 0 : 1);
        // File/New stores what OK hands back (blankFileWritesSettingsAndNothingOnDisk).
        CSettingsStore store;
        wizard.Entries().Save(store);
        QCOMPARE(Stored(QStringLiteral("Name")), QStringLiteral("Ghost \"Town\""));
        QCOMPARE(Stored(QStringLiteral("Path")), QStringLiteral("/tmp/nowhere"));
        QCOMPARE(Stored(QStringLiteral("Open")), QStringLiteral("1"));
        // The next wizard offers them again.
        CWizardDlg next(WizardEntries::Load(CSettingsStore()));
        QCOMPARE(Child<QLineEdit>(&next, "nameEdit")->text(), QStringLiteral("Ghost \"Town\""));
        QCOMPARE(Child<QLineEdit>(&next, "pathEdit")->text(), QStringLiteral("/tmp/nowhere"));
        QVERIFY(Child<QCheckBox>(&next, "autoOpenCheck")->isChecked());
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancelWritesNothing()
    {
        QFETCH(bool, escape);
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        QTest::keyClicks(Child<QLineEdit>(&wizard, "nameEdit"), QStringLiteral("Changed"));
        QTest::mouseClick(Child<QCheckBox>(&wizard, "autoOpenCheck"), Qt::LeftButton);
        if (escape)
            QTest::keyClick(Child<QLineEdit>(&wizard, "nameEdit"), Qt::Key_Escape);
        else
            QTest::mouseClick(Child<QPushButton>(&wizard, "cancelButton"), Qt::LeftButton);
        QCOMPARE(wizard.result(), int(QDialog::Rejected));
        QVERIFY(wizard.isHidden());
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
    }

    void browseSetsTheFolderAndKeepsTheOtherFields_data()
    {
        // clang-format off
        QTest::addColumn<QString>("chosen"); // relative to the fixture, "" = cancelled
        QTest::addColumn<QString>("expected");
        QTest::newRow("a folder") << "games" << "games";
        QTest::newRow("a file gives the folder holding it") << "games/readme.txt" << "games";
        QTest::newRow("cancelled leaves the field") << "" << "typed by hand";
        // clang-format on
    }
    void browseSetsTheFolderAndKeepsTheOtherFields()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        QVERIFY(QDir(Temp()).mkdir(QStringLiteral("games")));
        QFile readme(Temp() + QStringLiteral("/games/readme.txt"));
        QVERIFY(readme.open(QIODevice::WriteOnly));
        readme.close();

        FileDialogStub dialogs;
        dialogs.Answer(chosen.isEmpty() ? QString() : Temp() + QLatin1Char('/') + chosen);
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        Child<QLineEdit>(&wizard, "nameEdit")->selectAll();
        QTest::keyClicks(Child<QLineEdit>(&wizard, "nameEdit"), QStringLiteral("Typed Name"));
        Child<QLineEdit>(&wizard, "pathEdit")->selectAll();
        QTest::keyClicks(Child<QLineEdit>(&wizard, "pathEdit"), QStringLiteral("typed by hand"));
        QTest::mouseClick(Child<QCheckBox>(&wizard, "subFolderCheck"), Qt::LeftButton);
        QTest::mouseClick(Child<QCheckBox>(&wizard, "autoOpenCheck"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(&wizard, "browseButton"), Qt::LeftButton);

        QCOMPARE(dialogs.Requests().size(), 1);
        const FileDialogRequest &request = dialogs.Requests().constFirst();
        QCOMPARE(request.mode, FileDialogRequest::Folder);
        QCOMPARE(request.caption, QStringLiteral("Project Folder"));
        QVERIFY(request.listFilesInFolderMode);
        // It starts at the desktop (or home), not at what the field holds.
        QVERIFY(QFileInfo(request.directory).isDir());

        const QString shown =
            expected == QLatin1String("typed by hand") ? expected : Temp() + QLatin1Char('/') + expected;
        QCOMPARE(Child<QLineEdit>(&wizard, "pathEdit")->text(), shown);
        QCOMPARE(Child<QLineEdit>(&wizard, "nameEdit")->text(), QStringLiteral("Typed Name"));
        QVERIFY(!Child<QCheckBox>(&wizard, "subFolderCheck")->isChecked());
        QVERIFY(Child<QCheckBox>(&wizard, "autoOpenCheck")->isChecked());
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
    }

    // Fault mended: the folder chooser would only take a folder selected in
    // its list, never the folder it shows.
    void folderChooserTakesTheFolderShown()
    {
        const QString games = Temp() + QStringLiteral("/games");
        QVERIFY(QDir().mkpath(games + QStringLiteral("/levels")));
        QFile readme(games + QStringLiteral("/readme.txt"));
        QVERIFY(readme.open(QIODevice::WriteOnly));
        readme.close();

        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        ModalDriver driver;
        bool chooseEnabled = false;
        driver.Then([&](QWidget *dialog) {
            auto *chooser = qobject_cast<QFileDialog *>(dialog);
            QVERIFY(chooser);
            // The user opens the folder, as a double-click does, then presses
            // Enter with nothing selected and nothing typed.
            auto *name = chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            chooser->setDirectory(games);
            QTRY_COMPARE(chooser->directory().absolutePath(), games);
            // A name typed and taken back again leaves nothing typed.
            QTest::keyClicks(name, QStringLiteral("l"));
            QTest::keyClick(name, Qt::Key_Backspace);
            QVERIFY(name->text().isEmpty());
            auto *box = chooser->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
            QPushButton *choose = box->button(QDialogButtonBox::Open);
            QTRY_VERIFY(choose && choose->isEnabled());
            chooseEnabled = true;
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(Child<QPushButton>(&wizard, "browseButton"), Qt::LeftButton);
        QCOMPARE(driver.Handled(), 1);
        QVERIFY(chooseEnabled);
        QCOMPARE(Child<QLineEdit>(&wizard, "pathEdit")->text(), games);
    }

    // --- File/New through the document template ---

    void cancelMakesNoDocumentNoWindowNoFolder()
    {
        ModalDriver driver;
        driver.Then([](QWidget *modal) {
            auto *wizard = qobject_cast<CWizardDlg *>(modal);
            QVERIFY(wizard);
            QTest::keyClicks(Child<QLineEdit>(wizard, "pathEdit"), QDir::currentPath());
            QTest::mouseClick(Child<QPushButton>(wizard, "cancelButton"), Qt::LeftButton);
        });
        QVERIFY(QDir::setCurrent(Temp()));
        QCOMPARE(FileNew(driver), nullptr);
        QCOMPARE(driver.Handled(), 1);
        QCOMPARE(WindowCount(), 0);
        QVERIFY(m_pTemplate->Documents().isEmpty());
        QCOMPARE(Entries(Temp()), QStringList());
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
    }

    void blankFileWritesSettingsAndNothingOnDisk()
    {
        ModalDriver driver;
        driver.Then([this](QWidget *modal) {
            TestSupport::FillWizard(modal,
                                    TestSupport::WizardAnswers{QStringLiteral("Unused"), Temp(), true, true, true});
        });
        CRichSyntaxDoc *doc = FileNew(driver);
        QVERIFY(doc);
        QCOMPARE(doc->GetPathName(), QString());
        QCOMPARE(doc->GetTitle(), QStringLiteral("Untitled1"));
        QCOMPARE(doc->TextDocument()->toPlainText(), QString());
        QVERIFY(!doc->IsModified());
        QCOMPARE(WindowCount(), 1);
        QCOMPARE(Entries(Temp()), QStringList());
        QCOMPARE(WizardKeys(), (QStringList{"Name", "Open", "Path"}));
        QCOMPARE(Stored(QStringLiteral("Name")), QStringLiteral("Unused"));
        QCOMPARE(Stored(QStringLiteral("Path")), Temp());
        QCOMPARE(Stored(QStringLiteral("Open")), QStringLiteral("1"));
    }

    void projectFile_data()
    {
        QTest::addColumn<bool>("subFolder");
        QTest::addColumn<QString>("name");
        QTest::newRow("in a new sub-folder") << true << "Space Game";
        QTest::newRow("straight in the chosen folder") << false << "Space Game";
        QTest::newRow("name with a double quote") << true << "Say \"Hi\"";
        QTest::newRow("empty name without sub-folder is .qrx") << false << "";
    }
    void projectFile()
    {
        QFETCH(bool, subFolder);
        QFETCH(QString, name);
        ModalDriver driver;
        driver.Then([&](QWidget *modal) { TestSupport::FillWizard(modal, {name, Temp(), false, subFolder, true}); });
        const int year = QDate::currentDate().year();
        CRichSyntaxDoc *doc = FileNew(driver);
        QVERIFY(doc);

        const QString folder = subFolder ? Temp() + QLatin1Char('/') + name : Temp();
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".qrx");
        QCOMPARE(doc->GetPathName(), file);
        QCOMPARE(doc->GetTitle(), name + QStringLiteral(".qrx"));
        QCOMPARE(QDir::currentPath(), folder);
        const QString expectedText = ProjectTemplateText(name, year, UserFullName());
        QCOMPARE(doc->TextDocument()->toPlainText(), expectedText);
        QCOMPARE(Entries(Temp()), QStringList{subFolder ? name : name + QStringLiteral(".qrx")});

        // The view places the template once and the document is saved at once.
        QCOMPARE(WindowCount(), 1);
        CRichSyntaxView *view = m_pFrame->ActiveView();
        QVERIFY(view);
        QCOMPARE(view->toPlainText(), expectedText);
        QCOMPARE(view->textCursor().position(), int(expectedText.size()));
        QVERIFY(!view->textCursor().hasSelection());
        QVERIFY(!doc->IsModified());

        const QByteArray bytes = TestSupport::ReadFile(file);
        QVERIFY(bytes.endsWith("start:\r\n\t"));
        QCOMPARE(bytes.count("\r\n"), 9);
        QCOMPARE(bytes.count('\n'), 9);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.at(3), QByteArray("#title \"") + name.toLatin1() + "\"\r");
        QCOMPARE(lines.at(0), QByteArray("; ") + name.toLatin1() + " - Copyright (c) " + QByteArray::number(year) + ", "
                                  + UserFullName().toLatin1() + '\r');
        QCOMPARE(Stored(QStringLiteral("Name")), name);
    }

    void failures_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path"); // relative to the fixture; "<empty>" for none
        QTest::addColumn<bool>("subFolder");
        QTest::addColumn<QString>("message");
        const QString create = QStringLiteral("Failed to create project directory!");
        const QString set = QStringLiteral("Failed to set project directory!");
        QTest::newRow("sub-folder exists already") << "Taken" << "." << true << create;
        QTest::newRow("empty name with sub-folder") << "" << "." << true << create;
        QTest::newRow("name reaching into another folder") << "../Outside" << "." << true << create;
        QTest::newRow("name with a folder in it") << "taken/Inner" << "." << true << create;
        QTest::newRow("missing folder with sub-folder") << "P" << "missing" << true << set;
        QTest::newRow("missing folder without sub-folder") << "P" << "missing" << false << set;
        QTest::newRow("empty folder") << "P" << "<empty>" << false << set;
        QTest::newRow("a file for a folder") << "P" << "plain.txt" << false << set;
        // Fault mended: without the sub-folder, a name like these wrote the file elsewhere.
        QTest::newRow("no sub-folder, name reaching into another folder") << "../Outside" << "." << false << create;
        QTest::newRow("no sub-folder, name with a folder in it") << "taken/Inner" << "." << false << create;
        QTest::newRow("no sub-folder, name is a dot") << "." << "." << false << create;
        QTest::newRow("no sub-folder, name is two dots") << ".." << "." << false << create;
        QTest::newRow("no sub-folder, line break in the name") << "Two\nLines" << "." << false << create;
        QTest::newRow("sub-folder, tab in the name") << "Tab\tName" << "." << true << create;
        // clang-format on
    }
    void failures()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(bool, subFolder);
        QFETCH(QString, message);
        QVERIFY(QDir(Temp()).mkpath(QStringLiteral("base/Taken")));
        QVERIFY(QDir(Temp()).mkpath(QStringLiteral("base/taken")));
        QFile plain(Temp() + QStringLiteral("/base/plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString base = Temp() + QStringLiteral("/base");
        const QString folder = path == QLatin1String("<empty>") ? QString() : base + QLatin1Char('/') + path;
        const QStringList before = Entries(base);

        MessageBoxRecorder boxes;
        // Control characters cannot be typed: the name goes in as a stored one would.
        ModalDriver named;
        named.Then([&](QWidget *modal) {
            Child<QLineEdit>(modal, "nameEdit")->setText(name);
            Child<QLineEdit>(modal, "pathEdit")->setText(folder);
            if (Child<QCheckBox>(modal, "subFolderCheck")->isChecked() != subFolder)
                Child<QCheckBox>(modal, "subFolderCheck")->click();
            Child<QPushButton>(modal, "okButton")->click();
        });
        QCOMPARE(FileNew(named), nullptr);
        QCOMPARE(boxes.Texts(), QStringList{message});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(WindowCount(), 0);
        QVERIFY(m_pTemplate->Documents().isEmpty());
        QCOMPARE(Entries(base), before);
        QCOMPARE(Entries(Temp()), QStringList{"base"});
        QVERIFY(Entries(base + QStringLiteral("/taken")).isEmpty());
        // The wizard's OK came first.
        QCOMPARE(Stored(QStringLiteral("Name")), name);
    }

    // Fault mended: a relative project folder used to be taken twice, once
    // before and once after the change of directory.
    void relativeFolderGivesTheFileItsRightPath()
    {
        QVERIFY(QDir(Temp()).mkdir(QStringLiteral("projects")));
        QVERIFY(QDir::setCurrent(Temp()));
        ModalDriver driver;
        driver.Then([](QWidget *modal) {
            TestSupport::FillWizard(modal, {QStringLiteral("Rel"), QStringLiteral("projects"), false, true, false});
        });
        CRichSyntaxDoc *doc = FileNew(driver);
        QVERIFY(doc);
        const QString file = Temp() + QStringLiteral("/projects/Rel/Rel.qrx");
        QCOMPARE(doc->GetPathName(), file);
        QVERIFY(QFile::exists(file));
        QCOMPARE(QDir::currentPath(), Temp() + QStringLiteral("/projects/Rel"));
    }

    void existingFileIsReplacedOnlyWhenTheUserSaysYes_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("No keeps the old file") << false;
        QTest::newRow("Yes replaces it") << true;
    }
    void existingFileIsReplacedOnlyWhenTheUserSaysYes()
    {
        QFETCH(bool, replace);
        const QString file = Temp() + QStringLiteral("/Old.qrx");
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("precious\r\n");
        old.close();

        MessageBoxRecorder boxes;
        boxes.Answer(replace ? QMessageBox::Yes : QMessageBox::No);
        ModalDriver driver;
        driver.Then([this](QWidget *modal) {
            TestSupport::FillWizard(modal, {QStringLiteral("Old"), Temp(), false, false, false});
        });
        CRichSyntaxDoc *doc = FileNew(driver);
        QCOMPARE(boxes.Texts(), QStringList{QDir::toNativeSeparators(file)
                                            + QStringLiteral(" already exists.\nDo you want to replace it?")});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::Yes | QMessageBox::No);
        if (!replace) {
            QCOMPARE(doc, nullptr);
            QCOMPARE(WindowCount(), 0);
            QCOMPARE(TestSupport::ReadFile(file), QByteArray("precious\r\n"));
            return;
        }
        QVERIFY(doc);
        QVERIFY(TestSupport::ReadFile(file).startsWith("; Old - Copyright (c) "));
    }

    void replaceQuestionDefaultsToNo()
    {
        // Enter on the real question keeps the old file.
        const QString file = Temp() + QStringLiteral("/Keep.qrx");
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("precious\r\n");
        old.close();
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        ModalDriver driver;
        driver.Then([this](QWidget *modal) {
            TestSupport::FillWizard(modal, {QStringLiteral("Keep"), Temp(), false, false, false});
        });
        driver.Then([&defaultButton](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            defaultButton = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
        });
        CRichSyntaxDoc *doc = m_pTemplate->OpenNewDocument();
        QCOMPARE(driver.Handled(), 2);
        QCOMPARE(defaultButton, QMessageBox::No);
        QCOMPARE(doc, nullptr);
        QCOMPARE(TestSupport::ReadFile(file), QByteArray("precious\r\n"));
    }

    // --- the template and the user's name ---

    void templateText_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("titleLine");
        QTest::newRow("plain") << "Space Game" << 2026 << "Ada Lovelace"
                               << "; Space Game - Copyright (c) 2026, Ada Lovelace"
                               << "#title \"Space Game\"";
        QTest::newRow("double quote unescaped") << "Say \"Hi\"" << 1999 << "bob"
                                                << "; Say \"Hi\" - Copyright (c) 1999, bob"
                                                << "#title \"Say \"Hi\"\"";
        QTest::newRow("empty user leaves comma and blank") << "P" << 2030 << ""
                                                           << "; P - Copyright (c) 2030, "
                                                           << "#title \"P\"";
        QTest::newRow("percent signs stay as typed") << "100%1 %d" << 2026 << "%s"
                                                     << "; 100%1 %d - Copyright (c) 2026, %s"
                                                     << "#title \"100%1 %d\"";
        QTest::newRow("empty name") << "" << 2026 << "u" << "; - Copyright (c) 2026, u" << "#title \"\"";
        // clang-format on
    }
    void templateText()
    {
        QFETCH(QString, name);
        QFETCH(int, year);
        QFETCH(QString, user);
        QFETCH(QString, firstLine);
        QFETCH(QString, titleLine);
        const QString text = ProjectTemplateText(name, year, user);
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10);
        if (name.isEmpty())
            firstLine = QStringLiteral(";  - Copyright (c) 2026, u");
        QCOMPARE(lines.at(0), firstLine);
        QCOMPARE(lines.at(1), QStringLiteral("; Created with Quarn BASIC. All rights reserved."));
        QCOMPARE(lines.at(2), QString());
        QCOMPARE(lines.at(3), titleLine);
        QCOMPARE(lines.at(4), QString());
        QCOMPARE(lines.at(5), QStringLiteral("#code ; -- END OF DATA --"));
        QCOMPARE(lines.at(6), QString());
        QCOMPARE(lines.at(7), QStringLiteral("; Entry point of game"));
        QCOMPARE(lines.at(8), QStringLiteral("start:"));
        QCOMPARE(lines.at(9), QStringLiteral("\t"));
        QVERIFY(!text.contains(QLatin1Char('\r')));
    }

    void fullNameFromGecos_data()
    {
        // clang-format off
        QTest::addColumn<QString>("gecos");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full name only") << "Ada Lovelace" << "Ada Lovelace";
        QTest::newRow("first comma-separated part") << "Ada Lovelace,Room 1,555,," << "Ada Lovelace";
        QTest::newRow("empty gives the login") << "" << "ada";
        QTest::newRow("only commas give the login") << ",,," << "ada";
        QTest::newRow("blank name gives the login") << "  ,x" << "ada";
        // clang-format on
    }
    void fullNameFromGecos()
    {
        QFETCH(QString, gecos);
        QFETCH(QString, expected);
        QCOMPARE(FullNameFromGecos(gecos, QStringLiteral("ada")), expected);
    }

    void userNameIsNeverEmptyForALoggedInUser() { QVERIFY(!UserFullName().isEmpty()); }
};

QBE_TEST_MAIN(TestWizard)
#include "tst_wizard.moc"
