// Tip templates: a small language of #SYMBOLS, parsed once when the settings change and formatted for the
// item under the mouse. TipParser<model::DirInfo> and TipParser<model::FileInfo> differ only in their
// symbol tables, whose "#NAME -- description" texts the tip editor lists.
//
//   parser.SetFlags(showName, showInfo);
//   parser.Parse(templateText);
//   TipSize size = parser.Format(item, clusterSize, measure);   // 0 x 0: no tip
//   ... the window draws parser.Name() and parser.Info() (Win32: TipBackBuffer.h)
//
// Text is measured through TextMeasure so that the layout of a tip is known without a window system.
// Parsing and formatting take time linear in the template's length; a symbol's name is looked up once,
// while parsing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compare/TreeComparison.h"
#include "model/DirInfo.h"

namespace pie {

// What a symbol may show beside the item itself.
struct TipContext {
    std::uint32_t clusterSize = 0;
    // The item seen against an earlier scan while a comparison is on; without it the comparison's symbols
    // come out as their names, as unknown ones do.
    const compare::ItemState* then = nullptr;
};

struct TipSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TipSize&, const TipSize&) = default;
};

enum class TipFont { kName, kInfo };

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Width and height of one line of text in a tip font; an empty line is as high as any other.
    virtual TipSize LineSize(TipFont font, std::string_view line) = 0;
};

// One symbol of a tip template: its name (without the #), the editor's text and how it shows an item.
template <class T>
struct TipSymbol {
    const char* name;
    const char* editorText;
    std::string (*value)(const T& item, const TipContext& context);
    bool walksTree = false;        // its value costs a walk below the item (see Format)
    bool needsComparison = false;  // without a comparison it comes out as its name
};

template <class T>
class TipParser {
public:
    struct Elem {
        bool isSymbol = false;
        std::string text;  // literal text, or the symbol's name as written (without the #)
        int symbol = -1;   // index in Symbols(), -1 for a literal or an unknown symbol
    };

    static const std::vector<TipSymbol<T>>& Symbols();
    // The editor's list: "#DSIZE -- Deep logical size", ...
    static std::vector<std::string> EditorTexts();

    // Pixels around the text inside the tip, each side (2 at 96 DPI).
    void SetMargin(int margin) noexcept { margin_ = margin; }
    void SetFlags(bool showName, bool showInfo) noexcept {
        showName_ = showName;
        showInfo_ = showInfo;
    }
    void Parse(std::string_view text);
    // Builds the name and info texts for `item` and measures them: the tip's size, 0 x 0 when the template
    // has no lines. A template with a symbol that walks the tree keeps the texts of the last item and
    // builds them again only for another item, cluster size or comparison state, or after Forget.
    TipSize Format(const T& item, const TipContext& context, TextMeasure& measure);
    TipSize Format(const T& item, std::uint32_t clusterSize, TextMeasure& measure) {
        return Format(item, TipContext{clusterSize, nullptr}, measure);
    }
    // The kept texts go: the tree may have changed since (the pie calls it whenever it renders).
    void Forget() noexcept { kept_ = nullptr; }

    const std::vector<std::vector<Elem>>& Lines() const noexcept { return lines_; }
    bool ShowName() const noexcept { return showName_; }
    bool ShowInfo() const noexcept { return showInfo_; }
    const std::string& Name() const noexcept { return name_; }
    const std::string& Info() const noexcept { return info_; }  // lines joined by "\r\n"
    TipSize NameSize() const noexcept { return nameSize_; }
    TipSize InfoSize() const noexcept { return infoSize_; }
    TipSize Size() const noexcept { return tipSize_; }
    // Offset of each info line from the top of the info block, then the block's height.
    const std::vector<int>& LineTops() const noexcept { return lineTops_; }

private:
    std::vector<std::vector<Elem>> lines_;
    bool showName_ = true;
    bool showInfo_ = true;
    std::string name_;
    std::string info_;
    TipSize nameSize_;
    TipSize infoSize_;
    TipSize tipSize_;
    int margin_ = 2;
    std::vector<int> lineTops_;
    bool walksTree_ = false;
    const T* kept_ = nullptr;
    std::uint32_t keptCluster_ = 0;
    bool keptComparing_ = false;
};

template <>
const std::vector<TipSymbol<model::DirInfo>>& TipParser<model::DirInfo>::Symbols();
template <>
const std::vector<TipSymbol<model::FileInfo>>& TipParser<model::FileInfo>::Symbols();

extern template class TipParser<model::DirInfo>;
extern template class TipParser<model::FileInfo>;

// Splits a text at "\r\n" into views of its lines (no empty line after a final break is added).
std::vector<std::string_view> SplitTipLines(std::string_view text);

}  // namespace pie
