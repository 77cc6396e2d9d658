"""Interop checks of the elevation imports, run by interop-check.py.

GDAL -> Korvel: a 1201 x 1201 cell of int16 heights on whole degrees (EPSG:4326, 3 arc-seconds,
its samples at -120..-119, 45..46) becomes a GeoTIFF, then gdal_translate writes it as a USGS DEM
(-of USGSDEM) and a DTED level 1 cell (-of DTED); it also writes EHdr BIL grids as Int16 and as
Float32. korvel-cli opens each and saves it as RAW32 (north row first), which numpy compares
with GDAL's own reading of the same file sample for sample.

What Korvel keeps: of a DEM or DTED cell the 1200 x 1200 samples from the south-western post
(the northern row and eastern column repeat the next cell's), with Left/Bottom the
south-western post and Right/Top the north-eastern one, as GDAL's sample centres give them; of a
BIL grid every row and the first 1200 columns (widths are multiples of 4), with the edges the
outline of the cells, which is GDAL's extent.
"""


import numpy as np

from interop_heights import gdal_values, run_tool

SIDE = 1201
STEP = 1.0 / 1200
WEST, SOUTH = -120.0, 45.0
TOLERANCE = 1e-9


def checks(h):
    """The check functions, closed over interop-check.py's helpers h."""

    def korvel_read(work, name, width, height, *before):
        """Korvel's samples (north row first) and map record after opening name."""
        out = run_tool(h, work, h.CLI, "-q", *before, "open", name, "info", "save", name + ".r32")
        record = dict(line.split("=", 1) for line in out.split() if "=" in line)
        samples = np.fromfile(work / (name + ".r32"), "<f4").reshape(height, width)
        return samples.astype(np.float64), {k: float(v) for k, v in record.items()}

    def expect_edges(name, record, left, right, top, bottom):
        for edge, want in (("Left", left), ("Right", right), ("Top", top), ("Bottom", bottom)):
            if abs(record[edge] - want) > TOLERANCE:
                raise h.Failure(f"{name}: Korvel's {edge} is {record[edge]!r}, GDAL's "
                                f"{want!r}")

    def make_cell(work):
        """cell.tif: ridges and a shore below sea level, int16, on whole degrees."""
        y, x = np.mgrid[0:SIDE, 0:SIDE]
        heights = (900 + 700 * np.sin(x / 83.0) * np.cos(y / 61.0) + (x * 7 + y * 3) % 41
                   - 250).astype("<i2")
        heights.tofile(work / "cell.bil")
        (work / "cell.hdr").write_text(
            f"BYTEORDER I\nLAYOUT BIL\nNROWS {SIDE}\nNCOLS {SIDE}\nNBITS 16\n"
            f"PIXELTYPE SIGNEDINT\nULXMAP {WEST!r}\nULYMAP {SOUTH + 1!r}\nXDIM {STEP!r}\n"
            f"YDIM {STEP!r}\n")
        run_tool(h, work, "gdal_translate", "-q", "-of", "GTiff", "-a_srs", "EPSG:4326", "cell.bil",
            "cell.tif")

    def check_gdal_dem_and_dted_into_korvel(work):
        h.need(tools=("gdal_translate", "gdalinfo"))
        make_cell(work)
        run_tool(h, work, "gdal_translate", "-q", "-of", "USGSDEM", "cell.tif", "cell.dem")
        run_tool(h, work, "gdal_translate", "-q", "-of", "DTED", "cell.tif", "n45.dt1")
        for name in ("cell.dem", "n45.dt1"):
            values, info = gdal_values(h, work, name)
            transform = info["geoTransform"]
            if values.shape != (SIDE, SIDE):
                raise h.Failure(f"{name}: GDAL reads {values.shape}, expected {SIDE} square")
            got, record = korvel_read(work, name, SIDE - 1, SIDE - 1)
            h.expect_equal(values[1:, :SIDE - 1], got, f"{name} from GDAL, Korvel")
            # GDAL's corners are the outline; its sample centres are half a step inside.
            west = transform[0] + transform[1] / 2
            north = transform[3] + transform[5] / 2
            expect_edges(name, record, west, west + (SIDE - 1) * transform[1], north,
                         north + (SIDE - 1) * transform[5])
        return ("USGSDEM and DTED cells: 1200 x 1200 samples equal GDAL's from the "
                "south-western post; edges on GDAL's corner sample centres")

    def check_gdal_bil_into_korvel(work):
        h.need(tools=("gdal_translate", "gdalinfo"))
        if not (work / "cell.tif").exists():
            make_cell(work)
        run_tool(h, work, "gdal_translate", "-q", "-of", "EHdr", "-ot", "Int16", "cell.tif", "gi.bil")
        run_tool(h, work, "gdal_translate", "-q", "-of", "EHdr", "-ot", "Float32", "-scale", "-250",
            "1400", "-1.5", "2.25", "cell.tif", "gf.bil")
        for name, header in (("gi.bil", "gi.hdr"), ("gf.bil", "gf.hdr")):
            values, info = gdal_values(h, work, name)
            transform = info["geoTransform"]
            got, record = korvel_read(work, name, SIDE - 1, SIDE, "set",
                                      f"binary.BilHeader={header}", "type", "Binary Surface")
            h.expect_equal(values[:, :SIDE - 1].astype(np.float32), got,
                           f"{name} from GDAL, Korvel")
            left, top = transform[0], transform[3]
            expect_edges(name, record, left, left + (SIDE - 1) * transform[1], top,
                         top + SIDE * transform[5])
        return ("EHdr Int16 and Float32 BIL through their headers: every row and 1200 columns "
                "equal GDAL's; edges on GDAL's extent")

    return [check_gdal_dem_and_dted_into_korvel, check_gdal_bil_into_korvel]
