#include "fw/TControl.h"

namespace fw {

TControl::TControl(TWindow* parent, UINT id) : TWindow(parent, Kind::Control) {
    Attr().style = WS_CHILD | WS_VISIBLE;
    Attr().x = Attr().y = Attr().width = Attr().height = 0;
    Attr().idOrMenu = id;
}

bool TControl::Attach(HWND control) {
    Unbind();
    if (!control || !IsWindow(control)) return false;
    Bind(control, false);
    return true;
}

}  // namespace fw
