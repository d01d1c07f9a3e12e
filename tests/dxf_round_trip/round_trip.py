"""kafcad keeps a DXF drawing it did not change: drawings made by ezdxf (every DXF release kafcad
reads, many entity kinds, layers, blocks, text and dimension styles, header variables) are loaded
by kafcad, which adds a mesh and saves; ezdxf then compares the saved file with the original,
entity by entity and attribute by attribute.

round_trip.py KAFCAD FOLDER
    Prints one line per drawing and exits with 1 when any drawing differs.
"""
import math
import os
import subprocess
import sys

import ezdxf
from ezdxf.lldxf.const import DXFError

RELEASES = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
MESH_RELEASES = {"R2010", "R2013", "R2018"}


def try_add(what, add):
    """Adds an entity kind where the release has it (ezdxf refuses the others)."""
    try:
        add()
    except (DXFError, ValueError, TypeError):
        pass


def make(release, variant, path):
    doc = ezdxf.new(release, setup=True)
    doc.header["$INSUNITS"] = 6
    doc.header["$LUNITS"] = 2 + variant % 3
    doc.header["$TEXTSIZE"] = 1.5 + variant
    layers = [("TIN", 1, "DASHED"), ("ROAD", 3, "CENTER"), ("KERB", 5, "Continuous"),
              ("NOTES", 7, "DOT")]
    for i, (name, color, linetype) in enumerate(layers):
        layer = doc.layers.add(name, color=color, linetype=linetype)
        if release != "R12":
            layer.dxf.lineweight = 25 + 10 * i
            layer.dxf.plot = i % 2
        if i == 1 + variant % 3:
            layer.lock()
    doc.layers.add("HIDDEN", color=2).off()
    doc.layers.add("ICE", color=4).freeze()
    doc.styles.add("NARROW", font="romans.shx").dxf.width = 0.8
    dim = doc.dimstyles.new("SURVEY")
    dim.dxf.dimtxt = 2.5 + variant
    dim.dxf.dimasz = 1.25
    block = doc.blocks.new("MARK")
    block.add_circle((0, 0), 0.5, dxfattribs={"color": 1})
    block.add_line((-1, 0), (1, 0))
    block.add_attdef("ID", (0, 1), dxfattribs={"height": 0.5})

    msp = doc.modelspace()
    dx = 100.0 * variant
    msp.add_line((dx, 0), (dx + 10, 5), dxfattribs={"layer": "ROAD", "color": 2,
                                                    "linetype": "DASHED"})
    msp.add_point((dx + 1, 2, 3), dxfattribs={"layer": "NOTES"})
    msp.add_circle((dx + 5, 5), 2.5, dxfattribs={"layer": "KERB"})
    msp.add_arc((dx + 5, 5), 3, 10, 170)
    msp.add_text("Site " + str(variant), dxfattribs={"height": 1.2, "style": "NARROW",
                                                     "layer": "NOTES"}).set_pos((dx, 20))
    msp.add_solid([(dx, 30), (dx + 2, 30), (dx, 32), (dx + 2, 32)])
    msp.add_trace([(dx, 33), (dx + 2, 33), (dx, 34), (dx + 2, 34)])
    msp.add_3dface([(dx, 0, 0), (dx + 1, 0, 1), (dx + 1, 1, 2)], dxfattribs={"color": 5})
    face = msp.add_3dface([(dx, 2, 0), (dx + 1, 2, 1), (dx + 1, 3, 2), (dx, 3, 1)])
    if release != "R12":
        face.rgb = (200, 100, 50)
        face.dxf.lineweight = 35
        face.transparency = 0.5
    msp.add_polyline2d([(dx, 40), (dx + 3, 41), (dx + 6, 40)], dxfattribs={"layer": "ROAD"})
    msp.add_polyline3d([(dx, 50, 1), (dx + 3, 51, 2), (dx + 6, 50, 3)])
    mesh = msp.add_polymesh((3, 3))
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (dx + m, 60 + n, m * n))
    pface = msp.add_polyface()
    pface.append_face([(dx, 70, 0), (dx + 1, 70, 0), (dx + 1, 71, 1)])
    insert = msp.add_blockref("MARK", (dx + 20, 20), dxfattribs={"xscale": 2, "rotation": 15})
    insert.add_auto_attribs({"ID": "P%d" % variant})
    msp.add_linear_dim(base=(dx, 85), p1=(dx, 80), p2=(dx + 10, 80),
                       dimstyle="SURVEY").render()
    msp.add_line((dx, 90), (dx + 1, 91)).set_xdata("ACAD", [(1000, "kept"), (1070, variant)])
    try_add("LWPOLYLINE", lambda: msp.add_lwpolyline(
        [(dx, 100, 0.1, 0.2, 0.5), (dx + 5, 100), (dx + 5, 105)], format="xyseb",
        dxfattribs={"closed": True, "layer": "TIN", "color": 6}))
    try_add("ELLIPSE", lambda: msp.add_ellipse((dx, 110), major_axis=(4, 1), ratio=0.5))
    try_add("MTEXT", lambda: msp.add_mtext("two\\Plines", dxfattribs={"char_height": 1}))
    try_add("SPLINE", lambda: msp.add_spline([(dx, 120), (dx + 2, 123), (dx + 5, 121),
                                              (dx + 8, 124)]))
    try_add("RAY", lambda: msp.add_ray((dx, 130), (1, 1)))
    try_add("XLINE", lambda: msp.add_xline((dx, 131), (1, 0)))
    try_add("LEADER", lambda: msp.add_leader([(dx, 140), (dx + 3, 142), (dx + 6, 142)]))

    def hatch():
        h = msp.add_hatch(color=3)
        h.paths.add_polyline_path([(dx, 150), (dx + 4, 150), (dx + 4, 154)], is_closed=True)
    try_add("HATCH", hatch)
    try_add("MESH", lambda: add_ezdxf_mesh(msp, dx))
    try_add("3DSOLID", lambda: msp.add_3dsolid())
    try_add("REGION", lambda: msp.add_region())
    try_add("TOLERANCE", lambda: msp.new_entity("TOLERANCE", {"insert": (dx, 160),
                                                              "content": "{\\Fgdt;j}%%v0.1"}))
    psp = doc.layout("Layout1")
    psp.add_line((0, 0), (50, 50), dxfattribs={"color": 4})
    psp.add_text("paper").set_pos((5, 5))
    if variant == 2:
        psp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
    doc.saveas(path)


def add_ezdxf_mesh(msp, dx):
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(dx, 170, 0), (dx + 1, 170, 0), (dx + 1, 171, 1), (dx, 171, 1)]
        data.faces = [(0, 1, 2, 3)]
        data.edges = [(0, 1)]
        data.edge_crease_values = [0.5]


def reproduction(path):
    """The drawing of a user's report: everything but the 3D faces used to be lost."""
    doc = ezdxf.new("R2013", setup=True)
    doc.header["$INSUNITS"] = 6
    doc.layers.add("TIN", color=1, linetype="DASHED")
    block = doc.blocks.new("PEG")
    block.add_circle((0, 0), 1)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 10))
    msp.add_text("hello").set_pos((1, 1))
    msp.add_circle((5, 5), 2)
    msp.add_blockref("PEG", (3, 3))
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1)], dxfattribs={"color": 5, "layer": "TIN"})
    msp.add_3dface([(0, 0, 0), (0, 1, 0), (1, 1, 1)]).rgb = (10, 20, 30)
    doc.saveas(path)


def same_value(a, b):
    if isinstance(a, float) or isinstance(b, float):
        try:
            return math.isclose(float(a), float(b), rel_tol=0, abs_tol=0)
        except (TypeError, ValueError):
            return False
    if isinstance(a, (tuple, list)) or hasattr(a, "__iter__") and not isinstance(a, str):
        a, b = list(a), list(b)
        return len(a) == len(b) and all(same_value(x, y) for x, y in zip(a, b))
    return a == b


def details(entity):
    """What an entity holds beyond its attributes, as comparable values."""
    kind = entity.dxftype()
    out = {"xdata": [(app, list(entity.get_xdata(app))) for app in
                     sorted(entity.xdata.data.keys())] if entity.xdata else []}
    if kind == "POLYLINE":
        out["vertices"] = [v.dxf.all_existing_dxf_attribs() for v in entity.vertices]
        for v in out["vertices"]:
            v.pop("handle", None)
            v.pop("owner", None)
    elif kind == "LWPOLYLINE":
        out["points"] = list(entity.get_points("xyseb"))
    elif kind == "SPLINE":
        out["control"] = list(entity.control_points)
    elif kind == "MTEXT":
        out["text"] = entity.text
    elif kind == "HATCH":
        out["paths"] = [list(p.vertices) for p in entity.paths]
    elif kind == "MESH":
        out["vertices"] = list(entity.vertices)
        out["faces"] = [list(f) for f in entity.faces]
        out["edges"] = [list(e) for e in entity.edges]
        out["creases"] = list(entity.creases)
    elif kind == "INSERT":
        out["attribs"] = [(a.dxf.tag, a.dxf.text) for a in entity.attribs]
    elif kind == "LEADER":
        out["vertices"] = list(entity.vertices)
    return out


def attributes(entity, doc):
    """The entity's attributes; for R12 without the owners and handles ezdxf makes up."""
    made_up = ("owner", "material_handle", "plotstyle_handle") if doc.dxfversion == "AC1009" else ()
    return sorted((k, v) for k, v in entity.dxf.all_existing_dxf_attribs().items()
                  if k not in made_up)


def file_variables(path):
    """The HEADER section's variables and their tags as written."""
    with open(path, encoding="utf-8", errors="replace") as file:
        lines = [line.strip() for line in file]
    variables, name = {}, None
    for code, value in zip(lines[0::2], lines[1::2]):
        if code == "0" and value == "ENDSEC":
            break
        if code == "9":
            name = value
            variables[name] = []
        elif name is not None:
            variables[name].append((code, value))
    return variables


def entities_of(doc):
    found = {}
    for block in doc.blocks:
        for entity in block:
            found[entity.dxf.handle] = (block.name, entity)
    return found


def compare(original_path, saved_path, added_kind):
    problems = []
    before = ezdxf.readfile(original_path)
    after = ezdxf.readfile(saved_path)
    if after.dxfversion != before.dxfversion:
        problems.append("release %s became %s" % (before.dxfversion, after.dxfversion))
    # The header as written (ezdxf makes some variables up on loading an R12 file).
    old_header, new_header = file_variables(original_path), file_variables(saved_path)
    for name, value in old_header.items():
        if name != "$HANDSEED" and new_header.get(name) != value:
            problems.append("header %s: %r became %r" % (name, value, new_header.get(name)))
    for table in ("layers", "linetypes", "styles", "dimstyles", "appids"):
        old = {e.dxf.name.upper(): e for e in getattr(before, table)}
        new = {e.dxf.name.upper(): e for e in getattr(after, table)}
        for name, entry in old.items():
            if name not in new:
                problems.append("%s %s is gone" % (table, name))
            elif not same_value(attributes(entry, before), attributes(new[name], before)):
                problems.append("%s %s changed" % (table, name))
    old = entities_of(before)
    new = entities_of(after)
    for handle, (block, entity) in old.items():
        if handle not in new:
            problems.append("entity %s %s in %s is gone" % (handle, entity.dxftype(), block))
            continue
        block2, entity2 = new[handle]
        a = dict(attributes(entity, before))
        b = dict(attributes(entity2, before))
        if block2 != block or entity2.dxftype() != entity.dxftype():
            problems.append("entity %s moved or changed kind" % handle)
        for key in set(a) | set(b):
            if not same_value(a.get(key), b.get(key)):
                problems.append("entity %s %s %s: %r became %r" % (
                    handle, entity.dxftype(), key, a.get(key), b.get(key)))
        d1, d2 = details(entity), details(entity2)
        for key in d1:
            if not same_value(d1[key], d2.get(key)):
                problems.append("entity %s %s %s differs" % (handle, entity.dxftype(), key))
    if len(before.objects) > len(after.objects):
        problems.append("objects: %d became %d" % (len(before.objects), len(after.objects)))
    added = [e for h, (b, e) in new.items() if h not in old]
    kinds = sorted(e.dxftype() for e in added)
    meshes = [e for e in added if e.dxftype() == added_kind]
    if len(meshes) != 1:
        problems.append("expected one new %s, found %s" % (added_kind, kinds))
    elif meshes[0].dxf.layer != "TIN":
        problems.append("the new %s is on layer %s" % (added_kind, meshes[0].dxf.layer))
    elif added_kind == "MESH" and len(meshes[0].vertices) != 4:
        problems.append("the new MESH has %d vertices" % len(meshes[0].vertices))
    auditor = after.audit()
    if auditor.has_errors:
        problems.append("audit: %s" % [str(e.message) for e in auditor.errors])
    handles, seed = file_handles(saved_path)
    if len(handles) != len(set(handles)):
        problems.append("duplicate handles")
    if any(h >= seed for h in handles):
        problems.append("a handle is not below the seed %X" % seed)
    return problems


def file_handles(path):
    """The handles (codes 5 and 105) of the file's objects, and its handle seed."""
    with open(path, encoding="utf-8", errors="replace") as file:
        lines = [line.strip() for line in file]
    handles, seed, variable, kind = [], 0, None, None
    for code, value in zip(lines[0::2], lines[1::2]):
        if code == "9":
            variable = value
        elif code == "5" and kind == "DIMSTYLE":
            pass  # DIMBLK there; the handle is 105
        elif code in ("5", "105"):
            if variable == "$HANDSEED":
                seed, variable = int(value, 16), None
            else:
                handles.append(int(value, 16))
        elif code == "0":
            variable, kind = None, value
    return handles, seed


def main():
    kafcad, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    cases = []
    for release in RELEASES:
        for variant in range(3):
            path = os.path.join(folder, "%s_%d.dxf" % (release, variant))
            make(release, variant, path)
            cases.append((path, release))
    path = os.path.join(folder, "reproduction.dxf")
    reproduction(path)
    cases.append((path, "R2013"))
    failed = 0
    points = "'((0 0 1) (10 0 2) (0 10 3) (10 10 4))"
    for path, release in cases:
        saved = path[:-4] + "_saved.dxf"
        if release in MESH_RELEASES:
            call, kind = "(kaf-dct-subdmesh %s \"TIN\")" % points, "MESH"
        else:
            call, kind = "(kaf-dct-pfacemesh %s \"TIN\")" % points, "POLYLINE"
        run = subprocess.run([kafcad, "--drawing", path, "--save", saved, "-e", call],
                             capture_output=True, text=True)
        if run.returncode != 0:
            print("%s: kafcad exited %d: %s" % (path, run.returncode, run.stderr.strip()))
            failed += 1
            continue
        problems = compare(path, saved, kind)
        print("%s: %s" % (os.path.basename(path), "same, one new " + kind if not problems
                          else "; ".join(problems[:8])))
        failed += 1 if problems else 0
    # The report's own command: the drawing saved over itself, nothing run.
    path = os.path.join(folder, "in.dxf")
    reproduction(path)
    original = open(path, "rb").read()
    run = subprocess.run([kafcad, "--drawing", path, "--save", path, "-e", "(princ)"],
                         capture_output=True, text=True)
    same = run.returncode == 0 and open(path, "rb").read() == original
    print("in.dxf saved over itself: %s" % ("the same file" if same else "changed: " + run.stderr))
    failed += 0 if same else 1
    print("%d of %d drawings kept" % (len(cases) + 1 - failed, len(cases) + 1))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
