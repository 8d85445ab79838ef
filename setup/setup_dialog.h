#pragma once

// The setup window: where the game's data is (a list of the folders found holding mg_data.stf,
// which the player may also type into or pick with 参照), where the saves go, and 設定 to record
// both. It says under the game folder at once whether the archive is there, and 設定 refuses
// with a message box naming the missing file or the folder that cannot be written, leaving the
// window open. The dialog is accepted only once both settings are written.

#include <QDialog>
#include <QString>
#include <QStringList>

#include "settings/settings_file.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvan::setup {

class SetupDialog : public QDialog {
    Q_OBJECT

public:
    // `gameFolders` fill the game folder list (the first is chosen); `proposedSave` is the save
    // folder offered.
    SetupDialog(SettingsFile store, const QStringList& gameFolders, const QString& proposedSave,
                QWidget* parent = nullptr);

    QString gameFolder() const;
    QString saveFolder() const;

    // 設定: records both folders and closes the window, or tells the player what is wrong.
    void accept() override;

protected:
    // Shows a modal warning and returns when the player has closed it. Tests replace it.
    virtual void showWarning(const QString& text);
    // Asks the player for a folder, starting at `start`; empty when cancelled. Tests replace it.
    virtual QString chooseFolder(const QString& caption, const QString& start);

private:
    void updateGameStatus();

    SettingsFile store_;
    QComboBox* gameFolder_ = nullptr;
    QLabel* gameStatus_ = nullptr;
    QLineEdit* saveFolder_ = nullptr;
};

}  // namespace corvan::setup
