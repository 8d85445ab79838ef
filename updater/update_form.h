#pragma once

// The updater's one window, TForm1: the instructions, the save folder, the drive list and the
// three buttons, and what each button does. Every handler reads the settings afresh; the
// window keeps no state of its own beyond its controls.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "volumes/volumes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvanup {

using corvan::Volume;

// A modal message box as the updater shows it: one OK button in every case.
struct Message {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

class UpdateForm : public QWidget {
    Q_OBJECT

public:
    // `volumes` fill the drive list; the entry of the volume holding the current folder is
    // chosen at first.
    explicit UpdateForm(const QList<Volume>& volumes, QWidget* parent = nullptr);

    // Shows the save folder. False, after telling the player so, when the game was never set
    // up: the updater must then end without being shown.
    bool FormCreate();
    // コピー開始: checks the chosen volume for the game's archive, copies corvan and corvan2
    // from the current folder into the save folder and records the volume as the game folder.
    // A copy that fails is reported with the file and the system's reason.
    void Button1Click();
    // ゲーム開始: starts the save folder's corvan, in the current folder, and closes the window;
    // a game that cannot be started is reported and the window stays.
    void Button3Click();
    // 終了: closes the window.
    void Button2Click();

protected:
    // Shows a modal message box and returns when the player has closed it. Tests replace it.
    virtual void showMessage(const Message& message);

private:
    // A warning box with `text` and the reason on a second line; the reason also goes to
    // standard error, where a person running the updater from a terminal looks.
    void tellFailure(const QString& text, const QString& reason);

    QPlainTextEdit* memo1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button3_ = nullptr;
    QPushButton* button2_ = nullptr;
    QLabel* label2_ = nullptr;
    QComboBox* driveComboBox1_ = nullptr;
};

// Runs the updater with `form` as its window: FormCreate, then the event loop until the window
// closes. With a `screenshotFile`, saves a PNG picture of the window there instead and ends.
// The program's exit code.
int runUpdater(UpdateForm& form, const QString& screenshotFile = {});

}  // namespace corvanup
