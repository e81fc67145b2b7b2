// How a tree scanned on a POSIX system is named so that Kelvaran, whose paths are Windows paths, shows it
// and finds its folders: the root record is named after the machine and the path, "srv01:\srv\data" for
// /srv/data on srv01 ("srv01:" for /), as a drive root is named "C:"; and names holding a backslash,
// which Windows never lists but POSIX allows, show it as the full-width reverse solidus U+FF3C, since a
// real backslash would split the name in every path composed from it. Pure functions; portable.
#pragma once

#include "model/DirInfo.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace headless {

// U+FF3C in UTF-8: looks like a backslash, and is an ordinary character in a Windows name.
inline constexpr std::string_view kBackslashStandIn = "\xEF\xBC\xBC";

// The absolute, lexically normal form of `path`: a relative path is taken below `currentFolder` (itself
// absolute); empty, "." and ".." components are applied to the text (".." at / stays at /); no trailing
// slash except for "/" itself.
std::string AbsolutePosixPath(std::string_view currentFolder, std::string_view path);

// The root record's name for the absolute, normal folder path `path` on the machine `host` (empty:
// "localhost"): host, ":", then each component after a backslash; backslashes inside components take the
// stand-in.
std::string PosixRootName(std::string_view host, std::string_view path);

// `name` with every backslash replaced by the stand-in, in `replaced`; false (and `replaced` untouched)
// when it holds none.
bool StandInForBackslashes(std::string_view name, std::string& replaced);

// Replaces every backslash in the names of the folders and files below `root` (not the root's own name)
// by the stand-in; returns how many names changed.
std::size_t ReplaceBackslashesInNames(model::DirInfo& root);

}  // namespace headless
