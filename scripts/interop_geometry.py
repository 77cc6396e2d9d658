"""Mesh and contour checks of scripts/interop-check.py, which runs them after its own.

ezdxf reads every DXF Korvel writes; assimp reads the OBJ and RAW meshes; POV-Ray renders a scene
that includes the POV mesh; GDAL's XYZ driver reads the lon/lat text mesh back to the heights;
the DXF contour vertices at a level are those gdal_contour finds on the same heights.
"""

import json
import math
import re
import subprocess

import numpy as np

import __main__ as base  # interop-check.py: korvel, need, read_mdr, expect_equal, Failure

CELLS = (base.WIDTH - 1) * (base.HEIGHT - 1)
CONTOUR_SPACING = 100.25  # its multiples are exact in binary


def run(work, *command):
    done = subprocess.run(command, cwd=work, capture_output=True, text=True)
    if done.returncode != 0:
        raise base.Failure(f"{' '.join(command)} exited {done.returncode}: "
                           f"{(done.stderr or done.stdout).strip()[-400:]}")
    return done


def contour_lines(work, name, *settings):
    """Writes t.mdr's contours as name; the number of lines korvel-cli says it wrote."""
    done = run(work, base.CLI, "-q", "open", "t.mdr", "set", "dxf-contours.Mode=1", "set",
               f"dxf-contours.Value={CONTOUR_SPACING}", *settings, "type", "2D DXF Contour Map",
               "save", name)
    said = re.search(r"(\d+) lines written to file", done.stderr)
    if not said:
        raise base.Failure(f"korvel-cli did not say how many lines {name} holds: {done.stderr}")
    return int(said.group(1))


def check_dxf_in_ezdxf(work):
    try:
        import ezdxf
    except ImportError:
        raise base.Skipped("ezdxf is not installed (Debian python3-ezdxf)")
    base.korvel(work, "open", "t.mdr", "save", "q.dxf", "type", "3D DXF Triangles", "save",
                "f.dxf")
    lines = {name: contour_lines(work, name, *settings) for name, settings in (
        ("c.dxf", ()), ("cz.dxf", ("set", "dxf-contours.Elevations=1")),
        ("cm.dxf", ("set", "dxf-contours.Merge=1")))}
    expected = {"q.dxf": ("3DFACE", CELLS), "f.dxf": ("3DFACE", 2 * CELLS),
                **{name: ("POLYLINE" if name == "cm.dxf" else "LINE", count)
                   for name, count in lines.items()}}
    for name, (kind, count) in expected.items():
        entities = list(ezdxf.readfile(work / name).modelspace())
        kinds = {e.dxftype() for e in entities}
        if kinds != {kind} or len(entities) != count:
            raise base.Failure(f"{name}: ezdxf finds {len(entities)} entities {sorted(kinds)}, "
                               f"expected {count} {kind}")
    # Triangles repeat their third corner; a missing one would be read as the origin.
    for face in ezdxf.readfile(work / "f.dxf").modelspace():
        if face.dxf.vtx3 != face.dxf.vtx2:
            raise base.Failure(f"f.dxf: a triangle's fourth corner {face.dxf.vtx3} is not its "
                               f"third {face.dxf.vtx2}")
    return (f"quads {CELLS}, triangles {2 * CELLS}, contour lines {lines['c.dxf']} "
            f"({lines['cm.dxf']} polylines merged)")


def assimp_counts(work, name):
    out = run(work, "assimp", "info", name).stdout
    counts = dict(re.findall(r"^(Vertices|Faces):\s+(\d+)", out, re.M))
    return int(counts.get("Vertices", -1)), int(counts.get("Faces", -1))


def check_meshes_in_assimp(work):
    base.need(tools=("assimp",))
    base.korvel(work, "open", "t.mdr", "save", "m.obj", "save", "m.raw", "set", "mesh.Step=3",
                "save", "s.obj")
    grid = base.WIDTH * base.HEIGHT
    # Every third sample: columns 0, 3, ... 63 (22) and rows 0, 3, ... 36 (13).
    steps = 22 * 13, 2 * 21 * 12
    for name, expected in (("m.obj", (grid, 2 * CELLS)), ("s.obj", steps),
                           ("m.raw", (None, 2 * CELLS))):
        vertices, faces = assimp_counts(work, name)
        # assimp joins the repeated corners of RAW triangles as it likes.
        if faces != expected[1] or expected[0] not in (None, vertices):
            raise base.Failure(f"{name}: assimp reads {vertices} vertices and {faces} faces, "
                               f"expected {expected[0]} and {expected[1]}")
    return f"m.obj {grid} vertices, {2 * CELLS} faces; every third sample {steps}; m.raw faces"


def check_pov_mesh_renders(work):
    base.need(tools=("povray",))
    base.korvel(work, "open", "t.mdr", "set", "mesh.Box=2", "save", "m.inc")
    (work / "scene.pov").write_text(
        "#declare Green = rgb <0.2, 0.7, 0.2>;\n"
        "#declare Dull = finish { diffuse 0.8 ambient 0.1 };\n"
        "camera { location <0.5, -0.8, 1.6> look_at <0.5, 0.5, 0.3> sky <0, 0, 1> }\n"
        "light_source { <2, -2, 5> color rgb 1 }\n"
        "background { rgb 0 }\n"
        "#include \"m.inc\"\n")
    run(work, "povray", "+Iscene.pov", "+Oscene.ppm", "+W64", "+H48", "-D", "+FP", "-GA")
    pixels = np.frombuffer((work / "scene.ppm").read_bytes()[-64 * 48 * 3:], np.uint8)
    lit = int((pixels.reshape(-1, 3)[:, 1] > 0).sum())
    if lit < 64 * 48 // 10:
        raise base.Failure(f"the render shows the mesh in only {lit} of {64 * 48} pixels")
    return f"rendered, the mesh covers {lit} of {64 * 48} pixels"


def check_lonlat_text_in_gdal(work):
    base.need(tools=("gdal_translate",))
    heights, _, _ = base.read_mdr(work / "t.mdr")
    base.korvel(work, "open", "t.mdr", "set", "mesh.Box=1", "set", "mesh.Decimals=6", "save",
                "m.txt")
    run(work, "gdal_translate", "-q", "-of", "ENVI", "-ot", "Float64", "m.txt", "m-xyz.raw")
    values = np.fromfile(work / "m-xyz.raw", np.float64)
    if values.size != heights.size:
        raise base.Failure(f"GDAL reads {values.size} values, expected {heights.size}")
    # Y rises from the first line: GDAL keeps the rows in the file's order, row 0 first.
    base.expect_equal(heights, values.reshape(heights.shape), "m.txt through GDAL XYZ",
                      tolerance=1e-3)
    return f"{base.WIDTH} x {base.HEIGHT} grid, heights within 1e-3 of the MDR"


def check_contours_against_gdal(work):
    base.need(tools=("gdal_contour",))
    heights, low, high = base.read_mdr(work / "t.mdr")
    # The middle one of Korvel's levels: from the multiple of the spacing at or below Min.
    first = low - math.fmod(low, CONTOUR_SPACING)
    level = first + (high - low) // CONTOUR_SPACING // 2 * CONTOUR_SPACING
    info = dict(line.split("=", 1) for line in run(
        work, base.CLI, "-q", "open", "t.mdr", "info").stdout.split())
    left, right = float(info["Left"]), float(info["Right"])
    bottom, top = float(info["Bottom"]), float(info["Top"])
    dx, dy = (right - left) / base.WIDTH, (top - bottom) / base.HEIGHT
    # Sample (i, j) at (Left + i dx, Bottom + j dy), as pixel centres; the grid's top line first.
    with open(work / "g.asc", "w") as grid:
        grid.write(f"ncols {base.WIDTH}\nnrows {base.HEIGHT}\nxllcorner {left - dx / 2!r}\n"
                   f"yllcorner {bottom - dy / 2!r}\ndx {dx!r}\ndy {dy!r}\n")
        for row in heights[::-1]:
            grid.write(" ".join(f"{v:.9g}" for v in row) + "\n")
    run(work, "gdal_contour", "-q", "-3d", "-fl", repr(level), "-f", "GeoJSON", "g.asc",
        "g.geojson")
    theirs = [point[:2] for feature in json.loads((work / "g.geojson").read_text())["features"]
              for point in feature["geometry"]["coordinates"]]
    contour_lines(work, "k.dxf", "set", "dxf-contours.Elevations=1")
    lines = (work / "k.dxf").read_text().split("\n")
    values = {code: [float(lines[i + 1]) for i in range(0, len(lines) - 1, 2)
                     if lines[i] == code] for code in ("10", "20", "30", "11", "21")}
    ours = np.array([(x, y) for xs, ys in (("10", "20"), ("11", "21"))
                     for x, y, z in zip(values[xs], values[ys], values["30"])
                     if z == level])
    inside = [p for p in theirs if left < p[0] < left + (base.WIDTH - 1) * dx
              and bottom < p[1] < bottom + (base.HEIGHT - 1) * dy]
    if not inside or not len(ours):
        raise base.Failure(f"no vertices to compare: GDAL {len(inside)}, Korvel {len(ours)}")
    for point in inside:
        nearest = np.abs(ours - point).max(axis=1).min()
        if nearest > 1e-5:
            raise base.Failure(f"GDAL's vertex {point} is {nearest:.3g} from Korvel's nearest")
    return f"all {len(inside)} GDAL vertices at {level} inside the grid are Korvel's (1e-5)"


CHECKS = [check_dxf_in_ezdxf, check_meshes_in_assimp, check_pov_mesh_renders,
          check_lonlat_text_in_gdal, check_contours_against_gdal]
