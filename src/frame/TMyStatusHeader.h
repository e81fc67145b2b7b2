// Status bar 1: the column titles over the two data rows.
#pragma once

#include "frame/TMyStatusBar.h"

namespace frame {

class TMyStatusHeader : public TMyStatusBar {
public:
    explicit TMyStatusHeader(fw::TWindow* parent, StoreFactory openStore = &OpenUserSettings);
};

}  // namespace frame
