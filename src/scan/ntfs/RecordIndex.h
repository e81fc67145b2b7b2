// Records of a file table found by number, for the few worth remembering (folders, extension records,
// records a name gives as its parent...): one open-addressed table, so that a table of millions of files
// keeps nothing per file that is just a file.
//
// Calling protocol: Insert makes or finds an entry; Find finds one or gives null. Insert may move every
// entry (the table doubles at half full), so a pointer or reference from an earlier call is void after it.
// Number kNone cannot be stored. Single-threaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scan::ntfs {

class RecordIndex {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Entry {
        std::uint32_t number = kNone;
        std::uint16_t sequence = 0;
        std::uint16_t flags = 0;
        std::uint32_t folder = kNone;  // the entry's own list of names, if it is a parent (see FileTable)
    };

    Entry* Find(std::uint32_t number) noexcept {
        if (slots_.empty()) return nullptr;
        for (std::size_t i = Home(number);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i].number == number) return &slots_[i];
            if (slots_[i].number == kNone) return nullptr;
        }
    }
    const Entry* Find(std::uint32_t number) const noexcept { return const_cast<RecordIndex*>(this)->Find(number); }

    // The entry of `number`, made empty (sequence 0, flags 0, no folder) when there is none.
    Entry& Insert(std::uint32_t number) {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        for (std::size_t i = Home(number);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i].number == number) return slots_[i];
            if (slots_[i].number == kNone) {
                slots_[i].number = number;
                ++count_;
                return slots_[i];
            }
        }
    }

    template <class Visit>
    void ForEach(Visit visit) {
        for (Entry& entry : slots_)
            if (entry.number != kNone) visit(entry);
    }
    std::size_t size() const noexcept { return count_; }

private:
    std::size_t Home(std::uint32_t number) const noexcept {
        return static_cast<std::size_t>((number * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    void Grow() {
        std::vector<Entry> old;
        old.swap(slots_);
        slots_.resize(old.empty() ? 64 : 2 * old.size());
        shift_ = 64;
        for (std::size_t n = slots_.size(); n > 1; n /= 2) --shift_;
        for (const Entry& entry : old) {
            if (entry.number == kNone) continue;
            std::size_t i = Home(entry.number);
            while (slots_[i].number != kNone) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = entry;
        }
    }

    std::vector<Entry> slots_;  // a power of two in size, at most half in use
    std::size_t count_ = 0;
    unsigned shift_ = 64;
};

}  // namespace scan::ntfs
