// Qt's own texts in Japanese: the standard buttons of a message box and the folder picker that
// the setup and the game open, with JapaneseQtTexts in force, and English again without it.

#include "desktop/japanese_qt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QString buttonText(QMessageBox& box, QMessageBox::StandardButton which) {
    return box.button(which)->text().remove(QLatin1Char('&'));
}

// The texts of a folder picker opened as the programs open it, read while it shows.
QStringList folderPickerTexts() {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;  // a picker of the desktop's, or none
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            if (const auto* label = dialog->findChild<QLabel*>(QLatin1String(name))) {
                texts << label->text();
            }
        }
        const auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (box != nullptr) texts << box->button(QDialogButtonBox::Cancel)->text();
        dialog->reject();
    });
    QFileDialog::getExistingDirectory(nullptr, QStringLiteral("フォルダ"), QDir::tempPath());
    return texts;
}

class JapaneseQtTest : public QObject {
    Q_OBJECT
private slots:
    void givenJapaneseTexts_thenTheStandardButtonsReadJapaneseAndEnglishAgainWithout() {
        {
            const corvan::JapaneseQtTexts japanese;
            QVERIFY(japanese.loaded());
            QMessageBox box(
                QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("?"),
                QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(buttonText(box, QMessageBox::Cancel), QStringLiteral("キャンセル"));
            QVERIFY2(buttonText(box, QMessageBox::Yes).startsWith(QStringLiteral("はい")),
                     qPrintable(buttonText(box, QMessageBox::Yes)));
            QVERIFY2(buttonText(box, QMessageBox::No).startsWith(QStringLiteral("いいえ")),
                     qPrintable(buttonText(box, QMessageBox::No)));
        }
        QMessageBox english(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
        QCOMPARE(buttonText(english, QMessageBox::Cancel), QStringLiteral("Cancel"));
    }

    void givenJapaneseTexts_whenAFolderIsPicked_thenQtsOwnPickerReadsJapanese() {
        const corvan::JapaneseQtTexts japanese;
        const QStringList texts = folderPickerTexts();
        // Qt's own picker, whatever the desktop offers: the look-in and name labels and Cancel.
        QCOMPARE(texts.size(), 4);
        for (const QString& text : texts) {
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))),
                     qPrintable(texts.join(QStringLiteral(" | "))));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;  // a file dialog writes QtProject.conf there
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    JapaneseQtTest tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "japanese_qt_test.moc"
