#include "shell/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace corvan::shell {

namespace {
// QSettings puts keys outside a group under [General]; the game's values live in [Corvan].
constexpr const char* kGroup = "Corvan";
constexpr const char* kFileName = "Brackwell.ini";

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

QString SettingsStore::defaultPath() {
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder)) {
        folder = QDir::homePath() + QStringLiteral("/.config");
    }
    return QDir(folder).filePath(QString::fromLatin1(kFileName));
}

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

std::optional<std::string> SettingsStore::read(std::string_view name) const {
    QSettings settings(path_, QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kGroup));
    const QVariant value = settings.value(toQString(name));
    if (!value.isValid()) return std::nullopt;
    // An unquoted comma makes QSettings split the text; the game only ever stores strings.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

bool SettingsStore::write(std::string_view name, std::string_view value) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSettings settings(path_, QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue(toQString(name), toQString(value));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace corvan::shell
