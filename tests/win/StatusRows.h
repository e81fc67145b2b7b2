// The main view's two data status rows for tests that read them: the deep and shallow bars in a window of
// their own, their cell marks kept in memory. Give them to the view before its frame is created:
//   test_support::StatusRows rows;
//   view.SetStatusBars(&rows.deep, &rows.shallow);
#pragma once

#include <memory>

#include "common/MapStore.h"
#include "frame/TMyStatusDeepData.h"
#include "frame/TMyStatusShallowData.h"
#include "fw/TFrameWindow.h"

namespace test_support {

struct StatusRows {
    StatusRows() {
        host.Create();
        deep.Create();
        shallow.Create();
    }

    // In the order of construction: the bars take the host and the store.
    native_test::MapStore::Values marks;
    fw::TFrameWindow host{"bars", nullptr};
    frame::TMyStatusBar::StoreFactory store = [this] { return std::make_unique<native_test::MapStore>(marks); };
    frame::TMyStatusDeepData deep{&host, store};
    frame::TMyStatusShallowData shallow{&host, store};
};

}  // namespace test_support
