#!/usr/bin/env python3
"""Writes a synthetic memo file for stress runs and timings.

    make-memofile.py DIR HOLDERS NODES [LINES]

DIR/big.mxa names HOLDERS holders H00001 ... each in its own DIR/H00001.mxh
with NODES nodes of LINES memo lines. Plain ASCII, CR LF, as vrk writes it.
"""
import os
import sys


def holder_text(name, nodes, lines):
    out = [
        '<?xml version="1.0" encoding="Shift_JIS" ?>',
        "<!-- 20241208 101010 -->",
        '<!DOCTYPE Holder [<!ENTITY quot "&#34;">]>',
        f'<Holder name="{name}">',
        '  <Field CountSave="1"/>',
    ]
    for n in range(nodes):
        out.append(f'  <Record name="node {n:06d}">')
        out.append(f'    <Field UID="20241208_101010000_{n:08d}" />')
        for k in range(lines):
            out.append(f"line {k} of node {n} in {name}: the quick brown fox jumps<BR/>")
        out.append("  </Record>")
    out.append("</Holder>")
    return "\r\n".join(out) + "\r\n"


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    folder, holders, nodes = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    lines = int(sys.argv[4]) if len(sys.argv) == 5 else 3
    os.makedirs(folder, exist_ok=True)
    mxa = [
        '<?xml version="1.0" encoding="Shift_JIS" ?>',
        "<!-- 20241208 101010 -->",
        '<!DOCTYPE File [<!ENTITY quot "&#34;">]>',
        '<File name="big">',
    ]
    for h in range(1, holders + 1):
        name = f"H{h:05d}"
        mxa += [f'  <Holder name="{name}">', '    <Field FlagLoaded="false" />', "  </Holder>"]
        with open(os.path.join(folder, name + ".mxh"), "w", newline="") as f:
            f.write(holder_text(name, nodes, lines))
    mxa.append("</File>")
    with open(os.path.join(folder, "big.mxa"), "w", newline="") as f:
        f.write("\r\n".join(mxa) + "\r\n")


main()
