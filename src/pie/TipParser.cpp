// Template parsing, the two symbol tables and the tip's text layout.
#include "pie/TipParser.h"

#include <algorithm>
#include <optional>

#include "model/AsciiCase.h"
#include "model/FileTypes.h"
#include "model/SizeText.h"

namespace pie {
namespace {

bool IsLetter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Allocated minus logical, never below 0: without a cluster size nothing is allocated, so nothing is wasted.
std::uint64_t Waste(std::uint64_t allocated, std::uint64_t logical) {
    return allocated > logical ? allocated - logical : 0;
}

const char* const kNotAvailable = "n/a";

// The type with the most bytes below a folder (ties: the first by its text) and its share of them.
std::string TopType(const model::DirInfo& folder, const TipContext&) {
    const model::TypeTable table = model::ComputeTypeTable(folder, true, 0);
    std::optional<model::FileType> top;
    table.ForEachType([&top](const model::FileType& type) {
        if (!top || type.totals.bytes > top->totals.bytes ||
            (type.totals.bytes == top->totals.bytes && type.type < top->type))
            top = type;
    });
    if (!top) return "none";
    return model::TypeDisplayName(top->type) + " (" + model::ShareText(top->totals.bytes, table.Total().bytes) + ")";
}

}  // namespace

template <>
const std::vector<TipSymbol<model::DirInfo>>& TipParser<model::DirInfo>::Symbols() {
    using model::DirInfo;
    static const std::vector<TipSymbol<DirInfo>> symbols{
        {"DSIZE", "#DSIZE -- Deep logical size",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(d.deepSize); }},
        {"DALLOC", "#DALLOC -- Deep allocated size",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(d.deepAlloc); }},
        {"DWASTE", "#DWASTE -- Deep wasted space",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(Waste(d.deepAlloc, d.deepSize)); }},
        {"DDIRS", "#DDIRS -- Deep directories",
         [](const DirInfo& d, const TipContext&) { return model::FormatCount(d.deepDirs); }},
        {"DFILES", "#DFILES -- Deep files",
         [](const DirInfo& d, const TipContext&) { return model::FormatCount(d.deepFiles); }},
        {"LSIZE", "#LSIZE -- Local logical size",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(d.localSize); }},
        {"LALLOC", "#LALLOC -- Local allocated size",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(d.localAlloc); }},
        {"LWASTE", "#LWASTE -- Local wasted space",
         [](const DirInfo& d, const TipContext&) { return model::FormatSize(Waste(d.localAlloc, d.localSize)); }},
        {"LDIRS", "#LDIRS -- Local directories",
         [](const DirInfo& d, const TipContext&) { return model::FormatCount(d.subdirs.size()); }},
        {"LFILES", "#LFILES -- Local files",
         [](const DirInfo& d, const TipContext&) { return model::FormatCount(d.files.size()); }},
        {"DDELTA", "#DDELTA -- Deep change of logical size",
         [](const DirInfo& d, const TipContext& c) {
             return compare::FormatChange(compare::SizeChange::Between(c.then->earlierSize, d.deepSize));
         },
         false, true},
        {"LDELTA", "#LDELTA -- Local change of logical size",
         [](const DirInfo& d, const TipContext& c) {
             return compare::FormatChange(compare::SizeChange::Between(c.then->earlierLocal, d.localSize));
         },
         false, true},
        {"DOLD", "#DOLD -- Earlier deep logical size",
         [](const DirInfo&, const TipContext& c) { return model::FormatSize(c.then->earlierSize); }, false, true},
        {"DREMOVED", "#DREMOVED -- Logical size removed below",
         [](const DirInfo&, const TipContext& c) { return model::FormatSize(c.then->gone.bytes); }, false, true},
        {"TOPTYPE", "#TOPTYPE -- Largest file type below", &TopType, true},
    };
    return symbols;
}

template <>
const std::vector<TipSymbol<model::FileInfo>>& TipParser<model::FileInfo>::Symbols() {
    using model::FileInfo;
    static const std::vector<TipSymbol<FileInfo>> symbols{
        {"SIZE", "#SIZE -- Logical size",
         [](const FileInfo& f, const TipContext&) { return model::FormatSize(f.size); }},
        {"ALLOC", "#ALLOC -- Allocated size",
         [](const FileInfo& f, const TipContext& context) {
             const std::uint32_t cluster = context.clusterSize;
             return cluster == 0 ? std::string(kNotAvailable)
                                 : model::FormatSize(model::AllocatedSize(f.size, cluster));
         }},
        {"WASTE", "#WASTE -- Wasted space",
         [](const FileInfo& f, const TipContext& context) {
             const std::uint32_t cluster = context.clusterSize;
             return cluster == 0 ? std::string(kNotAvailable)
                                 : model::FormatSize(Waste(model::AllocatedSize(f.size, cluster), f.size));
         }},
        {"TYPE", "#TYPE -- File type",
         [](const FileInfo& f, const TipContext&) { return model::TypeDisplayName(model::FileTypeOf(f.name)); }},
    };
    return symbols;
}

template <class T>
std::vector<std::string> TipParser<T>::EditorTexts() {
    std::vector<std::string> texts;
    for (const auto& symbol : Symbols()) texts.emplace_back(symbol.editorText);
    return texts;
}

template <class T>
void TipParser<T>::Parse(std::string_view text) {
    lines_.assign(1, {});
    walksTree_ = false;
    kept_ = nullptr;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            lines_.emplace_back();
            continue;
        }
        Elem elem;
        if (c == '#' && i + 1 < n && IsLetter(text[i + 1])) {
            std::size_t end = i + 1;
            while (end < n && IsLetter(text[end])) ++end;
            elem.isSymbol = true;
            elem.text.assign(text.substr(i + 1, end - i - 1));
            const auto& symbols = Symbols();
            for (std::size_t s = 0; s < symbols.size(); ++s)
                if (model::EqualIgnoringAsciiCase(elem.text, symbols[s].name)) {
                    elem.symbol = static_cast<int>(s);
                    walksTree_ = walksTree_ || symbols[s].walksTree;
                }
            i = end;
        } else {
            // A literal runs to a line break or to a # that starts a symbol; a # before anything else is text.
            std::size_t end = i + 1;
            while (end < n && text[end] != '\r' && text[end] != '\n' &&
                   !(text[end] == '#' && end + 1 < n && IsLetter(text[end + 1])))
                ++end;
            elem.text.assign(text.substr(i, end - i));
            i = end;
        }
        lines_.back().push_back(std::move(elem));
    }
    if (lines_.back().empty()) lines_.pop_back();
}

std::vector<std::string_view> SplitTipLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t brk = text.find("\r\n", start);
        if (brk == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, brk - start));
        start = brk + 2;
    }
}

template <class T>
TipSize TipParser<T>::Format(const T& item, const TipContext& context, TextMeasure& measure) {
    const bool comparing = context.then != nullptr;
    if (!walksTree_ || kept_ != &item || keptCluster_ != context.clusterSize || keptComparing_ != comparing) {
        info_.clear();
        for (std::size_t l = 0; l < lines_.size(); ++l) {
            if (l > 0) info_ += "\r\n";
            for (const Elem& elem : lines_[l]) {
                const TipSymbol<T>* symbol =
                    elem.symbol >= 0 ? &Symbols()[static_cast<std::size_t>(elem.symbol)] : nullptr;
                if (symbol && (comparing || !symbol->needsComparison))
                    info_ += symbol->value(item, context);
                else
                    info_ += elem.text;  // literal text, an unknown symbol's name, or a comparison's without one
            }
        }
        kept_ = walksTree_ ? &item : nullptr;
        keptCluster_ = context.clusterSize;
        keptComparing_ = comparing;
    }
    name_ = item.name;
    nameSize_ = infoSize_ = tipSize_ = {};
    lineTops_.clear();
    if (lines_.empty()) return tipSize_;
    if (showName_) nameSize_ = measure.LineSize(TipFont::kName, name_);
    if (showInfo_) {
        for (std::string_view line : SplitTipLines(info_)) {
            const TipSize size = measure.LineSize(TipFont::kInfo, line);
            lineTops_.push_back(infoSize_.height);
            infoSize_.width = std::max(infoSize_.width, size.width);
            infoSize_.height += size.height;
        }
        lineTops_.push_back(infoSize_.height);
    }
    tipSize_ = {std::max(nameSize_.width, infoSize_.width) + 2 * margin_,
                nameSize_.height + infoSize_.height + 2 * margin_};
    return tipSize_;
}

template class TipParser<model::DirInfo>;
template class TipParser<model::FileInfo>;

}  // namespace pie
