#include "frame/WindowState.h"

#include <charconv>
#include <cstdio>

namespace frame {

std::optional<WindowState> ParseWindowState(std::string_view text) {
    int values[5] = {};
    const char* position = text.data();
    const char* const end = text.data() + text.size();
    for (int& value : values) {
        while (position != end && *position == ' ') ++position;
        const auto [next, error] = std::from_chars(position, end, value);
        if (error != std::errc() || next == position) return std::nullopt;
        position = next;
    }
    while (position != end && *position == ' ') ++position;
    if (position != end) return std::nullopt;
    const WindowState state{{values[0], values[1], values[2], values[3]}, values[4] == 1};
    if (state.rect.Width() <= 0 || state.rect.Height() <= 0) return std::nullopt;
    return state;
}

std::string FormatWindowState(const WindowState& state) {
    const ScreenRect& r = state.rect;
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d %d", r.left, r.top, r.right, r.bottom, state.maximised ? 1 : 0);
    return text;
}

}  // namespace frame
