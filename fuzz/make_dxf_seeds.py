"""Writes small DXF drawings made by ezdxf into corpus/dxf_drawing, one per release kafcad reads:
entities kafcad keeps as they are (LINE, TEXT, INSERT with attributes, a block, extended data),
layers with colours, linetypes and states, entities with colours, and the kinds it models.

Run with /usr/bin/python3 (python3-ezdxf): make_dxf_seeds.py
"""
import os

import ezdxf

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "dxf_drawing")


def make(release):
    doc = ezdxf.new(release)
    doc.header["$INSUNITS"] = 6
    doc.layers.add("TIN", color=1, linetype="Continuous").lock()
    doc.layers.add("OFF", color=3).off()
    block = doc.blocks.new("PEG")
    block.add_circle((0, 0), 1)
    block.add_attdef("ID", (0, 1))
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 10), dxfattribs={"color": 2}).set_xdata("ACAD", [(1000, "x")])
    msp.add_text("hello").set_pos((1, 1))
    msp.add_blockref("PEG", (3, 3)).add_auto_attribs({"ID": "7"})
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1)], dxfattribs={"color": 5, "layer": "TIN"})
    pface = msp.add_polyface(dxfattribs={"layer": "OFF"})
    pface.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 1)])
    if release != "R12":
        msp.add_3dface([(0, 0, 0), (0, 1, 0), (1, 1, 1)]).rgb = (10, 20, 30)
        msp.add_lwpolyline([(0, 0), (5, 0), (5, 5)], dxfattribs={"closed": True})
        mesh = msp.add_mesh()
        with mesh.edit_data() as data:
            data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 1)]
            data.faces = [(0, 1, 2)]
    doc.layout("Layout1").add_line((0, 0), (1, 1))
    doc.saveas(os.path.join(CORPUS, "seed-ezdxf-%s.dxf" % release))


for release in ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]:
    make(release)
