#include "formats/world_file.h"

#include "core/atomic_file.h"
#include "core/status.h"
#include "formats/height_raster.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace korvel {

std::string WorldFilePath(const std::string& picturePath) {
    const size_t dot = picturePath.rfind('.');
    const size_t slash = picturePath.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot + 2 > picturePath.size())
        return picturePath + ".wld";
    const std::string ext = picturePath.substr(dot + 1);
    return picturePath.substr(0, dot + 1) + ext.front() + ext.back() + "w";
}

std::string WorldFileText(double west, double north, double cellWidth, double cellHeight) {
    char text[200];
    std::snprintf(text, sizeof text, "%.17g\n0\n0\n%.17g\n%.17g\n%.17g\n", cellWidth, -cellHeight,
                  west + cellWidth / 2, north - cellHeight / 2);
    return text;
}

std::string WorldFileText(const Surface& s) {
    return WorldFileText(s.Left, s.Top, CellWidth(s), CellHeight(s));
}

void WriteWorldFileBeside(const std::string& picturePath, const Surface& s,
                          std::vector<std::string>& notes) {
    WriteWorldFileBeside(picturePath, WorldFileText(s), notes);
}

void WriteWorldFileBeside(const std::string& picturePath, const std::string& text,
                          std::vector<std::string>& notes) {
    const std::string path = WorldFilePath(picturePath);
    AtomicFile file(path);
    if (!file.Open() || !file.Write(text.data(), text.size()) || !file.Commit())
        notes.push_back(FileNameOf(path) +
                        ": the world file cannot be written: " + ErrnoText(file.Error()));
}

bool ParseWorldFile(const std::string& text, WorldPlacement& placement, std::string& why) {
    double terms[6];
    const char* at = text.c_str();
    for (double& term : terms) {
        char* end = nullptr;
        term = std::strtod(at, &end);
        if (end == at || !std::isfinite(term)) {
            why = "it does not hold six numbers";
            return false;
        }
        at = end;
    }
    if (terms[1] != 0.0 || terms[2] != 0.0) {
        why = "the picture would be rotated";
        return false;
    }
    if (!(terms[0] > 0.0 && terms[3] < 0.0)) {
        why = "its cells are not east- and south-going";
        return false;
    }
    placement = {terms[4] - terms[0] / 2, terms[5] - terms[3] / 2, terms[0], -terms[3]};
    return true;
}

void PlaceByWorldFileBeside(const std::string& picturePath, Surface& s,
                            std::vector<std::string>& notes) {
    // The names GDAL looks for too: "h.pgw", "h.pngw" and (as GDAL writes it) "h.wld".
    const size_t dot = picturePath.rfind('.');
    const size_t slash = picturePath.find_last_of('/');
    const bool named = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = named ? picturePath.substr(0, dot) : picturePath;
    std::string path;
    std::ifstream in;
    for (const std::string& candidate :
         {WorldFilePath(picturePath), picturePath + "w", stem + ".wld"}) {
        in.open(candidate, std::ios::binary);
        if (in) {
            path = candidate;
            break;
        }
        in.clear();
    }
    if (path.empty())
        return;
    // Six numbers take a few hundred bytes at most; a larger file is not a world file.
    constexpr std::streamsize Longest = 4096;
    std::string text(Longest + 1, '\0');
    in.read(text.data(), Longest + 1);
    text.resize(static_cast<size_t>(in.gcount()));
    WorldPlacement placement;
    std::string why;
    if (text.size() > size_t(Longest))
        why = "it is longer than a world file";
    else if (ParseWorldFile(text, placement, why)) {
        SetOutline(s, placement.West, placement.North, placement.CellWidth, placement.CellHeight);
        notes.push_back(FileNameOf(picturePath) + ": placed on the map by " + FileNameOf(path));
        return;
    }
    notes.push_back(FileNameOf(path) + ": not used: " + why);
}

} // namespace korvel
