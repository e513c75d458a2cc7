#!/usr/bin/env bash
# A project with a picture on its front exported as a .glb from the command line, then
# read by check_glb.js. Arguments: the build folder and a scratch folder of the test's own.
set -euo pipefail
build=$1 work=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cp -r "$build/model" model && cp model/cube1.jpg front.jpg
# 7, 9 and 4 steps of 20 mm: 140 mm wide, 180 mm high and 80 mm deep, edges rounded.
printf '[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nFront=front.jpg\r\n[Box]\r\nWidth=7\r\nHeight=9\r\nDepth=4\r\n[View]\r\nSoftEdges=1\r\n' >box.tessaryn
wine "$build/bin/Tessaryn.exe" box.tessaryn /export-glb box.glb </dev/null
node "$top/tests/app/check_glb.js" "$build_root/tools/node_modules/gltf-validator" box.glb front.jpg 0.14 0.18 0.08
