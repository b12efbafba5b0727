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
using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan"_s;
using Read = std::optional<QString>;
const Read kError = u"Error"_s;

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
        {"HKEY_LOCAL_MACHINE\\S\\T", 0, {0x80000002u, u"S\\T"_s}, kError},
        {"hkey_current_user\\Software", 4, {}, std::nullopt},
        {"HKEY_CURRENT_USER\\Software\\", 4, {}, std::nullopt},
        {"", 4, {}, std::nullopt},
        {"HKEY_Local_Machine\\S", 0, {0, u"S"_s}, std::nullopt},
        {"HKEY_DYN_DATA", 0, {0x80000006u, {}}, kError},
        {"HKEY_USERS\\a\\\\b", 0, {0x80000003u, u"a\\\\b"_s}, kError},
    };
    for (const auto& row : rows) {
        const QString path = QString::fromLatin1(row.path);
        boxes.Boxes.clear();
        EXPECT_EQ(registry.SplitKeyPath(path), row.parts) << row.path;
        EXPECT_EQ(Get(u"Top"_s, path), row.read) << row.path;
        registry.CreateKey(path);
        registry.SetKeyValue(path, u"Top"_s, u"1"_s);
        const MsgBoxRequest box{u"Incorrect Format:\n\n"_s + path, MsgBoxIcon::None, {}};
        EXPECT_EQ(boxes.Boxes, QList<MsgBoxRequest>(row.boxes, box)) << row.path;
    }
    // Only the well-formed paths with a known root reached the file.
    EXPECT_EQ(KeyFile::Parse(ReadFileBytes(store.Path()))->KeyCount(), 4);
}

TEST_F(RegistryTest, StoredBytesReadBack) {
    const std::pair<QByteArray, Read> rows[] = {
        {QByteArray("  1 \0", 5), u"1 "_s}, // leading spaces go, trailing stay
        {QByteArray("   \0", 4), QString()},
        {QByteArray("\t1\r\n\xe9\0", 6), u"\t1\r\n\u00e9"_s},
        {QByteArray(254, 'q') + '\0', QString(254, QLatin1Char('q'))},
        {QByteArray(255, 'q') + '\0', kError},
        {"abc", u"ab"_s}, // no terminator: the last character is lost
    };
    registry.CreateKey(kKey);
    for (const auto& [stored, read] : rows) {
        ASSERT_TRUE(store.SetValue(0x80000001u, "Software\\Vantorel\\Horlan", "V", stored));
        EXPECT_EQ(Get(u"V"_s), read) << stored.toHex().constData();
    }
    ASSERT_TRUE(store.SetValue(0x80000001u, "Software\\Vantorel\\Horlan", "V", "  "));
    EXPECT_THROW(Get(u"V"_s), RuntimeError);
}

TEST_F(RegistryTest, KeysMustExistToBeWritten) {
    Set(u"Top"_s, u"5"_s);
    EXPECT_EQ(Get(u"Top"_s), kError);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(store.Path()).absolutePath()))
        << "a refused write wrote";
    registry.CreateKey(kKey + u"\\a"_s);
    Set(u"Top"_s, u"5"_s);
    EXPECT_EQ(Get(u"Top"_s), Read(u"5"_s));
    const QByteArray before = ReadFileBytes(store.Path());
    EXPECT_FALSE(QFileInfo::exists(store.Path() + u".lock"_s));
    // What changes nothing takes no lock: a lock that cannot be had stops none of it.
    QDir().mkpath(store.Path() + u".lock"_s);
    EXPECT_TRUE(store.CreateKey(0x80000001u, "SOFTWARE\\vantorel"));
    EXPECT_TRUE(store.SetValue(0x80000001u, "Software\\Vantorel\\Horlan", "top", {"5", 2}));
    registry.SetKeyValue(kKey + u"\\b"_s, u"Top"_s, QString());
    EXPECT_EQ(ReadFileBytes(store.Path()), before);
}

TEST_F(RegistryTest, HandEditedFile) {
    WriteFileBytes(
        store.Path(),
        "\xEF\xBB\xBF; by hand\r\n\r\n  [HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan] \r\n"
        "\t\"Top\"  =  \"  1230\"\t\r\n\"\\xC9t\\xE9\"=\"a\\\\b \\\"c\\\" \\x41\\xe9\"\r\n"
        "\"Raw\" = raw:\"xyz\"\n[hkey_current_user\\software\\VANTOREL\\horlan]\n\"top\"=\"777\"\n"
        "[HKEY_CURRENT_USER\\Odd%25%E9]\n");
    EXPECT_EQ(Get(u"TOP"_s, kKey.toUpper()), Read(u"777"_s));
    EXPECT_EQ(Get(u"\u00e9T\u00c9"_s), Read(u"a\\b \"c\" A\u00e9"_s));
    EXPECT_EQ(Get(u"Raw"_s), Read(u"xy"_s));
    // A change rewrites the file in the program's own spelling and keeps everything; the keys
    // above need no sections of their own.
    registry.SetKeyValue(kKey.toUpper(), u"new"_s, u"2"_s);
    EXPECT_EQ(
        ReadFileBytes(store.Path()),
        QByteArray(
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
        EXPECT_EQ(Get(u"Top"_s, u"HKEY_USERS\\S"_s), kError);
        registry.SetKeyValue(u"HKEY_USERS\\S"_s, u"T"_s, QString());
        EXPECT_EQ(ReadFileBytes(store.Path()), corrupt) << "a read or a refused write touched it";
        registry.CreateKey(kKey);
        WriteFileBytes(store.Path(), "again");
        registry.CreateKey(kKey);
        EXPECT_EQ(ReadFileBytes(store.Path() + u".corrupt"_s), corrupt);
        EXPECT_EQ(ReadFileBytes(store.Path() + u".corrupt.1"_s), QByteArray("again"));
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
         u"7"_s},
        {[](const QString& p) { EXPECT_EQ(mkfifo(QFile::encodeName(p), 0600), 0); }, kError},
        {[](const QString& p) { EXPECT_EQ(mkfifo(QFile::encodeName(p + ".lock"), 0600), 0); },
         kError},
        {[](const QString& p) { QDir().mkpath(p); }, kError},
    };
    for (const auto& [make, read] : rows) {
        QDir(config.Path()).removeRecursively();
        QDir().mkpath(QFileInfo(store.Path()).absolutePath());
        make(store.Path());
        registry.CreateKey(kKey);
        Set(u"L"_s, u"3"_s);
        EXPECT_EQ(Get(u"Top"_s), read);
    }
}

TEST_F(RegistryTest, EveryChangeOfTheBytesIsSeen) {
    // Far past the first blocks read: a changed byte, a shorter file that is the start of the
    // last one, a longer one.
    const QByteArray head = "[HKEY_USERS\\F]\n\"V\"=\"" + QByteArray(200000, 'f') + "\"\n[" +
                            kKey.toLatin1() + "]\n\"Top\"=\"";
    const std::tuple<const char*, QString, Read> rows[] = {
        {"3\"\n\"L\"=\"x\"\n", u"3"_s, u"x"_s},
        {"4\"\n\"L\"=\"x\"\n", u"4"_s, u"x"_s},
        {"4\"\n", u"4"_s, kError},
        {"44\"\n", u"44"_s, kError},
    };
    registry.CreateKey(kKey);
    for (const auto& [tail, top, l] : rows) {
        WriteFileBytes(store.Path(), head + tail);
        EXPECT_EQ(Get(u"Top"_s), top) << tail;
        EXPECT_EQ(Get(u"L"_s), l) << tail;
    }
}

TEST_F(RegistryTest, ADeepPathIsWrittenOnce) {
    QByteArray deep = "[HKEY_USERS";
    for (int i = 0; i < 10000; ++i) {
        deep += "\\k";
    }
    WriteFileBytes(store.Path(), deep + "]\n");
    registry.CreateKey(kKey);
    EXPECT_LT(ReadFileBytes(store.Path()).size(), 2 * deep.size());
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
    std::thread left(writer, u"Left"_s, std::ref(lostLeft));
    writer(u"Top"_s, lostTop);
    left.join();
    EXPECT_EQ(lostLeft + lostTop, 0);
}
