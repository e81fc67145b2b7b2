// Scoped COM initialisation: CoUninitialize runs on every way out of the scope that initialised it.
#pragma once

#include <objbase.h>

namespace fw {

class COMInit {
public:
    COMInit() noexcept : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    COMInit(const COMInit&) = delete;
    COMInit& operator=(const COMInit&) = delete;
    ~COMInit() {
        if (ok_) CoUninitialize();
    }

private:
    bool ok_;
};

}  // namespace fw
