#!/usr/bin/env python3
"""Writes the published data names of the global blocks (struct sim_*_block in
core/simvars.h) as table rows for links/plugin_data.cpp:

    tools/gen_plugin_names.py core/simvars.h > links/plugin_data_blocks.inc

Each field of a block is published as "sim/<area>/<group>/<field>": the area
and group come from the block's name (sim_cockpit_radios -> sim/cockpit/radios/,
or the "// sim/.../" line above the block where its group has an underscore of
its own). int32_t fields go to the integer run, float to the float run, their
arrays to the array runs, char arrays to the byte run."""
import re
import sys

src = open(sys.argv[1]).read()
runs = {"INT": [], "FLOAT": [], "FLOAT_ARRAY": [], "INT_ARRAY": [], "BYTES": []}
for m in re.finditer(r"((?://[^\n]*\n)*)struct (sim_\w+)_block \{(.*?)\n\};", src, re.S):
    comment, block, body = m.group(1), m.group(2), m.group(3)
    named = re.search(r"// (sim/[\w/]+)/", comment)
    prefix = named.group(1) + "/" if named else block.replace("_", "/") + "/"
    var = block
    for line in body.split("\n"):
        line = re.sub(r"//.*", "", line).strip()
        fm = re.match(r"(int32_t|float|char)\s+(.*?);$", line)
        if not fm:
            continue
        ctype, decls = fm.group(1), fm.group(2)
        for d in decls.split(","):
            d = d.split("=")[0].strip()
            am = re.match(r"(\w+)((?:\[\w+\])*)$", d)
            if not am:
                continue
            name, dims = am.group(1), am.group(2)
            path = prefix + name
            ref = "%s.%s" % (var, name)
            if ctype == "char":
                runs["BYTES"].append('SIM_BYTES("%s", %s),' % (path, ref))
            elif dims:
                runs["FLOAT_ARRAY" if ctype == "float" else "INT_ARRAY"].append('SIM_ARRAY("%s", %s),' % (path, ref))
            else:
                runs["FLOAT" if ctype == "float" else "INT"].append('SIM_%s("%s", %s),' % (
                    "FLOAT" if ctype == "float" else "INT", path, ref))
# The other planes, by slot: their position and attitude, and two per-plane arrays.
for n in range(1, 10):
    for field, member in (("x", "local_x"), ("y", "local_y"), ("z", "local_z"), ("the", "theta"), ("phi", "phi"),
                          ("psi", "psi"), ("flap_ratio", "flaprat"), ("speedbrake_ratio", "sbrkrat"),
                          ("slat_ratio", "slatrat"), ("wing_sweep", "swdi")):
        runs["FLOAT"].append('SIM_FLOAT("sim/multiplayer/position/plane%d_%s", flt[%d].%s),' % (n, field, n, member))
    runs["FLOAT_ARRAY"].append('SIM_ARRAY("sim/multiplayer/position/plane%d_throttle", flt[%d].ENGN_thro),' % (n, n))
print("// Written by tools/gen_plugin_names.py from core/simvars.h; run it again when the blocks change.")
for run, rows in runs.items():
    print("#define BLOCK_%s_ROWS \\" % run)
    for r in rows:
        print("    %s \\" % r)
    print("")
