#include "frame/History.h"

#include <utility>

namespace frame {
namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Step(std::vector<std::string>& from, std::vector<std::string>& to, std::string& current) {
    if (from.empty()) return false;
    to.push_back(std::exchange(current, std::move(from.back())));
    from.pop_back();
    return true;
}
}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

void History::Reset(std::string_view path) {
    back_.clear();
    forward_.clear();
    current_ = path;
}

void History::Go(std::string_view path) {
    if (EqualIgnoringCase(path, current_)) return;
    forward_.clear();
    back_.push_back(std::exchange(current_, std::string(path)));
}

bool History::Back() { return Step(back_, forward_, current_); }

bool History::Forward() { return Step(forward_, back_, current_); }

}  // namespace frame
