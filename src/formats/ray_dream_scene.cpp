#include "formats/ray_dream_scene.h"

#include <string>

namespace korvel {

namespace {

constexpr std::string_view Header = R"(3DC {
asci 1
vers 4.1
rndr {
 rtyp "Ray Tracer"
 resx 640
 resy 480
 dpi 72
 aalg 1
 shdw 1
 refl 1
 trns 1
 rdep 4
}
cams {
 cam {
  name "Camera 1"
  type "Conical"
  focl 50
  posi 0,-40,20
  rota -60,0,0
 }
}
wind {
 pers { posi 40,40 size 640,480 }
 brws { posi 700,40 size 260,480 }
}
dock {
 tool 1
 prop 1
}
objs {
 obj {
  name "Korvel"
  type "Mesh"
  shdr {
   name "Green"
   colr 0,0.6,0
   spec 0.1
   shin 0.2
  }
)";

constexpr std::string_view Angle = "angl 90\nuvls {\n}\nfl {\n";

constexpr std::string_view Footer = R"(}
 }
}
univ {
 name "Universe"
 grup {
  inst "Korvel"
  posi 0,0,0
  rota 0,0,0
  scal 1,1,1
  bbox -16,-16,-16,16,16,16
 }
}
}
)";

} // namespace

std::string_view RayDreamSceneHeader() {
    static const std::string text = std::string(Header) + std::string(Angle);
    return text;
}

std::string_view RayDreamSceneFooter() {
    return Footer;
}

} // namespace korvel
