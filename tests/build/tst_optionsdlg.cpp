// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "build/cmdlinedlg.h"
#include "build/optionsdlg.h"
#include "core/settingsstore.h"
#include "editor/dialogparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QStringList Labels(QWidget *dialog)
{
    QStringList texts;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        texts.append(label->text().remove(QLatin1Char('&')));
    return texts;
}
} // namespace

class TestOptionsDlg : public QObject
{
    Q_OBJECT

    ModalDriver *m_pDriver = nullptr;

    BuildSettings &Options() { return CEditorApp::Instance()->Build().Settings(); }

    // Opens Build Options, lets step work on it, then presses OK or Cancel.
    void RunOptions(const std::function<void(COptionsDlg *)> &step, bool ok)
    {
        ModalDriver driver;
        driver.Then([&](QWidget *dialog) {
            // A Command Line dialog the step opens is answered by the next action.
            step(qobject_cast<COptionsDlg *>(dialog));
            QTest::mouseClick(Child<QPushButton>(dialog, ok ? "okButton" : "cancelButton"), Qt::LeftButton);
        });
        m_pDriver = &driver;
        CEditorApp::Instance()->OnBuildOptions();
        m_pDriver = nullptr;
        QVERIFY(!QApplication::activeModalWidget());
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(TestSupport::IniPath());
        Options().compiler.clear();
        Options().linker.clear();
        Options().emulator.clear();
        Options().debug = false;
        Options().multiBoot = false;
        Options().linkerArguments.clear();
    }

    void loadSettings_data()
    {
        QTest::addColumn<QString>("flagText");
        QTest::addColumn<bool>("on");
        QTest::newRow("one") << "1" << true;
        QTest::newRow("not a number") << "yes" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("missing") << QString() << false;
    }
    void loadSettings()
    {
        QFETCH(QString, flagText);
        QFETCH(bool, on);
        CSettingsStore store;
        store.WriteString(QStringLiteral("/c/qrx.exe"), QString(), QStringLiteral("Compiler"));
        if (!flagText.isNull()) {
            store.WriteString(flagText, QString(), QStringLiteral("Debug"));
            store.WriteString(flagText, QString(), QStringLiteral("Multi-boot"));
        }
        Options() = BuildSettings::Load(store);
        QCOMPARE(Options().compiler, QStringLiteral("/c/qrx.exe"));
        QCOMPARE(Options().linker, QString());
        QCOMPARE(Options().debug, on);
        QCOMPARE(Options().multiBoot, on);
    }

    void tabOrderFollowsTheDialogTemplate()
    {
        QStringList order;
        RunOptions(
            [&](COptionsDlg *dialog) {
                dialog->activateWindow();
                Child<QLineEdit>(dialog, "compilerEdit")->setFocus();
                for (int i = 0; i < 10; ++i) {
                    QWidget *focus = QApplication::focusWidget();
                    order.append(focus ? focus->objectName() : QString());
                    QTest::keyClick(focus ? focus : dialog, Qt::Key_Tab);
                }
            },
            false);
        QCOMPARE(order, (QStringList{"compilerEdit", "compilerBrowse", "linkerEdit", "linkerBrowse", "emulatorEdit",
                                     "emulatorBrowse", "okButton", "cancelButton", "debugCheck", "multiBootCheck"}));
    }

    // Fault mended: the emulator's row stood apart from the two in the group,
    // and the note left its last word alone on a line.
    void layoutLinesUpAndButtonsSitBottomRight()
    {
        QList<QRect> edits;
        QList<QRect> browses;
        QRect ok;
        QRect cancel;
        QRect client;
        QString note;
        RunOptions(
            [&](COptionsDlg *dialog) {
                const auto rect = [dialog](const char *name) {
                    QWidget *widget = Child<QWidget>(dialog, name);
                    return QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
                };
                for (const char *name : {"compilerEdit", "linkerEdit", "emulatorEdit"})
                    edits.append(rect(name));
                for (const char *name : {"compilerBrowse", "linkerBrowse", "emulatorBrowse"})
                    browses.append(rect(name));
                ok = rect("okButton");
                cancel = rect("cancelButton");
                client = dialog->rect();
                note = Child<QLabel>(dialog, "templateNote")->text();
            },
            false);
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(edits.at(i).left(), edits.at(0).left());
            QCOMPARE(edits.at(i).width(), edits.at(0).width());
            QCOMPARE(browses.at(i).left(), browses.at(0).left());
            QVERIFY(edits.at(i).top() > edits.at(i - 1).bottom());
        }
        // OK then Cancel on one line below the last row, at the right edge.
        QCOMPARE(ok.top(), cancel.top());
        QVERIFY(ok.right() < cancel.left());
        QVERIFY(ok.top() > edits.at(2).bottom());
        QVERIFY(cancel.right() >= browses.at(0).right());
        QVERIFY(client.right() - cancel.right() < client.width() / 20);
        QVERIFY(client.bottom() - cancel.bottom() < client.height() / 10);
        // The note is the design's text; no line of it holds a single word.
        QCOMPARE(QString(note).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                 QStringLiteral("If no path is given for GBA.QRX, then the current path is assumed when creating a "
                                "new program template file..."));
        const QStringList lines = note.split(QLatin1Char('\n'));
        QVERIFY(lines.size() >= 2);
        for (const QString &line : lines)
            QVERIFY2(line.contains(QLatin1Char(' ')), qPrintable(line));
    }

    void wrapTextKeepsTheLastWordCompany_data()
    {
        // clang-format off
        // Widths are the widths of the sample texts; words of one letter keep them comparable.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widthOf");
        QTest::addColumn<QString>("wrapped");
        QTest::newRow("fits on one line") << "xx xx xx" << "xx xx xx" << "xx xx xx";
        QTest::newRow("last word goes down with one before it") << "xx xx xx" << "xx xx" << "xx\nxx xx";
        QTest::newRow("two words on the last line stay") << "xx xx xx xx" << "xx xx" << "xx xx\nxx xx";
        QTest::newRow("a line of one word gives none") << "xxxxxx xx" << "xxxxxx" << "xxxxxx\nxx";
        QTest::newRow("a word too wide has its own line") << "xx xxxxxxxxxx xx" << "xx xx" << "xx\nxxxxxxxxxx\nxx";
        QTest::newRow("a pair too wide stays apart") << "x xxxxxx xxxxxx" << "x xxxxxx" << "x xxxxxx\nxxxxxx";
        QTest::newRow("runs of blanks are one") << "xx   xx" << "xx xx" << "xx xx";
        // clang-format on
    }

    void wrapTextKeepsTheLastWordCompany()
    {
        QFETCH(QString, text);
        QFETCH(QString, widthOf);
        QFETCH(QString, wrapped);
        const QFontMetrics metrics(QApplication::font());
        QCOMPARE(DialogParts::WrapText(text, metrics, metrics.horizontalAdvance(widthOf)), wrapped);
    }

    void openingShowsTheFields()
    {
        Options().compiler = QStringLiteral("/c/qrx.exe");
        Options().linker = QStringLiteral("/l/link");
        Options().emulator = QStringLiteral("/e/emu");
        Options().debug = true;
        QStringList shown;
        RunOptions(
            [&](COptionsDlg *dialog) {
                shown << Child<QLineEdit>(dialog, "compilerEdit")->text()
                      << Child<QLineEdit>(dialog, "linkerEdit")->text()
                      << Child<QLineEdit>(dialog, "emulatorEdit")->text()
                      << QString::number(Child<QCheckBox>(dialog, "debugCheck")->isChecked())
                      << QString::number(Child<QCheckBox>(dialog, "multiBootCheck")->isChecked());
            },
            false);
        QCOMPARE(shown, (QStringList{"/c/qrx.exe", "/l/link", "/e/emu", "1", "0"}));
    }

    void okWritesAllFiveEvenUnchanged()
    {
        QVERIFY(!QFile::exists(TestSupport::IniPath()));
        RunOptions([](COptionsDlg *) {}, true);
        QSettings ini(TestSupport::IniPath(), QSettings::IniFormat);
        for (const char *name : {"Compiler", "Linker", "Emulator", "Multi-boot", "Debug"})
            QVERIFY2(ini.contains(QLatin1String(name)), name);
        QCOMPARE(ini.value(QStringLiteral("Multi-boot")).toString(), QStringLiteral("0"));
        QCOMPARE(ini.value(QStringLiteral("Debug")).toString(), QStringLiteral("0"));
    }

    void okTakesWhatWasTyped()
    {
        RunOptions(
            [](COptionsDlg *dialog) {
                QTest::keyClicks(Child<QLineEdit>(dialog, "compilerEdit"), QStringLiteral("/c/qrx.exe"));
                QTest::keyClicks(Child<QLineEdit>(dialog, "linkerEdit"), QStringLiteral("/l/my link.sh"));
                QTest::keyClicks(Child<QLineEdit>(dialog, "emulatorEdit"), QStringLiteral("/e/emu"));
                QTest::mouseClick(Child<QCheckBox>(dialog, "multiBootCheck"), Qt::LeftButton);
            },
            true);
        QCOMPARE(Options().compiler, QStringLiteral("/c/qrx.exe"));
        QCOMPARE(Options().linker, QStringLiteral("/l/my link.sh"));
        QCOMPARE(Options().emulator, QStringLiteral("/e/emu"));
        QVERIFY(Options().multiBoot);
        QVERIFY(!Options().debug);
        CSettingsStore store;
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Linker")), QStringLiteral("/l/my link.sh"));
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Multi-boot")), QStringLiteral("1"));
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Debug")), QStringLiteral("0"));
    }

    void cancelChangesNothingAndDropsBrowsedPaths()
    {
        Options().compiler = QStringLiteral("/old/qrx.exe");
        FileDialogStub files;
        files.Answer(QStringLiteral("/new/qrx.exe"));
        QString inControl;
        RunOptions(
            [&](COptionsDlg *dialog) {
                QTest::mouseClick(Child<QPushButton>(dialog, "compilerBrowse"), Qt::LeftButton);
                inControl = Child<QLineEdit>(dialog, "compilerEdit")->text();
                QTest::keyClicks(Child<QLineEdit>(dialog, "emulatorEdit"), QStringLiteral("/e/emu"));
                QTest::mouseClick(Child<QCheckBox>(dialog, "debugCheck"), Qt::LeftButton);
            },
            false);
        QCOMPARE(inControl, QStringLiteral("/new/qrx.exe"));
        QCOMPARE(Options().compiler, QStringLiteral("/old/qrx.exe"));
        QCOMPARE(Options().emulator, QString());
        QVERIFY(!Options().debug);
        QVERIFY(!QFile::exists(TestSupport::IniPath()));

        QString reopened;
        RunOptions([&](COptionsDlg *dialog) { reopened = Child<QLineEdit>(dialog, "compilerEdit")->text(); }, false);
        QCOMPARE(reopened, QStringLiteral("/old/qrx.exe"));
    }

    void browseRequests_data()
    {
        // clang-format off
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("edit");
#ifdef Q_OS_WIN
        const QStringList all{"Applications (*.exe)", "Scripts (*.bat)", "All files (*.*)"};
#else
        const QStringList all{"Applications (*.exe)", "Scripts (*.bat *.sh)", "All files (*)"};
#endif
        QTest::newRow("compiler") << "compilerBrowse" << "qrx.exe" << QStringList{"Applications (*.exe)"}
                                  << "compilerEdit";
        QTest::newRow("emulator") << "emulatorBrowse" << "" << QStringList{"Applications (*.exe)"} << "emulatorEdit";
        QTest::newRow("linker") << "linkerBrowse" << "" << all << "linkerEdit";
        // clang-format on
    }
    void browseRequests()
    {
        QFETCH(QString, button);
        QFETCH(QString, fileName);
        QFETCH(QStringList, filters);
        QFETCH(QString, edit);
        FileDialogStub files;
        files.Answer(QStringLiteral("/picked/program"));
        QString inControl;
        RunOptions(
            [&](COptionsDlg *dialog) {
                // The linker's Command Line dialog is cancelled.
                m_pDriver->Otherwise([](QWidget *commandLine) { qobject_cast<QDialog *>(commandLine)->reject(); });
                QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
                inControl = dialog->findChild<QLineEdit *>(edit)->text();
            },
            true);
        QCOMPARE(files.Requests().size(), 1);
        const FileDialogRequest &request = files.Requests().constFirst();
        QCOMPARE(request.mode, FileDialogRequest::OpenFile);
        QCOMPARE(request.fileName, fileName);
        QCOMPARE(request.filters, filters);
        QCOMPARE(request.defaultSuffix, QStringLiteral("exe"));
#ifdef Q_OS_WIN
        QVERIFY(request.executableFilter.isEmpty());
#else
        QCOMPARE(request.executableFilter, QStringLiteral("Applications (*.exe)"));
#endif
        QCOMPARE(inControl, QStringLiteral("/picked/program"));
    }

    void cancelledBrowseKeepsTheText()
    {
        FileDialogStub files;
        Options().emulator = QStringLiteral("/e/emu");
        QString inControl;
        bool commandLineOpened = false;
        RunOptions(
            [&](COptionsDlg *dialog) {
                m_pDriver->Otherwise([&](QWidget *) { commandLineOpened = true; });
                QTest::mouseClick(Child<QPushButton>(dialog, "emulatorBrowse"), Qt::LeftButton);
                QTest::mouseClick(Child<QPushButton>(dialog, "linkerBrowse"), Qt::LeftButton);
                inControl = Child<QLineEdit>(dialog, "emulatorEdit")->text();
            },
            false);
        QCOMPARE(files.Requests().size(), 2);
        QCOMPARE(inControl, QStringLiteral("/e/emu"));
        QVERIFY(!commandLineOpened);
    }

    void pickingALinkerOpensTheCommandLineWhichStoresAtOnce()
    {
        FileDialogStub files;
        files.Answer(QStringLiteral("/l/flash"));
        Options().linkerArguments = QStringLiteral("old %b");
        QString shownTemplate;
        bool commandLineShown = false;
        RunOptions(
            [&](COptionsDlg *dialog) {
                m_pDriver->Then([&](QWidget *commandLine) {
                    commandLineShown = qobject_cast<CCmdLineDlg *>(commandLine) != nullptr;
                    auto *edit = Child<QLineEdit>(commandLine, "argumentsEdit");
                    shownTemplate = edit->text();
                    edit->selectAll();
                    QTest::keyClicks(edit, QStringLiteral("-w %p%m"));
                    QTest::keyClick(edit, Qt::Key_Return);
                });
                QTest::mouseClick(Child<QPushButton>(dialog, "linkerBrowse"), Qt::LeftButton);
            },
            false);
        QVERIFY(commandLineShown);
        QCOMPARE(shownTemplate, QStringLiteral("old %b"));
        QCOMPARE(Options().linkerArguments, QStringLiteral("-w %p%m"));
        CSettingsStore store;
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Command Line")), QStringLiteral("-w %p%m"));
        // Build Options was cancelled: the new linker is not taken.
        QCOMPARE(Options().linker, QString());
        QCOMPARE(store.ReadString(QString(), QStringLiteral("Linker")), QString());
    }

    void commandLineCancelKeepsTheTemplate_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("escape") << true;
        QTest::newRow("close box") << false;
    }
    void commandLineCancelKeepsTheTemplate()
    {
        QFETCH(bool, escape);
        CSettingsStore().WriteString(QStringLiteral("stored %f"), QString(), QStringLiteral("Command Line"));
        CCmdLineDlg dialog(QStringLiteral("stored %f"));
        bool noCancelButton = false;
        ModalDriver driver;
        driver.Then([&](QWidget *shown) {
            const QList<QPushButton *> buttons = shown->findChildren<QPushButton *>();
            noCancelButton = buttons.size() == 1 && buttons.constFirst()->text() == QLatin1String("OK");
            auto *edit = Child<QLineEdit>(shown, "argumentsEdit");
            QTest::keyClicks(edit, QStringLiteral(" more"));
            if (escape)
                QTest::keyClick(edit, Qt::Key_Escape);
            else
                shown->close();
        });
        QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        QVERIFY(noCancelButton);
        QCOMPARE(dialog.Arguments(), QStringLiteral("stored %f"));
        QCOMPARE(CSettingsStore().ReadString(QString(), QStringLiteral("Command Line")), QStringLiteral("stored %f"));
    }

    void commandLineShowsThePlaceholders()
    {
        QStringList labels;
        QString caption;
        ModalDriver driver;
        driver.Then([&](QWidget *shown) {
            labels = Labels(shown);
            caption = shown->windowTitle();
        });
        CCmdLineDlg(QString()).DoModal();
        QCOMPARE(caption, QStringLiteral("Command Line"));
        for (const char *text : {"Enter command line arguments...", "%p", "Project path", "%f", "Source filename", "%b",
                                 "Binary filename", "%m", "Multiboot image filename"})
            QVERIFY2(labels.contains(QLatin1String(text)), text);
    }

    void commandLineLoadSettings()
    {
        CSettingsStore().WriteString(QStringLiteral("-x %b"), QString(), QStringLiteral("Command Line"));
        QCOMPARE(BuildSettings::Load(CSettingsStore()).linkerArguments, QStringLiteral("-x %b"));
    }

#ifndef Q_OS_WIN
    void fileDialogListsExecutablesWithoutExtension_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("applications") << 0 << QStringList{"emu", "link.sh", "qrx.exe", "sub"};
        QTest::newRow("scripts") << 1 << QStringList{"link.bat", "link.sh", "sub"};
        QTest::newRow("all files") << 2 << QStringList{"emu",     "link.bat", "link.sh", "notes.txt",
                                                       "qrx.exe", "readme",   "sub"};
    }
    void fileDialogListsExecutablesWithoutExtension()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const char *name : {"qrx.exe", "notes.txt", "readme", "link.bat"}) {
            QFile file(dir.path() + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        TestSupport::WriteScript(dir.path(), QStringLiteral("emu"), "exit 0\n");
        TestSupport::WriteScript(dir.path(), QStringLiteral("link.sh"), "exit 0\n");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));

        QStringList names;
        ModalDriver driver;
        driver.Then([&](QWidget *dialog) {
            auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            QVERIFY(view && combo);
            // As the user picks a filter: arrow keys on the filter box.
            for (int i = 0; i < filter; ++i)
                QTest::keyClick(combo, Qt::Key_Down);
            // The folder is read in the background: wait until it is listed as expected.
            const bool listedAsExpected = QTest::qWaitFor(
                [&] {
                    QStringList now;
                    const QModelIndex root = view->rootIndex();
                    for (int row = 0; row < view->model()->rowCount(root); ++row)
                        now.append(view->model()->index(row, 0, root).data().toString());
                    now.sort();
                    names = now;
                    return now == listed;
                },
                5000);
            Q_UNUSED(listedAsExpected); // names tells what was listed
        });
        FileDialogRequest request;
        request.directory = dir.path();
        request.filters = COptionsDlg::LinkerFilters();
        request.defaultSuffix = QStringLiteral("exe");
        request.executableFilter = COptionsDlg::ExecutableFilter();
        QCOMPARE(CEditorApp::Instance()->FileDialog(nullptr, request), QString());
        QCOMPARE(names, listed);
    }
#endif
};

QBE_TEST_MAIN(TestOptionsDlg)
#include "tst_optionsdlg.moc"
