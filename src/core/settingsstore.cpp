// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/settingsstore.h"

#include "core/privatefolder.h"

#include "core/appservices.h"
#include "core/uitext.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <memory>

QString CSettingsStore::s_strRootPath;

namespace {

const UiText kUnwritable{"CSettingsStore",
                         QT_TRANSLATE_NOOP("CSettingsStore", "The settings could not be saved in %1!")};

// The backing store for the root path "Software\<organisation>".
std::unique_ptr<QSettings> OpenStore(const QString &rootPath)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + rootPath, QSettings::NativeFormat);
#else
    const QString organisation = rootPath.section(QLatin1Char('\\'), -1);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, QString());
#endif
}

} // namespace

CSettingsStore::CSettingsStore(const QString &rootPath)
{
    s_strRootPath = rootPath;
}

QString CSettingsStore::KeyFor(const QString &section, const QString &name)
{
    // QSettings calls the unnamed value of a group "Default" (on Windows that is
    // the key's default value), and keys of the empty group sit at the root.
    const QString valueName = name.isEmpty() ? QStringLiteral("Default") : name;
    return section.isEmpty() ? valueName : section + QLatin1Char('/') + valueName;
}

void SyncPrivately(QSettings &settings)
{
    const bool file = settings.format() == QSettings::IniFormat;
    if (file)
        MakeFolders(QFileInfo(settings.fileName()).absolutePath());
    settings.sync();
    if (file)
        KeepOthersFromWriting(settings.fileName());
}

void CSettingsStore::WriteValues(const QList<Value> &values)
{
    auto store = OpenStore(s_strRootPath);
    for (const Value &value : values) {
        if (value.text.size() <= MaxValueLength)
            store->setValue(KeyFor(value.section, value.name), value.text);
    }
    SyncPrivately(*store);
    static bool s_bFailureTold = false;
    if (store->status() != QSettings::NoError && !s_bFailureTold) {
        s_bFailureTold = true;
        MessageBox(kUnwritable.arg(QDir::toNativeSeparators(store->fileName())));
    }
}

void CSettingsStore::WriteString(const QString &value, const QString &section, const QString &name)
{
    WriteValues({{section, name, value}});
}

QString CSettingsStore::ReadString(const QString &section, const QString &name) const
{
    const auto store = OpenStore(s_strRootPath);
    const QVariant value = store->value(KeyFor(section, name));
    QString text;
    // A hand-edited INI value holding commas comes back as a list.
    if (value.metaType().id() == QMetaType::QStringList)
        text = value.toStringList().join(QLatin1Char(','));
    else
        text = value.toString();
    if (text.size() > MaxValueLength)
        return QString();
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

void CSettingsStore::WriteInt(int32_t value, const QString &section, const QString &name)
{
    WriteString(QString::number(value), section, name);
}

void CSettingsStore::WriteInts(const QString &section, const QList<std::pair<QString, int32_t>> &values)
{
    QList<Value> texts;
    for (const auto &[name, value] : values)
        texts.append({section, name, QString::number(value)});
    WriteValues(texts);
}

int32_t CSettingsStore::ReadInt(const QString &section, const QString &name) const
{
    return ParseInt(ReadString(section, name));
}

int32_t CSettingsStore::ParseInt(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || (text.at(i).unicode() >= 9 && text.at(i).unicode() <= 13)))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int64_t value = 0;
    const int64_t limit =
        negative ? -int64_t(std::numeric_limits<int32_t>::min()) : int64_t(std::numeric_limits<int32_t>::max());
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        if (value < limit)
            value = std::min(value * 10 + (c - u'0'), limit);
    }
    return int32_t(negative ? -value : value);
}
