#include "app/CommandLine.h"

#include "about/ProductInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace horlan {

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

void Describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Sets the computer's clock from a time server (NTP, NTS or the Time Protocol)."));
    // Not Qt's help option: its --help-all would need the window system to list Qt's options.
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Displays help on commandline options.")});
    parser.addVersionOption();
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> AnswerInfoOptions(int argc, char** argv) {
    QCommandLineParser parser;
    Describe(parser);
    parser.parse(Arguments(argc, argv));
    const bool help = parser.isSet(QStringLiteral("help"));
    if (!help && !parser.isSet(QStringLiteral("version"))) {
        return std::nullopt;
    }
    // The usage line names the program as it was started; a core application knows that
    // and needs no window system.
    QCoreApplication core(argc, argv);
    const ProductVersion version = Version();
    Print(stdout, help ? parser.helpText()
                       : QStringLiteral("Horlan %1.%2.%3\n")
                             .arg(version.Major)
                             .arg(version.Minor)
                             .arg(version.Revision));
    return 0;
}

std::optional<int> RefuseUnknownOptions(int argc, char** argv) {
    QCommandLineParser parser;
    Describe(parser);
    if (parser.parse(Arguments(argc, argv))) {
        return std::nullopt;
    }
    Print(stderr, parser.errorText() + QStringLiteral("\n\n") + parser.helpText());
    return 2;
}

} // namespace horlan
