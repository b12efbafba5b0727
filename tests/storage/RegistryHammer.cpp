// Writes one value of the program's key over and over, checking before each write that its
// own previous write is still there: run two at once on one settings file to catch a lost
// update or a torn file. Arguments: settings file, value name, count. Exit 0 when all held.
#include "storage/FileKeyStore.h"
#include "storage/Registry.h"

#include <QString>

#include <cstdio>

namespace {

class NoBoxes : public horlan::MsgBox {
public:
    void Show(const horlan::MsgBoxRequest& request) override {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(request.Prompt));
        ++Count;
    }
    int Count = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s file name count\n", argv[0]);
        return 2;
    }
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan");
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    horlan::FileKeyStore store(QString::fromLocal8Bit(argv[1]));
    NoBoxes boxes;
    horlan::Registry registry(store, boxes);
    registry.CreateKey(key);
    for (int i = 1; i <= count; ++i) {
        const auto before = registry.GetKeyValue(key, name);
        const QString expected = i == 1 ? QStringLiteral("Error") : QString::number(i - 1);
        if (before != expected) {
            std::fprintf(stderr, "%s: write %d found \"%s\", expected \"%s\"\n", argv[2], i,
                         before ? qPrintable(*before) : "<empty>", qPrintable(expected));
            return 1;
        }
        registry.SetKeyValue(key, name, QString::number(i));
    }
    return boxes.Count == 0 ? 0 : 1;
}
