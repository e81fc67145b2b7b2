#include "frame/WindowState.h"

#include <algorithm>
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
    const fw::Rect& r = state.rect;
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d %d", r.left, r.top, r.right, r.bottom, state.maximised ? 1 : 0);
    return text;
}

bool TitleBarShown(const fw::Rect& rect, const std::vector<fw::Rect>& workAreas, int captionHeight) {
    const int height = std::max(captionHeight, 1);
    const int wanted = std::min(rect.Width(), 4 * height);
    for (const fw::Rect& area : workAreas) {
        const int width = std::min(rect.right, area.right) - std::max(rect.left, area.left);
        const int shown = std::min(rect.top + height, area.bottom) - std::max(rect.top, area.top);
        if (width >= wanted && 2 * shown >= height) return true;
    }
    return false;
}

fw::Rect PlaceRememberedRect(const fw::Rect& rect, const std::vector<fw::Rect>& workAreas, const fw::Rect& nearest,
                             int captionHeight) {
    if (TitleBarShown(rect, workAreas, captionHeight)) return rect;
    return fw::PullIntoArea(rect, nearest, fw::Oversize::Shrink);
}

}  // namespace frame
