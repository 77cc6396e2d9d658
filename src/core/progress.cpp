#include "core/progress.h"

#include "core/host.h"

#include <cmath>
#include <cstdio>

namespace korvel {

void Progress::ProgressBegin(const std::string& text, int32_t step) {
    if (IsOpen)
        return;
    if (ProgressEnabled == 0) {
        ProgressEnabled = 1;
        return;
    }
    ProgressStep = (step > 0 && step < 100) ? step : 10;
    if (TheHost.OpenProgressWindow(text, FirstWindow == 0)) {
        IsOpen = true;
        CancelFlag = 0;
        Label.clear();
    }
    FirstWindow = 0;
    Start = std::chrono::steady_clock::now();
    Text = text;
}

void Progress::ProgressUpdate(double current, double total) {
    if (!IsOpen || total == 0.0 || std::isnan(total) || ProgressEnabled == 0)
        return;
    const double scaled = std::trunc(current * 100.0 / total);
    if (!(scaled > -1e9 && scaled < 1e9))
        return;
    const auto percent = static_cast<int32_t>(scaled);
    if (percent == LastPercent)
        return;
    LastPercent = percent;
    if (percent % ProgressStep != 0)
        return;
    TheHost.SetProgressBar(percent);
    // The bar's range is 0..100, so the label shows the position itself; 100 is not wrapped.
    const int32_t shown = percent == 100 ? 100 : percent % 100;
    char label[32];
    std::snprintf(label, sizeof label, "%d%c", shown, '%');
    if (Label != label) {
        Label = label;
        TheHost.SetProgressLabel(Label);
    }
}

void Progress::ProgressEnd() {
    ProgressEnabled = 1;
    if (!IsOpen)
        return;
    const auto elapsed = std::chrono::steady_clock::now() - Start;
    IsOpen = false;
    TheHost.CloseProgressWindow(CancelRequested());
    if (ShowTimeCount) {
        const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
        char buf[64];
        std::snprintf(buf, sizeof buf, ": %0.3f sec", ms * 0.001);
        TheHost.ShowMessage(Text + buf);
    }
}

void Progress::PumpPendingMessage() {
    TheHost.PumpPendingMessage();
}

bool Progress::ConsumeCancel() {
    int32_t expected = CancelKey;
    return CancelFlag.compare_exchange_strong(expected, 0);
}

} // namespace korvel
