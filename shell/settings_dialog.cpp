#include "shell/settings_dialog.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>

#include "game/game_settings.h"

namespace corvan::shell {

namespace {
constexpr int kClientWidth = 243;
constexpr int kClientHeight = 176;
constexpr int kFontPixels = 12;
}  // namespace

SettingsDialog::SettingsDialog(Host& host, QWidget* owner) : QDialog(owner), host_(host) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("システム設定"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(kFontPixels);
    setFont(font);
    // Group captions on the frame line, which leaves the items the room they had.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0px 1px; }"));

    // Made in tab order: ＢＧＭ, 音声, テキスト枠, 文字表示速度, グラフィック表示方法.
    const QStringList onOff{QStringLiteral("あり"), QStringLiteral("なし")};
    addGroup(1, QStringLiteral("ＢＧＭ"), QRect(8, 64, 105, 49), 1, onOff, setting::kBgm);
    addGroup(2, QStringLiteral("音声"), QRect(128, 64, 105, 49), 1, onOff, setting::kWave);
    addGroup(3, QStringLiteral("テキスト枠"), QRect(8, 8, 105, 49), 1,
             {QStringLiteral("固定"), QStringLiteral("移動")}, setting::kTextWind);
    addGroup(5, QStringLiteral("文字表示速度"), QRect(128, 8, 105, 49), 1,
             {QStringLiteral("通常"), QStringLiteral("高速")}, setting::kDelay);
    addGroup(4, QStringLiteral("グラフィック表示方法"), QRect(8, 120, 225, 49), 2,
             {QStringLiteral("通常"), QStringLiteral("少し高速"), QStringLiteral("エフェクトなし")},
             setting::kGMode);

    QWidget* previous = nullptr;
    for (int i = 0; i < groupCount_; ++i) {
        for (QAbstractButton* button : groups_[i].buttons->buttons()) {
            if (previous != nullptr) setTabOrder(previous, button);
            previous = button;
        }
    }
}

void SettingsDialog::addGroup(int number, const QString& caption, QRect geometry, int columns,
                              const QStringList& items, std::string_view setting) {
    Group& group = groups_[groupCount_++];
    group.number = number;
    group.setting = setting;
    group.box = new QGroupBox(caption, this);
    group.box->setObjectName(QStringLiteral("RadioGroup%1").arg(number));
    group.box->setGeometry(geometry);
    group.buttons = new QButtonGroup(group.box);

    // Items share the space under the caption evenly, column by column, as in the game's
    // original dialog: the caption sits on the frame's top line.
    const int captionHeight = QFontMetrics(font()).height();
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    const int itemWidth = (geometry.width() - 10) / columns;
    const int spare = geometry.height() - captionHeight - 5;
    const int itemHeight = spare / rows;
    const int top = captionHeight + 1 + (spare % rows) / 2;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], group.box);
        button->setGeometry(8 + (i / rows) * itemWidth, top + (i % rows) * itemHeight, itemWidth,
                            itemHeight);
        group.buttons->addButton(button, i);
    }
    group.buttons->button(0)->setChecked(true);

    connect(group.buttons, &QButtonGroup::idToggled, this, [this, setting](int id, bool on) {
        if (on && !loading_) writeIntSetting(host_, setting, id);
    });
}

QGroupBox* SettingsDialog::radioGroup(int number) const {
    for (int i = 0; i < groupCount_; ++i) {
        if (groups_[i].number == number) return groups_[i].box;
    }
    return nullptr;
}

int SettingsDialog::itemIndex(int number) const {
    for (int i = 0; i < groupCount_; ++i) {
        if (groups_[i].number == number) return groups_[i].buttons->checkedId();
    }
    return -1;
}

void SettingsDialog::showEvent(QShowEvent* event) {
    loadStoredValues();
    centreOnScreen();
    QDialog::showEvent(event);
}

void SettingsDialog::loadStoredValues() {
    loading_ = true;
    for (int i = 0; i < groupCount_; ++i) {
        QButtonGroup& buttons = *groups_[i].buttons;
        const int last = static_cast<int>(buttons.buttons().size()) - 1;
        // Like the original radio groups: a number past the last item selects the last one, a
        // negative number selects none.
        const int index = std::min(readIntSetting(host_, groups_[i].setting), last);
        if (index < 0) {
            buttons.setExclusive(false);
            for (QAbstractButton* button : buttons.buttons()) button->setChecked(false);
            buttons.setExclusive(true);
        } else {
            buttons.button(index)->setChecked(true);
        }
    }
    loading_ = false;
}

void SettingsDialog::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QSize area = screen->size();
    const QSize outer = frameGeometry().size();
    move((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

}  // namespace corvan::shell
