// Where names live: written into a list's block, or kept in the pool for records on their own.
#include "model/Name.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <utility>
#include <vector>

namespace model {
namespace {

// Names are short: copied inline, since a library call per name costs more than the copy (markedly so with
// some C runtimes).
void CopyShort(unsigned char* to, const char* from, std::size_t count) noexcept {
    if (count > 64) {
        std::memcpy(to, from, count);
        return;
    }
    if (count >= 8) {
        // Whole words, the last one overlapping the one before.
        for (std::size_t done = 0; done + 8 < count; done += 8) std::memcpy(to + done, from + done, 8);
        std::memcpy(to + count - 8, from + count - 8, 8);
        return;
    }
    if (count >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + count - 4, from + count - 4, 4);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) to[i] = static_cast<unsigned char>(from[i]);
}

void WriteStored(unsigned char* at, std::string_view text) noexcept {
    const auto length = static_cast<std::uint32_t>(text.size());
    if (length < 0xFF) {
        *at++ = static_cast<unsigned char>(length);
    } else {
        *at++ = 0xFF;
        for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<unsigned char>(length >> shift);
    }
    CopyShort(at, text.data(), text.size());
}

// The stored bytes of names that are not in a list, by index. Readers take no lock: slots sit in chunks
// that never move, and a full table of chunks is replaced by a larger copy, never changed in size, with the
// old ones kept for readers that still hold them. A name is read only by threads that were handed it
// after it was made, so they see its slot.
class Pool {
public:
    static Pool& Instance() {
        static Pool* const pool = new Pool;  // never destroyed: static records may outlive any other object
        return *pool;
    }

    std::uint32_t Add(std::string_view text) {
        if (text.size() > 0xFFFFFFFFu) throw std::bad_alloc();
        auto* bytes = static_cast<unsigned char*>(::operator new(Name::StoredSize(text.size())));
        WriteStored(bytes, text);
        std::lock_guard lock(mutex_);
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            if (next_ == kMaxNames) {
                ::operator delete(bytes);
                throw std::bad_alloc();
            }
            index = next_++;
            MakeChunkFor(index);
        }
        tables_.back()->chunks[index >> kChunkBits][index & kChunkMask] = bytes;
        return index;
    }

    void Remove(std::uint32_t index) noexcept {
        unsigned char* bytes;
        {
            std::lock_guard lock(mutex_);
            unsigned char*& slot = tables_.back()->chunks[index >> kChunkBits][index & kChunkMask];
            bytes = slot;
            slot = nullptr;
            free_.push_back(index);
        }
        ::operator delete(bytes);
    }

    const unsigned char* Bytes(std::uint32_t index) const noexcept {
        return current_.load(std::memory_order_acquire)->chunks[index >> kChunkBits][index & kChunkMask];
    }

private:
    static constexpr unsigned kChunkBits = 10;
    static constexpr std::uint32_t kChunkMask = (1u << kChunkBits) - 1;
    static constexpr std::uint32_t kMaxNames = 0x80000000u;

    struct Table {
        std::vector<unsigned char**> chunks;  // never resized once published
    };

    Pool() {
        tables_.push_back(std::make_unique<Table>());
        tables_.back()->chunks.resize(16);
        current_.store(tables_.back().get(), std::memory_order_release);
    }

    void MakeChunkFor(std::uint32_t index) {
        const std::size_t chunk = index >> kChunkBits;
        Table* table = tables_.back().get();
        if (chunk >= table->chunks.size()) {
            auto larger = std::make_unique<Table>();
            larger->chunks = table->chunks;
            larger->chunks.resize(2 * table->chunks.size());
            table = larger.get();
            tables_.push_back(std::move(larger));
        }
        if (!table->chunks[chunk]) table->chunks[chunk] = new unsigned char*[std::size_t{1} << kChunkBits]();
        current_.store(table, std::memory_order_release);
    }

    std::mutex mutex_;
    std::vector<std::unique_ptr<Table>> tables_;  // the last one is current
    std::atomic<Table*> current_{nullptr};
    std::vector<std::uint32_t> free_;
    std::uint32_t next_ = 0;
};

}  // namespace

Name::Name(std::string_view text) {
    if (!text.empty()) word_ = kPooled | Pool::Instance().Add(text);
}

Name::Name(Name&& other) noexcept {
    if (other.word_ & kPooled)
        word_ = std::exchange(other.word_, 0);
    else if (other.word_ != 0)
        word_ = kPooled | Pool::Instance().Add(other.view());
}

Name& Name::operator=(const Name& other) {
    if (this != &other) *this = other.view();
    return *this;
}

Name& Name::operator=(Name&& other) noexcept {
    if (this == &other) return *this;
    if (other.word_ & kPooled) {
        Release();
        word_ = std::exchange(other.word_, 0);
    } else {
        *this = other.view();
    }
    return *this;
}

Name& Name::operator=(std::string_view text) {
    // `text` may be this name's own bytes: copy before letting them go.
    const std::uint32_t word = text.empty() ? 0 : kPooled | Pool::Instance().Add(text);
    Release();
    word_ = word;
    return *this;
}

const unsigned char* Name::PooledBytes(std::uint32_t index) noexcept { return Pool::Instance().Bytes(index); }

void Name::Release() noexcept {
    if (word_ & kPooled) Pool::Instance().Remove(word_ & ~kPooled);
    word_ = 0;
}

void Name::PlaceAt(unsigned char* at, std::string_view text) {
    if (text.empty()) return;
    const std::ptrdiff_t distance = at - reinterpret_cast<unsigned char*>(this);
    if (distance > 0 && distance < static_cast<std::ptrdiff_t>(kPooled)) {
        WriteStored(at, text);
        word_ = static_cast<std::uint32_t>(distance);
    } else {
        word_ = kPooled | Pool::Instance().Add(text);
    }
}

std::ostream& operator<<(std::ostream& out, const Name& name) { return out << name.view(); }

}  // namespace model
