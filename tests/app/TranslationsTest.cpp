// The user's language: the German catalogue changes menus, buttons and boxes, and once it is
// gone, or for an English user, every text is the documented English one again.
#include "MainWindowHarness.h"

#include "runtime/Translations.h"
#include "serverlist/ListUpdateTexts.h"
#include "timesync/TimeSyncTexts.h"

#include <QMenu>

namespace horlan {

TEST_F(MainWindowTest, GermanCatalogueAndExactEnglish) {
    {
        const Translations german(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_TRUE(german.Loaded());
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(Child<QMenu>("menuProject")->title(), QStringLiteral(" &Projekt"));
        EXPECT_EQ(Child<QPushButton>("cmdSync")->text(), QStringLiteral("&Synchronisieren"));
        const MsgBoxRequest box = FileMissingBox(QStringLiteral("/x/list.txt"));
        EXPECT_EQ(box.Title, QStringLiteral("Datei fehlt: LIST.TXT"));
        EXPECT_TRUE(
            box.Prompt.startsWith(QStringLiteral("Datei fehlt:\r\n/x/list.txt\r\n\r\nBitte")));
        // Qt's own texts (standard buttons) come along in the same language.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QStringLiteral("Abbrechen"));
        EXPECT_EQ(DifferenceInWords(std::chrono::hours(24 * 366 + 1) + std::chrono::minutes(2)),
                  QStringLiteral("1 Jahr, 1 Tag, 1 Stunde und 2 Minuten"));
        Close();
    }
    const Translations english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_FALSE(english.Loaded());
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Child<QMenu>("menuProject")->title(), QStringLiteral(" &Project"));
    EXPECT_EQ(Child<QPushButton>("cmdSync")->text(), QStringLiteral("&Synchronize"));
    EXPECT_EQ(FileMissingBox(QStringLiteral("/x/list.txt")).Title,
              QStringLiteral("File missing: LIST.TXT"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

} // namespace horlan
