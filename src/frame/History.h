// The folder history behind Back and Forward: two unbounded stacks of folder paths around the current one.
// The main view resets it when a new root is loaded and calls Go for every other navigation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace frame {

class History {
public:
    // Both stacks emptied; the path becomes the current entry.
    void Reset(std::string_view path);
    // A path equal to the current one ignoring letter case changes nothing. Otherwise the forward stack is
    // dropped and the current entry goes onto the back stack.
    void Go(std::string_view path);
    // False, with nothing changed, when the stack in that direction is empty.
    bool Back();
    bool Forward();

    const std::string& Current() const noexcept { return current_; }
    bool BackEmpty() const noexcept { return back_.empty(); }
    bool ForwardEmpty() const noexcept { return forward_.empty(); }

private:
    std::vector<std::string> back_;
    std::vector<std::string> forward_;
    std::string current_;
};

}  // namespace frame
