#pragma once

#include <optional>

namespace horlan {

// Checked first, before Qt reads plugin paths and the like from the environment: started by
// a user other than root from an executable that grants privileges of its own (setuid,
// setgid, file capabilities), the program would run code its caller names. It refuses with
// one line on stderr. Returns the exit code when the program ends here.
std::optional<int> RefusePrivilegedStart();

} // namespace horlan
