// Feeds arbitrary bytes to the vector file reader and draws what it returns on a small picture
// of a whole-world map, so that absurd positions and pens meet the clipping as they would in the
// editor; libFuzzer and the sanitizers report what goes wrong.

#include "formats/vector_file.h"
#include "shading/image_drawing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvel;
    static Image picture = [] {
        Image image;
        image.Create(64, 32, 24);
        return image;
    }();
    const VectorDrawing drawing = ReadVectorBuffer(data, size);
    ImageDrawing canvas(picture, 63, 32);
    std::vector<PointD> points;
    for (const VectorStroke& stroke : drawing.Strokes) {
        canvas.SetPen({Ink::Color(stroke.Color), stroke.Width});
        points.clear();
        // 360 degrees over 63 columns, 180 over 32 rows, as the Surface's edges would give.
        for (const VectorPoint& p : stroke.Points)
            points.push_back({std::floor((p.Lon + 180.0) / (360.0 / 62)),
                              std::floor((90.0 - p.Lat) / (180.0 / 31))});
        canvas.Polyline(points);
    }
    return 0;
}
