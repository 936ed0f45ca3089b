// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "build/buildtext.h"
#include "build/sourceposition.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace BuildText;

class TestBuildText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanup() { qputenv("PATH", m_path); }

    void imageNames_data()
    {
        // clang-format off
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("rom");
        QTest::addColumn<QString>("multiboot");
        QTest::newRow("source file") << "pong.qrx" << "pong.gba" << "pong.mb";
        QTest::newRow("no extension") << "pong" << "pong.gba" << "pong.mb";
        QTest::newRow("last dot counts") << "my.game.qrx" << "my.game.gba" << "my.game.mb";
        QTest::newRow("dot only in first place") << ".qrx" << ".qrx.gba" << ".qrx.mb";
        QTest::newRow("blanks kept") << "my game.qrx" << "my game.gba" << "my game.mb";
        QTest::newRow("trailing dot") << "pong." << "pong.gba" << "pong.mb";
        QTest::newRow("empty title") << "" << ".gba" << ".mb";
        // clang-format on
    }
    void imageNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, rom);
        QFETCH(QString, multiboot);
        QCOMPARE(ImageName(title, QLatin1String(kRomExtension)), rom);
        QCOMPARE(ImageName(title, QLatin1String(kMultibootExtension)), multiboot);
    }

    void projectFolderAndSourceName_data()
    {
        // clang-format off
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("source");
        QTest::newRow("plain") << "/games/pong/pong.qrx" << "/games/pong/" << "pong.qrx";
        QTest::newRow("folder with blanks") << "/My Games/pong.qrx" << "/My Games/" << "pong.qrx";
        QTest::newRow("no separator") << "pong.qrx" << "" << "pong.qrx";
        QTest::newRow("root") << "/pong.qrx" << "/" << "pong.qrx";
#ifdef Q_OS_WIN
        QTest::newRow("backslashes") << "C:\\Games\\Pong\\pong.qrx" << "C:\\Games\\Pong\\" << "pong.qrx";
        QTest::newRow("mixed, last wins") << "C:/Games\\Pong/pong.qrx" << "C:/Games\\Pong/" << "pong.qrx";
#else
        QTest::newRow("backslash is a name character") << "/games/a\\b.qrx" << "/games/" << "a\\b.qrx";
#endif
        // clang-format on
    }
    void projectFolderAndSourceName()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, source);
        QCOMPARE(ProjectFolder(path), folder);
        QCOMPARE(SourceFileName(path), source);
    }

    void compilerArguments_data()
    {
        // clang-format off
        QTest::addColumn<bool>("debug");
        QTest::addColumn<bool>("multiBoot");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("arguments");
        QTest::newRow("both flags, debug first") << true << true << "pong.mb"
                                                 << " -debug -mb  \"pong.qrx\" \"pong.mb\"";
        QTest::newRow("no flags") << false << false << "pong.gba" << "  \"pong.qrx\" \"pong.gba\"";
        QTest::newRow("debug only") << true << false << "pong.gba" << " -debug  \"pong.qrx\" \"pong.gba\"";
        QTest::newRow("multi-boot only") << false << true << "pong.mb" << " -mb  \"pong.qrx\" \"pong.mb\"";
        // clang-format on
    }
    void compilerArguments()
    {
        QFETCH(bool, debug);
        QFETCH(bool, multiBoot);
        QFETCH(QString, image);
        QFETCH(QString, arguments);
        QCOMPARE(CompilerArguments(CompilerFlags(debug, multiBoot), QStringLiteral("pong.qrx"), image), arguments);
    }

    void argumentsSplitIntoWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("both flags") << " -debug -mb  \"pong.qrx\" \"pong.mb\""
                                    << QStringList{"-debug", "-mb", "pong.qrx", "pong.mb"};
        QTest::newRow("names with blanks")
            << "  \"my pong.qrx\" \"my pong.gba\"" << QStringList{"my pong.qrx", "my pong.gba"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void argumentsSplitIntoWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        const Invocation invocation = MakeInvocation(QStringLiteral("/opt/qrx"), text);
        QCOMPARE(invocation.program, QStringLiteral("/opt/qrx"));
#ifdef Q_OS_WIN
        QCOMPARE(invocation.nativeArguments, text);
#else
        QCOMPARE(invocation.arguments, words);
#endif
    }

    void linkTemplate_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("binary alone") << "%b" << "\"pong.gba\"";
        QTest::newRow("every placeholder")
            << "-p %p -f %f -b %b -m %m" << "-p \"/games/pong/\" -f \"pong.qrx\" -b \"pong.gba\" -m \"pong.mb\"";
        QTest::newRow("multi-boot twice") << "send %m then %m." << "send \"pong.mb\" then \"pong.mb\".";
        QTest::newRow("adjacent placeholders") << "%p%b" << "\"/games/pong/\"\"pong.gba\"";
        QTest::newRow("upper case stays") << "%P %F %B %M" << "%P %F %B %M";
        QTest::newRow("other letters stay") << "%x %1 %s" << "%x %1 %s";
        QTest::newRow("doubled percent stays") << "100%% done" << "100%% done";
        QTest::newRow("doubled percent before a key") << "%%b" << "%\"pong.gba\"";
        QTest::newRow("lone percent at the end") << "speed 50%" << "speed 50%";
        QTest::newRow("empty template") << "" << "";
        QTest::newRow("no placeholders") << "-v -port 1" << "-v -port 1";
        // clang-format on
    }
    void linkTemplate()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(FillLinkTemplate(text, QStringLiteral("/games/pong/"), QStringLiteral("pong.qrx"),
                                  QStringLiteral("pong.gba"), QStringLiteral("pong.mb")),
                 result);
    }

    // Regression: later placeholder passes searched values put in by earlier ones.
    void insertedValuesAreNeverSearchedAgain_data()
    {
        // clang-format off
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("result");
        QTest::newRow("folder holding %f") << "/a%f/" << "x.qrx" << "\"/a%f/\" \"x.qrx\"";
        QTest::newRow("folder holding %b and %m") << "/%b%m/" << "x.qrx" << "\"/%b%m/\" \"x.qrx\"";
        QTest::newRow("title holding %m") << "/g/" << "%m.qrx" << "\"/g/\" \"%m.qrx\"";
        // clang-format on
    }
    void insertedValuesAreNeverSearchedAgain()
    {
        QFETCH(QString, folder);
        QFETCH(QString, title);
        QFETCH(QString, result);
        QCOMPARE(FillLinkTemplate(QStringLiteral("%p %f"), folder, title, ImageName(title, QStringLiteral(".gba")),
                                  ImageName(title, QStringLiteral(".mb"))),
                 result);
    }

    void windowsProgramNames_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("windows");
        QTest::newRow("lower case") << "/w/qrx.exe" << true;
        QTest::newRow("upper case") << "/w/QRX.EXE" << true;
        QTest::newRow("mixed case") << "/w/Qrx.ExE" << true;
        QTest::newRow("no extension") << "/usr/bin/mgba" << false;
        QTest::newRow("exe inside the name") << "/w/qrx.exe.sh" << false;
        QTest::newRow("script") << "/w/link.bat" << false;
    }
    void windowsProgramNames()
    {
        QFETCH(QString, program);
        QFETCH(bool, windows);
        QCOMPARE(IsWindowsProgram(program), windows);
    }

#ifndef Q_OS_WIN
    void windowsProgramGoesThroughWine()
    {
        QTemporaryDir bin;
        const QString wine = TestSupport::WriteScript(bin.path(), QStringLiteral("wine"), "exit 0\n");
        const QString exe = TestSupport::WriteFile(bin.filePath(QStringLiteral("QRX.EXE")), "MZ");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + m_path);
        const Invocation invocation =
            CompilerInvocation(exe, false, true, QStringLiteral("a b.qrx"), QStringLiteral("a b.mb"));
        QCOMPARE(invocation.program, wine);
        QCOMPARE(invocation.arguments, (QStringList{exe, "-mb", "a b.qrx", "a b.mb"}));

        // A Windows program that is not there is not handed to wine: it fails to start as it is.
        const QString missing = bin.filePath(QStringLiteral("GONE.EXE"));
        QCOMPARE(EmulatorInvocation(missing, QStringLiteral("x.gba")).program, missing);

        const Invocation native = MakeInvocation(QStringLiteral("/c/qrx"), QStringLiteral("x"));
        QCOMPARE(native.program, QStringLiteral("/c/qrx"));
        QCOMPARE(native.arguments, QStringList{"x"});
    }

    // Fault mended: a quote or a blank in a file or folder name split the linker's arguments or added some.
    void linkArgumentsKeepEveryValueWhole_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("plain") << "-p %p %b" << "/g/" << "pong.qrx" << QStringList{"-p", "/g/", "pong.gba"};
        QTest::newRow("blank and quote in the title")
            << "%f %b" << "/g/" << "my \"best\" game.qrx"
            << QStringList{"my \"best\" game.qrx", "my \"best\" game.gba"};
        QTest::newRow("an option inside a name stays inside")
            << "%b" << "/g/" << "x\" --erase \"y.qrx" << QStringList{"x\" --erase \"y.gba"};
        QTest::newRow("quoted template part with a placeholder")
            << "\"--image=%b\" -v" << "/my games/" << "a b.qrx" << QStringList{"--image=a b.gba", "-v"};
        QTest::newRow("folder holding %f") << "%p %f" << "/a%f/" << "x.qrx" << QStringList{"/a%f/", "x.qrx"};
        // clang-format on
    }
    void linkArgumentsKeepEveryValueWhole()
    {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        QFETCH(QString, title);
        QFETCH(QStringList, arguments);
        QCOMPARE(FillLinkArguments(text, folder, title, ImageName(title, QStringLiteral(".gba")),
                                   ImageName(title, QStringLiteral(".mb"))),
                 arguments);
    }

    void withoutWineTheProgramStaysAsItIs()
    {
        QTemporaryDir bin;
        qputenv("PATH", QFile::encodeName(bin.path()));
        const Invocation invocation = MakeInvocation(QStringLiteral("/c/qrx.exe"), QStringLiteral("a"));
        QCOMPARE(invocation.program, QStringLiteral("/c/qrx.exe"));
        QCOMPARE(invocation.arguments, QStringList{"a"});
    }
#endif

    void sourcePositions_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("kind"); // MarkKind
        const int error = int(MarkKind::Error);
        const int warning = int(MarkKind::Warning);
        const int note = int(MarkKind::Note);
        QTest::newRow("name(12)") << "pong.qrx(12)" << true << "pong.qrx" << 12 << 0 << error;
        QTest::newRow("name(12,5)") << "pong.qrx(12,5) error" << true << "pong.qrx" << 12 << 5 << error;
        QTest::newRow("name(12) :") << "pong.qrx(212) : error: no such label" << true << "pong.qrx" << 212 << 0
                                    << error;
        QTest::newRow("name:12:") << "inc/sprites.qrx:12: bad name" << true << "inc/sprites.qrx" << 12 << 0 << error;
        QTest::newRow("name:12:5:") << "pong.qrx:12:5: error" << true << "pong.qrx" << 12 << 5 << error;
        QTest::newRow("indented") << "   pong.qrx(3) : warning" << true << "pong.qrx" << 3 << 0 << warning;
        QTest::newRow("name with blanks") << "my game.qrx(7) : error" << true << "my game.qrx" << 7 << 0 << error;
        QTest::newRow("Wine's drive path")
            << "Z:\\home\\me\\pong.qrx(9,2) : error" << true << "Z:\\home\\me\\pong.qrx" << 9 << 2 << error;
        QTest::newRow("drive path, colon form")
            << "C:\\qrx\\gba.qrx:40: note" << true << "C:\\qrx\\gba.qrx" << 40 << 0 << note;
        QTest::newRow("Error in line 12") << "Error in line 12" << true << "" << 12 << 0 << error;
        QTest::newRow("LINE 12:") << "LINE 12: type mismatch" << true << "" << 12 << 0 << error;
        QTest::newRow("line in the middle") << "syntax error on Line 30 near 'then'" << true << "" << 30 << 0 << error;
        QTest::newRow("no position") << "Compiling pong.qrx..." << false << "" << 0 << 0 << error;
        QTest::newRow("bytes, not a line") << "pong.gba: 12345 bytes" << false << "" << 0 << 0 << error;
        QTest::newRow("a word, not a file") << "Error(12)" << false << "" << 0 << 0 << error;
        QTest::newRow("line zero") << "line 0" << false << "" << 0 << 0 << error;
        QTest::newRow("lines, plural") << "42 lines compiled" << false << "" << 0 << 0 << error;
        QTest::newRow("included from") << "In file included from main.c:1:" << true << "main.c" << 1 << 0 << note;
        QTest::newRow("and from") << "                 from x.c:5:" << true << "x.c" << 5 << 0 << note;
        QTest::newRow("and from, with comma")
            << "                 from inc/a.qrx:7:2," << true << "inc/a.qrx" << 7 << 2 << note;
        QTest::newRow("colours around the place")
            << "\x1b[01m\x1b[Kpong.qrx:4:2:\x1b[m\x1b[K \x1b[01;35mwarning:\x1b[m unused" << true << "pong.qrx" << 4
            << 2 << warning;
        QTest::newRow("File \"name\", line")
            << "  File \"inc/x.qrx\", line 3, in main" << true << "inc/x.qrx" << 3 << 0 << error;
        QTest::newRow("\"name\", line") << "\"x.qrx\", line 12: Warning: odd" << true << "x.qrx" << 12 << 0 << warning;
        QTest::newRow("parentheses in a folder")
            << "pong (old)/inc.qrx(3): fatal: no end" << true << "pong (old)/inc.qrx" << 3 << 0 << error;
        QTest::newRow("Program Files (x86)") << "C:\\Program Files (x86)\\Games\\x.qrx(12) : NOTE here" << true
                                             << "C:\\Program Files (x86)\\Games\\x.qrx" << 12 << 0 << note;
        QTest::newRow("parentheses in a colon form")
            << "pong (old)/inc.qrx:8: info: seen" << true << "pong (old)/inc.qrx" << 8 << 0 << note;
        QTest::newRow("a line past any end")
            << "pong.qrx(99999999999): error" << true << "pong.qrx" << INT_MAX << 0 << error;
        QTest::newRow("the kind's word first") << "Warning: pong.qrx(3) odd" << true << "pong.qrx" << 3 << 0 << warning;
        QTest::newRow("a file named like a kind")
            << "error.qrx(3): warning: odd" << true << "error.qrx" << 3 << 0 << warning;
        QTest::newRow("a banner") << "QRX Compiler v2.1 (2024) - Copyright Foo Ltd." << false << "" << 0 << 0 << error;
        QTest::newRow("progress") << "Pass 1: line 35 of 40" << false << "" << 0 << 0 << error;
        QTest::newRow("empty") << "" << false << "" << 0 << 0 << error;
    }
    void sourcePositions()
    {
        QFETCH(QString, line);
        QFETCH(bool, found);
        QFETCH(QString, file);
        QFETCH(int, number);
        QFETCH(int, column);
        QFETCH(int, kind);
        const std::optional<SourcePosition> position = FindSourcePosition(line);
        QCOMPARE(position.has_value(), found);
        if (!found)
            return;
        QCOMPARE(position->file, file);
        QCOMPARE(position->line, number);
        QCOMPARE(position->column, column);
        QCOMPARE(int(position->kind), kind);
    }

#ifndef Q_OS_WIN
    void resolveSourceFile_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("no name: the compiled file") << "" << "/games/pong/pong.qrx";
        QTest::newRow("relative") << "inc/sprites.qrx" << "/games/pong/inc/sprites.qrx";
        QTest::newRow("relative with backslashes") << "inc\\sprites.qrx" << "/games/pong/inc/sprites.qrx";
        QTest::newRow("absolute") << "/lib/qrx/gba.qrx" << "/lib/qrx/gba.qrx";
        QTest::newRow("up and back") << "../lib/../pong/x.qrx" << "/games/pong/x.qrx";
        QTest::newRow("Wine's Z: is the root") << "Z:\\home\\me\\pong.qrx" << "/home/me/pong.qrx";
        QTest::newRow("lower-case drive") << "z:\\srv\\a.qrx" << "/srv/a.qrx";
        QTest::newRow("C: through Wine's drive folder") << "C:\\qrx\\gba.qrx" << "<prefix>/drive_c/qrx/gba.qrx";
        // clang-format on
    }
    void resolveSourceFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        // A Wine prefix of the test's own: C: is drive_c; Z: is missing, so it is the root.
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("dosdevices")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("drive_c")));
        QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix.filePath(QStringLiteral("dosdevices/c:"))));
        const QByteArray old = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
        path.replace(QStringLiteral("<prefix>"), QFileInfo(prefix.path()).canonicalFilePath());
        QCOMPARE(ResolveSourceFile(name, QStringLiteral("/games/pong/"), QStringLiteral("/games/pong/pong.qrx")), path);
        qputenv("WINEPREFIX", old);
    }

    // A path written on another machine: the project's file of that tail, else of that name.
    void windowsPathFoundInTheProject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        QTest::newRow("the longest tail") << "D:\\work\\pong\\inc\\x.qrx"
                                          << "inc/x.qrx";
        QTest::newRow("the file name") << "D:\\elsewhere\\y.qrx"
                                       << "y.qrx";
        QTest::newRow("on a Wine drive, not there") << "Z:\\gone\\inc\\x.qrx"
                                                    << "inc/x.qrx";
        QTest::newRow("nowhere") << "D:\\a\\none.qrx"
                                 << "none.qrx";
    }
    void windowsPathFoundInTheProject()
    {
        QFETCH(QString, name);
        QFETCH(QString, found);
        QTemporaryDir project;
        QVERIFY(QDir(project.path()).mkpath(QStringLiteral("inc")));
        for (const char *file : {"inc/x.qrx", "x.qrx", "y.qrx"}) {
            QFile made(project.filePath(QLatin1String(file)));
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        const QByteArray old = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", QFile::encodeName(project.filePath(QStringLiteral("no-prefix"))));
        QCOMPARE(ResolveSourceFile(name, project.path(), project.filePath(QStringLiteral("x.qrx"))),
                 project.filePath(found));
        qputenv("WINEPREFIX", old);
    }
#endif

private:
    QByteArray m_path;
};

QBE_TEST_MAIN(TestBuildText)
#include "tst_buildtext.moc"
