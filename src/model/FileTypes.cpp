#include "model/FileTypes.h"

#include "model/SizeText.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>

namespace model {

namespace {
// The position of the last dot, npos for none. Every file's name is searched, most of them without a dot,
// so eight bytes are tested at once: a byte of x is zero exactly where a byte of the word is a dot, and the
// sum below sets the high bit of every byte of x that is not zero, with no carry between bytes.
std::size_t LastDot(std::string_view text) noexcept {
    std::size_t end = text.size();
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kDots = 0x2E2E2E2E2E2E2E2Eull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
        while (end >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + end - 8, 8);
            const std::uint64_t x = word ^ kDots;
            const std::uint64_t dots = ~(((x & kLow7) + kLow7) | x | kLow7);
            if (dots != 0) return end - 8 + static_cast<std::size_t>((63 - std::countl_zero(dots)) / 8);
            end -= 8;
        }
    }
    while (end > 0)
        if (text[--end] == '.') return end;
    return std::string_view::npos;
}
}  // namespace

std::string_view RawExtension(std::string_view name) noexcept {
    const std::size_t dot = LastDot(name);
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return {};
    return name.substr(dot + 1);
}

std::string_view FoldTypeCase(std::string_view text, char* out) noexcept {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : static_cast<char>(c);
            continue;
        }
        const auto next = i + 1 < n ? static_cast<unsigned char>(text[i + 1]) : 0u;
        unsigned lead = c, trail = next;
        if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
            trail = next + 0x20;  // Latin-1 capitals U+00C0..U+00DE, but the multiplication sign
        } else if (c == 0xCE && next >= 0x91 && next <= 0x9F) {
            trail = next + 0x20;  // Greek U+0391..U+039F
        } else if (c == 0xCE && next >= 0xA0 && next <= 0xA9 && next != 0xA2) {
            lead = 0xCF;  // Greek U+03A0..U+03A9 fold into the next block
            trail = next - 0x20;
        } else if (c == 0xD0 && next >= 0x90 && next <= 0x9F) {
            trail = next + 0x20;  // Cyrillic U+0410..U+041F
        } else if (c == 0xD0 && next >= 0xA0 && next <= 0xAF) {
            lead = 0xD1;  // Cyrillic U+0420..U+042F
            trail = next - 0x20;
        } else if (c == 0xD0 && next >= 0x80 && next <= 0x8F) {
            lead = 0xD1;  // Cyrillic U+0400..U+040F
            trail = next + 0x10;
        } else {
            out[i] = static_cast<char>(c);
            continue;
        }
        out[i] = static_cast<char>(lead);
        out[i + 1] = static_cast<char>(trail);
        ++i;
    }
    return {out, n};
}

std::string FileTypeOf(std::string_view name) {
    const std::string_view raw = RawExtension(name);
    std::string type(raw.size(), '\0');
    FoldTypeCase(raw, type.data());
    return type;
}

std::string ShareText(std::uint64_t part, std::uint64_t whole) {
    const double percent = whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", percent);
    return text;
}

std::string TypeTotalsText(std::string_view type, const TypeTotals& totals) {
    return "Type " + TypeDisplayName(type) + ": " + FormatSize(totals.bytes) + " in " + FormatCount(totals.files) +
           (totals.files == 1 ? " file" : " files");
}

std::string TypeDisplayName(std::string_view type) { return std::string(type.empty() ? kNoExtension : type); }

namespace {
// Folds an extension into a buffer on the stack; only an extension longer than any the file systems
// allow goes to the heap.
class FoldedType {
public:
    explicit FoldedType(std::string_view raw) {
        if (raw.size() <= sizeof small_) {
            view_ = FoldTypeCase(raw, small_);
        } else {
            large_.resize(raw.size());
            view_ = FoldTypeCase(raw, large_.data());
        }
    }
    std::string_view View() const noexcept { return view_; }

private:
    char small_[1024];
    std::string large_;
    std::string_view view_;
};
}  // namespace

bool HasType(std::string_view name, std::string_view type) {
    const std::string_view raw = RawExtension(name);
    return raw.size() == type.size() && FoldedType(raw).View() == type;
}

namespace {
// FNV-1a (short texts, one multiplication a byte), its bits then spread so that the low ones, which pick
// the slot, depend on every byte.
std::uint64_t HashOf(std::string_view text) noexcept {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    hash ^= hash >> 32;
    hash *= 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

// The high half of the hash: what the table's slots keep of it.
std::uint32_t TagOf(std::string_view folded) noexcept { return static_cast<std::uint32_t>(HashOf(folded) >> 32); }

void Prefetch(const void* address) noexcept {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}
}  // namespace

std::uint32_t TypeTable::Lookup(std::string_view folded, std::uint32_t tag, std::size_t& slot) const noexcept {
    // Other types' slots are passed on their tags, without reading their entries.
    const std::size_t mask = slots_.size() - 1;
    for (slot = tag >> (32 - slotBits_);; slot = (slot + 1) & mask) {
        const std::uint64_t held = slots_[slot];
        if (held == 0) return kNone;
        if (static_cast<std::uint32_t>(held >> 32) != tag) continue;
        const auto index = static_cast<std::uint32_t>(held) - 1;
        const Entry& entry = At(index);
        if (std::string_view(texts_.data() + entry.offset, entry.length) == folded) return index;
    }
}

void TypeTable::Grow() {
    const unsigned bits = slots_.empty() ? kFirstBlockBits : slotBits_ + 1;
    std::vector<std::uint64_t> slots(std::size_t{1} << bits, 0);
    const std::size_t mask = slots.size() - 1;
    for (const std::uint64_t held : slots_) {
        if (held == 0) continue;
        std::size_t slot = static_cast<std::uint32_t>(held >> 32) >> (32 - bits);
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = held;
    }
    slots_.swap(slots);
    slotBits_ = bits;
}

std::uint32_t TypeTable::Append(std::string_view folded) {
    const std::uint32_t index = count_;
    const std::uint64_t shifted = std::uint64_t{index} + (1u << kFirstBlockBits);
    const unsigned block = static_cast<unsigned>(std::bit_width(shifted)) - 1 - kFirstBlockBits;
    if (block == blocks_.size())
        blocks_.push_back(std::make_unique_for_overwrite<Entry[]>(std::size_t{1} << (block + kFirstBlockBits)));
    At(index) = {static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(folded.size()), 0, 0, 0};
    texts_.insert(texts_.end(), folded.begin(), folded.end());
    ++count_;
    return index;
}

std::uint32_t TypeTable::IndexOf(std::string_view raw) {
    if (lastIndex_ != kNone && raw == std::string_view(lastRaw_.data(), lastRawSize_)) return lastIndex_;
    const FoldedType folded(raw);
    return IndexOf(raw, folded.View(), TagOf(folded.View()));
}

std::uint32_t TypeTable::IndexOf(std::string_view raw, std::string_view folded, std::uint32_t tag) {
    // At most two thirds full, so that a search soon ends at an empty slot.
    if ((std::size_t{count_} + 1) * 3 > slots_.size() * 2) Grow();
    std::size_t slot = 0;
    std::uint32_t index = Lookup(folded, tag, slot);
    if (index == kNone) {
        index = Append(folded);
        slots_[slot] = (std::uint64_t{tag} << 32) | (std::uint64_t{index} + 1);
    }
    if (raw.size() <= lastRaw_.size()) {
        std::copy(raw.begin(), raw.end(), lastRaw_.begin());
        lastRawSize_ = raw.size();
        lastIndex_ = index;
    } else {
        lastIndex_ = kNone;
    }
    return index;
}

void TypeTable::AddTo(std::uint32_t index, std::uint64_t size) noexcept {
    Entry& entry = At(index);
    const std::uint64_t allocated = AllocatedSize(size, clusterSize_);
    entry.bytes += size;
    entry.allocated += allocated;
    ++entry.files;
    total_.bytes += size;
    total_.allocated += allocated;
    ++total_.files;
}

void TypeTable::Add(const FileInfo& file) { AddTo(IndexOf(RawExtension(file.name)), file.size); }

void TypeTable::AddFiles(const FileInfo* files, std::size_t count) {
    // A type's slot is mostly far from the last one's and not in the cache: the files go in groups whose
    // extensions are found, folded and hashed first and their slots fetched, so that the waits overlap.
    constexpr std::size_t kGroup = 8, kLongest = 48;
    std::string_view raw[kGroup];
    char folded[kGroup][kLongest];
    std::uint32_t tag[kGroup];
    bool hashed[kGroup];
    for (std::size_t begin = 0; begin < count; begin += kGroup) {
        const std::size_t n = std::min(kGroup, count - begin);
        for (std::size_t k = 0; k < n; ++k) {
            raw[k] = RawExtension(files[begin + k].name);
            const std::string_view before =
                k > 0 ? raw[k - 1] : std::string_view(lastRaw_.data(), lastIndex_ == kNone ? 0 : lastRawSize_);
            // The same extension as the file before is found without a search; a long one the usual way.
            hashed[k] = raw[k].size() <= kLongest && !(raw[k] == before && (k > 0 || lastIndex_ != kNone));
            if (!hashed[k]) continue;
            tag[k] = TagOf(FoldTypeCase(raw[k], folded[k]));
            if (!slots_.empty()) Prefetch(&slots_[tag[k] >> (32 - slotBits_)]);
        }
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint32_t index =
                hashed[k] ? IndexOf(raw[k], std::string_view(folded[k], raw[k].size()), tag[k]) : IndexOf(raw[k]);
            AddTo(index, files[begin + k].size);
        }
    }
}

void TypeTable::AddFiles(const DirInfo& folder) { AddFiles(folder.files.data(), folder.files.size()); }

std::vector<FileType> TypeTable::Types() const {
    std::vector<FileType> types;
    types.reserve(count_);
    ForEachType([&types](const FileType& type) { types.push_back(type); });
    return types;
}

std::optional<std::uint32_t> TypeTable::IndexOfType(std::string_view type) const noexcept {
    if (slots_.empty()) return std::nullopt;
    std::size_t slot = 0;
    const std::uint32_t index = Lookup(type, TagOf(type), slot);
    if (index == kNone) return std::nullopt;
    return index;
}

std::optional<FileType> TypeTable::Find(std::string_view type) const {
    const std::optional<std::uint32_t> index = IndexOfType(type);
    if (!index) return std::nullopt;
    return TypeAt(*index);
}

TypeTableWalk::TypeTableWalk(const DirInfo& start, bool recurse, std::uint32_t clusterSize)
    : table_(clusterSize), recurse_(recurse),
      filesInScope_(recurse ? start.deepFiles : start.files.size()), pending_{&start} {}

bool TypeTableWalk::Step(std::size_t files) {
    std::size_t left = std::max<std::size_t>(files, 1);
    while (left > 0) {
        if (!current_) {
            if (pending_.empty()) return true;
            current_ = pending_.back();
            pending_.pop_back();
            nextFile_ = 0;
            if (recurse_)
                for (const DirInfo& sub : current_->subdirs) pending_.push_back(&sub);
        }
        const std::size_t count = current_->files.size();
        const std::size_t take = std::min(left, count - nextFile_);
        table_.AddFiles(current_->files.data() + nextFile_, take);
        nextFile_ += take;
        left -= take;
        if (nextFile_ == count) {
            current_ = nullptr;
            // An empty folder costs a step too, so that a tree of empty folders still ends in slices.
            if (count == 0) --left;
        }
    }
    return Done();
}

TypeTable ComputeTypeTable(const DirInfo& start, bool recurse, std::uint32_t clusterSize) {
    TypeTableWalk walk(start, recurse, clusterSize);
    walk.Step(std::numeric_limits<std::size_t>::max());
    return walk.TakeTable();
}

TypeTotals TotalsOfType(const DirInfo& start, std::string_view type, std::uint32_t clusterSize) {
    TypeTotals totals;
    std::vector<const DirInfo*> pending{&start};
    while (!pending.empty()) {
        const DirInfo* dir = pending.back();
        pending.pop_back();
        for (const FileInfo& file : dir->files)
            if (HasType(file.name, type)) totals.Add(file.size, clusterSize);
        for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
    return totals;
}

}  // namespace model
