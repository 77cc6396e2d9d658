#pragma once
// The values of the "Map Projection" dialog and the icosahedral net, kept for the run (not saved
// at exit).

#include "core/image.h"

#include <cstdint>
#include <string>

namespace korvel {

struct MapProjectionFields { // "map-projection"
    int32_t Index = 10;      // Mollweide: the whole world at once
    double Latitude = 0.0;   // centre, degrees
    double Longitude = 0.0;
    double Top = 60.0; // standard parallels of the conics, degrees
    double Bottom = 30.0;
    double Zoom = 1.0;
    double Resolution = 3.0;
    // "&f": repaint the stored preview instead of computing it again.
    bool Fast = true;
    // The "&Export BMP" picture.
    int32_t Width = 1024;
    int32_t Height = 512;
    std::string Path;
};

struct IcosahedralFields { // "icosahedral-projection"
    PackedColor Background = 0;
};

} // namespace korvel
