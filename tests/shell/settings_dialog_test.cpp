// The settings dialog "システム設定": its five groups as laid out, the stored values loaded when
// it shows, and every click stored at once.

#include <QRadioButton>
#include <QtTest>

#include "shell/game_shell.h"
#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

QList<QRadioButton*> itemsOf(QGroupBox* group) {
    return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

QStringList textsOf(QGroupBox* group) {
    QStringList texts;
    for (QRadioButton* button : itemsOf(group)) texts << button->text();
    return texts;
}

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenTheDialog_thenItsGroupsHaveTheirPlacesCaptionsAndItems_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("RadioGroup1") << 1 << QRect(8, 64, 105, 49) << QStringLiteral("ＢＧＭ")
                                     << QStringList{"あり", "なし"};
        QTest::newRow("RadioGroup2") << 2 << QRect(128, 64, 105, 49) << QStringLiteral("音声")
                                     << QStringList{"あり", "なし"};
        QTest::newRow("RadioGroup3") << 3 << QRect(8, 8, 105, 49) << QStringLiteral("テキスト枠")
                                     << QStringList{"固定", "移動"};
        QTest::newRow("RadioGroup4")
            << 4 << QRect(8, 120, 225, 49) << QStringLiteral("グラフィック表示方法")
            << QStringList{"通常", "少し高速", "エフェクトなし"};
        QTest::newRow("RadioGroup5")
            << 5 << QRect(128, 8, 105, 49) << QStringLiteral("文字表示速度")
            << QStringList{"通常", "高速"};
    }

    void givenTheDialog_thenItsGroupsHaveTheirPlacesCaptionsAndItems() {
        QFETCH(int, number);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(QStringList, items);
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("システム設定"));
        QCOMPARE(dialog.size(), QSize(243, 176));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.font().pixelSize(), 12);
        QGroupBox* group = dialog.radioGroup(number);
        QVERIFY(group != nullptr);
        QCOMPARE(group->objectName(), QStringLiteral("RadioGroup%1").arg(number));
        QCOMPARE(group->geometry(), geometry);
        QCOMPARE(group->title(), caption);
        QCOMPARE(textsOf(group), items);
        for (QRadioButton* item : itemsOf(group)) {
            QVERIFY2(group->rect().contains(item->geometry()), qPrintable(item->text()));
        }
    }

    void givenTheGraphicsGroup_thenItsItemsFillTwoColumnsTopToBottom() {
        GameShell shell({});
        const auto items = itemsOf(shell.settingsDialog().radioGroup(4));
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[1]->x(), items[0]->x());
        QVERIFY(items[1]->y() > items[0]->y());
        QVERIFY(items[2]->x() > items[0]->x() + items[0]->width() - 1);
        QCOMPARE(items[2]->y(), items[0]->y());
    }

    void givenTheDialog_thenTabGoesBgmVoiceFrameSpeedGraphics() {
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        QStringList order;
        QWidget* widget = itemsOf(dialog.radioGroup(1)).first();
        for (int guard = 0; guard < 64 && order.size() < 5; ++guard) {
            const QString group = widget->parentWidget()->objectName();
            if (qobject_cast<QRadioButton*>(widget) && !order.contains(group)) order << group;
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, (QStringList{"RadioGroup1", "RadioGroup2", "RadioGroup3", "RadioGroup5",
                                     "RadioGroup4"}));
    }

    void givenNothingStored_whenShown_thenEveryGroupShowsItsFirstItem() {
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        dialog.show();
        for (int number = 1; number <= 5; ++number) QCOMPARE(dialog.itemIndex(number), 0);
        dialog.close();
        QVERIFY(readIni().isEmpty());
    }

    void givenStoredValues_whenShown_thenTheGroupsShowThemAndNothingIsWritten() {
        const QString stored =
            QStringLiteral("[Corvan]\nBGM=1\nWave=0\nTextWind=1\nDelay=1\nGMode=0x2\n");
        writeIni(stored);
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        dialog.show();
        QCOMPARE(dialog.itemIndex(1), 1);
        QCOMPARE(dialog.itemIndex(2), 0);
        QCOMPARE(dialog.itemIndex(3), 1);
        QCOMPARE(dialog.itemIndex(5), 1);
        QCOMPARE(dialog.itemIndex(4), 2);
        dialog.close();
        QCOMPARE(readIni(), stored);
    }

    void givenNumbersOutsideTheItems_whenShown_thenTheLastItemOrNoneIsSelected() {
        writeIni(QStringLiteral("[Corvan]\nGMode=7\nBGM=-1\nWave=x\n"));
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        dialog.show();
        QCOMPARE(dialog.itemIndex(4), 2);
        QCOMPARE(dialog.itemIndex(1), -1);
        QCOMPARE(dialog.itemIndex(2), 0);
        dialog.close();
    }

    void givenTheDialogFromTheGame_whenNashiUnderBgmIsClicked_thenBgmHoldsTheText1AtOnce() {
        writeIni(QStringLiteral("[Corvan]\nGMode=0x2\n"));
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        QString storedBeforeClosing;
        QTimer::singleShot(0, &dialog, [&] {
            QRadioButton* nashi = itemsOf(dialog.radioGroup(1)).at(1);
            QTest::mouseClick(nashi, Qt::LeftButton, {}, QPoint(5, nashi->height() / 2));
            storedBeforeClosing = readIni();
            dialog.close();  // the close box: no OK, no Cancel
        });
        shell.host().runSettingsDialog();
        QVERIFY2(storedBeforeClosing.contains(QStringLiteral("\nBGM=1\n")),
                 qPrintable(storedBeforeClosing));
        QCOMPARE(shell.host().readSetting("BGM").value_or(""), std::string("1"));
        QCOMPARE(shell.host().readSetting("GMode").value_or(""), std::string("0x2"));
    }

    void givenEachGroup_whenItsItemChanges_thenItsValueIsStoredAsADecimal_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("setting");
        QTest::newRow("voice") << 2 << 1 << QStringLiteral("Wave");
        QTest::newRow("frame") << 3 << 1 << QStringLiteral("TextWind");
        QTest::newRow("graphics") << 4 << 2 << QStringLiteral("GMode");
        QTest::newRow("speed") << 5 << 1 << QStringLiteral("Delay");
        QTest::newRow("graphics back") << 4 << 0 << QStringLiteral("GMode");
    }

    void givenEachGroup_whenItsItemChanges_thenItsValueIsStoredAsADecimal() {
        QFETCH(int, number);
        QFETCH(int, item);
        QFETCH(QString, setting);
        writeIni(QStringLiteral("[Corvan]\nGMode=0x1\n"));
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        dialog.show();
        QRadioButton* button = itemsOf(dialog.radioGroup(number)).at(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
        QCOMPARE(shell.host().readSetting(setting.toStdString()).value_or(""),
                 std::to_string(item));
        dialog.close();
    }

    void givenTheDialog_whenShown_thenItIsCentredOnTheScreen() {
        GameShell shell({});
        SettingsDialog& dialog = shell.settingsDialog();
        dialog.show();
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const QSize outer = dialog.frameGeometry().size();
        QCOMPARE(dialog.pos(), QPoint((screen.width() - outer.width()) / 2,
                                      (screen.height() - outer.height()) / 2));
        dialog.close();
    }
};

}  // namespace

std::unique_ptr<QObject> makeSettingsDialogTests() {
    return std::make_unique<SettingsDialogTest>();
}

}  // namespace corvan::shell::test

#include "settings_dialog_test.moc"
