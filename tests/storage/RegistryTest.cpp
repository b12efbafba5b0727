#include "storage/Registry.h"
#include "storage/FileKeyStore.h"
#include "storage/KeyFile.h"

#include "runtime/RuntimeError.h"
#include "support/FileBytes.h"
#include "support/Recorders.h"
#include "support/ScopedEnvFolder.h"

#include <sys/stat.h>
#include <thread>

using namespace horlan;

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan");
using Read = std::optional<QString>;
const Read kError = QStringLiteral("Error");

// A registry on the real file store in a private configuration folder.
class RegistryTest : public ::testing::Test {
protected:
    Read Get(const QString& name, const QString& path = kKey) {
        return registry.GetKeyValue(path, name);
    }
    void Set(const QString& name, const QString& text) { registry.SetKeyValue(kKey, name, text); }

    ScopedEnvFolder config{"XDG_CONFIG_HOME"};
    FileKeyStore store{FileKeyStore::DefaultPath()};
    RecordingMsgBox boxes;
    Registry registry{store, boxes};
};

} // namespace

TEST_F(RegistryTest, KeyPathFormat) {
    const struct {
        const char* path;
        int boxes; // "Incorrect Format:" boxes from the four operations
        KeyPathParts parts;
        Read read; // of a value never written
    } rows[] = {
        {"HKEY_CURRENT_USER", 0, {0x80000001u, {}}, kError},
        {"HKEY_LOCAL_MACHINE\\S\\T", 0, {0x80000002u, QStringLiteral("S\\T")}, kError},
        {"hkey_current_user\\Software", 4, {}, std::nullopt},
        {"HKEY_CURRENT_USER\\Software\\", 4, {}, std::nullopt},
        {"", 4, {}, std::nullopt},
        {"HKEY_Local_Machine\\S", 0, {0, QStringLiteral("S")}, std::nullopt},
        {"HKEY_DYN_DATA", 0, {0x80000006u, {}}, kError},
        {"HKEY_USERS\\a\\\\b", 0, {0x80000003u, QStringLiteral("a\\\\b")}, kError},
    };
    for (const auto& row : rows) {
        const QString path = QString::fromLatin1(row.path);
        boxes.Boxes.clear();
        EXPECT_EQ(registry.SplitKeyPath(path), row.parts) << row.path;
        EXPECT_EQ(Get(QStringLiteral("Top"), path), row.read) << row.path;
        registry.CreateKey(path);
        registry.SetKeyValue(path, QStringLiteral("Top"), QStringLiteral("1"));
        const MsgBoxRequest box{
            QStringLiteral("Incorrect Format:\n\n") + path, MsgBoxIcon::None, {}};
        EXPECT_EQ(boxes.Boxes, QList<MsgBoxRequest>(row.boxes, box)) << row.path;
    }
    // Only the well-formed paths with a known root reached the file.
    EXPECT_EQ(KeyFile::Parse(ReadFileBytes(store.Path()))->Keys().size(), 4);
}

TEST_F(RegistryTest, StoredBytesReadBack) {
    const std::pair<QByteArray, Read> rows[] = {
        {QByteArray("  1 \0", 5), QStringLiteral("1 ")}, // leading spaces go, trailing stay
        {QByteArray("   \0", 4), QString()},
        {QByteArray("\t1\r\n\xe9\0", 6), QStringLiteral("\t1\r\n\u00e9")},
        {QByteArray(254, 'q') + '\0', QString(254, QLatin1Char('q'))},
        {QByteArray(255, 'q') + '\0', kError},
        {"abc", QStringLiteral("ab")}, // no terminator: the last character is lost
    };
    registry.CreateKey(kKey);
    for (const auto& [stored, read] : rows) {
        ASSERT_TRUE(store.SetValue(0x80000001u, "Software\\Vantorel\\Horlan", "V", stored));
        EXPECT_EQ(Get(QStringLiteral("V")), read) << stored.toHex().constData();
    }
    ASSERT_TRUE(store.SetValue(0x80000001u, "Software\\Vantorel\\Horlan", "V", "  "));
    EXPECT_THROW(Get(QStringLiteral("V")), RuntimeError);
}

TEST_F(RegistryTest, KeysMustExistToBeWritten) {
    Set(QStringLiteral("Top"), QStringLiteral("5"));
    EXPECT_EQ(Get(QStringLiteral("Top")), kError);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(store.Path()).absolutePath()))
        << "a refused write wrote";
    registry.CreateKey(kKey + QStringLiteral("\\a"));
    Set(QStringLiteral("Top"), QStringLiteral("5"));
    EXPECT_EQ(Get(QStringLiteral("Top")), Read(QStringLiteral("5")));
    const QByteArray before = ReadFileBytes(store.Path());
    registry.CreateKey(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\vantorel"));
    registry.SetKeyValue(kKey + QStringLiteral("\\b"), QStringLiteral("Top"), QString());
    EXPECT_EQ(ReadFileBytes(store.Path()), before);
    EXPECT_FALSE(QFileInfo::exists(store.Path() + QStringLiteral(".lock")));
}

TEST_F(RegistryTest, HandEditedFile) {
    WriteFileBytes(
        store.Path(),
        "\xEF\xBB\xBF; by hand\r\n\r\n  [HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan] \r\n"
        "\t\"Top\"  =  \"  1230\"\t\r\n\"\\xC9t\\xE9\"=\"a\\\\b \\\"c\\\" \\x41\\xe9\"\r\n"
        "\"Raw\" = raw:\"xyz\"\n[hkey_current_user\\software\\VANTOREL\\horlan]\n\"top\"=\"777\"\n"
        "[HKEY_CURRENT_USER\\Odd%25%E9]\n");
    EXPECT_EQ(Get(QStringLiteral("TOP"), kKey.toUpper()), Read(QStringLiteral("777")));
    EXPECT_EQ(Get(QStringLiteral("\u00e9T\u00c9")), Read(QStringLiteral("a\\b \"c\" A\u00e9")));
    EXPECT_EQ(Get(QStringLiteral("Raw")), Read(QStringLiteral("xy")));
    // A change rewrites the file in the program's own spelling and keeps everything.
    registry.SetKeyValue(kKey.toUpper(), QStringLiteral("new"), QStringLiteral("2"));
    EXPECT_EQ(
        ReadFileBytes(store.Path()),
        QByteArray(
            "[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Vantorel]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan]\n\"Top\"=\"777\"\n"
            "\"\\xC9t\\xE9\"=\"a\\\\b \\\"c\\\" A\\xE9\"\n\"Raw\"=raw:\"xyz\"\n\"new\"=\"2\"\n\n"
            "[HKEY_CURRENT_USER\\Odd%25%E9]\n"));
    EXPECT_TRUE(boxes.Boxes.isEmpty());
}

TEST_F(RegistryTest, CorruptFileIsKeptAside) {
    for (const QByteArray corrupt :
         {"garbage", "\"Top\"=\"1\"\n", "[HKEY_NOWHERE\\S]\n", "[HKEY_USERS\\\\S]\n",
          "[HKEY_USERS\\S]\n\"T\"=\"open\n", "[HKEY_USERS\\Bad%G1]\n"}) {
        QDir(config.Path()).removeRecursively();
        WriteFileBytes(store.Path(), corrupt);
        EXPECT_EQ(Get(QStringLiteral("Top"), QStringLiteral("HKEY_USERS\\S")), kError);
        registry.SetKeyValue(QStringLiteral("HKEY_USERS\\S"), QStringLiteral("T"), QString());
        EXPECT_EQ(ReadFileBytes(store.Path()), corrupt) << "a read or a refused write touched it";
        registry.CreateKey(kKey);
        WriteFileBytes(store.Path(), "again");
        registry.CreateKey(kKey);
        EXPECT_EQ(ReadFileBytes(store.Path() + QStringLiteral(".corrupt")), corrupt);
        EXPECT_EQ(ReadFileBytes(store.Path() + QStringLiteral(".corrupt.1")), QByteArray("again"));
    }
}

TEST_F(RegistryTest, FileForms) {
    QByteArray huge; // grown by hand, and things that are no file at all
    for (int i = 0; i < 100000; ++i) {
        huge += "[HKEY_USERS\\Key " + QByteArray::number(i) + "]\n\"V\"=\"1\"\n";
    }
    const std::pair<std::function<void(const QString&)>, Read> rows[] = {
        {[&](const QString& p) {
             WriteFileBytes(p, huge + "[" + kKey.toLatin1() + "]\n\"Top\"=\"7\"\n\"L\"=\"3\"");
         },
         QStringLiteral("7")},
        {[](const QString& p) { EXPECT_EQ(mkfifo(QFile::encodeName(p), 0600), 0); }, kError},
        {[](const QString& p) { QDir().mkpath(p); }, kError},
    };
    for (const auto& [make, read] : rows) {
        QDir(config.Path()).removeRecursively();
        QDir().mkpath(QFileInfo(store.Path()).absolutePath());
        make(store.Path());
        registry.CreateKey(kKey);
        Set(QStringLiteral("L"), QStringLiteral("3"));
        EXPECT_EQ(Get(QStringLiteral("Top")), read);
    }
}

TEST_F(RegistryTest, WriteReplacesTheFileAtomically) {
    registry.CreateKey(kKey);
    const QByteArray old = ReadFileBytes(store.Path());
    QFile reader(store.Path());
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    Set(QStringLiteral("Top"), QStringLiteral("1"));
    EXPECT_EQ(reader.readAll(), old) << "the file was rewritten in place";
}

TEST_F(RegistryTest, TwoWritersLoseNothing) {
    registry.CreateKey(kKey);
    // Each writer finds its own last write still there before it writes the next.
    const auto writer = [](const QString& name, int& lost) {
        FileKeyStore own(FileKeyStore::DefaultPath());
        RecordingMsgBox quiet;
        Registry reg(own, quiet);
        for (int i = 1; i <= 20; ++i) {
            lost += reg.GetKeyValue(kKey, name) != (i == 1 ? kError : QString::number(i - 1));
            reg.SetKeyValue(kKey, name, QString::number(i));
        }
    };
    int lostLeft = 0, lostTop = 0;
    std::thread left(writer, QStringLiteral("Left"), std::ref(lostLeft));
    writer(QStringLiteral("Top"), lostTop);
    left.join();
    EXPECT_EQ(lostLeft + lostTop, 0);
}
