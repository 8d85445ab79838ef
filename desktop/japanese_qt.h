#pragma once

// Qt's own texts in Japanese, as the programs' own windows are: the standard buttons
// (キャンセル, はい, いいえ), the file and folder pickers, the menus of text fields. They come
// from Qt's translations (qtbase_ja.qm of Debian's qt6-translations-l10n), and Qt's own file
// dialogs are used instead of the desktop's, whose language follows the desktop's. Every Qt
// program makes one right after its QApplication and keeps it while it runs.

#include <QLocale>
#include <QTranslator>

namespace corvan {

class JapaneseQtTexts {
public:
    // Installs the translation in the running application; when it is not installed, says so
    // on standard error and leaves Qt's texts in English.
    JapaneseQtTexts();
    // Takes the translation out again and puts back the application's dialogs and locale.
    ~JapaneseQtTexts();
    JapaneseQtTexts(const JapaneseQtTexts&) = delete;
    JapaneseQtTexts& operator=(const JapaneseQtTexts&) = delete;

    bool loaded() const { return loaded_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
    bool nativeDialogsWereOff_ = false;
    QLocale oldLocale_;
};

}  // namespace corvan
