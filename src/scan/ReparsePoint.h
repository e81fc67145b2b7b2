// Which reparse points the walk treats as links: listed as empty folders and never entered. Shared by
// every lister that sees reparse tags (the Win32 find data's dwReserved0, the tag of an NTFS record).
//
// Only name surrogates are links: symbolic links, junctions and mount points name another place, so
// entering them counts data twice or loops back to an ancestor. Every other reparse point (cloud
// placeholders, deduplicated, compressed-overlay or virtualised folders) holds the folder's own contents,
// which must be entered or their bytes drop out of every total.
#pragma once

#include <cstdint>

namespace scan {

inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

// The tag's name-surrogate bit (IsReparseTagNameSurrogate).
constexpr bool IsNameSurrogateTag(std::uint32_t reparseTag) noexcept { return (reparseTag & 0x20000000u) != 0; }

// For an entry with file attributes `attributes` and the reparse tag its listing reported: true when it is
// a reparse point that the walk must not enter. A reparse point without a tag (0, which the system never
// gives a real one; Wine lists host symbolic links so) is taken as a link, since it may loop.
constexpr bool IsLinkReparsePoint(std::uint32_t attributes, std::uint32_t reparseTag) noexcept {
    if ((attributes & kAttributeReparsePoint) == 0) return false;
    return reparseTag == 0 || IsNameSurrogateTag(reparseTag);
}

}  // namespace scan
