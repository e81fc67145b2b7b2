// The colours of file types, shared by the pie's type colouring, its highlight and the file types list:
// the 12 types with the most bytes in the whole tree take 12 distinct colours, largest first, and every
// other type one neutral colour. Ties in bytes go by the type's text, so a tree always gets the same
// colours whatever folder is shown. Portable.
//
//   pie::TypeColours colours = pie::TypeColours::OfTree(root);   // one pass over the tree
//   colours.OfName("clip.MKV");  colours.OfType("mkv");  colours.RankOf("mkv");   // 0..11, or -1
//
// Folders under type colouring keep their size-encoded shades, paler (Paler); while a type is highlighted
// everything but its files is faded toward white (Faded), so that no faded colour can be taken for a type's.
#pragma once

#include "fw/Colour.h"
#include "model/FileTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace pie {

inline constexpr int kTypeColourCount = 12;
// The colour of every type beyond the 12.
inline constexpr fw::Colour kOtherTypesColour = fw::MakeColour(150, 150, 150);

// The colour of the type ranked `rank` (0 the largest); kOtherTypesColour outside 0..11.
fw::Colour TypeColourAt(int rank) noexcept;

// Half way to white.
fw::Colour Paler(fw::Colour colour) noexcept;
// Three quarters of the way to white: every channel 191 or more.
fw::Colour Faded(fw::Colour colour) noexcept;

class TypeColours {
public:
    TypeColours() = default;  // no types known: every type is neutral
    // From the table of the whole tree.
    explicit TypeColours(const model::TypeTable& wholeTree);
    static TypeColours OfTree(const model::DirInfo& root);

    // 0..11 for the coloured types (lower-cased), -1 for every other.
    int RankOf(std::string_view type) const noexcept;
    fw::Colour OfType(std::string_view type) const noexcept { return TypeColourAt(RankOf(type)); }
    // The colour of a file by its name.
    fw::Colour OfName(std::string_view fileName) const;
    // The coloured types, largest first.
    const std::vector<std::string>& Ranked() const noexcept { return ranked_; }

    friend bool operator==(const TypeColours&, const TypeColours&) = default;

private:
    std::vector<std::string> ranked_;
};

}  // namespace pie
