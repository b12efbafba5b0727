#pragma once

#include <QLocale>
#include <QTranslator>

namespace horlan {

// The program's texts and Qt's own (standard buttons, file dialogs) in the user's language,
// installed for as long as this object lives (a QTranslator removes itself when destroyed). The
// program's catalogues are compiled into the executable; Qt's come from the system's Qt
// translations folder. English, the language the texts are written in, loads nothing.
class Translations {
public:
    explicit Translations(const QLocale& locale = QLocale::system());
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // True when a catalogue of the program's own was found for the locale.
    bool Loaded() const { return loaded_; }

private:
    QTranslator program_;
    QTranslator qt_;
    bool loaded_ = false;
};

} // namespace horlan
