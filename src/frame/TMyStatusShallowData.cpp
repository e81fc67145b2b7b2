#include "frame/TMyStatusShallowData.h"

namespace frame {

TMyStatusShallowData::TMyStatusShallowData(fw::TWindow* parent, StoreFactory openStore)
    : TMyStatusData(parent, true, 3, std::move(openStore)) {}

void TMyStatusShallowData::ShowFolder(const std::string& name, const model::DirInfo& folder,
                                      std::uint32_t clusterSize) {
    SetCells(FolderCells(StatusRow::Shallow, name, folder, clusterSize));
}

void TMyStatusShallowData::ShowFile(const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) {
    SetCells(FileCells(StatusRow::Shallow, name, file, clusterSize));
}

}  // namespace frame
