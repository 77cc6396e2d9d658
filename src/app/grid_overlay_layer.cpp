#include "app/grid_overlay_layer.h"

#include "core/settings.h"
#include "core/workspace.h"
#include "shading/grid_overlays.h"

#include <QColor>

#include <cstring>

namespace korvel {

namespace {

// Entries 0 and 1 hold the two pens' colours, so every line lands on one of them exactly (the
// nearest entry, first of equals); the last entry marks the pixels no line touched.
constexpr int32_t Clear = 255;

std::string KeyOf(const Workspace& ws, int width, int height) {
    std::string key = std::to_string(width) + "x" + std::to_string(height);
    for (const SettingDescriptor& s : ws.Settings)
        if (s.Section == "Hex" || s.Section == "RGrid")
            key += "|" + FormatSetting(s);
    const Surface& surface = ws.TheSurface;
    key += "|" + std::to_string(surface.XSize) + "x" + std::to_string(surface.YSize);
    for (double edge : {surface.Left, surface.Right, surface.Top, surface.Bottom})
        key += "|" + std::to_string(edge);
    return key + "|" + std::to_string(ws.HexDraw.Units);
}

QRgb Opaque(PackedColor c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

} // namespace

const QImage& GridOverlayLayer::For(const Workspace& ws, int width, int height) {
    if (!ws.Hex.Draw && !ws.RGrid.Draw) {
        Key.clear();
        Lines.Release();
        Wrapped = QImage();
        return Wrapped;
    }
    std::string key = KeyOf(ws, width, height);
    if (key == Key)
        return Wrapped;
    Key = std::move(key);
    Wrapped = QImage();
    if (width <= 0 || height <= 0 || Lines.Create(width, height, 8) != 0)
        return Wrapped;
    const Surface& s = ws.TheSurface;
    const MapEdges edges{s.Left, s.Right, s.Top, s.Bottom};
    std::string message;
    QList<QRgb> colors(256, qRgba(0, 0, 0, 0));
    // Each grid is drawn into a clear layer whose palette holds only its two pens, so every line
    // lands exactly on entry 0 (contrast) or 1 (edges); the rectangular grid then goes on top of
    // the hex grid as entries 2 and 3.
    const auto drawLayer = [&](Image& layer, PackedColor contrast, PackedColor edgesColor,
                               const auto& draw) {
        std::memset(layer.Data(), Clear, layer.ByteCount());
        layer.Palette.fill(contrast);
        layer.Palette[1] = edgesColor;
        ImageDrawing canvas(layer, s.XSize, s.YSize);
        draw(canvas);
    };
    std::memset(Lines.Data(), Clear, Lines.ByteCount());
    if (ws.Hex.Draw) {
        drawLayer(Lines, ws.Hex.BColor, ws.Hex.Color, [&](ImageDrawing& canvas) {
            DrawHexGrid(canvas, ws.Hex, static_cast<GridUnits>(ws.HexDraw.Units), edges, message);
        });
        colors[0] = Opaque(ws.Hex.BColor);
        colors[1] = Opaque(ws.Hex.Color);
    }
    if (ws.RGrid.Draw) {
        Image grid;
        if (grid.Create(width, height, 8) != 0)
            return Wrapped;
        drawLayer(grid, ws.RGrid.BColor, ws.RGrid.Color, [&](ImageDrawing& canvas) {
            DrawRectangularGrid(canvas, ws.RGrid, edges, message);
        });
        const uint8_t* from = grid.Data();
        uint8_t* to = Lines.Data();
        for (size_t i = 0; i < Lines.ByteCount(); ++i)
            if (from[i] != Clear)
                to[i] = static_cast<uint8_t>(from[i] + 2);
        colors[2] = Opaque(ws.RGrid.BColor);
        colors[3] = Opaque(ws.RGrid.Color);
    }
    Wrapped = QImage(Lines.Data(), Lines.Width(), Lines.Height(), Lines.Stride(),
                     QImage::Format_Indexed8);
    Wrapped.setColorTable(colors);
    return Wrapped;
}

} // namespace korvel
