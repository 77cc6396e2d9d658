#include "core/settings.h"
#include "core/workspace.h"

namespace korvel {

namespace {

struct TableBuilder {
    SettingsTable Rows;

    void Add(SettingType type, const char* section, const char* key, void* variable) {
        SettingDescriptor row;
        row.Type = type;
        row.Section = section;
        row.Key = key;
        row.Variable = variable;
        row.DefaultText = FormatSetting(row);
        Rows.push_back(std::move(row));
    }
    void Bool(const char* s, const char* k, bool& v) { Add(SettingType::Bool, s, k, &v); }
    void Int(const char* s, const char* k, int32_t& v) { Add(SettingType::Int, s, k, &v); }
    void Long(const char* s, const char* k, int32_t& v) { Add(SettingType::Long, s, k, &v); }
    void Double(const char* s, const char* k, double& v) { Add(SettingType::Double, s, k, &v); }
    void Float(const char* s, const char* k, float& v) { Add(SettingType::Float, s, k, &v); }
    void Text(const char* s, const char* k, std::string& v) { Add(SettingType::Text, s, k, &v); }

    // The values an edit may give the row added last.
    void Range(double lo, double hi) {
        Rows.back().Lo = lo;
        Rows.back().Hi = hi;
    }
    // A run-time value, addressed as group.field, accepted in lo..hi.
    void RunInt(const char* group, const char* field, int32_t& v, double lo, double hi) {
        Add(SettingType::Int, group, field, &v);
        Rows.back().Persisted = false;
        Range(lo, hi);
    }
    void RunDouble(const char* group, const char* field, double& v) {
        Add(SettingType::Double, group, field, &v);
        Rows.back().Persisted = false;
    }
    void RunText(const char* group, const char* field, std::string& v) {
        Add(SettingType::Text, group, field, &v);
        Rows.back().Persisted = false;
    }
};

} // namespace

SettingsTable BuildSettingsTable(Workspace& ws) {
    TableBuilder t;
    Surface& s = ws.TheSurface;
    FracParms& g = s.Generation;

    t.Long("Muse", "ReadInfo", ws.Muse.ReadInfo);
    t.Long("Muse", "SkipX", ws.Muse.SkipX);
    t.Long("Muse", "SkipY", ws.Muse.SkipY);
    t.Long("Muse", "XSize", ws.Muse.XSize);
    t.Long("Muse", "YSize", ws.Muse.YSize);
    t.Long("Map", "XSize", s.XSize);
    t.Long("Map", "YSize", s.YSize);
    t.Double("Map", "Left", s.Left);
    t.Double("Map", "Right", s.Right);
    t.Double("Map", "Top", s.Top);
    t.Double("Map", "Bottom", s.Bottom);
    t.Double("Map", "XRes", s.XRes);
    t.Double("Map", "YRes", s.YRes);
    t.Double("Map", "Min", s.Min);
    t.Double("Map", "Max", s.Max);
    t.Long("Surface", "Type", g.Type);
    t.Range(SurfaceTypeFirst, SurfaceTypeLast);
    t.Long("Surface", "RandSeed", g.Seed);
    t.Text("Surface", "Func", g.Func);
    t.Double("Surface", "rf", g.rf);
    t.Double("Surface", "irf", g.irf);
    t.Double("Surface", "H", g.H);
    t.Double("Surface", "lacunarity", g.lacunarity);
    t.Double("Surface", "octaves", g.octaves);
    t.Double("Surface", "offset", g.offset);
    t.Double("Surface", "fgain", g.fgain);
    t.Double("Surface", "xpos", g.xpos);
    t.Double("Surface", "ypos", g.ypos);
    t.Double("Surface", "zpos", g.zpos);
    t.Double("Surface", "xrange", g.xrange);
    t.Double("Surface", "yrange", g.yrange);
    t.Double("Surface", "zrange", g.zrange);
    t.Bool("Surface", "TexSphere", g.TexSphere);
    t.Double("Import", "Radius", ws.Import.Radius);
    t.Long("Import", "Width", ws.Import.Width);
    t.Long("Import", "Height", ws.Import.Height);
    t.Double("Import", "NoData", ws.Import.NoData);
    t.Text("Import", "CDPath", ws.Import.CDPath);
    t.Bool("Import", "Correction", ws.Import.Correction);
    t.Int("Import", "Type", ws.Import.Type);
    t.Bool("Hex", "Draw", ws.Hex.Draw);
    t.Float("Hex", "Radius", ws.Hex.Radius);
    t.Float("Hex", "OfsX", ws.Hex.OfsX);
    t.Float("Hex", "OfsY", ws.Hex.OfsY);
    t.Long("Hex", "Color", ws.Hex.Color);
    t.Int("Hex", "Weight", ws.Hex.Weight);
    t.Long("Hex", "BColor", ws.Hex.BColor);
    t.Int("Hex", "BWeight", ws.Hex.BWeight);
    t.Bool("RGrid", "Draw", ws.RGrid.Draw);
    t.Float("RGrid", "XInterval", ws.RGrid.XInterval);
    t.Float("RGrid", "YInterval", ws.RGrid.YInterval);
    t.Float("RGrid", "OfsX", ws.RGrid.OfsX);
    t.Float("RGrid", "OfsY", ws.RGrid.OfsY);
    t.Int("RGrid", "Units", ws.RGrid.Units);
    t.Long("RGrid", "Color", ws.RGrid.Color);
    t.Int("RGrid", "Weight", ws.RGrid.Weight);
    t.Long("RGrid", "BColor", ws.RGrid.BColor);
    t.Int("RGrid", "BWeight", ws.RGrid.BWeight);
    t.Long("Interp", "Type", ws.Interp.Type);
    t.Double("Interp", "Bias", ws.Interp.Bias);
    t.Double("Interp", "Tension", ws.Interp.Tension);
    t.Int("MapScale", "Type", ws.MapScale.Type);
    t.Double("MapScale", "Hi", ws.MapScale.Hi);
    t.Double("MapScale", "Break", ws.MapScale.Break);
    t.Double("MapScale", "Lo", ws.MapScale.Lo);
    t.Double("", "BaseLat", ws.General.BaseLat);
    t.Double("", "BaseLon", ws.General.BaseLon);
    t.Double("", "Val_RDegm", ws.General.Val_RDegm);
    t.Double("", "ClipMin", ws.General.ClipMin);
    t.Double("", "ClipMax", ws.General.ClipMax);
    t.Int("", "DispPosn", ws.General.DispPosn);
    t.Bool("", "ShowTimeCount", ws.General.ShowTimeCount);
    t.Bool("", "PreciseCursor", ws.General.PreciseCursor);
    t.Bool("", "Selection", ws.General.Selection);
    t.Int("", "Undo", ws.General.Undo);
    t.Float("Wand", "Tolerance", ws.WandTolerance);
    t.Bool("", "UseTablet", ws.General.UseTablet);

    LightParms& lp = s.Lighting;
    t.Int("Light", "SeaFloat", lp.SeaFloat);
    t.Int("Light", "Colors", lp.Colors);
    t.Int("Light", "Levels", lp.Levels);
    t.Double("Light", "Ambient", lp.Ambient);
    t.Double("Light", "Gamma", lp.Gamma);
    t.Int("Light", "AltMode", lp.Type);
    t.Double("Light", "SeaLevel", lp.SeaLevel);
    t.Int("Light", "SeaEqual", lp.SeaEqual);
    t.Double("Light", "Corner", lp.Corner);
    t.Double("Light", "VertExag", lp.VertExag);
    t.Int("Light", "Unit", lp.Unit);
    t.Double("Light", "Az", lp.Az);
    t.Double("Light", "El", lp.El);
    t.Int("Light", "AbsColor", lp.AbsColor);
    t.Double("Light", "AbsMax", lp.AbsMax);
    t.Double("Light", "AbsMin", lp.AbsMin);
    t.Int("Light", "BitDepth", lp.BitDepth);
    // The editor's own, after the rows earlier runs stored.
    t.Int("", "AutosaveMinutes", ws.General.AutosaveMinutes);

    // The run-time fields of command dialogs are added by the commands that declare them.
    t.RunInt("mdr", "DataType", ws.MdrSave.DataType, 0, 2);
    t.RunInt("mdr", "ScanType", ws.MdrSave.ScanType, 0, 0);
    t.RunInt("mdr", "Compression", ws.MdrSave.Compression, 0, 0);
    t.RunInt("mdr", "Coding", ws.MdrSave.Coding, 0, 0);
    t.RunInt("raw", "Width", ws.Raw.Width, 0, Surface::SizeLimit - 1);
    t.RunInt("raw", "Height", ws.Raw.Height, 0, Surface::SizeLimit - 1);
    t.RunInt("raw", "ByteOrder", ws.Raw.ByteOrder, 0, 1);
    t.RunInt("raw", "SouthUp", ws.Raw.SouthUp, 0, 1);
    t.RunInt("raw", "EngineSize", ws.Raw.EngineSize, 0, 2);
    t.RunDouble("range", "Low", ws.GreyRange.Low);
    t.RunDouble("range", "High", ws.GreyRange.High);
    t.RunInt("png", "BitDepth", ws.RasterSave.PngBits, 8, 16);
    t.RunInt("png", "EngineSize", ws.RasterSave.EngineSize, 0, 2);
    t.RunInt("tif", "DataType", ws.RasterSave.TiffDataType, 0, 2);
    t.RunText("kernel-load", "Path", ws.KernelLoad.Path);
    t.RunText("kernel-save", "Path", ws.KernelSave.Path);
    return std::move(t.Rows);
}

} // namespace korvel
