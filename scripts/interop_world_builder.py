"""Interop check of the World Builder import, run by interop-check.py.

Pillow draws a surface map and a climate map (8-bit palette and 24-bit, of different sizes, an odd
height and a width that is not a multiple of 4); korvel-cli imports them, saves the picture and the heights as RAW32, and both must
equal a direct numpy transcription of the diamond-to-equirectangular resampling.
"""

import numpy as np


def diamond(source, height):
    """The working picture (row 0 at the top) of a source array, height rows, 2 x height wide
    rounded down to a multiple of 4."""
    # Korvel reads a picture with its width rounded down to a multiple of 4, as every picture.
    source = source[:, :source.shape[1] & ~3]
    hs, ws = source.shape[:2]
    wd, hd = (2 * height) & ~3, height
    x = np.arange(wd, dtype=np.float64)[None, :]
    y = np.arange(hd, dtype=np.float64)[:, None]
    lon = x * 360.0 / (wd - 1) - 180.0 + 0 * y
    lat = 90.0 - y * 180.0 / (hd - 1) + 0 * x
    a = np.where(lat <= 0, lat * (-1.0 / 90.0), lat / 90.0)
    c = 1.0 - a
    west, east = lon < -90, lon >= 90
    u = np.where(west, a * 0.5, np.where(east, (c + 1.0) * 0.5, (lon / 90.0 * c + 1.0) * 0.5))
    w = np.where(west, (lon + 180.0) / 90.0 * c,
                 np.where(east, (1.0 - (lon - 90.0) / 90.0) * c, c))
    v = np.where(lat > 0, w * 0.5, 1.0 - w * 0.5)
    sx = np.trunc((ws - 1) * u).astype(int)
    sy = np.trunc((hs - 1) * v).astype(int)
    return source[sy, sx]


def checks(h):
    def maps(seed, size, mode):
        rng = np.random.default_rng(seed)
        width, height = size
        if mode == "RGB":
            return h.Image.fromarray(rng.integers(0, 256, (height, width, 3), dtype=np.uint8))
        picture = h.Image.fromarray(rng.integers(0, 256, (height, width), dtype=np.uint8), "P")
        picture.putpalette(rng.integers(0, 256, 768, dtype=np.uint8).tolist())
        return picture

    def check_world_builder_maps(work):
        h.need(pillow=True)
        done = []
        for mode in ("P", "RGB"):
            heights_map = maps(1, (90, 47), mode)
            climate_map = maps(2, (70, 33), mode)
            heights_map.save(work / f"wb-h-{mode}.bmp")
            climate_map.save(work / f"wb-c-{mode}.bmp")
            h.korvel(work, "world-builder-map", f"wb-h-{mode}.bmp", f"wb-c-{mode}.bmp",
                     "save", f"wb-{mode}.bmp", "save", f"wb-{mode}.r32")
            height = heights_map.height
            source = np.asarray(h.Image.open(work / f"wb-h-{mode}.bmp"))
            working = diamond(source if mode == "P" else source[:, :, 0], height)
            # The Surface's width is rounded down to a multiple of 4 like the working picture's.
            got = np.fromfile(work / f"wb-{mode}.r32", "<f4").reshape(height, working.shape[1])
            h.expect_equal(working, got, f"{mode} heights")
            climate = h.Image.open(work / f"wb-c-{mode}.bmp").convert("RGB")
            colours = diamond(np.asarray(climate), height)
            picture = np.asarray(h.Image.open(work / f"wb-{mode}.bmp").convert("RGB"))
            h.expect_equal(colours, picture[:, :colours.shape[1]], f"{mode} climate picture")
            done.append(f"{mode} {heights_map.width}x{height}")
        return ", ".join(done) + " maps match the transcription"

    return [check_world_builder_maps]
