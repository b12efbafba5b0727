// Every start and every close of the window reads the whole settings file, which a hostile or
// careless hand can make large. This measures reading and parsing it, as the key store does,
// against the floor of reading the same file line by line with QFile::readLine, at 1,000 and
// 100,000 sections, and prints the ratio for each size; the last line is the larger ratio.
#include "runtime/RegularFile.h"
#include "storage/KeyFile.h"

#include <QFile>
#include <QTemporaryDir>

#include "MedianReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

// A settings file of `sections` keys below the program's key, each with one string value.
QString SettingsFile(int sections) {
    const QString path = Folder().filePath(QStringLiteral("registry-%1.reg").arg(sections));
    if (QFile::exists(path)) {
        return path;
    }
    horlan::KeyFile content;
    const QByteArray key("HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan\\");
    for (int i = 0; i < sections; ++i) {
        const QByteArray name = key + "Server " + QByteArray::number(i);
        content.AddKey(name);
        content.SetValue(name, "LastServer", QByteArray::number(i % 14) + '\0');
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content.ToBytes()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    return path;
}

void Parse(benchmark::State& state) {
    const QString path = SettingsFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto parsed = horlan::KeyFile::Parse(horlan::ReadRegularFile(path).Bytes);
        if (!parsed || parsed->KeyCount() < state.range(0)) {
            state.SkipWithError("the file did not parse");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void ReadLines(benchmark::State& state) {
    const QString path = SettingsFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the file");
            break;
        }
        qsizetype lines = 0;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine();
            lines += !line.isEmpty();
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

} // namespace

int main(int argc, char** argv) {
    const int sizes[] = {1000, 100000};
    for (const int sections : sizes) {
        benchmark::RegisterBenchmark("Parse", Parse)
            ->Arg(sections)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark("ReadLines", ReadLines)
            ->Arg(sections)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    double worst = 0;
    for (const int sections : sizes) {
        const std::string arg = std::to_string(sections);
        const double parse = reporter.medians["Parse/" + arg];
        const double floor = reporter.medians["ReadLines/" + arg];
        if (parse <= 0 || floor <= 0) {
            std::printf("ratio unavailable\n");
            return 1;
        }
        std::printf("%d sections: parse %.3f ms, readLine floor %.3f ms, ratio %.2f\n", sections,
                    parse, floor, parse / floor);
        worst = std::max(worst, parse / floor);
    }
    std::printf("ratio %.2f\n", worst);
    return 0;
}
