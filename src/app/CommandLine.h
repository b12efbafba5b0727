#pragma once

#include <optional>

namespace horlan {

// The command line is read twice. Before the application exists, --help and --version are
// answered, so they work without a display. Returns the exit code when the program ends here.
std::optional<int> AnswerInfoOptions(int argc, char** argv);

// After QApplication has taken its own options (-platform, -style...): an option left over
// that Horlan does not know prints the usage to stderr and ends the program with code 2.
std::optional<int> RefuseUnknownOptions(int argc, char** argv);

} // namespace horlan
