// The updater's window driven offscreen: a temporary settings folder, a temporary save folder,
// a "disc" folder that is the current folder and holds the new programs, and fake volumes.

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "settings/settings_file.h"
#include "support/settings_fixture_rows.h"
#include "updater/update_form.h"
#include "volumes/volumes.h"

namespace {

using corvan::Volume;
using corvanup::Message;
using corvanup::UpdateForm;

const QString kTitle = QStringLiteral("コルヴァン・アップデート");
const QString kErrorTitle = QStringLiteral("エラー");
const QString kNotSetUp =
    QStringLiteral("ゲーム設定を読み込めません。\n先にゲームＣＤ上の SETUP を実行してください。");
const QString kInsertDisc =
    QStringLiteral("ゲームディスクの入ったＣＤ－ＲＯＭドライブを指定してください。");
const QString kCannotCopy = QStringLiteral("コピーできません。確認してください。");
const QString kDone = QStringLiteral("アップデート完了しました。");
const QString kCannotStart = QStringLiteral("ゲームを起動できません。");

constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// The window with its message boxes written down instead of shown.
class RecordingForm : public UpdateForm {
public:
    using UpdateForm::UpdateForm;
    QList<Message> messages;

protected:
    void showMessage(const Message& message) override { messages.append(message); }
};

void writeFile(const QString& path, const QByteArray& bytes,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                      QFileDevice::WriteOwner) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

QString settingsPath() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Brackwell.ini";
}

// The settings file exactly as the game's setup would leave it.
void writeSettingsText(const QByteArray& text) {
    writeFile(settingsPath(), text);
}

void setStored(const char* name, const QString& value) {
    std::string error;
    QVERIFY2(corvan::SettingsFile().write(name, QFile::encodeName(value).toStdString(), error),
             error.c_str());
}

// The stored text, or "<missing>".
QString stored(const char* name) {
    return QFile::decodeName(corvan::SettingsFile().read(name).value_or("<missing>").c_str());
}

void compareMessage(const Message& actual, const QString& caption, const QString& text,
                    QMessageBox::Icon icon) {
    QCOMPARE(actual.caption, caption);
    QCOMPARE(actual.text, text);
    QCOMPARE(actual.icon, icon);
    QCOMPARE(actual.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// Catches what is written on standard error (file descriptor 2) while it lives.
class CapturedStderr {
public:
    CapturedStderr() {
        if (!file_.open()) return;
        std::fflush(stderr);
        saved_ = ::dup(2);
        ::dup2(file_.handle(), 2);
    }
    ~CapturedStderr() { restore(); }
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;
    QString text() {
        restore();
        file_.seek(0);
        return QString::fromLocal8Bit(file_.readAll());
    }

private:
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

// A failure's box: the original text, then the reason; and the same reason on standard error.
void compareFailure(const Message& actual, const QString& text, const QString& reasonStart,
                    const QString& err) {
    QCOMPARE(actual.caption, kErrorTitle);
    QCOMPARE(actual.icon, QMessageBox::Warning);
    const QStringList lines = actual.text.split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], text);
    QVERIFY2(lines[1].startsWith(reasonStart) && lines[1].size() > reasonStart.size(),
             qPrintable(lines[1]));
    QCOMPARE(err, "corvanup: " + lines[1] + u'\n');
}

}  // namespace

class UpdaterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root_;
    QString startFolder_;
    QString disc_;         // the current folder, holding the new programs
    QString save_;         // the save folder
    QString volume_;       // a volume with the game's archive at its root
    QString emptyVolume_;  // a volume without it

    QString at(const QString& name) const { return root_->path() + u'/' + name; }

    std::unique_ptr<RecordingForm> makeForm() {
        return std::make_unique<RecordingForm>(
            QList<Volume>{{volume_, {}}, {emptyVolume_, QStringLiteral("EMPTY")}});
    }

    // A shown window, set up by FormCreate, with `volume` chosen in the drive list.
    std::unique_ptr<RecordingForm> openForm(const QString& volume) {
        auto form = makeForm();
        if (!form->FormCreate()) return nullptr;
        form->show();
        auto* drives = form->findChild<QComboBox*>("DriveComboBox1");
        drives->setCurrentIndex(drives->findData(volume));
        return form;
    }

    static void click(QWidget& form, const char* button) {
        auto* widget = form.findChild<QPushButton*>(button);
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    void putNewPrograms() {
        writeFile(disc_ + "/corvan", "#!/bin/sh\n# corvan, new\n", kExecutable);
        writeFile(disc_ + "/corvan2", "#!/bin/sh\n# corvan2, new\n", kExecutable);
    }

private slots:
    void init() {
        QFile::remove(settingsPath());
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        disc_ = at("disc");
        save_ = at("save");
        volume_ = at("volume");
        emptyVolume_ = at("empty");
        for (const QString& folder : {disc_, save_, volume_, emptyVolume_}) {
            QVERIFY(QDir().mkpath(folder));
        }
        writeFile(volume_ + "/MG_DATA.STF", "STF");
        startFolder_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(disc_));
    }

    void cleanup() {
        QDir::setCurrent(startFolder_);
        root_.reset();
    }

    void givenNoSaveDir_whenStarted_thenStopMessageAndEndWithoutShowingTheWindow() {
        // A SaveDir outside the game's section does not count.
        writeSettingsText("[General]\nSaveDir=/somewhere\n[Corvan]\nGameDir=/cd\n");
        auto form = makeForm();

        const int exitCode = corvanup::runUpdater(*form);

        QCOMPARE(exitCode, 0);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->messages.size(), 1);
        compareMessage(form->messages[0], kTitle, kNotSetUp, QMessageBox::Critical);
        QVERIFY(form->findChild<QLineEdit*>("Edit1")->text().isEmpty());
    }

    void givenSaveDir_whenStarted_thenFolderShownAndWindowRunsUntilEndPressed() {
        setStored("SaveDir", save_);
        auto form = makeForm();
        QTimer::singleShot(0, form.get(), [&form] { click(*form, "Button2"); });

        const int exitCode = corvanup::runUpdater(*form);

        QCOMPARE(exitCode, 0);
        QVERIFY(!form->isVisible());
        QVERIFY(form->messages.isEmpty());
        QCOMPARE(form->findChild<QLineEdit*>("Edit1")->text(), save_);
    }

    void givenEachSettingsFixture_whenCopyPressed_thenDoneAndOnlyTheGameDirValueChanged_data() {
        corvan::test::addSettingsFixtureRows();
    }

    // The updater's half of the programs' agreement (tests/settings/fixtures_replay_test.cpp):
    // the same save folder from every file, and a write that keeps every other byte.
    void givenEachSettingsFixture_whenCopyPressed_thenDoneAndOnlyTheGameDirValueChanged() {
        QFETCH(int, index);
        const corvan::test::SettingsFixture& fixture = corvan::test::kSettingsFixtures[index];
        const QString save = at(QString::fromUtf8(corvan::test::kFixtureSaveFolder));
        QVERIFY(QDir().mkpath(save));
        auto text = [&](const QString& gameDir) {
            return QByteArray::fromStdString(
                corvan::test::fixtureText(fixture.text, QFile::encodeName(save).toStdString(),
                                          QFile::encodeName(gameDir).toStdString()));
        };
        writeSettingsText(text(at("game")));
        putNewPrograms();
        auto form = makeForm();

        QCOMPARE(form->FormCreate(), fixture.installed);
        if (!fixture.installed) {
            QCOMPARE(form->messages.size(), 1);
            compareMessage(form->messages[0], kTitle, kNotSetUp, QMessageBox::Critical);
            return;
        }
        QCOMPARE(form->findChild<QLineEdit*>("Edit1")->text(), save);
        form->show();
        auto* drives = form->findChild<QComboBox*>("DriveComboBox1");
        drives->setCurrentIndex(drives->findData(volume_));
        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 1);
        compareMessage(form->messages[0], kTitle, kDone, QMessageBox::Information);
        QCOMPARE(readFile(save + "/corvan"), "#!/bin/sh\n# corvan, new\n");
        QCOMPARE(readFile(settingsPath()), text(volume_));
    }

    void givenTheWindow_whenShown_thenCaptionLayoutTextsAndTabOrderAreTheGameDiscs() {
        setStored("SaveDir", save_);
        auto form = openForm(volume_);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        QCOMPARE(form->windowTitle(), kTitle);
        QCOMPARE(form->pos(), QPoint(354, 465));
        QCOMPARE(form->size(), QSize(321, 241));
        QCOMPARE(form->font().family(), "IPAPGothic");
        QCOMPARE(form->font().pixelSize(), 12);
        QCOMPARE(QFontInfo(form->font()).family(), "IPAPGothic");  // installed, not a fallback
        const struct {
            const char* name;
            QRect geometry;
        } controls[] = {
            {"Memo1", {8, 8, 305, 129}},     {"Label1", {8, 144, 87, 12}},
            {"Edit1", {8, 160, 305, 25}},    {"Button1", {8, 192, 75, 41}},
            {"Button3", {88, 192, 75, 17}},  {"Button2", {88, 216, 75, 17}},
            {"Label2", {184, 192, 116, 12}}, {"DriveComboBox1", {168, 208, 145, 18}},
        };
        for (const auto& control : controls) {
            auto* widget = form->findChild<QWidget*>(control.name);
            QVERIFY2(widget, control.name);
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                // Labels fit their text: their place, at least their size, never cut off.
                QCOMPARE(label->pos(), control.geometry.topLeft());
                QCOMPARE(label->height(), control.geometry.height());
                QVERIFY(label->width() >= control.geometry.width());
                QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
                QVERIFY(label->geometry().right() < form->width());
            } else {
                QCOMPARE(widget->geometry(), control.geometry);
            }
        }
        auto* memo = form->findChild<QPlainTextEdit*>("Memo1");
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->toPlainText().split(u'\n'),
                 QStringList({"コルヴァン・アップデート・プログラムをセーブ・",
                              "フォルダにコピーします。", "",
                              "ゲームＣＤを入れたＣＤＲＯＭドライブを指定して、",
                              "[コピー開始]ボタンを押してください。", "",
                              "ＣＤの内容をＨＤＤにコピーしてプレイしている場合",
                              "や、他のフォルダにコピーしたい場合にはこのセット",
                              "アップを使わず、手動でコピーしてください。"}));
        QCOMPARE(form->findChild<QLabel*>("Label1")->text(), "コピー先フォルダ");
        QCOMPARE(form->findChild<QLabel*>("Label2")->text(), "CDROMドライブの指定");
        QCOMPARE(form->findChild<QPushButton*>("Button1")->text(), "コピー開始");
        QCOMPARE(form->findChild<QPushButton*>("Button3")->text(), "ゲーム開始");
        QCOMPARE(form->findChild<QPushButton*>("Button2")->text(), "終了");
        QVERIFY(form->findChild<QLineEdit*>("Edit1")->isReadOnly());

        const QStringList focusable = {"Edit1",          "Button1", "Button2",
                                       "DriveComboBox1", "Memo1",   "Button3"};
        QWidget* start = form->findChild<QWidget*>("Edit1");
        QCOMPARE(form->focusWidget(), start);
        QStringList order;
        for (QWidget* w = start; order.size() < focusable.size(); w = w->nextInFocusChain()) {
            if (focusable.contains(w->objectName()) && w->focusPolicy() & Qt::TabFocus) {
                order.append(w->objectName());
            }
            if (w->nextInFocusChain() == start) break;
        }
        QCOMPARE(order, focusable);
    }

    void givenVolumes_whenWindowCreated_thenEachEntryBeginsWithItsFolderAndCurrentOneChosen() {
        // The root folder holds the current folder (the disc), so its entry comes first.
        RecordingForm form(
            QList<Volume>{{volume_, {}}, {root_->path(), QStringLiteral("DISC")}, {"/", {}}});

        auto* drives = form.findChild<QComboBox*>("DriveComboBox1");
        QCOMPARE(drives->count(), 3);
        QCOMPARE(drives->itemText(0), volume_);
        QCOMPARE(drives->itemText(1), root_->path() + " [DISC]");
        QCOMPARE(drives->itemText(2), "/");
        QCOMPARE(drives->currentIndex(), 1);
    }

    void givenVolumesInTheEnvironment_whenListed_thenExactlyThoseFolders() {
        qputenv("CORVANUP_VOLUMES", (volume_ + ":" + emptyVolume_).toLocal8Bit());
        const QList<Volume> volumes = corvan::listVolumes();
        qunsetenv("CORVANUP_VOLUMES");

        QCOMPARE(volumes.size(), 2);
        QCOMPARE(volumes[0].folder, volume_);
        QCOMPARE(volumes[1].folder, emptyVolume_);
    }

    void givenArchiveInAnyLetterCaseOnlyAsFile_whenVolumeTested_thenFoundOnlyAsFile() {
        QVERIFY(corvan::volumeHoldsArchive(volume_));
        writeFile(emptyVolume_ + "/Mg_Data.Stf", "STF");
        QVERIFY(corvan::volumeHoldsArchive(emptyVolume_));

        const QString folderOnly = at("folder-only");
        QVERIFY(QDir().mkpath(folderOnly + "/mg_data.stf"));
        QVERIFY(QDir().mkpath(at("deeper/sub")));
        writeFile(at("deeper/sub/mg_data.stf"), "STF");
        QVERIFY(!corvan::volumeHoldsArchive(folderOnly));
        QVERIFY(!corvan::volumeHoldsArchive(at("deeper")));
        QVERIFY(!corvan::volumeHoldsArchive(QString()));
    }

    void givenDiscVolume_whenCopyPressed_thenBothProgramsReplacedAndGameDirWritten() {
        setStored("SaveDir", save_);
        putNewPrograms();
        writeFile(save_ + "/corvan", "old corvan");
        auto form = openForm(volume_);
        QVERIFY(form);

        click(*form, "Button1");

        QCOMPARE(readFile(save_ + "/corvan"), "#!/bin/sh\n# corvan, new\n");
        QCOMPARE(readFile(save_ + "/corvan2"), "#!/bin/sh\n# corvan2, new\n");
        QVERIFY(QFileInfo(save_ + "/corvan").isExecutable());
        QVERIFY(QFileInfo(save_ + "/corvan2").isExecutable());
        QCOMPARE(QDir(save_).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"corvan", "corvan2"}));
        QCOMPARE(stored("GameDir"), volume_);
        QCOMPARE(form->messages.size(), 1);
        compareMessage(form->messages[0], kTitle, kDone, QMessageBox::Information);
    }

    void givenReadOnlyProgramsOnTheDisc_whenCopied_thenCopiesStayUsableAndReplaceable() {
        setStored("SaveDir", save_);
        constexpr auto kDiscFile = QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                   QFileDevice::ReadOther | QFileDevice::ExeOwner;
        writeFile(disc_ + "/corvan", "one", kDiscFile);
        writeFile(disc_ + "/corvan2", "two", QFileDevice::ReadOwner);
        auto form = openForm(volume_);
        QVERIFY(form);

        click(*form, "Button1");
        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 2);
        compareMessage(form->messages[1], kTitle, kDone, QMessageBox::Information);
        const QFileInfo copy2(save_ + "/corvan2");
        QVERIFY(copy2.isExecutable());
        QVERIFY(copy2.isWritable());
        QCOMPARE(readFile(save_ + "/corvan2"), "two");
    }

    void givenVolumeWithoutArchive_whenCopyPressed_thenInsertDiscMessageAndNothingDone() {
        setStored("SaveDir", save_);
        setStored("GameDir", "/previous");
        putNewPrograms();
        auto form = openForm(emptyVolume_);
        QVERIFY(form);

        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 1);
        compareMessage(form->messages[0], kErrorTitle, kInsertDisc, QMessageBox::Warning);
        QVERIFY(QDir(save_).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(stored("GameDir"), "/previous");
    }

    void givenSecondProgramMissing_whenCopyPressed_thenCopyMessageAfterFirstCopyGameDirKept() {
        setStored("SaveDir", save_);
        setStored("GameDir", "/previous");
        writeFile(disc_ + "/corvan", "new corvan", kExecutable);
        writeFile(save_ + "/corvan", "old corvan");
        writeFile(save_ + "/corvan2", "old corvan2");
        auto form = openForm(volume_);
        QVERIFY(form);

        CapturedStderr err;
        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 1);
        QCOMPARE(form->messages[0].text, kCannotCopy + "\ncannot read " + QDir::currentPath() +
                                             "/corvan2: No such file or directory");
        compareFailure(form->messages[0], kCannotCopy, "cannot read ", err.text());
        QCOMPARE(readFile(save_ + "/corvan"), "new corvan");  // not undone
        QCOMPARE(readFile(save_ + "/corvan2"), "old corvan2");
        QCOMPARE(stored("GameDir"), "/previous");
        QCOMPARE(QDir(save_).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"corvan", "corvan2"}));
    }

    void givenSaveDirRemovedAfterStart_whenCopyPressed_thenCopyMessageAndNothingWritten() {
        setStored("SaveDir", save_);
        putNewPrograms();
        auto form = openForm(volume_);
        QVERIFY(form);
        writeSettingsText("[Corvan]\n");

        CapturedStderr err;
        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 1);
        compareFailure(form->messages[0], kCannotCopy,
                       "cannot write " + QDir::currentPath() + "/NULL/corvan: ", err.text());
        QVERIFY(!QFileInfo::exists(disc_ + "/NULL"));
        QVERIFY(QDir(save_).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(stored("GameDir"), "<missing>");
    }

    void givenCopyDone_whenCopyPressedAgain_thenProgramsOverwrittenAndDoneShownAgain() {
        setStored("SaveDir", save_);
        putNewPrograms();
        auto form = openForm(volume_);
        QVERIFY(form);
        click(*form, "Button1");
        writeFile(disc_ + "/corvan", "second corvan", kExecutable);
        writeFile(disc_ + "/corvan2", "second corvan2", kExecutable);
        setStored("GameDir", "/elsewhere");

        click(*form, "Button1");

        QCOMPARE(readFile(save_ + "/corvan"), "second corvan");
        QCOMPARE(readFile(save_ + "/corvan2"), "second corvan2");
        QCOMPARE(stored("GameDir"), volume_);
        QCOMPARE(form->messages.size(), 2);
        compareMessage(form->messages[0], kTitle, kDone, QMessageBox::Information);
        compareMessage(form->messages[1], kTitle, kDone, QMessageBox::Information);
    }

    void givenLongSaveFolderEndingInSlash_whenCopyPressed_thenCopiesLandThere() {
        QString deep = save_;
        while (deep.toUtf8().size() < 400) deep += "/セーブフォルダ-folder";
        QVERIFY(QDir().mkpath(deep));
        setStored("SaveDir", deep + u'/');
        putNewPrograms();
        auto form = openForm(volume_);
        QVERIFY(form);

        click(*form, "Button1");

        QCOMPARE(form->messages.size(), 1);
        compareMessage(form->messages[0], kTitle, kDone, QMessageBox::Information);
        QCOMPARE(readFile(deep + "/corvan"), "#!/bin/sh\n# corvan, new\n");
        QCOMPARE(readFile(deep + "/corvan2"), "#!/bin/sh\n# corvan2, new\n");
        QCOMPARE(form->findChild<QLineEdit*>("Edit1")->text(), deep + u'/');
    }

    void givenGameInSaveFolder_whenStartPressed_thenCorvanStartsInTheDiscFolderAndWindowCloses() {
        setStored("SaveDir", save_);
        const QString marker = at("started");
        // Each stand-in writes the folder it runs in, then renames, so the file appears whole.
        writeFile(
            save_ + "/corvan",
            QStringLiteral("#!/bin/sh\npwd > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(marker).toUtf8(),
            kExecutable);
        writeFile(save_ + "/corvan2",
                  QStringLiteral("#!/bin/sh\ntouch '%1-corvan2'\n").arg(marker).toUtf8(),
                  kExecutable);
        auto form = openForm(volume_);
        QVERIFY(form);

        click(*form, "Button3");

        QVERIFY(!form->isVisible());
        QVERIFY(form->messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 5000);
        QCOMPARE(QString::fromLocal8Bit(readFile(marker)).trimmed(),
                 QFileInfo(disc_).canonicalFilePath());
        QVERIFY(!QFileInfo::exists(marker + "-corvan2"));
    }

    void givenNoGameOrOneThatCannotRun_whenStartPressed_thenTheReasonIsShownAndWindowStays() {
        setStored("SaveDir", save_);
        auto form = openForm(volume_);
        QVERIFY(form);
        {
            CapturedStderr err;
            click(*form, "Button3");
            QVERIFY(form->isVisible());
            QCOMPARE(form->messages.size(), 1);
            compareFailure(form->messages[0], kCannotStart,
                           "cannot start " + save_ + "/corvan: ", err.text());
        }
        // A program without the right to run.
        writeFile(save_ + "/corvan", "#!/bin/sh\n");
        CapturedStderr err;
        click(*form, "Button3");
        QVERIFY(form->isVisible());
        QCOMPARE(form->messages.size(), 2);
        compareFailure(form->messages[1], kCannotStart,
                       "cannot start " + save_ + "/corvan: ", err.text());
    }

    void givenTheProgram_whenAskedForHelp_thenUsagePrintedAndExitZero() {
        QProcess program;
        program.start(CORVANUP_PATH, {"--help"});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardOutput().startsWith("Usage: corvanup"));

        program.start(CORVANUP_PATH, {"--bogus"});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 2);
    }

    void givenTheProgram_whenAskedForAScreenshot_thenPictureOfTheWindowSaved() {
        setStored("SaveDir", save_);
        const QString picture = at("window.png");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CORVANUP_VOLUMES", volume_);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.start(CORVANUP_PATH, {"--screenshot", picture});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 0);

        const QImage image(picture);
        QCOMPARE(image.size(), QSize(321, 241));
    }
};

int main(int argc, char** argv) {
    // No display is needed, and the user's own settings are never touched.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    UpdaterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "updater_test.moc"
