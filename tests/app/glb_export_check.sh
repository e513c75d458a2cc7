#!/usr/bin/env bash
# Projects with a picture on their front exported as .glb files from the command line, then
# read by check_glb.js: the box, and each book and case at its real size (a hardcover's
# boards stand 3 mm over its trim at the head, the tail and the fore-edge). Arguments: the
# build folder and a scratch folder of the test's own.
set -euo pipefail
build=$1 work=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/env.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cp -r "$build/model" model && cp model/cube1.jpg front.jpg
validator=$build_root/tools/node_modules/gltf-validator

# name, [Box] lines, the model's width, height and depth in metres
export_and_check() {
  local name=$1 box=$2
  shift 2
  printf '[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nFront=front.jpg\r\n[Box]\r\n%b[View]\r\nSoftEdges=1\r\n' "$box" >"$name.tessaryn"
  wine "$build/bin/Tessaryn.exe" "$name.tessaryn" /export-glb "$name.glb" </dev/null
  node "$top/tests/app/check_glb.js" "$validator" "$name.glb" front.jpg "$@"
}

# 7, 9 and 4 steps of 20 mm: 140 mm wide, 180 mm high and 80 mm deep, edges rounded.
export_and_check box 'Width=7\r\nHeight=9\r\nDepth=4\r\n' 0.14 0.18 0.08
book='WidthMm=135\r\nHeightMm=215\r\nDepthMm=18\r\n'
export_and_check paperback "Shape=paperback\r\n$book" 0.135 0.215 0.018
export_and_check hardcover "Shape=hardcover\r\n$book" 0.138 0.221 0.018
export_and_check dvd 'Shape=dvd\r\nWidthMm=135\r\nHeightMm=190\r\nDepthMm=14\r\n' 0.135 0.19 0.014
export_and_check bluray 'Shape=bluray\r\nWidthMm=135\r\nHeightMm=171.5\r\nDepthMm=13\r\n' 0.135 0.1715 0.013
