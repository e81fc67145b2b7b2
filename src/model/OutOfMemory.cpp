#include "model/OutOfMemory.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace model {

void ReportOutOfMemory() {
    std::fputs("out of memory\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

void InstallOutOfMemoryHandler() { std::set_new_handler(&ReportOutOfMemory); }

}  // namespace model
