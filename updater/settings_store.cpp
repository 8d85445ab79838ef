#include "updater/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace corvanup {
namespace {

constexpr char kFileName[] = "Brackwell.ini";
// A group, not top-level keys: top-level keys would land in a section named [General].
constexpr char kGroup[] = "Corvan";

// The text after '=' of the last line `name=...` in the section, spaces trimmed. Used only for
// a value that the settings reader split into a list at its commas.
std::optional<QString> rawValue(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString section = QStringLiteral("[%1]").arg(QLatin1String(kGroup));
    bool inSection = false;
    std::optional<QString> found;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            inSection = line == section;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0) continue;
        if (line.left(equals).trimmed() == name) found = line.mid(equals + 1).trimmed();
    }
    return found;
}

}  // namespace

QString settingsFilePath() {
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is to be ignored, as if it were unset.
    if (folder.isEmpty() || QDir::isRelativePath(folder)) folder = QDir::homePath() + "/.config";
    return folder + u'/' + QLatin1String(kFileName);
}

QString readSetting(const QString& name, const QString& fallback) {
    const QString path = settingsFilePath();
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QLatin1String(kGroup));
    if (!settings.contains(name)) return fallback;
    const QVariant value = settings.value(name);
    if (value.typeId() == QMetaType::QStringList) {
        return rawValue(path, name).value_or(value.toStringList().join(u','));
    }
    return value.toString();
}

bool writeSetting(const QString& name, const QString& value) {
    const QString path = settingsFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QLatin1String(kGroup));
    settings.setValue(name, value);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace corvanup
