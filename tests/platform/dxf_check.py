"""Checks DXF files written by kafcad with an independent reader, ezdxf.

dxf_check.py FILE
    Loads FILE with ezdxf, runs its audit and prints what it found, one fact a line:
        version AC1024
        audit errors 0 fixes 0        (then one "error: ..." or "fix: ..." line each)
        handles N unique below seed S  (or "duplicate handle H", "handle H not below seed S")
        layer NAME on|off|frozen
        layer-style NAME color C true RRGGBB|none linetype L lineweight W
        entity HANDLE KIND model|paper LAYER owner OWNER <details>
    with the details of each kind:
        3DFACE      corners (x,y,z)x4 invisible FLAGS
        POLYLINE    polyface vertices V faces F subentities-owned yes|no
        MESH        vertices V faces F level L colors C
        LWPOLYLINE  points P closed 0|1 elevation E bulges B1,B2,...
        TEXT        text 'T' insert (x,y,z) align (x,y,z) height H rotation R(degrees)
                    halign H valign V style S color C
        POINT       at (x,y,z) color C true RRGGBB|none
    Exits with 1 when the audit finds an error or handles are not unique, else 0.

dxf_check.py --make FILE
    Writes a drawing made by ezdxf itself (the reader's test input): layers, one entity of each
    kind kept, in model and paper space, and entities a reader must skip.
"""
import sys

import ezdxf


def number(value):
    return repr(float(value))


def raw_handles(path):
    """Handles (codes 5 and 105) after the HEADER section, and the handle seed."""
    with open(path, encoding="utf-8", errors="replace") as file:
        lines = [line.rstrip("\r\n") for line in file]
    pairs = list(zip(lines[0::2], lines[1::2]))
    seed = None
    handles = []
    in_header = False
    for index, (code, value) in enumerate(pairs):
        code = code.strip()
        if code == "2" and value == "HEADER":
            in_header = True
        elif code == "0" and value == "ENDSEC":
            in_header = False
        elif in_header and code == "9" and value == "$HANDSEED":
            seed = int(pairs[index + 1][1], 16)
        elif not in_header and code in ("5", "105"):
            handles.append(int(value, 16))
    return handles, seed


def check_handles(path):
    handles, seed = raw_handles(path)
    problems = []
    seen = set()
    for handle in handles:
        if handle in seen:
            problems.append("duplicate handle %X" % handle)
        seen.add(handle)
        if seed is None or handle >= seed:
            problems.append("handle %X not below seed %s" % (handle, "none" if seed is None
                                                              else "%X" % seed))
    if not problems:
        print("handles %d unique below seed %X" % (len(handles), seed))
    for problem in problems:
        print(problem)
    return not problems


def layer_state(layer):
    if layer.is_frozen():
        return "frozen"
    return "on" if layer.is_on() else "off"


def details(entity):
    kind = entity.dxftype()
    if kind == "3DFACE":
        corners = " ".join("(%s,%s,%s)" % tuple(number(c) for c in entity.dxf.get("vtx%d" % i))
                           for i in range(4))
        return "corners %s invisible %d" % (corners, entity.dxf.invisible)
    if kind == "POLYLINE":
        vertices = [v for v in entity.vertices if v.is_poly_face_mesh_vertex]
        faces = [v for v in entity.vertices if v.is_face_record]
        owned = all(v.dxf.owner == entity.dxf.handle for v in entity.vertices)
        owned = owned and entity.seqend.dxf.owner == entity.dxf.handle
        return "polyface %s vertices %d faces %d subentities-owned %s" % (
            entity.is_poly_face_mesh, len(vertices), len(faces), "yes" if owned else "no")
    if kind == "MESH":
        colors = 0
        if entity.has_extension_dict:
            xdict = entity.get_extension_dict()
            if "KAF_VERTEX_COLORS" in xdict:
                record = xdict["KAF_VERTEX_COLORS"]
                colors = sum(1 for tag in record.tags if tag.code == 420)
        return "vertices %d faces %d level %d colors %d" % (
            len(entity.vertices), len(entity.faces), entity.dxf.subdivision_levels, colors)
    if kind == "TEXT":
        return "text '%s' insert (%s) align (%s) height %s rotation %s halign %d valign %d " \
               "style %s color %d" % (
                   entity.dxf.text, ",".join(number(c) for c in entity.dxf.insert),
                   ",".join(number(c) for c in entity.dxf.get("align_point", (0, 0, 0))),
                   number(entity.dxf.height), number(round(entity.dxf.rotation, 9)),
                   entity.dxf.halign, entity.dxf.valign, entity.dxf.style, entity.dxf.color)
    if kind == "POINT":
        true_color = entity.dxf.get("true_color")
        return "at (%s) color %d true %s" % (
            ",".join(number(c) for c in entity.dxf.location), entity.dxf.color,
            "none" if true_color is None else "%06X" % true_color)
    if kind == "LINE":
        return "from (%s) to (%s) color %d" % (
            ",".join(number(c) for c in entity.dxf.start),
            ",".join(number(c) for c in entity.dxf.end), entity.dxf.color)
    if kind == "LWPOLYLINE":
        bulges = ",".join(number(point[4]) for point in entity.get_points("xyseb"))
        return "points %d closed %d elevation %s bulges %s" % (
            len(entity), 1 if entity.closed else 0, number(entity.dxf.elevation), bulges)
    return ""


def check(path):
    doc = ezdxf.readfile(path)
    print("version %s" % doc.dxfversion)
    auditor = doc.audit()
    print("audit errors %d fixes %d" % (len(auditor.errors), len(auditor.fixes)))
    for error in auditor.errors:
        print("error: %s" % error.message)
    for fix in auditor.fixes:
        print("fix: %s" % fix.message)
    handles_ok = check_handles(path)
    for layer in doc.layers:
        print("layer %s %s" % (layer.dxf.name, layer_state(layer)))
        true_color = layer.dxf.get("true_color")
        print("layer-style %s color %d true %s linetype %s lineweight %d" % (
            layer.dxf.name, layer.color,
            "none" if true_color is None else "%06X" % true_color, layer.dxf.linetype,
            layer.dxf.lineweight))
    for space, layout in (("model", doc.modelspace()), ("paper", doc.layouts.active_layout())):
        for entity in layout:
            print("entity %s %s %s %s owner %s %s" % (
                entity.dxf.handle, entity.dxftype(), space, entity.dxf.layer, entity.dxf.owner,
                details(entity)))
    return 0 if handles_ok and not auditor.has_errors else 1


def make(path):
    doc = ezdxf.new("R2013")
    doc.layers.add("TIN")
    doc.layers.add("Off").off()
    doc.layers.add("Frozen").freeze()
    msp = doc.modelspace()
    mesh = msp.add_mesh(dxfattribs={"layer": "TIN"})
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0.5), (1, 1, 1), (0, 1, 0.25)]
        data.faces = [(0, 1, 2), (0, 2, 3)]
    face = msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)],
                          dxfattribs={"layer": "Off"})
    face.dxf.invisible = 2
    pface = msp.add_polyface(dxfattribs={"layer": "Frozen"})
    pface.append_faces([[(0, 0, 0), (2, 0, 0), (2, 2, 1)], [(0, 0, 0), (2, 2, 1), (0, 2, 1)]])
    msp.add_line((0, 0), (1, 1, 0.5), dxfattribs={"layer": "TIN", "color": 3})
    msp.add_line((1, 1), (2, 0), dxfattribs={"thickness": 2})
    msp.add_circle((0, 0), 3)
    msp.add_polyline3d([(0, 0, 0), (1, 2, 3)])
    block = doc.blocks.new("MARK")
    block.add_line((0, 0), (1, 0))
    block.add_attdef("ID", (0, 0))
    insert = msp.add_blockref("MARK", (5, 5))
    insert.add_attrib("ID", "7", (5, 5))
    psp = doc.layouts.active_layout()
    psp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, 0), (10, 10, 0, 0, 0)],
                       format="xyseb", close=True, dxfattribs={"elevation": 2.5})
    doc.saveas(path)
    return 0


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "--make":
        return make(arguments[1])
    if len(arguments) == 1:
        return check(arguments[0])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
