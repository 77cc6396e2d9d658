#include "geo/line_of_sight.h"

#include "core/dialog_fields.h"
#include "core/host.h"
#include "core/image.h"
#include "core/progress.h"
#include "core/surface.h"
#include "core/workspace.h"
#include "geo/angles.h"
#include "geo/geoid.h"
#include "shading/gray_maps.h"
#include "shading/texture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace korvel {

namespace {

constexpr StatusText LineOfSightTextList[] = {
    {LosCancelled, "cancelled"},
    {LosNoPicture, "the picture could not be made at the Surface's size"},
    {LosNotSaved, "a slice picture could not be written"},
    {LosSequenceExhausted, "the Sequence number cannot be advanced further"},
};

constexpr double Infinity = std::numeric_limits<double>::infinity();

// Elevation limits in degrees, clamped to [-90, 90] (NaN takes the side's end) and then as the
// tangents the rays compare: every angle is compared as a tangent, in one unit.
double LimitTangent(double degrees, double ifNotANumber) {
    const double d = std::isnan(degrees) ? ifNotANumber : std::clamp(degrees, -90.0, 90.0);
    if (d <= -90.0)
        return -Infinity;
    if (d >= 90.0)
        return Infinity;
    return std::tan(d * DegreesToRadians);
}

// sin and cos of an angle in degrees, exact at the multiples of 90: a ray due west from the
// bottom row must not drift off it by the rounding of sin(pi).
void SinCosDegrees(double degrees, double& sine, double& cosine) {
    const double rest = std::remainder(degrees, 90.0);
    const auto quarter = static_cast<int64_t>(std::llround((degrees - rest) / 90.0)) & 3;
    const double s = std::sin(rest * DegreesToRadians);
    const double c = std::cos(rest * DegreesToRadians);
    const double sines[4] = {s, c, -s, -c};
    const double cosines[4] = {c, -s, -c, s};
    sine = sines[quarter];
    cosine = cosines[quarter];
}

// sin and cos of a + k d for k = k0, k0 + 1, ..., by rotation: a ray of thousands of steps drifts
// by a few thousand rounding errors, micrometres on the Earth.
struct AngleWalk {
    AngleWalk(double a, double d, double k0)
        : Sin(std::sin(a + k0 * d)), Cos(std::cos(a + k0 * d)), StepSin(std::sin(d)),
          StepCos(std::cos(d)) {}
    void Advance() {
        const double s = Sin * StepCos + Cos * StepSin;
        Cos = Cos * StepCos - Sin * StepSin;
        Sin = s;
    }
    double Sin, Cos, StepSin, StepCos;
};

// The steps k (from 1) for which start + k step lies in [0, size); empty when none or when the
// start or step is not a number.
bool StepsInside(double start, double step, int32_t size, double& kLo, double& kHi) {
    if (!std::isfinite(start) || !std::isfinite(step))
        return false;
    if (step == 0.0)
        return start >= 0.0 && start < size;
    const double a = -start / step;
    const double b = (size - start) / step;
    kLo = std::max(kLo, std::min(a, b));
    kHi = std::min(kHi, std::max(a, b));
    return true;
}

int32_t NearestIndex(double position, int32_t size) {
    return std::clamp(static_cast<int32_t>(std::lround(position)), 0, size - 1);
}

struct Observer {
    double Column = 0.0; // sample coordinates, rows from the Bottom edge
    double Row = 0.0;
    double Lat = 0.0; // degrees
    double Lon = 0.0;
    bool Inside(const Surface& s) const {
        return Column >= 0.0 && Column < s.XSize && Row >= 0.0 && Row < s.YSize;
    }
};

// What every ray of one mask shares.
struct RayCaster {
    const Surface& S;
    const InterpSettings& Interp;
    const Geoid& Model;
    Image& Picture;
    Observer At;
    double TanLo, TanHi;
    double ClipLo, ClipHi;
    double Supersample;
    int32_t Mark;
    const double* SliceAltitude;

    void Cast(double azimuthDegrees) const;
};

void RayCaster::Cast(double azimuthDegrees) const {
    double sinTheta = 0.0;
    double cosTheta = 0.0;
    SinCosDegrees(90.0 - azimuthDegrees, sinTheta, cosTheta);
    // One step is 1/Supersample of a sample in both directions; in degrees it is that many
    // XRes and YRes, so a zero or unknown resolution stops the ray before it starts.
    const double dColumn = cosTheta / Supersample;
    const double dRow = sinTheta / Supersample;
    const double dLon = dColumn * S.XRes;
    const double dLat = dRow * S.YRes;
    if (!(std::isfinite(dLon) && std::isfinite(dLat)) || (dLon == 0.0 && dLat == 0.0) ||
        S.XRes == 0.0 || S.YRes == 0.0)
        return;
    double kLo = 1.0;
    double kHi = Infinity;
    if (!StepsInside(At.Column, dColumn, S.XSize, kLo, kHi) ||
        !StepsInside(At.Row, dRow, S.YSize, kLo, kHi))
        return;
    const double first = std::ceil(kLo);
    if (!(first <= kHi))
        return;
    const auto steps = static_cast<int64_t>(std::floor(kHi) - first) + 1;
    const EllipsoidAxes& axes = Model.Axes();
    AngleWalk lat(At.Lat * DegreesToRadians, dLat * DegreesToRadians, first);
    AngleWalk lon(At.Lon * DegreesToRadians, dLon * DegreesToRadians, first);
    double horizon = TanLo;
    for (int64_t i = 0; i < steps; ++i, lat.Advance(), lon.Advance()) {
        const double k = first + static_cast<double>(i);
        const double column = At.Column + k * dColumn;
        const double row = At.Row + k * dRow;
        // The bounds came from divisions; the last step may sit a rounding outside.
        if (!(column >= 0.0 && column < S.XSize && row >= 0.0 && row < S.YSize))
            continue;
        const double h = S.SampleAt(column, row, Interp);
        // Geoid::ToCartesian and ToLocal, with the sines and cosines walked along the ray.
        const double n = axes.A / std::sqrt(1.0 - axes.E1Squared * lat.Sin * lat.Sin);
        const double ringRadius = n * lat.Cos;
        const double polar = n * (1.0 - axes.E1Squared) * lat.Sin;
        auto tangentAt = [&](double height) {
            const double ring = ringRadius + height * lat.Cos;
            const EastNorthUp local =
                Model.ToLocal({ring * lon.Cos, ring * lon.Sin, polar + height * lat.Sin});
            return local.Up / std::sqrt(local.East * local.East + local.North * local.North);
        };
        const double ground = tangentAt(h);
        const double seen = SliceAltitude ? tangentAt(*SliceAltitude) : ground;
        if (seen >= horizon && seen >= TanLo && seen <= TanHi && h >= ClipLo && h <= ClipHi)
            Picture.SetIndex(NearestIndex(column, S.XSize), NearestIndex(row, S.YSize), Mark);
        if (ground > horizon)
            horizon = ground;
    }
}

// Rays at start, start + delta, ... up to end, counted on an index: start = end casts one ray,
// and an end before the start goes on through north.
struct AzimuthSweep {
    double Start = 0.0;
    double Delta = 0.0;
    int64_t Rays = 1;
};

AzimuthSweep SweepOf(const LosMaskFields& f) {
    AzimuthSweep sweep;
    sweep.Start = f.AzimuthStart;
    double end = f.AzimuthEnd;
    if (end < sweep.Start)
        end += 360.0 * std::ceil((sweep.Start - end) / 360.0);
    if (end == sweep.Start || !std::isfinite(end - sweep.Start))
        return sweep;
    const int32_t steps = std::max<int32_t>(f.AzimuthSteps, 1);
    sweep.Delta = (end - sweep.Start) / steps;
    sweep.Rays = static_cast<int64_t>(steps) + 1;
    return sweep;
}

} // namespace

const StatusTable LineOfSightTexts{"line of sight", LineOfSightTextList};

double LosSupersample(double asked) {
    if (!(asked >= 0.01))
        return 1.0;
    return std::min(asked, LosMaxSupersample);
}

int32_t LineOfSight(const Surface& s, const InterpSettings& interp, Geoid geoid, Image& picture,
                    Progress& p, const LosMaskFields& f, const double* sliceAltitude) {
    if (!s.HasGrid())
        return LosDone;
    if (picture.Width() < s.XSize || picture.Height() != s.YSize)
        return LosNoPicture;
    int32_t mark = 0;
    if (f.ClearImage) {
        InstallGreyPalette(picture);
        std::memset(picture.Data(), 0, picture.ByteCount());
        mark = LosClearMark;
    }
    Observer at{(f.Longitude - s.Left) / s.XRes, (f.Latitude - s.Bottom) / s.YRes, f.Latitude,
                f.Longitude};
    if (at.Inside(s))
        picture.SetIndex(NearestIndex(at.Column, s.XSize), NearestIndex(at.Row, s.YSize), mark);
    double altitude = f.Altitude;
    if (f.AltitudeAboveGround && at.Inside(s))
        altitude += s.SampleAt(at.Column, at.Row, interp);
    geoid.SetReference(f.Latitude * DegreesToRadians, f.Longitude * DegreesToRadians, altitude);
    double tanLo = LimitTangent(f.ElevationStart, -90.0);
    double tanHi = LimitTangent(f.ElevationEnd, 90.0);
    if (tanLo > tanHi)
        std::swap(tanLo, tanHi);
    const RayCaster caster{s,     interp,       geoid,    picture,  at,
                           tanLo, tanHi,        f.ClipLo, f.ClipHi, LosSupersample(f.Supersample),
                           mark,  sliceAltitude};
    const AzimuthSweep sweep = SweepOf(f);
    p.ProgressBegin("Calculating Line of Sight", 5);
    for (int64_t i = 0; i < sweep.Rays && !p.CancelRequested(); ++i) {
        caster.Cast(sweep.Start + static_cast<double>(i) * sweep.Delta);
        p.ProgressUpdate(static_cast<double>(i), static_cast<double>(sweep.Rays));
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? LosCancelled : LosDone;
}

std::string LosPictureName(int32_t number, int32_t sequenceType) {
    char name[32];
    std::snprintf(name, sizeof name, "LOS%05d.%s", number,
                  sequenceType == LosSequencePcx ? "PCX" : "BMP");
    return name;
}

int32_t RunLineOfSight(Workspace& ws, const Geoid& geoid, const LosPictureSaver& save) {
    LosMaskFields& f = ws.LosMask;
    Surface& s = ws.TheSurface;
    Host& host = ws.TheHost;
    if (!s.HasGrid())
        return LosDone;
    Image& picture = TextureToDrawOn(ws);
    auto refused = [&](int32_t code) {
        host.ShowMessage("LOS Mask: " + DescribeStatus(LineOfSightTexts, code));
        return code;
    };
    if (!f.Slices) {
        const int32_t code = LineOfSight(s, ws.Interp, geoid, picture, ws.TheProgress, f);
        return code == LosNoPicture ? refused(code) : code;
    }
    // Every slice is drawn on the picture as it stood, not on the slice before it.
    Image before;
    if (before.Create(picture.Width(), picture.Height(), picture.BitsPerPixel()) != 0)
        return refused(LosNoPicture);
    before.CopyPixelsFrom(picture);
    before.Palette = picture.Palette;
    const int32_t frames = std::max<int32_t>(f.SliceFrames, 1);
    for (int32_t frame = 0; frame < frames; ++frame) {
        const double altitude =
            frames == 1 ? f.SliceInitial
                        : f.SliceInitial + (f.SliceFinal - f.SliceInitial) * frame / (frames - 1);
        picture.CopyPixelsFrom(before);
        picture.Palette = before.Palette;
        const int32_t code =
            LineOfSight(s, ws.Interp, geoid, picture, ws.TheProgress, f, &altitude);
        host.InvalidateView();
        if (code != LosDone)
            return code == LosNoPicture ? refused(code) : code;
        if (f.Sequence == std::numeric_limits<int32_t>::max())
            return refused(LosSequenceExhausted);
        std::string message;
        if (save(LosPictureName(f.Sequence, f.SequenceType), message) != 0) {
            host.ShowMessage(message);
            return LosNotSaved;
        }
        ++f.Sequence;
    }
    return LosDone;
}

} // namespace korvel
