#include "frame/History.h"

#include "model/AsciiCase.h"

#include <utility>

namespace frame {
namespace {
bool Step(std::vector<std::string>& from, std::vector<std::string>& to, std::string& current) {
    if (from.empty()) return false;
    to.push_back(std::exchange(current, std::move(from.back())));
    from.pop_back();
    return true;
}
}  // namespace

void History::Reset(std::string_view path) {
    back_.clear();
    forward_.clear();
    current_ = path;
}

void History::Go(std::string_view path) {
    if (model::EqualIgnoringAsciiCase(path, current_)) return;
    forward_.clear();
    back_.push_back(std::exchange(current_, std::string(path)));
}

bool History::Back() { return Step(back_, forward_, current_); }

bool History::Forward() { return Step(forward_, back_, current_); }

}  // namespace frame
