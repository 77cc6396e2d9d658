#!/usr/bin/python3
"""Cross-checks Korvel's raster and matrix files against Pillow, ImageMagick, GDAL and scipy.

Korvel -> others: korvel-cli writes a terrain and its shaded picture in every picture and surface
type, and the other programs must read the same sizes, pixels and heights. Others -> Korvel:
Pillow and scipy write files, korvel-cli opens them and saves them again, and the pixels and
heights must come back unchanged. Each check prints PASS, FAIL or SKIP (a tool is missing); the
exit status is 1 when any check fails.

    KORVEL_CLI=build/release/src/korvel-cli /usr/bin/python3 scripts/interop-check.py

Orientation: row 0 of the Surface is its bottom line. The pictures and the 8-bit BMP surface are
bottom-up BMPs written from row 0, so a viewer shows row 0 at the bottom. The PGM and the Fractint
TGA write row 0 first as their top line, so viewers show them upside down against the pictures.
A MAT file's matrix row i is Surface row i (row 0 is the bottom line, at the top in Matlab).
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

try:
    import numpy as np
except ImportError:
    sys.exit("numpy is needed: run this with /usr/bin/python3 or install numpy")
try:
    from PIL import Image
except ImportError:
    Image = None
try:
    import scipy.io as sio
except ImportError:
    sio = None

REPO = Path(__file__).resolve().parent.parent
# Made absolute: korvel-cli runs inside the temporary directory.
CLI = os.path.abspath(os.environ.get("KORVEL_CLI", REPO / "build/release/src/korvel-cli"))
WIDTH, HEIGHT = 64, 37  # the odd height catches rows taken in the wrong order
PICTURES = [f"p{depth}.{ext}" for depth in (24, 8) for ext in ("bmp", "pcx", "tga")]
# Sizes of the files written by Pillow and scipy: Korvel cuts a width to a multiple of 4.
FOREIGN_SIZES = [(40, 24), (42, 23)]


class Failure(Exception):
    def __init__(self, text, exit_status=None):
        super().__init__(text)
        self.exit_status = exit_status


class Skipped(Exception):
    pass


def korvel(work, *steps):
    run = subprocess.run([CLI, "-q", *steps], cwd=work, capture_output=True, text=True)
    if run.returncode != 0:
        raise Failure(f"korvel-cli {' '.join(steps)} exited {run.returncode}: "
                      f"{run.stderr.strip()}", run.returncode)


def need(pillow=False, scipy=False, tools=()):
    if pillow and Image is None:
        raise Skipped("Pillow is not installed")
    if scipy and sio is None:
        raise Skipped("scipy is not installed")
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if missing:
        raise Skipped(f"{', '.join(missing)} not found")


def expect_equal(expected, actual, what, tolerance=0):
    """Fails naming the first differing pixel (x, y counted from the top) of two arrays."""
    expected, actual = np.asarray(expected), np.asarray(actual)
    if expected.shape != actual.shape:
        raise Failure(f"{what}: shape {actual.shape}, expected {expected.shape}")
    wrong = np.abs(expected.astype(np.float64) - actual.astype(np.float64)) > tolerance
    if wrong.ndim == 3:
        wrong = wrong.any(axis=2)
    if wrong.any():
        y, x = np.argwhere(wrong)[0]
        raise Failure(f"{what}: pixel (x={x}, y={y}) is {actual[y, x].tolist()}, expected "
                      f"{expected[y, x].tolist()} ({int(wrong.sum())} of {wrong.size} differ)")


def rgb(path):
    return np.asarray(Image.open(path).convert("RGB"))


def read_mdr(path):
    """Heights (row 0 = Surface row 0), Min and Max of an MDR file of floats."""
    data = path.read_bytes()
    if len(data) < 1024 or data[:4] != b"KRVL":
        raise Failure(f"{path.name} is not an MDR file")
    low, high = struct.unpack_from("<dd", data, 296)
    width, height = struct.unpack_from("<II", data, 360)
    if data[333] != 0:
        raise Failure(f"{path.name}: data type {data[333]}, expected 0 (floats)")
    if len(data) < 1024 + 4 * width * height:
        raise Failure(f"{path.name} is truncated")
    return np.frombuffer(data, "<f4", width * height, 1024).reshape(height, width), low, high


def magick_pixels(path, channels="rgb", depth=8):
    size = subprocess.run(["identify", "-format", "%w %h", str(path)], capture_output=True,
                          text=True)
    if size.returncode != 0:
        raise Failure(f"identify {path.name}: {size.stderr.strip()}")
    width, height = map(int, size.stdout.split())
    raw = subprocess.run(["convert", str(path), "-depth", str(depth), "-endian", "LSB",
                          f"{channels}:-"], capture_output=True)
    if raw.returncode != 0:
        raise Failure(f"convert {path.name}: {raw.stderr.decode().strip()}")
    dtype = np.uint8 if depth == 8 else np.dtype("<u2")
    shape = (height, width, 3) if channels == "rgb" else (height, width)
    pixels = np.frombuffer(raw.stdout, dtype)
    if pixels.size != np.prod(shape):
        raise Failure(f"convert {path.name}: {pixels.size} samples for {width} x {height}")
    return pixels.reshape(shape)


def make_terrain(work):
    """A shaded terrain with heights of a few hundred, in every type Korvel writes."""
    pictures24 = [step for name in PICTURES[:3] for step in ("save", name)]
    pictures8 = [step for name in PICTURES[3:] for step in ("save", name)]
    korvel(work, "new", f"{WIDTH}x{HEIGHT}", "set", "Surface/Type=6", "set", "Surface/RandSeed=7",
           "calculate", "set", "MapScale/Lo=0", "set", "MapScale/Hi=700", "scale", "save", "t.mdr",
           *pictures24, "set", "Light/BitDepth=8", "lighting", *pictures8, "save", "t.mat",
           "save", "t.pgm", "type", "8-bit BMP Surface (8-bit)", "save", "ts.bmp", "type",
           "POV TGA Surface (16-bit)", "save", "tf.tga")


# Korvel -> others


def check_pictures_in_pillow(work):
    need(pillow=True)
    for depth, names in ((24, PICTURES[:3]), (8, PICTURES[3:])):
        first = rgb(work / names[0])
        for name in names:
            image = Image.open(work / name)
            if image.size != (WIDTH, HEIGHT):
                raise Failure(f"{name}: {image.size}, expected {(WIDTH, HEIGHT)}")
            expect_equal(first, rgb(work / name), f"{name} against {names[0]}")
        if depth == 8:
            for name in names[:2]:
                mode = Image.open(work / name).mode
                if mode != "P":
                    raise Failure(f"{name} is {mode}, not a palette picture")
    return "BMP = PCX = TGA at 24 bits, and at 8 bits after the palette"


def check_pictures_in_imagemagick(work):
    need(pillow=True, tools=("convert", "identify"))
    for name in PICTURES:
        expect_equal(rgb(work / name), magick_pixels(work / name), f"{name}, ImageMagick")
    expect_equal(np.asarray(Image.open(work / "t.pgm")), magick_pixels(work / "t.pgm", "gray", 16),
                 "t.pgm, ImageMagick")
    return f"{len(PICTURES)} pictures and the PGM read as Pillow reads them"


def check_bmps_in_gdal(work):
    need(pillow=True, tools=("gdal_translate",))
    for name, expand, expected in (
            ("p24.bmp", [], rgb(work / "p24.bmp")),
            ("p8.bmp", ["-expand", "rgb"], rgb(work / "p8.bmp")),
            ("ts.bmp", [], np.asarray(Image.open(work / "ts.bmp")))):  # indices, not colours
        out = work / f"gdal-{name}.raw"
        run = subprocess.run(["gdal_translate", "-q", "-of", "ENVI", "-co", "INTERLEAVE=BIP",
                              *expand, name, out.name], cwd=work, capture_output=True, text=True)
        if run.returncode != 0:
            raise Failure(f"gdal_translate {name}: {run.stderr.strip()}")
        pixels = np.fromfile(out, np.uint8)
        if pixels.size != expected.size:
            raise Failure(f"{name}: GDAL gives {pixels.size} samples, Pillow {expected.size}")
        expect_equal(expected, pixels.reshape(expected.shape), f"{name}, GDAL")
    return "p24.bmp, p8.bmp and ts.bmp read as Pillow reads them"


def check_pgm_heights(work):
    need(pillow=True)
    heights, low, high = read_mdr(work / "t.mdr")
    image = Image.open(work / "t.pgm")
    header = (work / "t.pgm").read_text().split(maxsplit=4)[:4]
    if header != ["P2", str(WIDTH), str(HEIGHT), "65535"]:
        raise Failure(f"t.pgm header {header}, expected P2 {WIDTH} {HEIGHT} 65535")
    t = (heights.astype(np.float64) - low) / (high - low)
    expected = np.trunc(np.clip(t, 0.0, 1.0) * 65535)
    # Row 0 of the Surface is the PGM's first (top) line.
    expect_equal(expected, np.asarray(image), "t.pgm against (h - Min) / (Max - Min) * 65535",
                 tolerance=1)
    return "samples are the heights stretched Min..Max to 0..65535; top line = Surface row 0"


def check_bmp_surface_heights(work):
    need(pillow=True)
    heights, low, high = read_mdr(work / "t.mdr")
    image = Image.open(work / "ts.bmp")
    # Pillow opens an 8-bit file whose palette is grey as an L picture.
    if image.mode != "L":
        raise Failure(f"ts.bmp is {image.mode}, expected 8 bits with a grey palette")
    scale = np.float32(255.0 / (high - low)) if abs(high - low) >= 1e-5 else np.float32(1)
    expected = np.clip(np.trunc((heights.astype(np.float64) - low) * np.float64(scale)), 0, 255)
    # Written from row 0 up, the bottom-up file shows row 0 as its bottom line.
    expect_equal(np.flipud(expected), np.asarray(image), "ts.bmp against (h - Min) * 255/(Max-Min)")
    return "pixels are trunc((h - Min) * 255 / (Max - Min)); bottom line = Surface row 0"


def check_fractint_tga_heights(work):
    need(pillow=True)
    heights, _, _ = read_mdr(work / "t.mdr")
    if heights.min() < 0 or heights.max() >= 65536:
        raise Failure(f"the terrain is {heights.min()}..{heights.max()}, not in 0..65535")
    expected = np.trunc(heights.astype(np.float64))
    pixels = rgb(work / "tf.tga").astype(np.int64)
    expect_equal(np.zeros(expected.shape), pixels[:, :, 2], "tf.tga blue")
    # Rows run from the top of the file, Surface row 0 first.
    expect_equal(expected, pixels[:, :, 0] * 256 + pixels[:, :, 1], "tf.tga red * 256 + green")
    korvel(work, "type", "POV TGA Surface (16-bit)", "open", "tf.tga", "save", "tf.mdr")
    expect_equal(expected, read_mdr(work / "tf.mdr")[0], "tf.tga read back by Korvel")
    return (f"red*256+green = trunc(h) for heights {heights.min():.0f}..{heights.max():.0f}; top "
            "line = Surface row 0; Korvel reads the integers back")


def check_mat_heights(work):
    need(scipy=True)
    heights, _, _ = read_mdr(work / "t.mdr")
    matrices = {k: v for k, v in sio.loadmat(work / "t.mat").items() if not k.startswith("__")}
    if list(matrices) != ["AAA"]:
        raise Failure(f"t.mat holds {list(matrices)}, expected one matrix AAA")
    matrix = matrices["AAA"]
    if matrix.dtype != np.float32:
        raise Failure(f"t.mat AAA is {matrix.dtype}, expected single precision")
    expect_equal(heights, matrix, "t.mat AAA against the MDR heights")
    return f"AAA is {HEIGHT} x {WIDTH} singles, matrix row i = Surface row i (row 0 = bottom line)"


# Others -> Korvel


def random_pictures(width, height, seed):
    rng = np.random.default_rng(seed)
    true_colour = Image.fromarray(rng.integers(0, 256, (height, width, 3), np.uint8), "RGB")
    indexed = Image.fromarray(rng.integers(0, 16, (height, width), np.uint8), "P")
    indexed.putpalette(rng.integers(0, 256, 48).tolist())
    return true_colour, indexed


def korvel_resave(work, source, *before):
    """The picture Korvel reads from source, saved again as a BMP and opened by Pillow."""
    korvel(work, *before, "open", source, "save", "k-" + source + ".bmp")
    return Image.open(work / ("k-" + source + ".bmp"))


def compare_indexed(original, saved, name, columns):
    if saved.mode != "P":
        raise Failure(f"{name}: Korvel saved a {saved.mode} picture, expected 8 bits")
    expect_equal(np.asarray(original)[:, :columns], np.asarray(saved), f"{name} indices")
    expect_equal(np.asarray(original.convert("RGB"))[:, :columns],
                 np.asarray(saved.convert("RGB")), f"{name} colours")


def check_pillow_bmp_into_korvel(work):
    need(pillow=True)
    for width, height in FOREIGN_SIZES:
        true_colour, indexed = random_pictures(width, height, width)
        columns = width // 4 * 4
        true_colour.save(work / f"o24-{width}.bmp")
        indexed.save(work / f"o8-{width}.bmp")
        saved = korvel_resave(work, f"o24-{width}.bmp")
        expect_equal(np.asarray(true_colour)[:, :columns], rgb(saved.filename), f"o24-{width}.bmp")
        compare_indexed(indexed, korvel_resave(work, f"o8-{width}.bmp"), f"o8-{width}.bmp", columns)
    return "24-bit and 16-colour BMPs, padded rows too, come back unchanged"


def check_pillow_pcx_into_korvel(work):
    need(pillow=True)
    for width, height in FOREIGN_SIZES:
        true_colour, indexed = random_pictures(width, height, width + 1)
        indexed.save(work / f"o8-{width}.pcx")
        compare_indexed(indexed, korvel_resave(work, f"o8-{width}.pcx"), f"o8-{width}.pcx",
                        width // 4 * 4)
    true_colour.save(work / "o24.pcx")
    try:
        saved = korvel_resave(work, "o24.pcx")
    except Failure as failure:
        if failure.exit_status != 1:  # a crash is no refusal
            raise
        return "8-bit PCX comes back unchanged; Korvel refuses the 3-plane one, as documented"
    expect_equal(np.asarray(true_colour)[:, :width // 4 * 4], rgb(saved.filename), "o24.pcx")
    return "8-bit and 24-bit PCX come back unchanged"


def check_pillow_tga_into_korvel(work):
    need(pillow=True)
    variants = {"bottom": {}, "top": {"orientation": 1}, "id": {"id_section": b"Korvel"}}
    for width, height in FOREIGN_SIZES:
        true_colour, _ = random_pictures(width, height, width + 2)
        for variant, options in variants.items():
            name = f"o-{variant}-{width}.tga"
            true_colour.save(work / name, **options)
            # An 8-bit picture keeps the red bytes as palette indices; it must already have the
            # file's size, as a resize makes the picture 24-bit again.
            saved = korvel_resave(work, name, "new", f"{width}x{height}", "set",
                                  "Light/BitDepth=8", "lighting")
            if saved.mode != "P":
                raise Failure(f"{name}: Korvel saved a {saved.mode} picture, expected 8 bits")
            expect_equal(np.asarray(true_colour)[:, :width // 4 * 4, 0], np.asarray(saved),
                         f"{name} indices against the red channel")
    return "red channels of bottom-up, top-down and captioned TGAs become the palette indices"


def check_savemat_into_korvel(work):
    need(scipy=True)
    rng = np.random.default_rng(5)
    for (width, height), dtype in zip(FOREIGN_SIZES, (np.float64, np.float32)):
        matrix = (rng.random((height, width)) * 1000 - 200).astype(dtype)
        name = f"o-{width}.mat"
        sio.savemat(work / name, {"terrain": matrix}, format="4")
        korvel(work, "open", name, "save", f"k-{name}.mdr", "save", f"k-{name}")
        expected = matrix[:, :width // 4 * 4].astype(np.float32)
        heights, low, high = read_mdr(work / f"k-{name}.mdr")
        # Matrix row i becomes Surface row i.
        expect_equal(expected, heights, f"{name} as read by Korvel")
        if (low, high) != (expected.min(), expected.max()):
            raise Failure(f"{name}: Min..Max {low}..{high}, expected "
                          f"{expected.min()}..{expected.max()}")
        expect_equal(expected, sio.loadmat(work / f"k-{name}")["AAA"], f"k-{name} from Korvel")
    return "double and single matrices keep their values; matrix row i = Surface row i"


CHECKS = [check_pictures_in_pillow, check_pictures_in_imagemagick, check_bmps_in_gdal,
          check_pgm_heights, check_bmp_surface_heights, check_fractint_tga_heights,
          check_mat_heights, check_pillow_bmp_into_korvel, check_pillow_pcx_into_korvel,
          check_pillow_tga_into_korvel, check_savemat_into_korvel]

# The GIS and engine height formats, in a module of their own beside this script.
sys.path.insert(0, str(Path(__file__).resolve().parent))
import interop_heights  # noqa: E402
import interop_world_builder  # noqa: E402
import interop_projection  # noqa: E402

CHECKS += interop_heights.checks(sys.modules[__name__])
CHECKS += interop_world_builder.checks(sys.modules[__name__])
CHECKS += interop_projection.checks(sys.modules[__name__])

# The elevation imports (USGS DEM, DTED, BIL) written by GDAL.
import interop_imports  # noqa: E402

CHECKS += interop_imports.checks(sys.modules[__name__])

# The line-of-sight mask beside gdal_viewshed.
import interop_viewshed  # noqa: E402

CHECKS += interop_viewshed.checks(sys.modules[__name__])


def main():
    # The mesh and contour checks live beside this file.
    sys.path.insert(0, str(Path(__file__).resolve().parent))
    import interop_geometry
    checks = CHECKS + interop_geometry.CHECKS
    if not os.access(CLI, os.X_OK):
        print(f"FAIL  korvel-cli not found at {CLI} (set KORVEL_CLI)")
        return 1
    failed = 0
    with tempfile.TemporaryDirectory(prefix="korvel-interop-") as temp:
        work = Path(temp)
        try:
            make_terrain(work)
        except Failure as failure:
            print(f"FAIL  making the terrain: {failure}")
            return 1
        for check in checks:
            name = check.__name__.removeprefix("check_").replace("_", " ")
            try:
                status, detail = "PASS", check(work)
            except Skipped as skipped:
                status, detail = "SKIP", str(skipped)
            except Failure as failure:
                status, detail = "FAIL", str(failure)
                failed += 1
            print(f"{status}  {name}: {detail}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
