// The name of a tree record (DirInfo, FileInfo): UTF-8 bytes that read like a std::string_view, kept in
// four bytes.
//
// Where the bytes are: a record inside a RecordList has its name stored in the list's own block, at a fixed
// distance after the name itself, so the block moves and copies as a whole without touching the names. A
// record on its own (a tree's root, a FileInfo built in a test) has its bytes in a process-wide pool
// instead. Copying or moving a Name yields a record of its own, so a name never outlives its bytes; the
// list puts the bytes of every record it takes into its block.
//
// Threads: like std::string. Names may be created, read and destroyed on any thread; one Name is not
// changed by one thread while another uses it.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace model {

template <class T>
class RecordList;

class Name {
public:
    Name() noexcept = default;
    explicit Name(std::string_view text);
    Name(const Name& other) : Name(other.view()) {}
    // Takes over a name of its own; copies one kept in a list (the list may go before this name does).
    // Exhausted memory ends the program (OutOfMemory.h), so the copy may be noexcept.
    Name(Name&& other) noexcept;
    Name& operator=(const Name& other);
    Name& operator=(Name&& other) noexcept;
    Name& operator=(std::string_view text);
    ~Name() { Release(); }

    std::string_view view() const noexcept {
        if (word_ == 0) return {};
        const unsigned char* stored = Stored();
        std::uint32_t length = stored[0];
        if (length != kLongLength) return {reinterpret_cast<const char*>(stored + 1), length};
        length = stored[1] | (stored[2] << 8) | (stored[3] << 16) | (std::uint32_t{stored[4]} << 24);
        return {reinterpret_cast<const char*>(stored + 5), length};
    }
    operator std::string_view() const noexcept { return view(); }
    // A copy, for the callers that keep or pass names as std::string.
    operator std::string() const { return str(); }
    std::string str() const { return std::string(view()); }

    std::size_t size() const noexcept { return view().size(); }
    bool empty() const noexcept { return word_ == 0; }
    const char* data() const noexcept { return view().data(); }
    const char* begin() const noexcept { return data(); }
    const char* end() const noexcept { return begin() + size(); }
    char operator[](std::size_t index) const noexcept { return view()[index]; }

    friend bool operator==(const Name& a, const Name& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const Name& a, std::string_view b) noexcept { return a.view() == b; }
    friend std::strong_ordering operator<=>(const Name& a, const Name& b) noexcept { return a.view() <=> b.view(); }
    friend std::strong_ordering operator<=>(const Name& a, std::string_view b) noexcept { return a.view() <=> b; }
    friend std::ostream& operator<<(std::ostream& out, const Name& name);
    // Composing text reads as with std::string.
    friend std::string operator+(const Name& a, std::string_view b) { return Joined(a.view(), b); }
    friend std::string operator+(std::string_view a, const Name& b) { return Joined(a, b.view()); }
    friend std::string operator+(const Name& a, const Name& b) { return Joined(a.view(), b.view()); }
    friend std::string operator+(const Name& a, char b) { return Joined(a.view(), std::string_view(&b, 1)); }
    friend std::string operator+(char a, const Name& b) { return Joined(std::string_view(&a, 1), b.view()); }

    // Bytes a name of `length` takes in a list's block (a length byte, or 0xFF and four bytes, then the text).
    static constexpr std::size_t StoredSize(std::size_t length) noexcept {
        return length == 0 ? 0 : length < kLongLength ? 1 + length : 5 + length;
    }

private:
    template <class T>
    friend class RecordList;

    static constexpr std::uint32_t kLongLength = 0xFF;
    // word_: 0 for the empty name; with this bit, the index of the bytes in the pool; without it, the
    // distance in bytes from this object forward to its stored bytes.
    static constexpr std::uint32_t kPooled = 0x80000000u;

    const unsigned char* Stored() const noexcept {
        if (word_ & kPooled) return PooledBytes(word_ & ~kPooled);
        return reinterpret_cast<const unsigned char*>(this) + word_;
    }
    static const unsigned char* PooledBytes(std::uint32_t index) noexcept;
    static std::string Joined(std::string_view a, std::string_view b) {
        std::string text;
        text.reserve(a.size() + b.size());
        return text.append(a).append(b);
    }
    void Release() noexcept;

    // For RecordList, on an empty name: writes `text` in stored form at `at` (StoredSize(text.size())
    // bytes, after this object) and refers to it there, or keeps it in the pool when `at` is too far away.
    void PlaceAt(unsigned char* at, std::string_view text);

    std::uint32_t word_ = 0;
};

}  // namespace model
