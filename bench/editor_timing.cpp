// editor_timing: the editor's two speed goals, on a real display (run it under xvfb-run, see
// editor_timing.sh). Start: from the process start (KORVEL_T0_NS, the launcher's clock, or
// main) to the first paint of the window with the shaded picture; goal under 1 s. Repaint: an
// 8192 x 8192 TextureMap panned step by step at 1:1 and 1:16, the median and the slowest tenth
// of the viewport's repaints; goal under 16 ms.

#include "app/main_window.h"
#include "app/qt_host.h"
#include "app/qt_settings_store.h"
#include "app/texture_view.h"
#include "commands/command.h"
#include "core/image.h"
#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "edit/selection_tools.h"
#include "shading/texture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Ends the event loop at the first paint of the view showing an up-to-date picture.
class FirstPaint : public QObject {
public:
    FirstPaint(korvel::Workspace& ws, QEventLoop& loop) : Ws(ws), Loop(loop) {}
    int64_t PaintedAt = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && PaintedAt == 0 && !Ws.TheSurface.Texture.Stale()) {
            const bool handled = QObject::eventFilter(watched, event);
            // The paint itself runs after the filter: count it by leaving the loop after it.
            QTimer::singleShot(0, [this] {
                PaintedAt = NowNs();
                // Not QCoreApplication::quit: it closes every window first.
                Loop.exit();
            });
            return handled;
        }
        return false;
    }

private:
    korvel::Workspace& Ws;
    QEventLoop& Loop;
};

struct Figures {
    double Median = 0;
    double Slowest10 = 0;
};

// Pans across the picture at the given ratio and times each repaint of the viewport.
Figures TimePanning(korvel::TextureView& view, int32_t numerator, int32_t denominator, int frames) {
    view.SetZoom(numerator, denominator);
    QScrollBar* h = view.horizontalScrollBar();
    QScrollBar* v = view.verticalScrollBar();
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < frames; ++i) {
        // Diagonal steps, wrapping at the ends, as a drag with the Pan tool scrolls.
        if (h->maximum() > 0)
            h->setValue((i * 37) % (h->maximum() + 1));
        if (v->maximum() > 0)
            v->setValue((i * 23) % (v->maximum() + 1));
        QCoreApplication::processEvents();
        timer.start();
        view.viewport()->repaint();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10]};
}

} // namespace

int main(int argc, char** argv) {
    const char* launched = std::getenv("KORVEL_T0_NS");
    const int64_t t0 = launched ? std::atoll(launched) : NowNs();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir settingsDir;

    // The editor's start sequence (main.cpp) with settings of a first run.
    korvel::QtHost host;
    korvel::Workspace ws(host);
    korvel::AddDialogSettings(ws);
    korvel::QtSettingsStore store(settingsDir.filePath("Korvel.ini"));
    host.SetCancelFlag(&ws.TheProgress.CancelFlag);
    if (ws.Start(store) != 0) {
        std::fprintf(stderr, "editor_timing: the first Surface could not be allocated\n");
        return 1;
    }
    korvel::MainWindow window(ws, host, &store);
    window.resize(1280, 800);
    QEventLoop loop;
    FirstPaint firstPaint(ws, loop);
    window.View()->viewport()->installEventFilter(&firstPaint);
    window.show();
    QTimer::singleShot(0, window.View(), &korvel::TextureView::Refresh);
    loop.exec();
    std::printf("start to first painted window: %.0f ms (goal under 1000 ms)\n",
                static_cast<double>(firstPaint.PaintedAt - t0) / 1e6);

    if (ws.TheSurface.Resize(8192, 8192, 0) != 0) {
        std::fprintf(stderr, "editor_timing: no memory for an 8192 x 8192 Surface\n");
        return 1;
    }
    // The last pass has a selection tinted over the picture.
    for (const auto& [depth, masked] :
         {std::pair{24, false}, std::pair{8, false}, std::pair{24, true}}) {
        ws.TheSurface.Lighting.BitDepth = depth;
        MarkTextureStale(ws);
        korvel::Image& picture = korvel::TextureToDrawOn(ws);
        // Detail everywhere, so that no drawing path can pass over a flat picture.
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                if (depth == 8)
                    picture.SetIndex(x, y, (x * 7 + y * 5) & 255);
                else
                    picture.SetPixel(x, y,
                                     korvel::PackColor(static_cast<uint8_t>(x * 7),
                                                       static_cast<uint8_t>(y * 5),
                                                       static_cast<uint8_t>(x ^ y)));
            }
        if (masked && (korvel::SetSelectionEnabled(ws.TheSurface, true) != 0 ||
                       korvel::SelectRectangle(ws.TheSurface, 1000, 1000, 7000, 7000,
                                               korvel::SelectionReplace) != 0)) {
            std::fprintf(stderr, "editor_timing: no memory for the selection mask\n");
            return 1;
        }
        window.View()->Refresh();
        QCoreApplication::processEvents();
        const QSize page = window.View()->viewport()->size();
        for (const auto& [num, den] : {std::pair{1, 1}, std::pair{1, 16}}) {
            const Figures f = TimePanning(*window.View(), num, den, 200);
            std::printf("repaint of %d x %d pixels of an 8192 x 8192 %d-bit picture%s at %d:%d: "
                        "median %.2f ms, slowest tenth from %.2f ms (goal under 16 ms)\n",
                        page.width(), page.height(), depth, masked ? " with a selection" : "", num,
                        den, f.Median, f.Slowest10);
        }
    }
    return 0;
}
