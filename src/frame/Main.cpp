// Entry point of Kelvaran.exe; the steps live in frame/ProgramEntry.h.
#include "frame/ProgramEntry.h"
#include "model/OutOfMemory.h"

int main(int argc, char** argv) {
    model::InstallOutOfMemoryHandler();
    return frame::ProgramEntry(argc, argv, frame::SystemEntrySeams());
}
