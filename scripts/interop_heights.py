"""Interop checks of the GIS and engine height formats, run by interop-check.py.

Korvel -> GDAL: korvel-cli writes a placed terrain as Float32, Int16 and UInt16 GeoTIFF, 16- and
8-bit PNG with its world file, ESRI ASCII grid, RAW16 and RAW32 (through an ENVI header written
here) and a BMP with its world file; GDAL must read the same values and corners (within 1e-9
degrees). ImageMagick reads the EXR. GDAL -> Korvel: gdal_translate writes PNG, GTiff, AAIGrid and
SRTMHGT files that korvel-cli opens and saves as RAW32, which numpy reads.
"""

import json
import subprocess

import numpy as np

WIDTH, HEIGHT = 64, 37
# Cells of 1/128 by 1/64 degree: every corner is exact in binary.
LEFT, TOP = -120.0, 46.0
RIGHT, BOTTOM = LEFT + WIDTH / 128, TOP - HEIGHT / 64
CORNER_TOLERANCE = 1e-9


def run_tool(h, work, *args):
    """Runs a tool in work; a failure names it with its error output."""
    run = subprocess.run(list(args), cwd=work, capture_output=True, text=True)
    if run.returncode != 0:
        raise h.Failure(f"{' '.join(args[:3])}: {run.stderr.strip()}")
    return run.stdout


def gdal_values(h, work, name):
    """The first band as float64, north row first, through an ENVI copy; and gdalinfo's record."""
    out = f"gdal-{name}.f64"
    run_tool(h, work, "gdal_translate", "-q", "-of", "ENVI", "-ot", "Float64", name, out)
    info = json.loads(run_tool(h, work, "gdalinfo", "-json", name))
    width, height = info["size"]
    return np.fromfile(work / out, "<f8").reshape(height, width), info


def checks(h):
    """The check functions, closed over interop-check.py's helpers h."""

    def expect_corner(info, name, left=LEFT, top=TOP):
        transform = info.get("geoTransform")
        if not transform:
            raise h.Failure(f"{name}: GDAL finds no georeferencing")
        if abs(transform[0] - left) > CORNER_TOLERANCE or abs(transform[3] - top) > CORNER_TOLERANCE:
            raise h.Failure(f"{name}: upper left ({transform[0]!r}, {transform[3]!r}), expected "
                            f"({left!r}, {top!r})")

    def make_placed(work):
        h.korvel(work, "new", f"{WIDTH}x{HEIGHT}", "set", "Surface/Type=6", "set",
                 "Surface/RandSeed=11", "calculate", "set", "MapScale/Type=2", "set", "MapScale/Lo=-300", "set",
                 "MapScale/Hi=2500", "scale", "set", f"map-info.Top={TOP}", "set",
                 f"map-info.Left={LEFT}", "set", f"map-info.Right={RIGHT}", "set",
                 f"map-info.Bottom={BOTTOM}", "map-info", "save", "g.mdr",
                 "save", "g.tif", "set", "tif.DataType=1", "save", "gi.tif", "set",
                 "tif.DataType=2", "save", "gu.tif", "save", "g.png", "set", "png.BitDepth=8",
                 "save", "g8.png", "save", "g.asc", "save", "g.r16", "save", "g.r32",
                 "save", "g.bmp")
        heights, low, high = h.read_mdr(work / "g.mdr")
        return heights[::-1].astype(np.float64), low, high  # north row first

    def quantized(heights, low, high, top):
        step = (high - low) / top
        return np.clip(np.floor((heights - low) / step + 0.5), 0, top)

    def write_envi_header(path, width, height, data_type):
        path.write_text(f"ENVI\nsamples = {width}\nlines = {height}\nbands = 1\n"
                        f"header offset = 0\nfile type = ENVI Standard\n"
                        f"data type = {data_type}\ninterleave = bsq\nbyte order = 0\n")

    def check_height_rasters_in_gdal(work):
        h.need(tools=("gdal_translate", "gdalinfo"))
        heights, low, high = make_placed(work)
        # The edges Korvel wrote, as korvel-cli's map record has them.
        expected = {
            "g.tif": heights,
            "gi.tif": np.floor(heights + 0.5),
            "gu.tif": np.clip(np.floor(heights + 0.5), 0, 65534),
            "g.png": quantized(heights, low, high, 65535),
            "g8.png": quantized(heights, low, high, 255),
            "g.asc": heights,
        }
        for name, values in expected.items():
            got, info = gdal_values(h, work, name)
            if name == "gu.tif":
                # Heights below -0.5 are clipped to 0 as the report says.
                values = np.where(heights < -0.5, 0, values)
            h.expect_equal(values, got, f"{name}, GDAL")
            expect_corner(info, name)
        for name, data_type, values in (("g.r16", 12, quantized(heights, low, high, 65535)),
                                        ("g.r32", 4, heights)):
            write_envi_header(work / (name + ".hdr"), WIDTH, HEIGHT, data_type)
            got, _ = gdal_values(h, work, name)
            h.expect_equal(values, got, f"{name} through an ENVI header, GDAL")
        return ("Float32/Int16/UInt16 GeoTIFF, 16/8-bit PNG, ASCII grid, RAW16/RAW32 read with "
                "the values written and the corner within 1e-9 degrees")

    def check_world_file_bmp_in_gdal(work):
        h.need(tools=("gdalinfo",))
        info = json.loads(run_tool(h, work, "gdalinfo", "-json", "g.bmp"))
        expect_corner(info, "g.bmp")
        corners = info["cornerCoordinates"]
        if (abs(corners["lowerRight"][0] - RIGHT) > CORNER_TOLERANCE
                or abs(corners["lowerRight"][1] - BOTTOM) > CORNER_TOLERANCE):
            raise h.Failure(f"g.bmp: lower right {corners['lowerRight']}, expected "
                            f"{[RIGHT, BOTTOM]}")
        return "g.bpw places g.bmp at the map record's corners"

    def check_exr_in_imagemagick(work):
        h.need(tools=("convert",))
        # ImageMagick's integer build clips at 1: heights kept within 0..1; the EXR's linear
        # values are taken as they are, not converted to sRGB.
        h.korvel(work, "new", "32x9", "set", "Surface/Type=6", "calculate", "set", "MapScale/Type=2", "set", "MapScale/Lo=0",
                 "set", "MapScale/Hi=1", "scale", "save", "e.exr", "save", "e.r32")
        heights = np.fromfile(work / "e.r32", "<f4").reshape(9, 32).astype(np.float64)
        raw = subprocess.run(["convert", "e.exr", "-set", "colorspace", "sRGB", "-depth", "16", "-endian", "LSB", "gray:-"],
                             cwd=work, capture_output=True)
        if raw.returncode != 0:
            raise h.Failure(f"convert e.exr: {raw.stderr.decode().strip()}")
        got = np.frombuffer(raw.stdout, "<u2").reshape(9, 32)
        # ImageMagick reads EXR through OpenEXR's half-float RGBA interface.
        expected = np.round(heights.astype(np.float16).astype(np.float64) * 65535)
        h.expect_equal(expected, got, "e.exr, ImageMagick", tolerance=1)
        return "the float channel reads as the heights (as half floats, to 16 bits)"

    def korvel_r32(work, name, width, height, *before):
        h.korvel(work, *before, "open", name, "save", name + ".r32")
        return np.fromfile(work / (name + ".r32"), "<f4").reshape(height, width).astype(np.float64)

    def korvel_edges(work, name):
        run = subprocess.run([h.CLI, "-q", "open", name, "info"], cwd=work, capture_output=True,
                             text=True)
        record = dict(line.split("=", 1) for line in run.stdout.split() if "=" in line)
        return float(record["Left"]), float(record["Top"])

    def check_gdal_files_into_korvel(work):
        h.need(tools=("gdal_translate",))
        source, _ = gdal_values(h, work, "g.tif")
        run_tool(h, work, "gdal_translate", "-q", "-of", "GTiff", "-ot", "Float32", "-co", "TILED=YES",
             "-co", "COMPRESS=DEFLATE", "g.asc", "d.tif")
        run_tool(h, work, "gdal_translate", "-q", "-of", "AAIGrid", "g.tif", "d.asc")
        run_tool(h, work, "gdal_translate", "-q", "-of", "PNG", "-ot", "UInt16", "-scale", "-300", "2500",
             "0", "65535", "-co", "WORLDFILE=YES", "g.tif", "d.png")
        pixels, _ = gdal_values(h, work, "d.png")
        for name, expected, before in (("d.tif", source, ()), ("d.asc", source, ()),
                                       ("d.png", pixels, ())):
            got = korvel_r32(work, name, WIDTH, HEIGHT, *before)
            h.expect_equal(expected.astype(np.float32), got, f"{name} from GDAL, Korvel")
            # The PNG is placed by the world file GDAL wrote beside it.
            left, top = korvel_edges(work, name)
            if abs(left - LEFT) > CORNER_TOLERANCE or abs(top - TOP) > CORNER_TOLERANCE:
                raise h.Failure(f"{name}: Korvel's corner ({left}, {top}), expected "
                                f"({LEFT}, {TOP})")
        # A 3-arc-second tile: 1201 samples on whole degrees, Korvel keeps 1200 columns.
        half = 0.5 / 1200
        run_tool(h, work, "gdal_translate", "-q", "-of", "SRTMHGT", "-ot", "Int16", "-outsize", "1201",
             "1201", "-a_ullr", str(-120 - half), str(46 + half), str(-119 + half), str(45 - half),
             "-a_srs", "EPSG:4326", "g.tif", "N45W120.hgt")
        tile, _ = gdal_values(h, work, "N45W120.hgt")
        got = korvel_r32(work, "N45W120.hgt", 1200, 1201)
        h.expect_equal(tile[:, :1200].astype(np.float32), got, "N45W120.hgt from GDAL, Korvel")
        left, top = korvel_edges(work, "N45W120.hgt")
        if abs(left - (-120 - half)) > CORNER_TOLERANCE or abs(top - (46 + half)) > CORNER_TOLERANCE:
            raise h.Failure(f"N45W120.hgt: Korvel's corner ({left}, {top})")
        return ("tiled deflate GTiff Float32, AAIGrid, PNG UInt16 (placed by its world file) and "
                "SRTMHGT read as GDAL reads them")

    def check_engine_sizes_in_gdal(work):
        h.need(tools=("gdal_translate", "gdalinfo"))
        heights, low, high = make_placed(work)
        h.korvel(work, "open", "g.mdr", "set", "png.EngineSize=2", "save", "e.png", "set",
                 "raw.EngineSize=1", "save", "e.r16")
        # Resampled to 65 x 65 with the corner samples kept: the cells shrink about the first
        # and last sample centres, which stay where they were.
        got, info = gdal_values(h, work, "e.png")
        corners = quantized(heights, low, high, 65535)[[0, 0, -1, -1], [0, -1, 0, -1]]
        h.expect_equal(corners, got[[0, 0, -1, -1], [0, -1, 0, -1]], "e.png corners, GDAL")
        cell_w, cell_h = 1 / 128, 1 / 64
        expect_corner(info, "e.png", LEFT + (cell_w - cell_w * (WIDTH - 1) / 64) / 2,
                      TOP - (cell_h - cell_h * (HEIGHT - 1) / 64) / 2)
        # Edge-extended: the samples as they are, then the last column and row repeated.
        write_envi_header(work / "e.r16.hdr", 65, 65, 12)
        got, _ = gdal_values(h, work, "e.r16")
        expected = np.pad(quantized(heights, low, high, 65535), ((0, 65 - HEIGHT), (0, 65 - WIDTH)),
                          mode="edge")
        h.expect_equal(expected, got, "e.r16 through an ENVI header, GDAL")
        return "65 x 65 engine sizes: resampled PNG placed and cornered, edge-extended RAW16 exact"

    return [check_height_rasters_in_gdal, check_world_file_bmp_in_gdal, check_exr_in_imagemagick,
            check_gdal_files_into_korvel, check_engine_sizes_in_gdal]
