#include "runtime/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace horlan {

Translations::Translations(const QLocale& locale) {
    // The texts are written in English: a user who prefers it before any other language
    // gets them as they are, even when a catalogue of a later choice exists.
    const QStringList languages = locale.uiLanguages();
    if (!languages.isEmpty() && QLocale(languages.first()).language() == QLocale::English) {
        return;
    }
    // Only the program's own catalogue is looked for first: for the languages it has none
    // of, Qt's texts stay English too, and start-up reads no further file.
    loaded_ = program_.load(locale, QStringLiteral("horlan"), QStringLiteral("_"),
                            QStringLiteral(":/i18n"));
    if (!loaded_) {
        return;
    }
    QCoreApplication::installTranslator(&program_);
    if (qt_.load(QLocale(program_.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qt_);
    }
}

} // namespace horlan
