#include "desktop/japanese_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <cstdio>

namespace corvan {

JapaneseQtTexts::JapaneseQtTexts()
    : nativeDialogsWereOff_(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs)) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    loaded_ = translator_.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
    if (!loaded_) {
        std::fprintf(stderr,
                     "%s: Qt's Japanese translation (qtbase_ja.qm, Debian's "
                     "qt6-translations-l10n) is not installed in %s: Qt's buttons stay in "
                     "English\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
}

JapaneseQtTexts::~JapaneseQtTexts() {
    if (loaded_) QCoreApplication::removeTranslator(&translator_);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, nativeDialogsWereOff_);
    QLocale::setDefault(oldLocale_);
}

}  // namespace corvan
