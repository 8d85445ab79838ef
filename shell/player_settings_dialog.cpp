#include "shell/player_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "settings/setting_names.h"
#include "shell/display_settings.h"

namespace corvan::shell {

namespace {

// The scalings in the order the list shows them.
constexpr Scaling kScalings[] = {Scaling::Auto, Scaling::Whole, Scaling::Sharp, Scaling::Smooth};

QSlider* slider(int low, int high, int step, QWidget* parent) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(low, high);
    s->setSingleStep(step);
    s->setPageStep(step);
    s->setTickInterval(step);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

}  // namespace

PlayerSettingsDialog::PlayerSettingsDialog(Host& host, QWidget* owner)
    : QDialog(owner), host_(host) {
    setObjectName(QStringLiteral("PlayerSettings"));
    setWindowTitle(QStringLiteral("環境設定"));
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    setFont(font);

    auto* form = new QFormLayout;
    volume_ = slider(0, 100, 10, this);
    volumeValue_ = new QLabel(this);
    volumeValue_->setMinimumWidth(
        volumeValue_->fontMetrics().horizontalAdvance(QStringLiteral("100")));
    connect(volume_, &QSlider::valueChanged, volumeValue_,
            [this](int value) { volumeValue_->setNum(value); });
    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(volume_);
    volumeRow->addWidget(volumeValue_);
    form->addRow(QStringLiteral("音楽の音量"), volumeRow);

    scaling_ = new QComboBox(this);
    scaling_->addItem(QStringLiteral("自動（画面に合わせて選ぶ）"));
    scaling_->addItem(QStringLiteral("整数倍（くっきり、まわりに余白）"));
    scaling_->addItem(QStringLiteral("シャープ（画面いっぱい、くっきり）"));
    scaling_->addItem(QStringLiteral("なめらか（画面いっぱい、やわらか）"));
    form->addRow(QStringLiteral("画面の拡大"), scaling_);

    fullScreen_ = new QCheckBox(QStringLiteral("全画面で表示する"), this);
    form->addRow(QStringLiteral("表示"), fullScreen_);

    autoSpeed_ = slider(1, 10, 1, this);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(new QLabel(QStringLiteral("遅い"), this));
    speedRow->addWidget(autoSpeed_);
    speedRow->addWidget(new QLabel(QStringLiteral("速い"), this));
    form->addRow(QStringLiteral("オートの速さ"), speedRow);

    skip_ = new QButtonGroup(this);
    auto* skipColumn = new QVBoxLayout;
    const QString skipItems[] = {QStringLiteral("読んだページだけ"),
                                 QStringLiteral("まだ読んでいないページも")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(skipItems[i], this);
        skip_->addButton(button, i);
        skipColumn->addWidget(button);
    }
    form->addRow(QStringLiteral("スキップ"), skipColumn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PlayerSettings PlayerSettingsDialog::current(Host& host, bool fullScreenNow) {
    const DisplayChoices display = readDisplayChoices(host, {});
    PlayerSettings s;
    s.volume = display.volume;
    s.scaling = display.scaling;
    s.fullScreen = fullScreenNow;
    s.autoSpeed = storedInt(host, corvan::setting::kAutoSpeed, 1, 10).value_or(s.autoSpeed);
    s.skipUnread = storedInt(host, corvan::setting::kSkipUnread, 0, 1).value_or(0) == 1;
    return s;
}

void PlayerSettingsDialog::load(const PlayerSettings& settings) {
    loaded_ = settings;
    volume_->setValue(settings.volume);
    volumeValue_->setNum(settings.volume);
    for (int i = 0; i < std::ssize(kScalings); ++i) {
        if (kScalings[i] == settings.scaling) scaling_->setCurrentIndex(i);
    }
    fullScreen_->setChecked(settings.fullScreen);
    autoSpeed_->setValue(settings.autoSpeed);
    skip_->button(settings.skipUnread ? 1 : 0)->setChecked(true);
}

PlayerSettings PlayerSettingsDialog::chosen() const {
    PlayerSettings s;
    s.volume = volume_->value();
    s.scaling = kScalings[std::max(0, scaling_->currentIndex())];
    s.fullScreen = fullScreen_->isChecked();
    s.autoSpeed = autoSpeed_->value();
    s.skipUnread = skip_->checkedId() == 1;
    return s;
}

void PlayerSettingsDialog::accept() {
    const PlayerSettings now = chosen();
    const auto store = [this](std::string_view name, bool changed, const std::string& value) {
        if (changed) host_.writeSetting(name, value);
    };
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    store(setting::kVolume, now.volume != loaded_.volume, std::to_string(now.volume));
    store(setting::kScaling, now.scaling != loaded_.scaling, std::string(scalingName(now.scaling)));
    store(setting::kFullScreen, now.fullScreen != loaded_.fullScreen, flag(now.fullScreen));
    store(corvan::setting::kAutoSpeed, now.autoSpeed != loaded_.autoSpeed,
          std::to_string(now.autoSpeed));
    store(corvan::setting::kSkipUnread, now.skipUnread != loaded_.skipUnread, flag(now.skipUnread));
    loaded_ = now;
    QDialog::accept();
}

}  // namespace corvan::shell
