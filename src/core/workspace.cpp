#include "core/workspace.h"

#include "core/settings_store.h"
#include "core/startup.h"

namespace korvel {

Workspace::Workspace(Host& host)
    : TheHost(host), TheProgress(host, General.ShowTimeCount), Undo(TheSurface),
      Settings(BuildSettingsTable(*this)) {
    TheSurface.AttachHost(&host);
}

int32_t Workspace::Start(SettingsStore& store) {
    LoadSettings(Settings, store);
    int32_t width = TheSurface.XSize;
    int32_t height = TheSurface.YSize;
    CheckStartupSize(width, height, PhysicalMemoryBytes(), TheHost);
    TheSurface.XSize = 0;
    TheSurface.YSize = 0;
    return TheSurface.Resize(width, height, 0);
}

bool Workspace::Finish(SettingsStore& store) {
    SaveSettings(Settings, store);
    return store.Flush();
}

} // namespace korvel
