#include "frame/TMyStatusHeader.h"

namespace frame {

TMyStatusHeader::TMyStatusHeader(fw::TWindow* parent, StoreFactory openStore)
    : TMyStatusBar(parent, false, 1, std::move(openStore)) {
    SetCells(HeaderCells());
}

}  // namespace frame
