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
    const ScreenRect& r = state.rect;
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d %d", r.left, r.top, r.right, r.bottom, state.maximised ? 1 : 0);
    return text;
}

ScreenRect FitIntoArea(ScreenRect rect, const ScreenRect& area) {
    if (area.Width() <= 0 || area.Height() <= 0) return rect;
    const int width = std::min(rect.Width(), area.Width());
    const int height = std::min(rect.Height(), area.Height());
    rect.left = std::clamp(rect.left, area.left, area.right - width);
    rect.top = std::clamp(rect.top, area.top, area.bottom - height);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    return rect;
}

bool TitleBarShown(const ScreenRect& rect, const std::vector<ScreenRect>& workAreas, int captionHeight) {
    const int height = std::max(captionHeight, 1);
    const int wanted = std::min(rect.Width(), 4 * height);
    for (const ScreenRect& area : workAreas) {
        const int width = std::min(rect.right, area.right) - std::max(rect.left, area.left);
        const int shown = std::min(rect.top + height, area.bottom) - std::max(rect.top, area.top);
        if (width >= wanted && 2 * shown >= height) return true;
    }
    return false;
}

ScreenRect PlaceRememberedRect(const ScreenRect& rect, const std::vector<ScreenRect>& workAreas,
                               const ScreenRect& nearest, int captionHeight) {
    return TitleBarShown(rect, workAreas, captionHeight) ? rect : FitIntoArea(rect, nearest);
}

}  // namespace frame
