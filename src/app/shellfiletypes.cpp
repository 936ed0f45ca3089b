// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/shellfiletypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

void RunTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty())
        QProcess::startDetached(program, arguments);
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

bool Register(const QString &programPath)
{
#ifdef Q_OS_WIN
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    const QString command = QStringLiteral("\"%1\" -dde \"%2\"")
                                .arg(QDir::toNativeSeparators(programPath), QStringLiteral("%1"));
    bool changed = false;
    auto set = [&classes, &changed](const QString &key, const QString &value) {
        if (classes.value(key).toString() != value) {
            classes.setValue(key, value);
            changed = true;
        }
    };
    set(QStringLiteral(".qrx/Default"), kTypeId);
    set(kTypeId + QStringLiteral("/Default"), kTypeName);
    set(kTypeId + QStringLiteral("/DefaultIcon/Default"),
        QDir::toNativeSeparators(programPath) + QStringLiteral(",1"));
    set(kTypeId + QStringLiteral("/shell/open/command/Default"), command);
    return changed;
#else
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    const QString entry = DesktopEntry(programPath);
    if (entry.isEmpty())
        return false;
    const QString applications = dataHome + QStringLiteral("/applications");
    const QString mime = dataHome + QStringLiteral("/mime");
    const bool entryChanged = WriteIfDifferent(applications + QLatin1Char('/') + kTypeId
                                                   + QStringLiteral(".desktop"),
                                               entry.toUtf8());
    const bool mimeChanged = WriteIfDifferent(mime + QStringLiteral("/packages/") + kTypeId
                                                  + QStringLiteral(".xml"),
                                              MimePackage().toUtf8());
    if (mimeChanged)
        RunTool(QStringLiteral("update-mime-database"), {mime});
    if (entryChanged)
        RunTool(QStringLiteral("update-desktop-database"), {applications});
    return entryChanged || mimeChanged;
#endif
}

} // namespace ShellFileTypes
