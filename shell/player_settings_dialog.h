#pragma once

// The player's settings window 「環境設定」: the music's volume, how the picture is scaled,
// fullscreen, the speed of auto-advance and what skipping skips, with OK and キャンセル. It opens
// on the values in force; OK writes through the settings store the values the player changed
// (only those, so a value never touched stays unwritten), and the window's owner applies them.
// The original's システム設定 (shell/settings_dialog.h) stays a window of its own.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QSlider>

#include "engine/host.h"
#include "shell/picture_layout.h"

namespace corvan::shell {

// What the window sets.
struct PlayerSettings {
    static constexpr int kDefaultAutoSpeed = 5;  // 1 slow to 10 fast

    int volume = 80;
    Scaling scaling = Scaling::Auto;
    bool fullScreen = false;
    int autoSpeed = kDefaultAutoSpeed;
    bool skipUnread = false;  // skipping skips unread pages too

    bool operator==(const PlayerSettings&) const = default;
};

class PlayerSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PlayerSettingsDialog(Host& host, QWidget* owner);

    // The values in force: the stored ones, with the running window's fullscreen.
    static PlayerSettings current(Host& host, bool fullScreenNow);

    // Shows `settings` in the controls; they are what OK compares with.
    void load(const PlayerSettings& settings);
    // What the controls show now.
    PlayerSettings chosen() const;

    QSlider& volumeSlider() { return *volume_; }
    QComboBox& scalingBox() { return *scaling_; }
    QCheckBox& fullScreenBox() { return *fullScreen_; }
    QSlider& autoSpeedSlider() { return *autoSpeed_; }
    QButtonGroup& skipButtons() { return *skip_; }

    void accept() override;

private:
    Host& host_;
    PlayerSettings loaded_;
    QSlider* volume_ = nullptr;
    QLabel* volumeValue_ = nullptr;
    QComboBox* scaling_ = nullptr;
    QCheckBox* fullScreen_ = nullptr;
    QSlider* autoSpeed_ = nullptr;
    QButtonGroup* skip_ = nullptr;
};

}  // namespace corvan::shell
