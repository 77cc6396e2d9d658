"""Interop check of the line-of-sight mask against gdal_viewshed, run by interop-check.py.

korvel-cli makes a ridged terrain of 256 x 256 samples 30 m apart at the equator, writes it as a
GeoTIFF and draws the mask of an observer 10 m above its centre sample. GDAL is handed the same
grid in metres (EPSG:3857, whose scale is 1 at the equator; cells 30 m east-west and the
meridian's 110574.27 m a degree north-south) and gdal_viewshed -cc 1 (the Earth's curvature, no
refraction, as Korvel's ellipsoid frame has it) draws its mask from the same sample. The two must
agree on most samples near the observer; the agreement is printed.

Why the rest differs: gdal_viewshed decides every cell once, from a horizon interpolated between
the two cells before it towards the observer; Korvel marches 1501 rays in steps of 2/3 of a sample
over bilinearly interpolated heights and marks the sample nearest each step, and near the
observer several rays pass by every sample, so a sample is marked when any one of them sees the
ground near it: cells on the edge of a ridge's shadow come out seen in Korvel and hidden in GDAL
(nearly all of the difference is Korvel seeing more). GDAL bends the Earth by a sphere of the
semi-major axis, Korvel by the WGS-84 ellipsoid; at 2 km that is far below a centimetre.
"""

import math

import numpy as np

import interop_heights

SIDE = 256
SPACING = 30.0  # metres east-west
DEGREES = SPACING / 111319.49079327357  # one sample, in degrees of longitude at the equator
METRES_NORTH = DEGREES * 110574.2727  # one sample along the meridian at the equator
OBSERVER = 128  # column and row (from the Bottom edge)
EYE = 10.0
RADIUS = 60  # samples compared about the observer
GOAL = 0.8


def first_band(h, work, name):
    """Band 1 of a raster as float64, north row first (a 24-bit picture's red)."""
    out = f"band1-{name}.f64"
    interop_heights.run_tool(h, work, "gdal_translate", "-q", "-b", "1", "-of", "ENVI", "-ot",
                             "Float64", name, out)
    return np.fromfile(work / out, "<f8").reshape(SIDE, SIDE)


def checks(h):
    def check_line_of_sight_against_gdal_viewshed(work):
        h.need(tools=("gdal_translate", "gdal_viewshed", "gdalinfo"))
        edge = SIDE * DEGREES
        where = OBSERVER * DEGREES
        h.korvel(work, "new", f"{SIDE}x{SIDE}", "set", "Surface/Type=6", "set",
                 "Surface/RandSeed=5", "calculate", "set", "MapScale/Type=2", "set",
                 "MapScale/Lo=0", "set", "MapScale/Hi=600", "scale", "set", "map-info.Top=" +
                 repr(edge), "set", "map-info.Left=0", "set", "map-info.Right=" + repr(edge),
                 "set", "map-info.Bottom=0", "map-info", "save", "los.tif")
        # Read back, the samples lie DEGREES apart from the corner, as GDAL's cells do.
        h.korvel(work, "open", "los.tif", "set", f"los-mask.Latitude={where!r}", "set",
                 f"los-mask.Longitude={where!r}", "set", f"los-mask.Altitude={EYE}", "los-mask",
                 "save", "los.bmp")
        north = SIDE * METRES_NORTH
        interop_heights.run_tool(h, work, "gdal_translate", "-q", "-a_srs", "EPSG:3857",
                                 "-a_ullr", "0", repr(north), repr(SIDE * SPACING), "0",
                                 "los.tif", "metric.tif")
        # File rows run from the north: the observer's row is SIDE - 1 - OBSERVER there.
        file_row = SIDE - 1 - OBSERVER
        interop_heights.run_tool(
            h, work, "gdal_viewshed", "-q", "-cc", "1", "-vv", "255", "-iv", "0", "-ov", "0",
            "-oz", repr(EYE), "-ox", repr((OBSERVER + 0.5) * SPACING), "-oy",
            repr(north - (file_row + 0.5) * METRES_NORTH), "metric.tif", "gdal.tif")
        gdal = first_band(h, work, "gdal.tif")
        ours = first_band(h, work, "los.bmp")
        rows, columns = np.mgrid[0:SIDE, 0:SIDE]
        distance = np.hypot(rows - file_row, columns - OBSERVER)
        near = (distance <= RADIUS) & (distance > 0)
        same = (gdal[near] > 0) == (ours[near] > 0)
        agreement = same.mean()
        only_ours = ((ours[near] > 0) & (gdal[near] == 0)).mean()
        only_gdal = ((gdal[near] > 0) & (ours[near] == 0)).mean()
        summary = (f"{agreement:.1%} of {near.sum()} samples within {RADIUS} of the observer "
                   f"agree (seen by Korvel only {only_ours:.1%}, by gdal_viewshed only "
                   f"{only_gdal:.1%})")
        if not agreement >= GOAL or math.isnan(agreement):
            raise h.Failure(summary + f", goal {GOAL:.0%}")
        return summary

    return [check_line_of_sight_against_gdal_viewshed]
