#include "core/workspace.h"

#include "core/settings_store.h"
#include "core/startup.h"

#include <utility>

namespace korvel {

namespace {
// The size of a first run, also used when the stored size cannot be had.
constexpr int32_t DefaultWidth = 384;
constexpr int32_t DefaultHeight = 192;
} // namespace

Workspace::Workspace(Host& host)
    : TheHost(host), TheProgress(host, General.ShowTimeCount), Undo(TheSurface),
      Settings(BuildSettingsTable(*this)) {
    TheSurface.AttachHost(&host);
    Undo.AttachHost(&host);
    GeneralKernel.SetSize(7, 1.0f, 0, 0);
}

int32_t Workspace::Start(SettingsStore& store, std::vector<SettingLoadFailure>* unread) {
    std::vector<SettingLoadFailure> failures = LoadSettings(Settings, store);
    if (unread)
        *unread = std::move(failures);
    RecentFiles.Load(store);
    int32_t width = TheSurface.XSize;
    int32_t height = TheSurface.YSize;
    CheckStartupSize(width, height, PhysicalMemoryBytes(), TheHost);
    TheSurface.XSize = 0;
    TheSurface.YSize = 0;
    const int32_t code = TheSurface.Resize(width, height, 0);
    // A stored size Resize refuses or cannot allocate would leave the program without a grid.
    if (code != 0 && (width != DefaultWidth || height != DefaultHeight))
        return TheSurface.Resize(DefaultWidth, DefaultHeight, 0);
    return code;
}

bool Workspace::Finish(SettingsStore& store) {
    SaveSettings(Settings, store);
    RecentFiles.Save(store);
    return store.Flush();
}

} // namespace korvel
