#pragma once

// Toolbar and window icons, drawn rather than shipped as bitmaps so they stay
// sharp at any scale.

#include <QIcon>
#include <QImage>

#include <string_view>

namespace veskar {

[[nodiscard]] QIcon ToolbarIcon(std::string_view name);
[[nodiscard]] QIcon ApplicationIcon();
// The application icon drawn at `size` pixels square; needs no display.
[[nodiscard]] QImage ApplicationIconImage(int size);

} // namespace veskar
