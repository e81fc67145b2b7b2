#include "frame/MRUPaths.h"

#include "model/AsciiCase.h"

#include <algorithm>

namespace frame {
namespace {
constexpr const char* kCountValue = "MruPathCount";
std::string EntryValue(int index) { return "MruPath" + std::to_string(index); }
}  // namespace

MRUPaths::MRUPaths(unsigned firstId, StoreFactory openStore) : firstId_(firstId), openStore_(std::move(openStore)) {
    if (openStore_)
        if (auto store = openStore_()) Load(*store);
}

MRUPaths::~MRUPaths() {
    if (!openStore_) return;
    try {
        if (auto store = openStore_()) Save(*store);
    } catch (...) {
        // A destructor cannot report; the list is simply not remembered.
    }
}

std::string MRUPaths::Entry(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)] : std::string();
}

void MRUPaths::Add(std::string_view path) {
    // The path may view one of the entries about to be erased: copy it first.
    std::string added(path);
    std::erase_if(entries_, [&added](const std::string& entry) { return model::EqualIgnoringAsciiCase(entry, added); });
    entries_.insert(entries_.begin(), std::move(added));
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
    RewriteMenu();
}

void MRUPaths::RewriteMenu() const {
    if (menuWriter_) menuWriter_(*this);
}

void MRUPaths::Load(const config::SettingsStore& store) {
    entries_.clear();
    const int count = std::min(store.ReadInt(kCountValue, 0), kMaxEntries);
    for (int i = 0; i < count; ++i)
        if (std::string path = store.ReadString(EntryValue(i), ""); !path.empty()) entries_.push_back(std::move(path));
}

void MRUPaths::Save(config::SettingsStore& store) const {
    store.WriteInt(kCountValue, Count());
    for (int i = 0; i < Count(); ++i) store.WriteString(EntryValue(i), entries_[static_cast<std::size_t>(i)]);
}

}  // namespace frame
