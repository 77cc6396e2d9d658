#include "shading/light_parms_block.h"

#include "core/light_parms.h"
#include "generate/block_values.h"
#include "generate/frac_parms_block.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "shading/color_list_block.h"

#include <array>

namespace korvel {

namespace {

// One numeric item: exactly one of the two fields is set.
struct Item {
    int32_t Code;
    int32_t LightParms::*Int;
    double LightParms::*Real;
};

constexpr Item IntItem(int32_t code, int32_t LightParms::*field) {
    return {code, field, nullptr};
}
constexpr Item RealItem(int32_t code, double LightParms::*field) {
    return {code, nullptr, field};
}

// In written order.
constexpr std::array<Item, 40> Items{{
    IntItem(KwBitDepth, &LightParms::BitDepth),
    IntItem(KwColors, &LightParms::Colors),
    IntItem(KwLevels, &LightParms::Levels),
    RealItem(KwAmbient, &LightParms::Ambient),
    RealItem(KwGamma, &LightParms::Gamma),
    IntItem(KwType, &LightParms::Type),
    RealItem(KwLandOpacity, &LightParms::LandOpacity),
    RealItem(KwSeaLevel, &LightParms::SeaLevel),
    RealItem(KwSeaLowest, &LightParms::SeaLowest),
    RealItem(KwSeaSatMin, &LightParms::SeaSatMin),
    RealItem(KwSeaSatMax, &LightParms::SeaSatMax),
    RealItem(KwSeaOpacity, &LightParms::SeaOpacity),
    IntItem(KwSeaEqual, &LightParms::SeaEqual),
    IntItem(KwSeaFloat, &LightParms::SeaFloat),
    RealItem(KwVertExag, &LightParms::VertExag),
    RealItem(KwCorner, &LightParms::Corner),
    IntItem(KwUnit, &LightParms::Unit),
    RealItem(KwAz, &LightParms::Az),
    RealItem(KwEl, &LightParms::El),
    IntItem(KwAbsColor, &LightParms::AbsColor),
    RealItem(KwAbsMin, &LightParms::AbsMin),
    RealItem(KwAbsMax, &LightParms::AbsMax),
    RealItem(KwIceNorth, &LightParms::IceNorth),
    RealItem(KwIceSouth, &LightParms::IceSouth),
    IntItem(KwIceColor, &LightParms::IceColor),
    RealItem(KwIceOpacity, &LightParms::IceOpacity),
    RealItem(KwFbmStrength, &LightParms::FbmStrength),
    IntItem(KwBlendLat, &LightParms::BlendLat),
    IntItem(KwBlendAlt, &LightParms::BlendAlt),
    IntItem(KwBlendSlope, &LightParms::BlendSlope),
    IntItem(KwBlendFacing, &LightParms::BlendFacing),
    RealItem(KwBlendLatVal, &LightParms::BlendLatVal),
    RealItem(KwBlendAltVal, &LightParms::BlendAltVal),
    RealItem(KwBlendSlopeVal, &LightParms::BlendSlopeVal),
    RealItem(KwBlendFacingVal, &LightParms::BlendFacingVal),
    RealItem(KwBlendFacingNDir, &LightParms::BlendFacingNDir),
    RealItem(KwBlendFacingNVal, &LightParms::BlendFacingNVal),
    RealItem(KwBlendFacingSDir, &LightParms::BlendFacingSDir),
    RealItem(KwBlendFacingSVal, &LightParms::BlendFacingSVal),
    IntItem(KwFacingRelate, &LightParms::FacingRelate),
}};

struct ListItem {
    int32_t Code;
    ColorList LightParms::*List;
};

constexpr std::array<ListItem, 6> Lists{{
    {KwAltColor, &LightParms::AltColor},
    {KwSeaColor, &LightParms::SeaColor},
    {KwLatColor, &LightParms::LatColor},
    {KwNorthColor, &LightParms::NorthColor},
    {KwSouthColor, &LightParms::SouthColor},
    {KwSlopeColor, &LightParms::SlopeColor},
}};

const Item* FindItem(int32_t code) {
    for (const Item& item : Items)
        if (item.Code == code)
            return &item;
    return nullptr;
}

const ListItem* FindList(int32_t code) {
    for (const ListItem& list : Lists)
        if (list.Code == code)
            return &list;
    return nullptr;
}

} // namespace

int32_t ReadLightParms(LightParms& lp, TokenReader& reader, Builtins& builtins) {
    reader.SkipInsignificant();
    if (reader.Token() == KwLightParms)
        reader.Next();
    for (;;) {
        const int32_t token = reader.Token();
        if (token == TokEnd)
            return -1;
        reader.Next();
        if (token == KwLightParmsEnd)
            return 0;
        if (token == KwFbmParms) {
            if (ReadFracParms(lp.FbmParms, reader, builtins) != 0)
                return -1;
        } else if (const ListItem* list = FindList(token)) {
            if (ReadColorList(lp.*(list->List), reader, builtins) != 0)
                return -1;
        } else if (const Item* item = FindItem(token)) {
            if (item->Int)
                lp.*(item->Int) = ReadBlockInt(reader, builtins);
            else
                lp.*(item->Real) = ReadBlockReal(reader, builtins);
        }
    }
}

std::string FormatLightParms(const LightParms& lp, RealDigits digits) {
    std::string out;
    AppendFormat(out, "%s\n", KeywordText(KwLightParms).c_str());
    for (const Item& item : Items) {
        AppendFormat(out, "%-14s ", KeywordText(item.Code).c_str());
        if (item.Int)
            AppendFormat(out, "%d\n", lp.*(item.Int));
        else
            out += RealText(lp.*(item.Real), digits) + "\n";
    }
    for (const ListItem& list : Lists) {
        AppendFormat(out, "\n%s ", KeywordText(list.Code).c_str());
        out += FormatColorList(lp.*(list.List), digits);
    }
    AppendFormat(out, "\n%s ", KeywordText(KwFbmParms).c_str());
    out += FormatFracParms(lp.FbmParms, digits);
    AppendFormat(out, "%s\n", KeywordText(KwLightParmsEnd).c_str());
    return out;
}

} // namespace korvel
