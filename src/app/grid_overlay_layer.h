#pragma once
// The grids the view draws over the picture on every repaint ("Draw Overlay Onscreen" of the hex
// grid, "Draw Overlay" of the rectangular one), without touching the TextureMap. The lines are
// drawn by the same library code as "Paint Into Texture Map", into a transparent layer of the
// picture's size that is made again only when the grid settings, the Surface's edges or the
// picture's size change.

#include "core/image.h"

#include <QImage>

#include <string>

namespace korvel {

class Workspace;

class GridOverlayLayer {
public:
    // The layer for the grids as the settings stand; a null image when neither is shown or
    // there is no picture. A grid too fine to draw is left out, as its command says.
    const QImage& For(const Workspace& ws, int width, int height);

private:
    std::string Key;
    Image Lines;
    QImage Wrapped;
};

} // namespace korvel
