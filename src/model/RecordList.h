// A folder's list of child records (DirInfo or FileInfo) together with their names, in one block:
//
//     header | records (room for `capacity`) | names in stored form (room for `nameCapacity` bytes)
//
// Read and filled like a std::vector: records are contiguous and in order, and a record stays where it is
// until the list grows past its room, shrinks or is replaced (then pointers into it are void, as with a
// vector). A name sits in the block after the records, at a fixed distance from its record's Name, so a
// list costs one allocation for any number of names and copies or moves as a whole; the empty list holds
// no block at all.
//
// Room: growth doubles the room for records and for names, and a list built entry by entry keeps that
// slack until shrink_to_fit. Builders that know a folder's final figures reserve(count, nameBytes) first
// and so never grow; nameBytes is the sum of Name::StoredSize over the names to come. Unlike a vector's,
// reserve(count) alone does not keep records in place: the first name that finds no room moves them all.
//
// T: a record with a member `Name name`, constructible as T(std::string_view name, ...), and with two
// constructors that take everything but the name: T(CopyAllButName, const T&) and
// T(MoveAllButName, T&) noexcept (the source keeps its name; the list destroys it right after).
#pragma once

#include "model/Name.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace model {

struct CopyAllButName {
    explicit CopyAllButName() = default;
};
struct MoveAllButName {
    explicit MoveAllButName() = default;
};

template <class T>
class RecordList {
public:
    using value_type = T;
    using size_type = std::size_t;
    using iterator = T*;
    using const_iterator = const T*;
    using reverse_iterator = std::reverse_iterator<T*>;
    using const_reverse_iterator = std::reverse_iterator<const T*>;

    RecordList() noexcept = default;
    RecordList(std::initializer_list<T> records) { Assign(records.begin(), records.end()); }
    RecordList(const RecordList& other) { Assign(other.begin(), other.end()); }
    // Takes the records of a vector, for code that gathers them there first.
    RecordList(std::vector<T>&& records) {
        Assign(std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()));
        records.clear();
    }
    RecordList(RecordList&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    // Both assignments accept a list from inside one of this list's own records.
    RecordList& operator=(const RecordList& other) {
        if (this != &other) {
            RecordList copy(other);
            swap(copy);
        }
        return *this;
    }
    RecordList& operator=(RecordList&& other) noexcept {
        if (this != &other) Destroy(std::exchange(block_, std::exchange(other.block_, nullptr)));
        return *this;
    }
    RecordList& operator=(std::initializer_list<T> records) {
        RecordList copy(records);
        swap(copy);
        return *this;
    }
    ~RecordList() { Destroy(block_); }

    void swap(RecordList& other) noexcept { std::swap(block_, other.block_); }

    std::size_t size() const noexcept { return block_ ? block_->size : 0; }
    bool empty() const noexcept { return size() == 0; }
    std::size_t capacity() const noexcept { return block_ ? block_->capacity : 0; }
    // Room for names in stored form, in use or not.
    std::size_t name_capacity() const noexcept { return NameCapacity(); }
    // Bytes the records' names take in stored form (what reserve's nameBytes counts).
    std::size_t name_bytes() const noexcept {
        std::size_t bytes = 0;
        for (const T& record : *this) bytes += Name::StoredSize(record.name.size());
        return bytes;
    }

    T* data() noexcept { return block_ ? Records(block_) : nullptr; }
    const T* data() const noexcept { return block_ ? Records(block_) : nullptr; }
    T* begin() noexcept { return data(); }
    T* end() noexcept { return data() + size(); }
    const T* begin() const noexcept { return data(); }
    const T* end() const noexcept { return data() + size(); }
    reverse_iterator rbegin() noexcept { return reverse_iterator(end()); }
    reverse_iterator rend() noexcept { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const noexcept { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const noexcept { return const_reverse_iterator(begin()); }

    T& operator[](std::size_t index) noexcept { return data()[index]; }
    const T& operator[](std::size_t index) const noexcept { return data()[index]; }
    T& at(std::size_t index) {
        if (index >= size()) throw std::out_of_range("RecordList::at");
        return data()[index];
    }
    const T& at(std::size_t index) const {
        if (index >= size()) throw std::out_of_range("RecordList::at");
        return data()[index];
    }
    T& front() noexcept { return data()[0]; }
    const T& front() const noexcept { return data()[0]; }
    T& back() noexcept { return data()[size() - 1]; }
    const T& back() const noexcept { return data()[size() - 1]; }

    void reserve(std::size_t count) { reserve(count, 0); }
    // Room for `count` records in all whose names take `nameBytes` in all.
    void reserve(std::size_t count, std::size_t nameBytes) {
        if (count > capacity() || nameBytes > NameCapacity())
            Rebuild(std::max(count, capacity()), std::max(nameBytes, NameCapacity()));
    }
    // Drops the room for records and names not in use.
    void shrink_to_fit() {
        if (!block_) return;
        const std::size_t bytes = name_bytes();
        if (block_->capacity != block_->size || block_->nameCapacity != bytes) Rebuild(size(), bytes);
    }

    template <class... Args>
    T& emplace_back(std::string_view name, Args&&... args) {
        return Append(name,
                      [&](void* slot) { return ::new (slot) T(std::string_view{}, std::forward<Args>(args)...); });
    }
    T& emplace_back() {
        return Append({}, [](void* slot) { return ::new (slot) T(); });
    }
    void push_back(const T& record) {
        Append(record.name, [&](void* slot) { return ::new (slot) T(CopyAllButName{}, record); });
    }
    void push_back(T&& record) {
        Append(record.name, [&](void* slot) { return ::new (slot) T(MoveAllButName{}, record); });
    }
    // Takes everything of `record` but its name, and gives it `name` instead.
    void push_back(T&& record, std::string_view name) {
        Append(name, [&](void* slot) { return ::new (slot) T(MoveAllButName{}, record); });
    }

    // Names of removed records stay in the block until it is rebuilt (shrink_to_fit, growth).
    void pop_back() noexcept {
        back().~T();
        --block_->size;
    }
    void clear() noexcept {
        if (!block_) return;
        DestroyRecords(block_);
        block_->size = 0;
        block_->nameBytes = 0;
    }
    void resize(std::size_t count) {
        while (size() > count) pop_back();
        if (count > size()) reserve(count);
        while (size() < count) emplace_back();
    }

    friend bool operator==(const RecordList& a, const RecordList& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    struct Header {
        std::uint32_t size;
        std::uint32_t capacity;
        std::uint32_t nameBytes;  // in use, including those of removed records
        std::uint32_t nameCapacity;
    };
    static_assert(sizeof(Header) % 16 == 0, "records follow the header at the allocation's alignment");

public:
    static constexpr std::size_t kHeaderSize = sizeof(Header);

private:
    static T* Records(Header* block) noexcept { return reinterpret_cast<T*>(block + 1); }
    static unsigned char* Names(Header* block) noexcept {
        return reinterpret_cast<unsigned char*>(Records(block) + block->capacity);
    }
    std::size_t NameCapacity() const noexcept { return block_ ? block_->nameCapacity : 0; }

    static Header* Allocate(std::size_t capacity, std::size_t nameCapacity) {
        static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
        constexpr std::size_t kLimit = 0xFFFFFFFFu;
        if (capacity > kLimit / sizeof(T) || nameCapacity > kLimit) throw std::length_error("RecordList too long");
        auto* block = static_cast<Header*>(::operator new(sizeof(Header) + capacity * sizeof(T) + nameCapacity));
        *block = {0, static_cast<std::uint32_t>(capacity), 0, static_cast<std::uint32_t>(nameCapacity)};
        return block;
    }

    static void DestroyRecords(Header* block) noexcept {
        T* records = Records(block);
        for (std::uint32_t i = 0; i < block->size; ++i) records[i].~T();
    }

    static void Destroy(Header* block) noexcept {
        if (!block) return;
        DestroyRecords(block);
        ::operator delete(block);
    }

    // Moves every record of `from` to the start of `to` (room enough), its name after the names already
    // in `to`; `from` is left holding nothing.
    static void MoveRecords(Header* from, Header* to) noexcept {
        T* source = Records(from);
        T* target = Records(to);
        unsigned char* names = Names(to);
        for (std::uint32_t i = 0; i < from->size; ++i) {
            T* moved = ::new (target + i) T(MoveAllButName{}, source[i]);
            const std::string_view name = source[i].name;
            moved->name.PlaceAt(names + to->nameBytes, name);
            to->nameBytes += static_cast<std::uint32_t>(Name::StoredSize(name.size()));
            source[i].~T();
        }
        to->size = from->size;
        from->size = 0;
    }

    void Rebuild(std::size_t capacity, std::size_t nameCapacity) {
        if (capacity == 0) {
            Destroy(std::exchange(block_, nullptr));
            return;
        }
        Header* rebuilt = Allocate(capacity, nameCapacity);
        if (block_) MoveRecords(block_, rebuilt);
        ::operator delete(std::exchange(block_, rebuilt));
    }

    // Makes a record at the end with `construct` and gives it `name`. Both may come from this very list
    // (push_back(list[0])): when the list must grow, the record is made in the new block first, while the
    // old one is still whole.
    template <class Construct>
    T& Append(std::string_view name, Construct construct) {
        const std::size_t stored = Name::StoredSize(name.size());
        if (block_ && block_->size < block_->capacity && stored <= block_->nameCapacity - block_->nameBytes) {
            T* record = construct(Records(block_) + block_->size);
            record->name.PlaceAt(Names(block_) + block_->nameBytes, name);
            block_->nameBytes += static_cast<std::uint32_t>(stored);
            ++block_->size;
            return *record;
        }
        const std::size_t count = size();
        const std::size_t names = name_bytes();
        const bool namesFull = !block_ || stored > block_->nameCapacity - block_->nameBytes;
        Header* grown = Allocate(count < capacity() ? capacity() : std::max<std::size_t>(4, 2 * count),
                                 namesFull ? std::max<std::size_t>(64, 2 * (names + stored)) : NameCapacity());
        T* record;
        try {
            record = construct(Records(grown) + count);
        } catch (...) {
            ::operator delete(grown);
            throw;
        }
        record->name.PlaceAt(Names(grown) + names, name);
        if (block_) MoveRecords(block_, grown);
        grown->nameBytes = static_cast<std::uint32_t>(names + stored);
        grown->size = static_cast<std::uint32_t>(count + 1);
        ::operator delete(std::exchange(block_, grown));
        return *record;
    }

    template <class It>
    void Assign(It first, It last) {
        std::size_t count = 0, bytes = 0;
        for (It it = first; it != last; ++it, ++count) bytes += Name::StoredSize((*it).name.size());
        reserve(count, bytes);
        for (; first != last; ++first) push_back(*first);
    }

    Header* block_ = nullptr;
};

// Removes the records that `remove` picks, keeping the order of the rest; the list is made anew at the
// size of what is left. Returns how many went.
template <class T, class Predicate>
std::size_t erase_if(RecordList<T>& list, Predicate remove) {
    std::size_t count = 0, bytes = 0;
    for (const T& record : list) {
        if (remove(record)) continue;
        ++count;
        bytes += Name::StoredSize(record.name.size());
    }
    const std::size_t removed = list.size() - count;
    if (removed == 0) return 0;
    RecordList<T> kept;
    kept.reserve(count, bytes);
    for (T& record : list) {
        if (!remove(std::as_const(record))) kept.push_back(std::move(record));
    }
    list.swap(kept);
    return removed;
}

}  // namespace model
