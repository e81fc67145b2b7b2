// Naming POSIX trees for the program (see PosixNames.h).
#include "headless/PosixNames.h"

#include <vector>

namespace headless {
namespace {

bool ReplaceBackslashes(model::Name& name) {
    std::string replaced;
    if (!StandInForBackslashes(name, replaced)) return false;
    name = replaced;
    return true;
}

}  // namespace

std::string AbsolutePosixPath(std::string_view currentFolder, std::string_view path) {
    std::string joined;
    if (!path.starts_with('/')) (joined = currentFolder) += '/';
    joined += path;
    std::vector<std::string_view> parts;
    const std::string_view text = joined;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('/', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view part = text.substr(begin, end - begin);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        begin = end + 1;
    }
    if (parts.empty()) return "/";
    std::string normal;
    for (std::string_view part : parts) (normal += '/') += part;
    return normal;
}

std::string PosixRootName(std::string_view host, std::string_view path) {
    std::string name = host.empty() ? std::string("localhost") : std::string(host);
    name += ':';
    std::string rest;
    for (char c : path) {
        if (c == '/')
            rest += '\\';
        else if (c == '\\')
            rest += kBackslashStandIn;
        else
            rest += c;
    }
    if (!rest.empty() && rest.back() == '\\') rest.pop_back();  // "/" names the machine's root: "host:"
    return name + rest;
}

bool StandInForBackslashes(std::string_view name, std::string& replaced) {
    if (name.find('\\') == std::string_view::npos) return false;
    replaced.clear();
    replaced.reserve(name.size() + 4);
    for (char c : name) {
        if (c == '\\')
            replaced += kBackslashStandIn;
        else
            replaced += c;
    }
    return true;
}

std::size_t ReplaceBackslashesInNames(model::DirInfo& root) {
    std::size_t changed = 0;
    std::vector<model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        for (model::FileInfo& file : dir->files) changed += ReplaceBackslashes(file.name);
        for (model::DirInfo& sub : dir->subdirs) {
            changed += ReplaceBackslashes(sub.name);
            stack.push_back(&sub);
        }
    }
    return changed;
}

}  // namespace headless
