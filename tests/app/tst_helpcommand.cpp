// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "app/commandids.h"
#include "app/desktopopener.h"
#include "app/helpdlg.h"
#include "core/settingsstore.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace {

const QString kFailed = QStringLiteral("Failed to open help file! Would you like to browse for it?");

QString StoredHelpPath()
{
    return CSettingsStore().ReadString(QStringLiteral("Help"), QString());
}

QString &HelpPath()
{
    return CEditorApp::Instance()->HelpFile().path;
}

// In the location dialog: type path over what it shows, then OK (or Cancel).
ModalDriver::Action TypeAnd(const QString &path, bool ok, QStringList *shown = nullptr)
{
    return [=](QWidget *modal) {
        auto *dialog = qobject_cast<CHelpDlg *>(modal);
        QVERIFY(dialog);
        if (shown)
            shown->append(Child<QLineEdit>(dialog, "pathEdit")->text());
        if (!path.isNull()) {
            Child<QLineEdit>(dialog, "pathEdit")->clear();
            QTest::keyClicks(Child<QLineEdit>(dialog, "pathEdit"), path);
        }
        QTest::mouseClick(ok ? Child<QPushButton>(dialog, "okButton") : Child<QPushButton>(dialog, "cancelButton"),
                          Qt::LeftButton);
    };
}
} // namespace

class TestHelpCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temp;

    QString HelpFile() const { return m_temp.path() + QStringLiteral("/qrh.chm"); }

    // Puts a stand-in for the desktop's opener, running script, first on the search path.
    struct StandInOpener
    {
        QTemporaryDir bin;
        QByteArray previousPath = qgetenv("PATH");
        explicit StandInOpener(const QByteArray &script)
        {
            QFile opener(bin.path() + QStringLiteral("/xdg-open"));
            QVERIFY(opener.open(QIODevice::WriteOnly));
            opener.write("#!/bin/sh\n" + script + "\n");
            opener.close();
            opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
            qputenv("PATH", QFile::encodeName(bin.path()) + ':' + previousPath);
        }
        ~StandInOpener() { qputenv("PATH", previousPath); }
    };

private Q_SLOTS:
    void initTestCase()
    {
        QFile file(HelpFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("ITSF");
    }

    void init()
    {
        QFile::remove(TestSupport::SettingsFolder() + QStringLiteral("/TRZ.ini"));
        HelpPath().clear();
    }

    void dialogShowsThePath()
    {
        CHelpDlg dialog(QStringLiteral("/some/where.chm"));
        ModalDriver driver;
        QStringList shown;
        driver.Then(TypeAnd(QString(), false, &shown));
        QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        QCOMPARE(shown, QStringList{"/some/where.chm"});
    }

    void loadSettingsReadsTheHelpDefaultValue()
    {
        CSettingsStore().WriteString(QStringLiteral("/stored/qrh.chm"), QStringLiteral("Help"), QString());
        QCOMPARE(HelpLocation::Load(CSettingsStore()).path, QStringLiteral("/stored/qrh.chm"));
    }

    void okStoresTheTypedPathCancelStoresNothing_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void okStoresTheTypedPathCancelStoresNothing()
    {
        QFETCH(bool, ok);
        CHelpDlg dialog(QStringLiteral("/before.chm"));
        ModalDriver driver;
        driver.Then(TypeAnd(QStringLiteral("/typed/by hand.chm"), ok));
        QCOMPARE(dialog.DoModal(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog.Path(), ok ? QStringLiteral("/typed/by hand.chm") : QStringLiteral("/before.chm"));
        // The dialog only edits; F1 stores what OK gave (firstUseAsksForTheLocationWithoutTheQuestion).
        QCOMPARE(StoredHelpPath(), QString());
    }

    void browseTakesThePathAtOnce_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("a file chosen") << "/picked/qrh.chm";
        QTest::newRow("browser cancelled") << "";
    }
    void browseTakesThePathAtOnce()
    {
        QFETCH(QString, answer);
        FileDialogStub files;
        files.Answer(answer);
        CHelpDlg dialog(QStringLiteral("/old.chm"));
        ModalDriver driver;
        QString shownAfterBrowse;
        driver.Then([&](QWidget *modal) {
            QCOMPARE(modal, static_cast<QWidget *>(&dialog));
            QTest::mouseClick(Child<QPushButton>(&dialog, "browseButton"), Qt::LeftButton);
            shownAfterBrowse = Child<QLineEdit>(&dialog, "pathEdit")->text();
            QTest::mouseClick(Child<QPushButton>(&dialog, "cancelButton"), Qt::LeftButton);
        });
        dialog.DoModal();
        QCOMPARE(files.Requests().size(), 1);
        const FileDialogRequest &request = files.Requests().constFirst();
        QCOMPARE(request.mode, FileDialogRequest::OpenFile);
        QCOMPARE(request.defaultSuffix, QStringLiteral("chm"));
        QCOMPARE(request.fileName, QStringLiteral("qrh.dhm"));
        QCOMPARE(request.filters, QStringList{"HTML Help Files (*.chm)"});
        const QString expected = answer.isEmpty() ? QStringLiteral("/old.chm") : answer;
        QCOMPARE(shownAfterBrowse, expected);
        // Cancel does not undo the browsed path, and nothing is stored.
        QCOMPARE(dialog.Path(), expected);
        QCOMPARE(StoredHelpPath(), QString());
    }

    // --- the Help Index command ---

    void firstUseAsksForTheLocationWithoutTheQuestion_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK opens the file") << true;
        QTest::newRow("Cancel opens nothing") << false;
    }
    void firstUseAsksForTheLocationWithoutTheQuestion()
    {
        QFETCH(bool, ok);
        ShellOpenStub shell(true);
        MessageBoxRecorder boxes;
        ModalDriver driver;
        driver.Then(TypeAnd(HelpFile(), ok));
        CEditorApp::Instance()->OnHelpIndex();
        QCOMPARE(driver.Pending(), 0);
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(shell.Targets(), ok ? QStringList{HelpFile()} : QStringList());
        QCOMPARE(StoredHelpPath(), ok ? HelpFile() : QString());
    }

    void knownPathOpensWithNoDialog()
    {
        HelpPath() = HelpFile();
        ShellOpenStub shell(true);
        MessageBoxRecorder boxes;
        ModalDriver driver;
        CEditorApp::Instance()->OnHelpIndex();
        QCOMPARE(driver.Shown(), QList<QWidget *>());
        QCOMPARE(boxes.Texts(), QStringList());
        QCOMPARE(shell.Targets(), QStringList{HelpFile()});
    }

    void failedOpenAnsweredNoEnds()
    {
        HelpPath() = QStringLiteral("/gone/qrh.chm");
        ShellOpenStub shell(false);
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        ModalDriver driver;
        CEditorApp::Instance()->OnHelpIndex();
        QCOMPARE(driver.Shown(), QList<QWidget *>());
        QCOMPARE(boxes.Texts(), QStringList{kFailed});
        QCOMPARE(boxes.Boxes().constFirst().icon, QMessageBox::Warning);
        QCOMPARE(boxes.Boxes().constFirst().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(shell.Targets(), QStringList{"/gone/qrh.chm"});
    }

    void failedOpenYesThenCancelEnds()
    {
        HelpPath() = QStringLiteral("/gone/qrh.chm");
        ShellOpenStub shell(false);
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        ModalDriver driver;
        QStringList shown;
        driver.Then(TypeAnd(QStringLiteral("/other.chm"), false, &shown));
        CEditorApp::Instance()->OnHelpIndex();
        QCOMPARE(driver.Pending(), 0);
        QCOMPARE(shown, QStringList{"/gone/qrh.chm"});
        QCOMPARE(shell.Targets(), QStringList{"/gone/qrh.chm"});
        QCOMPARE(StoredHelpPath(), QString());
    }

    void loopRepeatsUntilTheFileOpens()
    {
        // Two wrong paths, then the right one; the real shell open is used, so a
        // missing file counts as a failed open.
        HelpPath() = QStringLiteral("/gone/qrh.chm");
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        boxes.Answer(QMessageBox::Yes);
        ModalDriver driver;
        QStringList shown;
        driver.Then(TypeAnd(m_temp.path() + QStringLiteral("/missing.chm"), true, &shown));
        driver.Then(TypeAnd(HelpFile(), true, &shown));
        struct OpensExistingFiles : CForwardingServices
        {
            QStringList opened;
            void ShellOpen(const QString &target, OpenAnswer answer) override
            {
                opened.append(target);
                answer(QFile::exists(target));
            }
        } shell;
        CEditorApp::Instance()->OnHelpIndex();
        const QStringList opened = shell.opened;
        QCOMPARE(driver.Pending(), 0);
        QCOMPARE(boxes.Texts(), (QStringList{kFailed, kFailed}));
        QCOMPARE(shown, (QStringList{"/gone/qrh.chm", m_temp.path() + QStringLiteral("/missing.chm")}));
        QCOMPARE(opened, (QStringList{"/gone/qrh.chm", m_temp.path() + QStringLiteral("/missing.chm"), HelpFile()}));
        QCOMPARE(StoredHelpPath(), HelpFile());
    }

    void okWithAnEmptyPathAsksForTheLocationAgain()
    {
        HelpPath() = QStringLiteral("/gone/qrh.chm");
        ShellOpenStub shell(false);
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::Yes);
        ModalDriver driver;
        driver.Then(TypeAnd(QStringLiteral(""), true));
        driver.Then(TypeAnd(QString(), false));
        CEditorApp::Instance()->OnHelpIndex();
        QCOMPARE(driver.Pending(), 0);
        QCOMPARE(shell.Targets(), QStringList{"/gone/qrh.chm"});
        QCOMPARE(boxes.Texts(), QStringList{kFailed});
    }

    void realShellOpenFailsForAMissingFile()
    {
        const StandInOpener opener("exit 0");
        int answers = 0;
        CEditorApp::Instance()->ShellOpen(m_temp.path() + QStringLiteral("/no such help.chm"), [&](bool opened) {
            QVERIFY(!opened);
            ++answers;
        });
        QCOMPARE(answers, 1);
    }

    // Fault mended: the desktop's opener failing (no program for the file, no
    // browser) was taken as success, because starting it succeeded.
    void openerExitStatusIsTheAnswer_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no program for it") << QByteArray("exit 3") << false;
        QTest::newRow("opened") << QByteArray("exit 0") << true;
        QTest::newRow("still running: waits for the program it started") << QByteArray("exec sleep 30") << true;
    }
    void openerExitStatusIsTheAnswer()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, opened);
        const StandInOpener opener(script);
        const LimitForTest answerWithin(DesktopOpener::s_answerWithinMs, 300);
        QObject owner;
        QList<bool> answers;
        DesktopOpener::Open(QUrl::fromLocalFile(HelpFile()), &owner, [&](bool result) { answers.append(result); });
        QTRY_COMPARE(answers, QList<bool>{opened});
    }

    void openerFailureIsSaid_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("help") << int(CommandId::ID_HELP_INDEX) << kFailed;
        QTest::newRow("home page") << int(CommandId::ID_HELP_HOMEPAGE)
                                   << QStringLiteral("Failed to launch web browser!");
        QTest::newRow("forums") << int(CommandId::ID_HELP_FORUMS) << QStringLiteral("Failed to launch web browser!");
    }
    void openerFailureIsSaid()
    {
        QFETCH(int, command);
        QFETCH(QString, message);
        const StandInOpener opener("exit 3");
        HelpPath() = HelpFile();
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        CEditorApp *app = CEditorApp::Instance();
        command == int(CommandId::ID_HELP_INDEX)      ? app->OnHelpIndex()
        : command == int(CommandId::ID_HELP_HOMEPAGE) ? app->OnHomepage()
                                                      : app->OnForums();
        QTRY_COMPARE(boxes.Texts(), QStringList{message});
    }

    void shellOpenTakesRelativePathsFromTheCurrentFolder_data()
    {
        // clang-format off
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("url"); // "~" stands for the current folder's address
        QTest::newRow("name") << "qrh.chm" << "~/qrh.chm";
        QTest::newRow("folder and name") << "help/qrh.chm" << "~/help/qrh.chm";
        QTest::newRow("looks like a host") << "www.example.com" << "~/www.example.com";
        QTest::newRow("absolute") << "/usr/share/qrh.chm" << "file:///usr/share/qrh.chm";
        QTest::newRow("web address") << "https://quarnbasic.example.org/help" << "https://quarnbasic.example.org/help";
        // clang-format on
    }

    void shellOpenTakesRelativePathsFromTheCurrentFolder()
    {
        QFETCH(QString, target);
        QFETCH(QString, url);
        const QString here = QUrl::fromLocalFile(QDir::currentPath()).toString();
        QCOMPARE(CEditorApp::ShellUrl(target).toString(), url.replace(QLatin1Char('~'), here));
    }

    // Fault mended: a relative help path was turned into a web address, which
    // "opened" without fail; now it leads nowhere and the loop asks again.
    void relativePathThatLeadsNowhereFails()
    {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_temp.path()));
        HelpPath() = QStringLiteral("help/qrh.chm");
        MessageBoxRecorder boxes;
        boxes.Answer(QMessageBox::No);
        CEditorApp::Instance()->OnHelpIndex();
        QDir::setCurrent(previous);
        QCOMPARE(boxes.Texts(), QStringList{kFailed});
    }
};

QBE_TEST_MAIN(TestHelpCommand)
#include "tst_helpcommand.moc"
