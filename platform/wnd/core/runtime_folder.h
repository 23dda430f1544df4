#pragma once
// The private folder Qt keeps its runtime files in when the session names none.

#include <string>

// Makes folder (mode 0700) when it is missing; TRUE when it is then a real
// folder of the user's, closed to others. A link (to anything), a file or
// another user's folder is refused and left as it is.
[[nodiscard]] bool AfxMakePrivateFolder(const std::string& folder);
