#include "storage/appdata.h"

#include "support/FileBytes.h"
#include "support/ScopedEnvFolder.h"

using namespace horlan;
using namespace Qt::StringLiterals;

// Making the folder from nothing is proven through the window on its first run.
TEST(AppData, FallbackWhenAFileIsInTheWay) {
    const char* rows[][3] = {
        {"", "/opt/h", "/opt/h/"}, {"/Horlan", "/opt/h/", "/opt/h/"}, {"", "", "/"}};
    for (const auto& [inTheWay, fallback, result] : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        WriteFileBytes(data.Path() + u"/Vantorel software"_s + QLatin1String(inTheWay), "file");
        EXPECT_EQ(GetAppDataFolder(QString::fromLatin1(fallback)), QLatin1String(result))
            << inTheWay;
    }
}
