// Reading and writing the pie view's settings through their table.
#include "pie/PieViewSettings.h"

namespace pie {

PieViewSettings LoadPieViewSettings(const config::SettingsStore& store) {
    PieViewSettings settings;
    config::ReadSettings(kPieViewSettings, store, settings);
    return settings;
}

void SavePieViewSettings(const PieViewSettings& settings, config::SettingsStore& store) {
    config::WriteSettings(kPieViewSettings, settings, store);
}

}  // namespace pie
