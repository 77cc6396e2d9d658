#pragma once
// The DTED CD-ROM import ("DTED Image..."): an area in degrees assembled from the level 1 cells
// of one or more discs. TEXT/ONC.DIR on a disc lists the latitudes and longitudes it holds; the
// cell of the degree south-west at (lat, lon) is DTED/W120/N45.DT1 (upper or lower case names).

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

struct DtedArea {
    double Left = 0.0;
    double Right = 0.0;
    double Top = 0.0;
    double Bottom = 0.0;
    int32_t Width = 0;
    int32_t Height = 0;
    double NoData = -32767.0;
};

// The area of "Center + Radius": radius in metres over metresPerDegree gives the half height;
// the half width grows with the latitude (and, with correction, by 1 / |cos(lat)|).
DtedArea DtedCircleArea(double lat, double lon, double radius, double metresPerDegree,
                        bool correction);

// What ONC.DIR says a disc covers, in whole degrees (the largest label plus one).
struct DiscCoverage {
    int32_t South = 0;
    int32_t North = 0;
    int32_t West = 0;
    int32_t East = 0;
    bool Any = false;
};
DiscCoverage ParseOncDir(const std::string& text);

// The cell file of the degree whose south-western corner is (lat, lon): the existing one of
// the upper- and lower-case spellings under root, or the upper-case one when neither exists.
std::string DtedCellPath(const std::string& root, int32_t lat, int32_t lon);

// Sizes the Surface to the area and fills it disc by disc, asking for the next disc while a
// corner is missing; stops when the person declines or a disc adds nothing. 1 finished, 0
// cancelled. Failures are shown through the host.
int32_t ImportDtedArea(const std::string& root, const DtedArea& area, Workspace& ws);

} // namespace korvel
