#include "storage/Registry.h"
#include "storage/FileKeyStore.h"
#include "storage/KeyFile.h"

#include "runtime/RuntimeError.h"
#include "support/FileBytes.h"
#include "support/Recorders.h"
#include "support/ScopedEnvFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

using namespace horlan;

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan");
constexpr quint32 kCurrentUser = 0x80000001u;

std::string Show(const std::optional<QString>& value) {
    return value ? '"' + value->toStdString() + '"' : std::string("<empty result>");
}

// A registry on the real file store in a private configuration folder.
class RegistryTest : public ::testing::Test {
protected:
    ScopedEnvFolder config{"XDG_CONFIG_HOME"};
    FileKeyStore store{FileKeyStore::DefaultPath()};
    RecordingMsgBox boxes;
    Registry registry{store, boxes};
};

} // namespace

TEST_F(RegistryTest, StoreLivesInTheConfigFolder) {
    EXPECT_EQ(store.Path(), config.Path() + QStringLiteral("/Vantorel/Horlan/registry.reg"));
}

TEST_F(RegistryTest, KeyPathFormat) {
    const QString cu = QStringLiteral("HKEY_CURRENT_USER");
    const struct {
        QString path;
        bool box;
        KeyPathParts parts;
        std::optional<QString> read; // GetKeyValue of a value that was never written
    } rows[] = {
        {cu, false, {kCurrentUser, {}}, QStringLiteral("Error")},
        {cu + QStringLiteral("\\Software"),
         false,
         {kCurrentUser, QStringLiteral("Software")},
         QStringLiteral("Error")},
        {QStringLiteral("hkey_current_user\\Software"), true, {}, std::nullopt},
        {cu + QStringLiteral("\\Software\\"), true, {}, std::nullopt},
        {cu + QStringLiteral("\\"), true, {}, std::nullopt},
        {QString(), true, {}, std::nullopt},
        {QStringLiteral("HKEY"), true, {}, std::nullopt},
        {QStringLiteral("Software\\HKEY_CURRENT_USER"), true, {}, std::nullopt},
        {QStringLiteral("HKEY_LOCAL_MACHINE\\Software"),
         false,
         {0x80000002u, QStringLiteral("Software")},
         QStringLiteral("Error")},
        {QStringLiteral("HKEY_Local_Machine\\Software"),
         false,
         {0, QStringLiteral("Software")},
         std::nullopt},
        {QStringLiteral("HKEY_"), false, {}, std::nullopt},
        {QStringLiteral("HKEY_USERS"), false, {0x80000003u, {}}, QStringLiteral("Error")},
        {QStringLiteral("HKEY_CLASSES_ROOT\\x"),
         false,
         {0x80000000u, QStringLiteral("x")},
         QStringLiteral("Error")},
        {QStringLiteral("HKEY_DYN_DATA"), false, {0x80000006u, {}}, QStringLiteral("Error")},
        {cu + QStringLiteral("\\a\\\\b"),
         false,
         {kCurrentUser, QStringLiteral("a\\\\b")},
         QStringLiteral("Error")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        boxes.Boxes.clear();
        EXPECT_EQ(registry.SplitKeyPath(row.path), row.parts);
        const auto read = registry.GetKeyValue(row.path, QStringLiteral("Top"));
        EXPECT_EQ(read, row.read) << Show(read);
        registry.CreateKey(row.path);
        registry.SetKeyValue(row.path, QStringLiteral("Top"), QStringLiteral("1"));

        const MsgBoxRequest expected{QStringLiteral("Incorrect Format:\n\n") + row.path,
                                     MsgBoxIcon::None, QString()};
        EXPECT_EQ(boxes.Boxes,
                  row.box ? QList<MsgBoxRequest>(4, expected) : QList<MsgBoxRequest>());
    }
    // Only the well-formed paths with a known root reached the file.
    EXPECT_EQ(KeyFile::Parse(ReadFileBytes(store.Path()))->Keys().size(), 6)
        << ReadFileBytes(store.Path()).constData();
}

TEST_F(RegistryTest, ValuesReadBackAsWritten) {
    const QString x254(254, QLatin1Char('x'));
    const struct {
        const char* what;
        QString written;
        QString read;
    } rows[] = {
        {"plain", QStringLiteral("12"), QStringLiteral("12")},
        {"leading space removed", QStringLiteral(" 12"), QStringLiteral("12")},
        {"trailing space kept", QStringLiteral("12 "), QStringLiteral("12 ")},
        {"both", QStringLiteral("  12  "), QStringLiteral("12  ")},
        {"empty text", QString(), QString()},
        {"spaces only", QStringLiteral("   "), QString()},
        {"tab is not a space", QStringLiteral("\t12"), QStringLiteral("\t12")},
        {"quotes and backslashes", QStringLiteral("a\"b\\c\\\\"), QStringLiteral("a\"b\\c\\\\")},
        {"line breaks", QStringLiteral("a\r\nb\n"), QStringLiteral("a\r\nb\n")},
        {"8-bit text", QStringLiteral("caf\u00e9 \u00ff"), QStringLiteral("caf\u00e9 \u00ff")},
        {"254 characters", x254, x254},
        {"255 characters", x254 + QLatin1Char('x'), QStringLiteral("Error")},
        {"400 characters", QString(400, QLatin1Char('y')), QStringLiteral("Error")},
        {"253 characters after a space", QLatin1Char(' ') + QString(253, QLatin1Char('z')),
         QString(253, QLatin1Char('z'))},
    };
    registry.CreateKey(kKey);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        registry.SetKeyValue(kKey, QStringLiteral("Value"), row.written);
        EXPECT_EQ(registry.GetKeyValue(kKey, QStringLiteral("Value")),
                  std::optional<QString>(row.read));
        EXPECT_EQ(registry.GetKeyValue(kKey, QStringLiteral("Other")),
                  std::optional<QString>(QStringLiteral("Error")));
    }
    EXPECT_TRUE(boxes.Boxes.isEmpty());
}

TEST_F(RegistryTest, StoredBytesThatAreNotAPlainString) {
    const struct {
        const char* what;
        QByteArray data;
        std::optional<QString> read; // nullopt: invalid-argument error
    } rows[] = {
        {"zero bytes", QByteArray(), std::nullopt},
        {"no terminator loses the last character", QByteArray("abc"), QStringLiteral("ab")},
        {"spaces without terminator", QByteArray("   "), std::nullopt},
        {"255 bytes fit", QByteArray(254, 'q') + '\0', QString(254, QLatin1Char('q'))},
        {"256 bytes do not", QByteArray(255, 'q') + '\0', QStringLiteral("Error")},
        {"embedded terminator", QByteArray("ab\0cd\0", 6), QString::fromLatin1("ab\0cd", 5)},
    };
    registry.CreateKey(kKey);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(store.SetValue(kCurrentUser, "Software\\Vantorel\\Horlan", "Raw", row.data));
        try {
            const auto read = registry.GetKeyValue(kKey, QStringLiteral("Raw"));
            ASSERT_TRUE(row.read.has_value()) << "no error raised";
            EXPECT_EQ(read, row.read);
        } catch (const RuntimeError& e) {
            EXPECT_FALSE(row.read.has_value()) << "unexpected error";
            EXPECT_EQ(e.Number(), ErrInvalidProcedureCall);
        }
    }
}

TEST_F(RegistryTest, KeysMustExistToBeWritten) {
    const auto top = [&] { return registry.GetKeyValue(kKey, QStringLiteral("Top")); };
    EXPECT_EQ(top(), std::optional<QString>(QStringLiteral("Error"))) << "key missing";
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(store.Path()).absolutePath()))
        << "reading created something";

    registry.SetKeyValue(kKey, QStringLiteral("Top"), QStringLiteral("5"));
    EXPECT_EQ(top(), std::optional<QString>(QStringLiteral("Error")));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(store.Path()).absolutePath()))
        << "a refused write wrote";

    registry.CreateKey(QStringLiteral("HKEY_CURRENT_USER\\Software"));
    registry.CreateKey(kKey + QStringLiteral("\\a\\b\\c"));
    for (const char* level :
         {"Software\\Vantorel", "Software\\Vantorel\\Horlan", "Software\\Vantorel\\Horlan\\a",
          "Software\\Vantorel\\Horlan\\a\\b", "Software\\Vantorel\\Horlan\\a\\b\\c"}) {
        EXPECT_TRUE(store.KeyExists(kCurrentUser, level)) << level;
    }
    EXPECT_FALSE(store.KeyExists(kCurrentUser, "Software\\Vantorel\\Horlan\\a\\b\\c\\d"));

    registry.SetKeyValue(kKey, QStringLiteral("Top"), QStringLiteral("5"));
    EXPECT_EQ(top(), std::optional<QString>(QStringLiteral("5")));

    const QByteArray before = ReadFileBytes(store.Path());
    registry.CreateKey(kKey);
    registry.CreateKey(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\vantorel"));
    EXPECT_EQ(ReadFileBytes(store.Path()), before) << "creating an existing key changed the file";
    EXPECT_FALSE(QFileInfo::exists(store.Path() + QStringLiteral(".lock")));
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    registry.CreateKey(QStringLiteral("HKEY_CURRENT_USER\\Software\\Vantorel"));
    registry.CreateKey(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\VANTOREL\\Horlan"));
    registry.SetKeyValue(QStringLiteral("HKEY_CURRENT_USER\\software\\vantorel\\horlan"),
                         QStringLiteral("LastServer"), QStringLiteral("3"));
    registry.SetKeyValue(kKey, QStringLiteral("LASTSERVER"), QStringLiteral("4"));
    registry.SetKeyValue(kKey, QStringLiteral("Top"), QStringLiteral("caf\u00e9 \"1\"\\"));

    EXPECT_EQ(registry.GetKeyValue(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Vantorel\\HORLAN"),
                                   QStringLiteral("lastserver")),
              std::optional<QString>(QStringLiteral("4")));
    // The file, as a person reads it.
    EXPECT_EQ(ReadFileBytes(store.Path()),
              QByteArray("[HKEY_CURRENT_USER\\Software]\n"
                         "\n"
                         "[HKEY_CURRENT_USER\\Software\\Vantorel]\n"
                         "\n"
                         "[HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan]\n"
                         "\"LastServer\"=\"4\"\n"
                         "\"Top\"=\"caf\\xE9 \\\"1\\\"\\\\\"\n"));
}

TEST_F(RegistryTest, HandEditedFile) {
    // Saved by an editor that puts a byte order mark in front.
    WriteFileBytes(store.Path(), "\xEF\xBB\xBF; written by hand\r\n"
                                 "\r\n"
                                 "   [HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan]   \r\n"
                                 "\t\"Top\"   =   \"  1230\"\t\r\n"
                                 "\"Left\"=\"a\\\\b \\\"c\\\" \\x41\\xe9\"\r\n"
                                 "\"Raw\" = raw:\"xyz\"\n"
                                 "\"Nul\"=\"\\x00\"\n"
                                 "[hkey_current_user\\software\\VANTOREL\\horlan]\n"
                                 "\"top\"=\"777\"\n"
                                 "[HKEY_CURRENT_USER\\Software\\Odd%25Name%E9]\n");
    const struct {
        const char* name;
        QString value;
    } rows[] = {
        {"Top", QStringLiteral("777")},
        {"Left", QStringLiteral("a\\b \"c\" A\u00e9")},
        {"Raw", QStringLiteral("xy")},
        {"Nul", QString(QChar(0))}, // the NUL written plus the implied terminator
    };
    for (const auto& row : rows) {
        EXPECT_EQ(registry.GetKeyValue(kKey, QString::fromLatin1(row.name)),
                  std::optional<QString>(row.value))
            << row.name;
    }
    EXPECT_TRUE(store.KeyExists(kCurrentUser, "Software\\Vantorel"))
        << "keys above a section exist";
    EXPECT_TRUE(store.KeyExists(kCurrentUser, "Software\\odd%name\xe9"));

    // A change rewrites the file in the program's own spelling and keeps every value.
    registry.SetKeyValue(kKey, QStringLiteral("LastServer"), QStringLiteral("2"));
    for (const auto& row : rows) {
        EXPECT_EQ(registry.GetKeyValue(kKey, QString::fromLatin1(row.name)),
                  std::optional<QString>(row.value))
            << row.name;
    }
    EXPECT_TRUE(
        ReadFileBytes(store.Path()).contains("[HKEY_CURRENT_USER\\Software\\Odd%25Name%E9]\n"));
    EXPECT_TRUE(ReadFileBytes(store.Path()).contains("\"Raw\"=raw:\"xyz\"\n"));
    EXPECT_TRUE(boxes.Boxes.isEmpty());
}

TEST_F(RegistryTest, CorruptFileIsKeptAside) {
    const QByteArray rows[] = {
        "garbage",
        "\"Top\"=\"1\"\n[HKEY_CURRENT_USER\\Software]\n",
        "[HKEY_NOWHERE\\Software]\n",
        "[HKEY_CURRENT_USER\\\\Software]\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Top\"=\"unterminated\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Top\"=\"bad \\q escape\"\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Top\"=\"1\" trailing\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Top\"=\"\\x4\"\n",
        "[HKEY_CURRENT_USER\\Bad%G1]\n",
        QByteArray("\x00\xff\xfe[", 4),
    };
    for (const QByteArray& corrupt : rows) {
        SCOPED_TRACE(corrupt.toPercentEncoding().toStdString());
        ScopedEnvFolder folder("XDG_CONFIG_HOME");
        FileKeyStore fresh(FileKeyStore::DefaultPath());
        Registry reg(fresh, boxes);
        WriteFileBytes(fresh.Path(), corrupt);

        EXPECT_EQ(
            reg.GetKeyValue(QStringLiteral("HKEY_CURRENT_USER\\Software"), QStringLiteral("Top")),
            std::optional<QString>(QStringLiteral("Error")));
        EXPECT_EQ(ReadFileBytes(fresh.Path()), corrupt) << "a read touched the file";

        reg.CreateKey(kKey);
        reg.SetKeyValue(kKey, QStringLiteral("Top"), QStringLiteral("9"));
        EXPECT_EQ(ReadFileBytes(fresh.Path() + QStringLiteral(".corrupt")), corrupt);
        EXPECT_EQ(reg.GetKeyValue(kKey, QStringLiteral("Top")),
                  std::optional<QString>(QStringLiteral("9")));

        // A second bad file does not replace the first one kept aside.
        WriteFileBytes(fresh.Path(), "again");
        reg.CreateKey(kKey);
        EXPECT_EQ(ReadFileBytes(fresh.Path() + QStringLiteral(".corrupt")), corrupt);
        EXPECT_EQ(ReadFileBytes(fresh.Path() + QStringLiteral(".corrupt.1")), QByteArray("again"));
    }
    EXPECT_TRUE(boxes.Boxes.isEmpty());
}
