#include "shell_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest>

#include "authoring/stf_pack.h"
#include "settings/settings_file.h"

namespace corvan::shell::test {

QString iniPath() {
    return QFile::decodeName(SettingsFile::defaultPath().c_str());
}

void writeIni(const QString& text) {
    QFile::remove(iniPath());
    if (text.isEmpty()) return;
    QDir().mkpath(QFileInfo(iniPath()).absolutePath());
    QFile file(iniPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(iniPath()));
    }
    file.write(text.toUtf8());
}

QString readIni() {
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

GameFolders::GameFolders(const std::vector<std::pair<std::string, std::string>>& chunks) {
    if (chunks.empty()) return;
    std::vector<ChunkSource> sources;
    for (const auto& [name, text] : chunks) {
        std::string error;
        const auto lines = scriptLinesFromText(text, true, error);
        if (!lines) qFatal("chunk %s: %s", name.c_str(), error.c_str());
        sources.push_back({name, *lines});
    }
    std::string error;
    const auto bytes = buildArchive(sources, error);
    if (!bytes) qFatal("archive: %s", error.c_str());
    QFile file(archive());
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(archive()));
    file.write(reinterpret_cast<const char*>(bytes->data()), static_cast<qint64>(bytes->size()));
}

void GameFolders::writeSettings(const QString& extraLines) const {
    writeIni(QStringLiteral("[Corvan]\nSaveDir=%1\nGameDir=%2\n%3")
                 .arg(saveDir(), gameDir(), extraLines));
}

std::unique_ptr<GameShell> startedShell(const GameFolders& folders, const QString& extraSettings,
                                        DisplayRequest display) {
    folders.writeSettings(QStringLiteral("Delay=1\n") + extraSettings);
    auto shell =
        std::make_unique<GameShell>(GameOptions{.withSound = false}, SettingsFile(), display);
    shell->host().setMessageHook([](const QtHost::MessageRequest& request) {
        qWarning("unexpected message box: %s", qPrintable(request.text));
        return QMessageBox::Cancel;
    });
    shell->start();
    return shell;
}

std::vector<std::pair<std::string, std::string>> twoPageStory() {
    return {{"main", "最初のページ。▼\n次のページ。▼\n"}};
}

void sendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint position) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(position), QPointF(widget.mapToGlobal(position)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void click(QWidget& widget, Qt::MouseButton button, QPoint position) {
    sendMouse(widget, QEvent::MouseButtonPress, button, position);
    sendMouse(widget, QEvent::MouseButtonRelease, button, position);
}

}  // namespace corvan::shell::test
