// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/shellfiletypes.h"

#include "core/privatefolder.h"
#include "core/product.h"
#include "core/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace ShellFileTypes {

namespace {

// Quotes an argument of a desktop entry's Exec key. The value is read as a
// string first (backslash, newline, tab and carriage return written as escapes)
// and then split by its quotes; a percent sign would start a field code.
QString QuoteExec(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    QString escaped;
    for (const QChar c : std::as_const(quoted)) {
        switch (c.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        case '%':
            escaped += QStringLiteral("%%");
            break;
        default:
            escaped += c;
        }
    }
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Control characters other than the three above have no escape in a desktop
// entry, and a path that was not valid in the file system's encoding cannot
// be named there either.
bool CanWriteInEntry(const QString &path)
{
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\n' && u != '\t' && u != '\r') || u == 0x7f || u == QChar::ReplacementCharacter)
            return false;
    }
    return !path.isEmpty();
}

bool WriteIfDifferent(const QString &path, const QByteArray &content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return false;
    existing.close();
    // Whoever could change these could make the desktop run another program.
    MakeFolders(QFileInfo(path).absolutePath());
    return SaveWholeFile(path, content, nullptr, nullptr,
                         QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

bool RemoveIf(const QString &path, bool (*own)(const QString &))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString content = QString::fromUtf8(file.readAll());
    file.close();
    return own(content) && file.remove();
}

// Every line but the Exec line, which names the program.
QStringList WithoutExec(const QString &entry)
{
    QStringList lines = entry.split(QLatin1Char('\n'));
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("Exec=")); });
    return lines;
}

// The program an Exec value starts: its first word, quotes taken off.
QString ExecProgram(const QString &exec)
{
    const QString value = exec.trimmed();
    if (value.startsWith(QLatin1Char('"'))) {
        const int end = value.indexOf(QLatin1Char('"'), 1);
        return end < 0 ? QString() : value.mid(1, end - 1);
    }
    return value.section(QLatin1Char(' '), 0, 0);
}

// The Exec value of a desktop entry's main group, escapes left as they are.
QString ExecOfEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    bool mainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            mainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (mainGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == QLatin1String("Exec"))
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return QString();
}

void RunTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
#ifdef Q_OS_UNIX
    // The databases the tool writes say which program opens which file:
    // nobody else may change them, whatever the editor's umask.
    const mode_t mask = ::umask(022);
    ::umask(mask | 022);
#endif
    QProcess::startDetached(program, arguments);
#ifdef Q_OS_UNIX
    ::umask(mask);
#endif
}

} // namespace

QString DesktopEntry(const QString &programPath)
{
    if (!CanWriteInEntry(programPath))
        return QString();
    // The desktop's open request goes through "-dde", which hands the files to
    // an editor that already runs.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quarn BASIC Editor\n"
                          "Comment=Edit, compile and run Quarn BASIC programs\n"
                          "Exec=%1 -dde %F\n"
                          "Icon=quarn-basic-editor\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "MimeType=%2;\n"
                          "Categories=Development;IDE;\n")
        .arg(QuoteExec(programPath), kMimeType);
}

QString MimePackage()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <sub-class-of type=\"text/plain\"/>\n"
                          "    <generic-icon name=\"text-x-generic\"/>\n"
                          "    <glob pattern=\"*.qrx\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(kMimeType, kTypeName);
}

Desktop CurrentDesktop()
{
    Desktop desktop;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    desktop.userDataDir = dataHome;
    const QString writable = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &dir : all) {
        if (QDir(dir) != QDir(writable) && QDir(dir) != QDir(dataHome))
            desktop.systemDataDirs.append(dir);
    }
    desktop.searchPath = qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return desktop;
}

bool InstalledEntryStarts(const QString &programPath, const QString &desktopFileName, const Desktop &desktop)
{
    const QString self = QFileInfo(programPath).canonicalFilePath();
    if (self.isEmpty())
        return false;
    for (const QString &dir : desktop.systemDataDirs) {
        const QString entry = dir + QStringLiteral("/applications/") + desktopFileName;
        if (!QFileInfo(entry).isFile())
            continue;
        QString program = ExecProgram(ExecOfEntry(entry));
        if (program.isEmpty())
            continue;
        if (!program.contains(QLatin1Char('/')))
            program = QStandardPaths::findExecutable(program, desktop.searchPath);
        if (!program.isEmpty() && QFileInfo(program).canonicalFilePath() == self)
            return true;
    }
    return false;
}

bool IsOwnDesktopEntry(const QString &content)
{
    return WithoutExec(content) == WithoutExec(DesktopEntry(QStringLiteral("/p")));
}

bool IsOwnMimePackage(const QString &content)
{
    return content == MimePackage();
}

bool Register(const QString &programPath, bool writeWanted)
{
#ifdef Q_OS_WIN
    if (!writeWanted)
        return false;
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    const QString command =
        QStringLiteral("\"%1\" -dde \"%2\"").arg(QDir::toNativeSeparators(programPath), QStringLiteral("%1"));
    bool changed = false;
    auto set = [&classes, &changed](const QString &key, const QString &value) {
        if (classes.value(key).toString() != value) {
            classes.setValue(key, value);
            changed = true;
        }
    };
    set(QStringLiteral(".qrx/Default"), kTypeId);
    set(kTypeId + QStringLiteral("/Default"), kTypeName);
    set(kTypeId + QStringLiteral("/DefaultIcon/Default"), QDir::toNativeSeparators(programPath) + QStringLiteral(",1"));
    set(kTypeId + QStringLiteral("/shell/open/command/Default"), command);
    return changed;
#else
    return Update(programPath, Product::kAppId + QStringLiteral(".desktop"), CurrentDesktop(), writeWanted);
#endif
}

bool Update(const QString &programPath, const QString &desktopFileName, const Desktop &desktop, bool writeWanted)
{
    const QString applications = desktop.userDataDir + QStringLiteral("/applications");
    const QString mime = desktop.userDataDir + QStringLiteral("/mime");
    const QString entryPath = applications + QLatin1Char('/') + kTypeId + QStringLiteral(".desktop");
    const QString mimePath = mime + QStringLiteral("/packages/") + kTypeId + QStringLiteral(".xml");
    bool entryChanged = false;
    bool mimeChanged = false;
    if (!writeWanted || InstalledEntryStarts(programPath, desktopFileName, desktop)) {
        // The package's own entry and MIME package do the work; one of ours
        // would stand in front of them.
        entryChanged = RemoveIf(entryPath, IsOwnDesktopEntry);
        mimeChanged = RemoveIf(mimePath, IsOwnMimePackage);
    } else {
        const QString entry = DesktopEntry(programPath);
        if (entry.isEmpty())
            return false;
        entryChanged = WriteIfDifferent(entryPath, entry.toUtf8());
        mimeChanged = WriteIfDifferent(mimePath, MimePackage().toUtf8());
    }
    if (mimeChanged)
        RunTool(QStringLiteral("update-mime-database"), {mime});
    if (entryChanged)
        RunTool(QStringLiteral("update-desktop-database"), {applications});
    return entryChanged || mimeChanged;
}

} // namespace ShellFileTypes
