// The settings store: Brackwell.ini in the user's config folder, section [Corvan], strings only,
// read afresh at every access.

#include "shell/settings_store.h"

#include <QtTest>

#include "shell_fixture.h"

namespace corvan::shell::test {
namespace {

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void init() { writeIni(QString()); }

    void givenXdgConfigHome_thenTheFileIsBrackwellIniThere() {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", "/some/config");
        const QString withVariable = SettingsStore::defaultPath();
        qputenv("XDG_CONFIG_HOME", "relative/config");
        const QString withRelative = SettingsStore::defaultPath();
        qunsetenv("XDG_CONFIG_HOME");
        const QString without = SettingsStore::defaultPath();
        qputenv("XDG_CONFIG_HOME", saved);

        QCOMPARE(withVariable, QStringLiteral("/some/config/Brackwell.ini"));
        QCOMPARE(withRelative, QDir::homePath() + QStringLiteral("/.config/Brackwell.ini"));
        QCOMPARE(without, QDir::homePath() + QStringLiteral("/.config/Brackwell.ini"));
    }

    void givenNoFile_whenReading_thenTheValueIsMissing() {
        SettingsStore store;
        QVERIFY(!store.read("SaveDir").has_value());
    }

    void givenAWrite_thenTheValueIsInTheCorvanSectionAsText() {
        SettingsStore store;
        QVERIFY(store.write("BGM", "1"));
        QVERIFY(store.write("SaveDir", "/home/player/セーブ"));
        const QString text = readIni();
        QVERIFY2(text.startsWith(QStringLiteral("[Corvan]\n")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\nBGM=1\n")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("[General]")), qPrintable(text));
        QCOMPARE(store.read("SaveDir").value_or(""), std::string("/home/player/セーブ"));
    }

    void givenValuesWrittenByAnotherProgram_thenTheyReadAsTheirExactText() {
        writeIni(
            QStringLiteral("[Corvan]\nGMode=0x2\nSaveDir=/games/save,old\nGameDir=/media/cd\n"
                           "[General]\nBGM=1\n"));
        SettingsStore store;
        QCOMPARE(store.read("GMode").value_or(""), std::string("0x2"));
        QCOMPARE(store.read("SaveDir").value_or(""), std::string("/games/save,old"));
        QCOMPARE(store.read("GameDir").value_or(""), std::string("/media/cd"));
        QVERIFY(!store.read("BGM").has_value());
    }

    void givenAStore_whenAnotherProgramChangesTheFile_thenTheNextReadSeesIt() {
        SettingsStore store;
        QVERIFY(store.write("GameDir", "/first"));
        QCOMPARE(store.read("GameDir").value_or(""), std::string("/first"));
        writeIni(QStringLiteral("[Corvan]\nGameDir=/second/folder\n"));
        QCOMPARE(store.read("GameDir").value_or(""), std::string("/second/folder"));
    }

    void givenOtherValues_whenWriting_thenTheyAreKept() {
        writeIni(QStringLiteral("[Corvan]\nSaveDir=/save\nClear=2\n"));
        SettingsStore store;
        QVERIFY(store.write("Wave", "1"));
        QCOMPARE(store.read("SaveDir").value_or(""), std::string("/save"));
        QCOMPARE(store.read("Clear").value_or(""), std::string("2"));
        QCOMPARE(store.read("Wave").value_or(""), std::string("1"));
    }
};

}  // namespace

std::unique_ptr<QObject> makeSettingsStoreTests() {
    return std::make_unique<SettingsStoreTest>();
}

}  // namespace corvan::shell::test

#include "settings_store_test.moc"
