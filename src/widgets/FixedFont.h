#pragma once

#include <QFont>

namespace veskar {

// The fixed-pitch font of the table windows: "Courier New" where it is
// installed, else the system's fixed-pitch font, at `points`.
[[nodiscard]] QFont FixedFont(int points);

} // namespace veskar
