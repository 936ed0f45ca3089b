// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// Every control of every dialog can be reached from the keyboard and is named
// for screen readers.
#include "testsupport.h"

#include "app/aboutdlg.h"
#include "app/helpdlg.h"
#include "build/cmdlinedlg.h"
#include "build/optionsdlg.h"
#include "core/settingsstore.h"
#include "editor/fileresult.h"
#include "editor/findreplacedlg.h"
#include "editor/gotolinedlg.h"
#include "wizard/wizarddlg.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTranslator>

#include <cerrno>

#include <memory>

namespace {

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

std::unique_ptr<QDialog> MakeDialog(const QString &which)
{
    if (which == QLatin1String("wizard"))
        return std::make_unique<CWizardDlg>(WizardEntries::Load(CSettingsStore()));
    if (which == QLatin1String("help"))
        return std::make_unique<CHelpDlg>(QString());
    if (which == QLatin1String("command line"))
        return std::make_unique<CCmdLineDlg>(QString());
    if (which == QLatin1String("go to line"))
        return std::make_unique<CGoToLineDlg>(1, 10);
    if (which == QLatin1String("replace"))
        return std::make_unique<CFindReplaceDlg>(true, FindRequest{}, nullptr);
    if (which == QLatin1String("about"))
        return std::make_unique<CAboutDlg>();
    return std::make_unique<COptionsDlg>(BuildSettings());
}

} // namespace

// A language in which every text is its own upper case.
class UpperCaseTranslator : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QString::fromUtf8(source).toUpper();
    }
    bool isEmpty() const override { return false; }
};

class TestDialogKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAMnemonicAndAName_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *name : {"wizard", "options", "help", "command line", "go to line", "replace", "about"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyControlHasAMnemonicAndAName()
    {
        QFETCH(QString, dialog);
        const std::unique_ptr<QDialog> shown = MakeDialog(dialog);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        QStringList labelledBy;
        for (const QLabel *label : shown->findChildren<QLabel *>()) {
            if (label->buddy())
                QVERIFY2(label->text().contains(QLatin1Char('&')), qPrintable(label->text()));
            if (label->buddy())
                labelledBy.append(label->buddy()->objectName());
        }
        for (QWidget *control : shown->findChildren<QWidget *>()) {
            if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus) || control->focusProxy())
                continue;
            const QString what = dialog + QLatin1Char('/') + control->objectName();
            QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(what));
            // OK and Cancel answer Enter and Esc; "..." buttons go with their field.
            auto *button = qobject_cast<QAbstractButton *>(control);
            const bool keyed =
                button ? button->text().contains(QLatin1Char('&')) || button->text() == QLatin1String("...")
                             || button->text() == QLatin1String("OK") || button->text() == QLatin1String("Cancel")
                       : labelledBy.contains(control->objectName()) || control->inherits("QPlainTextEdit");
            QVERIFY2(keyed, qPrintable(what));
        }
    }

    void namesOfUnlabelledControls_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("compiler") << "options"
                                  << "compilerEdit"
                                  << "Compiler path";
        QTest::newRow("compiler's button") << "options"
                                           << "compilerBrowse"
                                           << "Browse for the compiler";
        QTest::newRow("emulator's button") << "options"
                                           << "emulatorBrowse"
                                           << "Browse for the emulator";
        QTest::newRow("project name") << "wizard"
                                      << "nameEdit"
                                      << "Project name";
        QTest::newRow("project folder") << "wizard"
                                        << "browseButton"
                                        << "Browse for the project folder";
        QTest::newRow("help file") << "help"
                                   << "browseButton"
                                   << "Browse for the help file";
    }
    // Every text a dialog shows, and the messages of files, go through the translation.
    void textsGoThroughTranslation()
    {
        QFETCH(QString, dialog);
        UpperCaseTranslator upper;
        QCoreApplication::installTranslator(&upper);
        const auto removeTranslator = qScopeGuard([&upper] { QCoreApplication::removeTranslator(&upper); });
        const std::unique_ptr<QDialog> shown = MakeDialog(dialog);
        QStringList texts{shown->windowTitle()};
        for (const QLabel *label : shown->findChildren<QLabel *>())
            texts.append(label->text());
        for (const QAbstractButton *button : shown->findChildren<QAbstractButton *>())
            texts.append(button->text());
        for (const QWidget *widget : shown->findChildren<QWidget *>())
            texts.append(widget->accessibleName());
        // The linker's placeholders are the template's own words.
        static const QRegularExpression placeholder(QStringLiteral("^%[a-z]$"));
        for (const QString &text : std::as_const(texts)) {
            if (!placeholder.match(text).hasMatch())
                QVERIFY2(text == text.toUpper(), qPrintable(text));
        }
        QCOMPARE(FileResult::SystemError(ENOSPC, QStringLiteral("/x"), true).Message(),
                 QStringLiteral("DISK FULL WHILE ACCESSING /x."));
    }
    void textsGoThroughTranslation_data() { everyControlHasAMnemonicAndAName_data(); }

    // The build gathers the texts of every folder into the translation template.
    void translationTemplateHoldsTheTexts()
    {
#ifndef QBE_TRANSLATION_TEMPLATE
        QSKIP("built without lupdate");
#else
        QFile file(QStringLiteral(QBE_TRANSLATION_TEMPLATE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString ts = QString::fromUtf8(file.readAll());
        for (const char *text : {"&amp;Compile", "Open this document", "Failed to save document.", "Build Options",
                                 "New Source Project Wizard", "Compiler finished with exit code %1",
                                 "The settings could not be saved in %1!", "Fi&amp;nd what:", "Recent File"})
            QVERIFY2(ts.contains(QStringLiteral("<source>%1</source>").arg(QLatin1String(text))), text);
#endif
    }

    void namesOfUnlabelledControls()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QString, name);
        const std::unique_ptr<QDialog> shown = MakeDialog(dialog);
        QWidget *widget = shown->findChild<QWidget *>(control);
        QVERIFY(widget);
        QCOMPARE(AccessibleName(widget), name);
    }

    // The wizard's two kinds are one stop of Tab; the arrow keys choose between them.
    void wizardKindsByKeyboard()
    {
        CWizardDlg wizard(WizardEntries::Load(CSettingsStore()));
        wizard.show();
        QVERIFY(QTest::qWaitForWindowActive(&wizard));
        auto *blank = Child<QRadioButton>(&wizard, "blankRadio");
        auto *project = Child<QRadioButton>(&wizard, "projectRadio");
        QVERIFY(project->isChecked());
        project->setFocus();
        QTest::keyClick(project, Qt::Key_Up);
        QTRY_VERIFY(blank->isChecked());
        QCOMPARE(QApplication::focusWidget(), blank);
        QVERIFY(!Child<QWidget>(&wizard, "nameEdit")->isEnabled());
        QTest::keyClick(blank, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(&wizard, "okButton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), blank);
        QTest::keyClick(blank, Qt::Key_Down);
        QTRY_VERIFY(project->isChecked());
        QVERIFY(Child<QWidget>(&wizard, "nameEdit")->isEnabled());
    }
};

QBE_TEST_MAIN(TestDialogKeys)
#include "tst_dialogkeys.moc"
