#pragma once

// TForm3, the settings dialog "システム設定": five radio groups, each tied to one integer value
// of the settings store. Showing the dialog loads the stored values and centres it on the
// screen; every change of a group is stored at once, as decimal text. There is no OK or Cancel:
// closing the dialog stores nothing more.

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <array>
#include <string_view>

#include "engine/host.h"

namespace corvan::shell {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(Host& host, QWidget* owner);

    // The group named "RadioGroup1" ... "RadioGroup5".
    QGroupBox* radioGroup(int number) const;
    // The selected item of that group, -1 for none.
    int itemIndex(int number) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Group {
        int number = 0;
        std::string_view setting;
        QGroupBox* box = nullptr;
        QButtonGroup* buttons = nullptr;
    };

    void addGroup(int number, const QString& caption, QRect geometry, int columns,
                  const QStringList& items, std::string_view setting);
    void loadStoredValues();
    void centreOnScreen();

    Host& host_;
    std::array<Group, 5> groups_{};
    int groupCount_ = 0;
    bool loading_ = false;
};

}  // namespace corvan::shell
