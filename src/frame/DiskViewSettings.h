// The main view's stored settings: read when TDiskView is built and written by its close query, in the
// order of kDiskViewSettings. The autoscan folder's default is the first fixed drive, known only at run
// time, so the caller puts it into the record before reading.
//
//   DiskViewSettings s;
//   s.autoscanFolder = "C";
//   config::ReadSettings(kDiskViewSettings, store, s);
#pragma once

#include "config/SettingsTable.h"
#include "config/SettingsText.h"

#include <string>

namespace frame {

struct DiskViewSettings {
    bool dialogLook = true;  // the splitter, the tree and the pie without sunken edges
    bool autoscan = false;   // scan the autoscan folder at start-up
    std::string autoscanFolder;

    friend bool operator==(const DiskViewSettings&, const DiskViewSettings&) = default;
};

using DiskViewRow = config::Rows<DiskViewSettings>;
inline constexpr config::Setting<DiskViewSettings> kDiskViewSettings[] = {
    DiskViewRow::Flag<&DiskViewSettings::dialogLook>("DialogLook"),
    DiskViewRow::Flag<&DiskViewSettings::autoscan>("Autoscan"),
    DiskViewRow::Text<&DiskViewSettings::autoscanFolder>("AutoscanDir", &config::CleanFolder),
};

}  // namespace frame
