#pragma once

// The table windows (users, directories, summary) size themselves to the
// screen: narrow screens get the narrow window and the small font.

namespace veskar {

inline constexpr int kNarrowScreenBelow = 800;

struct ScreenFit {
    int width;  // of the window, in pixels
    int points; // of its fixed-pitch font
};

[[nodiscard]] constexpr ScreenFit FitToScreen(int screenWidth)
{
    return screenWidth < kNarrowScreenBelow ? ScreenFit{620, 8} : ScreenFit{720, 10};
}

// Centred; a screen narrower than the window puts it at the left edge.
[[nodiscard]] constexpr int CentredLeft(int screenWidth, int width)
{
    return screenWidth > width ? (screenWidth - width) / 2 : 0;
}

} // namespace veskar
