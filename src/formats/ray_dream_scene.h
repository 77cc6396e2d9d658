#pragma once
// The fixed text around the faces of a Ray Dream Designer 4.1 scene: render settings, a camera,
// the layouts and one mesh object named Korvel with a green shader, whose face list the "ff"
// lines fill.

#include <string_view>

namespace korvel {

std::string_view RayDreamSceneHeader();
std::string_view RayDreamSceneFooter();

} // namespace korvel
