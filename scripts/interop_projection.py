"""Interop check of the projected BMP export, run by interop-check.py.

korvel-cli shades a whole-world terrain, saves its picture (an equirectangular BMP whose samples
lie where the map record puts them) and exports it in Mollweide on the unit sphere. gdalwarp
warps the same BMP, placed on those samples, to +proj=moll +R=1
with nearest-neighbour sampling and an exact transformer (-et 0) onto the same pixel grid. The
pixels of the two pictures must agree, except on the outline of the ellipse, where a pixel is
half inside and the two programs may decide differently.
"""

import subprocess

import numpy as np

WIDTH, HEIGHT = 512, 256  # the world
SIDE = 400  # the export
ZOOM = 0.35  # shows -1/0.35 .. 1/0.35 sphere radii a side: the whole ellipse
AGREEMENT = 0.999


def ellipse_inside(x, y):
    """Mollweide's outline on the unit sphere: x^2 / 8 + y^2 / 2 <= 1."""
    return x * x / 8.0 + y * y / 2.0 <= 1.0


def checks(h):
    def check_mollweide_export_against_gdalwarp(work):
        h.need(pillow=True, tools=("gdalwarp",))
        steps = ["new", f"{WIDTH}x{HEIGHT}", "--edges", "90,-180,180,-90", "set",
                 "Surface/Type=6", "set", "Surface/RandSeed=5", "calculate"]
        h.korvel(work, *steps, "save", "world.bmp", "set", "map-projection.Index=10", "set",
                 f"map-projection.Width={SIDE}", "set", f"map-projection.Height={SIDE}", "set",
                 f"map-projection.Zoom={ZOOM}", "map-projection", "moll.bmp")
        # The picture's samples lie where the map record puts them: column c at Left + c XRes,
        # row r from the bottom at Bottom + r YRes. GDAL is given the outline of those cells.
        info = subprocess.run([h.CLI, "-q", *steps, "info"], cwd=work, capture_output=True,
                              text=True).stdout
        record = dict(line.split("=", 1) for line in info.split())
        left, bottom = float(record["Left"]), float(record["Bottom"])
        dx, dy = float(record["XRes"]), float(record["YRes"])
        ullr = [left - dx / 2, bottom + (HEIGHT - 0.5) * dy, left + (WIDTH - 0.5) * dx,
                bottom - dy / 2]
        run = subprocess.run(["gdal_translate", "-q", "-a_ullr", *map(repr, ullr), "world.bmp",
                              "world.tif"], cwd=work, capture_output=True, text=True)
        if run.returncode != 0:
            raise h.Failure(f"gdal_translate: {run.stderr.strip()}")
        half = 1.0 / ZOOM
        run = subprocess.run(
            ["gdalwarp", "-q", "-overwrite", "-r", "near", "-et", "0", "-s_srs",
             "+proj=longlat +R=1 +no_defs", "-t_srs", "+proj=moll +R=1 +no_defs", "-te",
             str(-half), str(-half), str(half), str(half), "-ts", str(SIDE), str(SIDE), "-of",
             "BMP", "world.tif", "gdal.bmp"], cwd=work, capture_output=True, text=True)
        if run.returncode != 0:
            raise h.Failure(f"gdalwarp: {run.stderr.strip()}")
        ours = h.rgb(work / "moll.bmp").astype(int)
        theirs = h.rgb(work / "gdal.bmp").astype(int)
        if ours.shape != theirs.shape:
            raise h.Failure(f"moll.bmp is {ours.shape}, gdalwarp's {theirs.shape}")
        # Pixel corners on the plane, rows from the top (north).
        step = 2.0 * half / SIDE
        edges = np.arange(SIDE + 1) * step - half
        cx, cy = np.meshgrid(edges, edges[::-1])
        corner = ellipse_inside(cx, cy)
        whole = corner[:-1, :-1] & corner[1:, :-1] & corner[:-1, 1:] & corner[1:, 1:]
        none = ~(corner[:-1, :-1] | corner[1:, :-1] | corner[:-1, 1:] | corner[1:, 1:])
        same = (ours == theirs).all(axis=2)
        inside_rate = same[whole].mean()
        if (ours[none] != 0).any():
            raise h.Failure("moll.bmp paints pixels wholly outside the ellipse")
        if inside_rate < AGREEMENT:
            y, x = np.argwhere(whole & ~same)[0]
            raise h.Failure(f"{inside_rate:.2%} of {whole.sum()} pixels inside the outline agree; "
                            f"first difference at x={x}, y={y}: {ours[y, x].tolist()} against "
                            f"{theirs[y, x].tolist()}")
        outline = ~whole & ~none
        return (f"{inside_rate:.3%} of {whole.sum()} pixels inside the ellipse agree with "
                f"gdalwarp, {same[outline].mean():.1%} of the {outline.sum()} on its outline")

    return [check_mollweide_export_against_gdalwarp]
