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
// string first (where a backslash is written twice) and then split by its
// quotes; a percent sign would start a field code.
QString QuoteExec(const QString &argument)
{
    QString quoted = argument;
    for (const char *special : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
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
    const QString applications = dataHome + QStringLiteral("/applications");
    const QString mime = dataHome + QStringLiteral("/mime");
    const bool entryChanged = WriteIfDifferent(applications + QLatin1Char('/') + kTypeId
                                                   + QStringLiteral(".desktop"),
                                               DesktopEntry(programPath).toUtf8());
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
