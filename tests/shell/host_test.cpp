// The host's dialogs and frames: message boxes and the file-open dialog as the player sees them,
// and transition frames paced and letting events through.

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>
#include <iostream>
#include <sstream>

#include "render/raster.h"
#include "shell/game_shell.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

// Runs `check` on the modal dialog once it is up (polled from the dialog's own event loop).
template <class Dialog, class Check>
void whenModal(Check check) {
    auto* poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, check, clock] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            poll->deleteLater();
            poll->stop();
            check(*dialog);
        } else if (clock->elapsed() > 5000) {
            // Never block the run: close whatever is up and let the test's checks fail.
            poll->deleteLater();
            poll->stop();
            if (modal != nullptr) modal->close();
        }
    });
    poll->start(10);
}

class HostTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenNoHook_whenAskingOkCancel_thenAWarningBoxAsksAndCancelAnswers() {
        GameShell shell({});
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        whenModal<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            text = box.text();
            icon = box.icon();
            buttons = box.standardButtons();
            box.button(QMessageBox::Cancel)->click();
        });
        const MessageAnswer answer =
            shell.host().showMessage("コルヴァン起動ディレクトリ", "ファイルが見つかりません",
                                     MessageIcon::Exclamation, MessageButtons::OkCancel);
        QCOMPARE(answer, MessageAnswer::Cancel);
        QCOMPARE(caption, QStringLiteral("コルヴァン起動ディレクトリ"));
        QCOMPARE(text, QStringLiteral("ファイルが見つかりません"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }

    void givenNoHook_whenTheOkButtonIsPressed_thenTheAnswerIsOk() {
        GameShell shell({});
        whenModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
        QCOMPARE(
            shell.host().showMessage("c", "t", MessageIcon::Information, MessageButtons::OkCancel),
            MessageAnswer::Ok);
    }

    void givenAHook_thenItReceivesTheBoxWithEachIconMapped() {
        GameShell shell({});
        std::vector<QtHost::MessageRequest> seen;
        shell.host().setMessageHook([&](const QtHost::MessageRequest& request) {
            seen.push_back(request);
            return QMessageBox::Cancel;
        });
        // A box with only OK answers OK, whatever closed it.
        QCOMPARE(shell.host().showMessage("a", "1", MessageIcon::Stop, MessageButtons::Ok),
                 MessageAnswer::Ok);
        QCOMPARE(
            shell.host().showMessage("b", "2", MessageIcon::Exclamation, MessageButtons::OkCancel),
            MessageAnswer::Cancel);
        shell.host().showMessage("c", "3", MessageIcon::Information, MessageButtons::Ok);
        QCOMPARE(seen.size(), 3u);
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QCOMPARE(seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seen[1].icon, QMessageBox::Warning);
        QCOMPARE(seen[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(seen[2].icon, QMessageBox::Information);
    }

    void givenNoHook_whenAFileIsChosen_thenTheDialogOfferedTheGameFilesAndThePathReturns() {
        GameFolders folders(twoPageStory());
        GameShell shell({});
        QStringList filters;
        QString startFolder;
        whenModal<QFileDialog>([&](QFileDialog& dialog) {
            filters = dialog.nameFilters();
            startFolder = dialog.directory().absolutePath();
            dialog.selectFile(folders.archive());
            static_cast<QDialog&>(dialog).accept();
        });
        const QString current = QDir::currentPath();
        const auto picked = shell.host().chooseFile("mg_data.stf", "ゲームファイル", "*.stf");
        QCOMPARE(filters, QStringList{QStringLiteral("ゲームファイル (*.stf)")});
        QCOMPARE(startFolder, current);
        QVERIFY(picked.has_value());
        QCOMPARE(QString::fromStdString(*picked), folders.archive());
    }

    void givenAFileHook_whenCancelled_thenNothingIsChosen() {
        GameShell shell({});
        QtHost::FileRequest seen;
        shell.host().setFileHook([&](const QtHost::FileRequest& request) {
            seen = request;
            return QString();
        });
        QVERIFY(!shell.host().chooseFile("mg_data.stf", "ゲームファイル", "*.stf").has_value());
        QCOMPARE(seen.startName, QDir::current().filePath(QStringLiteral("mg_data.stf")));
        QCOMPARE(seen.filter, QStringLiteral("ゲームファイル (*.stf)"));
    }

    void givenFramesInARow_thenTheyComeAtMostSixtyASecond() {
        GameShell shell({});
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 7; ++i) shell.host().endFrame(shell.game().screen);
        // Six full frame intervals of 1/60 s lie between the first frame and the seventh.
        QVERIFY2(clock.elapsed() >= 99, qPrintable(QString::number(clock.elapsed())));
    }

    void givenAPendingEvent_whenAFrameEnds_thenTheEventHasRun() {
        GameShell shell({});
        bool ran = false;
        QTimer::singleShot(0, &shell.mainWindow(), [&] { ran = true; });
        shell.host().endFrame(shell.game().screen);
        QVERIFY(ran);
    }

    void givenABitmap_whenRepainted_thenImage1ShowsThatBitmapUntilTheScreenIsShownAgain() {
        GameShell shell({});
        ScreenView& image1 = shell.mainWindow().image1();
        Bitmap other(kScreenWidth, kScreenHeight);
        fillRect(other, {0, 0, kScreenWidth, kScreenHeight}, 0x0000FF);  // red
        shell.host().repaint(other);
        QCOMPARE(image1.bitmap(), &other);
        QCOMPARE(image1.grab().toImage().pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(other.damage().empty());

        shell.host().repaint(shell.game().screen);
        QCOMPARE(image1.bitmap(), &shell.game().screen);
        QCOMPARE(image1.grab().toImage().pixelColor(0, 0), QColor(Qt::black));
    }

    // Each problem is named with the chunk and line the script ran last.
    void givenDebug_thenOnlyTheProblemEventsReachStandardErrorWithTheirLine() {
        qunsetenv("CORVAN_TRACE");
        GameShell shell({});
        Game& game = shell.game();
        game.currentChunk = "main";
        const std::string lines = std::string("first") + '\0' + "*go nowhere" + '\0' + "x";
        std::copy(lines.begin(), lines.end(), game.scriptBuffer.begin());
        game.scriptLength = static_cast<std::int32_t>(lines.size());
        game.scriptPos = 18;  // after the second line
        std::ostringstream captured;
        std::streambuf* const old = std::cerr.rdbuf(captured.rdbuf());
        shell.host().traceEvent("label-missing nowhere in main");
        shell.host().setDebug(true);
        shell.host().traceEvent("text こんにちは");
        shell.host().traceEvent("label-missing nowhere in main");
        std::cerr.rdbuf(old);
        QCOMPARE(captured.str(), std::string("corvan: main:2: label-missing nowhere in main\n"));
    }

    void givenTheDesktop_thenTheScreenSizeIsThePrimaryScreens() {
        GameShell shell({});
        const QSize size = QGuiApplication::primaryScreen()->size();
        QCOMPARE(shell.host().screenSize(), (WindowPoint{size.width(), size.height()}));
    }
};

}  // namespace

std::unique_ptr<QObject> makeHostTests() {
    return std::make_unique<HostTest>();
}

}  // namespace corvan::shell::test

#include "host_test.moc"
