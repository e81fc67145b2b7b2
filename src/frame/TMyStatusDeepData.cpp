#include "frame/TMyStatusDeepData.h"

namespace frame {

TMyStatusDeepData::TMyStatusDeepData(fw::TWindow* parent, StoreFactory openStore)
    : TMyStatusData(parent, false, 2, std::move(openStore)) {}

void TMyStatusDeepData::ShowFolder(const std::string& name, const model::DirInfo& folder, std::uint32_t clusterSize) {
    SetCells(FolderCells(StatusRow::Deep, name, folder, clusterSize));
}

void TMyStatusDeepData::ShowFile(const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) {
    SetCells(FileCells(StatusRow::Deep, name, file, clusterSize));
}

}  // namespace frame
