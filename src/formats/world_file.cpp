#include "formats/world_file.h"

#include "core/atomic_file.h"
#include "core/status.h"
#include "formats/height_raster.h"

#include <cstdio>

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

std::string WorldFileText(const Surface& s) {
    const double width = CellWidth(s);
    const double height = CellHeight(s);
    char text[200];
    std::snprintf(text, sizeof text, "%.17g\n0\n0\n%.17g\n%.17g\n%.17g\n", width, -height,
                  s.Left + width / 2, s.Top - height / 2);
    return text;
}

void WriteWorldFileBeside(const std::string& picturePath, const Surface& s,
                          std::vector<std::string>& notes) {
    const std::string path = WorldFilePath(picturePath);
    const std::string text = WorldFileText(s);
    AtomicFile file(path);
    if (!file.Open() || !file.Write(text.data(), text.size()) || !file.Commit())
        notes.push_back(FileNameOf(path) +
                        ": the world file cannot be written: " + ErrnoText(file.Error()));
}

} // namespace korvel
