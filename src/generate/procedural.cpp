#include "generate/procedural.h"

#include "core/extremes.h"
#include "core/host.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "edit/point_operations.h"
#include "generate/evaluator.h"
#include "generate/parser.h"
#include "generate/plasma.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>

namespace korvel {

namespace {

constexpr double DegToRad = 0.017453292519943295;
constexpr size_t HistoryKept = 16;
const char* const HistorySection = "Expressions";
const char* const DefaultExpression = "sinc(r)";

std::string TypeName(const FracParms& fp) {
    static const char* const fractals[] = {"fBm", "multifractal", "hetero terrain",
                                           "hybrid multifractal", "ridged multifractal"};
    if (fp.Type == 1)
        return "\"" + fp.Func + "\"";
    if (fp.Type >= 2 && fp.Type <= 6)
        return fractals[fp.Type - 2];
    return {};
}

// Hands run the function of a fractal type as a callable of (x, y, z); types without one give 0.
// Dispatching once here keeps the switch out of the per-sample loop.
template <class Run> void WithFractal(NoiseBasis& n, const FracParms& fp, Run run) {
    const double h = fp.H, lac = fp.lacunarity, oct = fp.octaves, off = fp.offset, g = fp.fgain;
    switch (fp.Type) {
    case 2:
        run([&n, h, lac, oct](double x, double y, double z) {
            return n.Fbm(x, y, z, h, lac, oct);
        });
        break;
    case 3:
        run([&n, h, lac, oct, off, g](double x, double y, double z) {
            return n.Multifractal(x, y, z, h, lac, oct, off, g);
        });
        break;
    case 4:
        run([&n, h, lac, oct, off](double x, double y, double z) {
            return n.HeteroTerrain(x, y, z, h, lac, oct, off);
        });
        break;
    case 5:
        run([&n, h, lac, oct, off](double x, double y, double z) {
            return n.HybridMultifractal(x, y, z, h, lac, oct, off);
        });
        break;
    case 6:
        run([&n, h, lac, oct, off, g](double x, double y, double z) {
            return n.RidgedMultifractal(x, y, z, h, lac, oct, off, g);
        });
        break;
    default:
        run([](double, double, double) { return 0.0; });
        break;
    }
}

// The flat window: x and y advance by repeated addition of the steps, as they always have, so
// that a surface is reproduced to the bit. sample(x, y, z, row, column, current) gives a value.
template <class Sample>
void FlatRows(Surface& s, Progress& p, const FracParms& fp, bool showProgress, Extremes& e,
              Sample sample) {
    const double sx = fp.xrange / s.XSize;
    const double sy = fp.yrange / s.YSize;
    const double z = fp.zpos;
    double y = fp.ypos;
    for (int32_t r = 0; r < s.YSize; ++r, y += sy) {
        if (p.CancelRequested())
            return;
        float* const row = s.Rows[r];
        double x = fp.xpos;
        for (int32_t c = 0; c < s.XSize; ++c, x += sx) {
            if (p.CancelRequested())
                return;
            const auto v = static_cast<float>(sample(x, y, z, r, c, row[c]));
            e.AddFinite(v);
            row[c] = v;
        }
        if (showProgress)
            p.ProgressUpdate(r, s.YSize);
        p.PumpPendingMessage();
    }
}

// Row r lies at latitude Bottom + r * dLat, column c at longitude Left + c * dLon, on the
// ellipsoid with radii (xrange, yrange, zrange) round (xpos, ypos, zpos).
template <class Function>
void SphereRows(Surface& s, Progress& p, const FracParms& fp, bool showProgress, Extremes& e,
                Function f) {
    const double dLon = (fp.Right - fp.Left) / s.XSize;
    const double dLat = (fp.Top - fp.Bottom) / s.YSize;
    // cos(lon) * xrange and sin(lon) * yrange: the first product of each coordinate, once.
    std::vector<double> xs(s.XSize), ys(s.XSize);
    for (int32_t c = 0; c < s.XSize; ++c) {
        const double lon = (c * dLon + fp.Left) * DegToRad;
        xs[c] = std::cos(lon) * fp.xrange;
        ys[c] = std::sin(lon) * fp.yrange;
    }
    for (int32_t r = 0; r < s.YSize; ++r) {
        if (p.CancelRequested())
            return;
        const double lat = (r * dLat + fp.Bottom) * DegToRad;
        const double cosLat = std::cos(lat);
        const double pz = std::sin(lat) * fp.zrange + fp.zpos;
        float* const row = s.Rows[r];
        for (int32_t c = 0; c < s.XSize; ++c) {
            if (p.CancelRequested())
                return;
            const auto v =
                static_cast<float>(f(xs[c] * cosLat + fp.xpos, ys[c] * cosLat + fp.ypos, pz));
            e.AddFinite(v);
            row[c] = v;
        }
        if (r % 4 == 0) {
            if (showProgress)
                p.ProgressUpdate(r, s.YSize);
            p.PumpPendingMessage();
        }
    }
}

int32_t Finish(Workspace& ws, const Extremes& e, bool showProgress) {
    ws.Noise.FractalWeightsReset();
    if (showProgress)
        ws.TheProgress.ProgressEnd();
    e.StoreIn(ws.TheSurface);
    return ws.TheProgress.CancelRequested() ? ProceduralCancelled : 0;
}

int32_t GenerateFlat(Workspace& ws, const FracParms& fp, bool showProgress) {
    Surface& s = ws.TheSurface;
    Progress& p = ws.TheProgress;
    std::unique_ptr<Evaluator> evaluator;
    std::unique_ptr<ExprNode> tree;
    if (fp.Type == 1) {
        evaluator = std::make_unique<Evaluator>(s, ws.Noise, ws.Random, fp);
        std::string error;
        tree = ParseExpression(fp.Func, *evaluator, &error);
        if (!tree) {
            ws.TheHost.ShowMessage("Surface/Func: " + error);
            return ProceduralError;
        }
    }
    if (showProgress)
        p.ProgressBegin("Generating " + TypeName(fp) + " procedural surface", 1);

    const double sx = fp.xrange / s.XSize;
    const double sy = fp.yrange / s.YSize;
    s.Left = fp.xpos;
    s.Right = s.XSize * sx + fp.xpos;
    s.Bottom = fp.ypos;
    s.Top = s.YSize * sy + fp.ypos;
    s.XRes = sx;
    s.YRes = sy;

    Extremes e;
    if (tree) {
        Evaluator& ev = *evaluator;
        ExprNode& root = *tree;
        FlatRows(s, p, fp, showProgress, e,
                 [&ev, &root](double x, double y, double z, int32_t r, int32_t c, float current) {
                     ev.Context = {static_cast<float>(r), static_cast<float>(c), current};
                     return ev.Evaluate(root, x, y, z);
                 });
    } else {
        WithFractal(ws.Noise, fp, [&](auto f) {
            FlatRows(
                s, p, fp, showProgress, e,
                [f](double x, double y, double z, int32_t, int32_t, float) { return f(x, y, z); });
        });
    }
    return Finish(ws, e, showProgress);
}

int32_t GenerateSphere(Workspace& ws, const FracParms& fp, bool showProgress) {
    Surface& s = ws.TheSurface;
    if (fp.Type < 1 || fp.Type > 6) {
        char text[80];
        std::snprintf(text, sizeof text, "Type %d surface not supported in spherical mode",
                      fp.Type);
        ws.TheHost.ShowMessage(text);
        return ProceduralError;
    }
    if (showProgress)
        ws.TheProgress.ProgressBegin("Generating spherical " + TypeName(fp) + " procedural surface",
                                     1);
    s.Top = fp.Top;
    s.Left = fp.Left;
    s.Right = fp.Right;
    s.Bottom = fp.Bottom;

    Extremes e;
    WithFractal(ws.Noise, fp,
                [&](auto f) { SphereRows(s, ws.TheProgress, fp, showProgress, e, f); });
    return Finish(ws, e, showProgress);
}

// Plasma leaves Min and Max alone, but the map-scale step ("To Range") and the shading read them.
void StoreGridExtremes(Surface& s) {
    Extremes e;
    for (int32_t r = 0; r < s.YSize; ++r)
        e.AddEach(s.Rows[r], s.XSize);
    e.StoreIn(s);
}

std::string HistoryKey(size_t i) {
    char key[32];
    std::snprintf(key, sizeof key, "expr%03zu", i);
    return key;
}

} // namespace

int32_t GenerateProcedural(Workspace& ws, const FracParms& params, bool showProgress) {
    if (!ws.TheSurface.HasGrid())
        return 0;
    ws.Noise.NoiseInvalidate();
    ws.Random.SeedRandom(params.Seed);
    if (params.TexSphere && params.Type >= 2)
        return GenerateSphere(ws, params, showProgress);
    return GenerateFlat(ws, params, showProgress);
}

int32_t GenerateSurface(Workspace& ws, const FracParms& params, bool showProgress) {
    Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return 0;
    // Any other type would silently give a flat surface.
    if (params.Type < SurfaceTypeFirst || params.Type > SurfaceTypeLast) {
        ws.TheHost.ShowMessage("Surface/Type: " + std::to_string(params.Type) +
                               " is not a surface type (0 plasma, 1 expression, 2 to 6 fractals)");
        return -1;
    }
    int32_t code = 0;
    if (params.Type == 0) {
        code = GeneratePlasma(s, ws.TheProgress, ws.Random, params.Seed, params.rf, params.irf,
                              showProgress);
        StoreGridExtremes(s);
    } else {
        code = GenerateProcedural(ws, params, showProgress);
        if (code == ProceduralError)
            return -1;
    }
    // A cancelled generation is not scaled: the user asked to stop, and the scaling would either
    // see the flag at once or, opening its own progress window, clear it and run to the end.
    if (code == 0) {
        const MapScaleSettings& m = ws.MapScale;
        if (ApplyMapScale(s, ws.TheProgress, m.Type, m.Hi, m.Break, m.Lo, showProgress) == -1)
            code = -1;
    }
    s.XRes = (s.Right - s.Left) / s.XSize;
    s.YRes = (s.Top - s.Bottom) / s.YSize;
    return code == 0 ? 0 : -1;
}

double BandLimitOctaves(int32_t xsize, int32_t ysize) {
    double v = std::log2(static_cast<double>(std::max(xsize, ysize))) - 2.0;
    // Also catches the NaN and -inf of a size of 0 or less.
    if (!(v >= 0.5))
        v = 0.5;
    return std::trunc(v * 10000.0) * 0.0001;
}

std::vector<std::string> ReadExpressionHistory(SettingsStore& store) {
    std::vector<std::string> history;
    for (size_t i = 0;; ++i) {
        const std::optional<std::string> value = store.Read(HistorySection, HistoryKey(i));
        if (!value || value->empty())
            break;
        history.push_back(*value);
    }
    if (history.empty())
        history.emplace_back(DefaultExpression);
    return history;
}

std::vector<std::string> WriteExpressionHistory(SettingsStore& store,
                                                const std::vector<std::string>& history,
                                                const std::string& chosen) {
    // An empty first key would end the list when it is next read, losing every entry after it.
    if (chosen.empty())
        return history;
    std::vector<std::string> kept(
        history.begin(),
        history.begin() + static_cast<std::ptrdiff_t>(std::min(history.size(), HistoryKept)));
    if (const auto same = std::ranges::find(kept, chosen); same != kept.end())
        kept.erase(same);
    kept.insert(kept.begin(), chosen);
    for (size_t i = 0; i < kept.size(); ++i)
        store.Write(HistorySection, HistoryKey(i), kept[i]);
    // A longer list stored before would show its tail again (duplicates among it): end it here.
    const std::string after = HistoryKey(kept.size());
    if (const std::optional<std::string> stale = store.Read(HistorySection, after);
        stale && !stale->empty())
        store.Write(HistorySection, after, "");
    return kept;
}

} // namespace korvel
