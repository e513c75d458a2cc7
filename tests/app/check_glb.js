// Reads a .glb the way a shop's viewer would: the Khronos glTF Validator must find nothing to
// say but that a picture's sides are no powers of two, the model's bounds must be its size in
// metres, and one face that reaches the model's front looking along +z must carry the
// front picture's own bytes (a book's front cover also shows on its cut edges, a hardcover's
// back board looks along +z inside, behind the pages, and a case's rim round its insert
// shows its plastic).
// node check_glb.js VALIDATOR_FOLDER MODEL.glb FRONT.jpg WIDTH HEIGHT DEPTH
'use strict';
const fs = require('fs');
const [validatorFolder, modelFile, frontFile, ...size] = process.argv.slice(2);
const validator = require(validatorFolder);
const bytes = fs.readFileSync(modelFile);
const fail = (what) => { console.log('FAILED: ' + what); process.exitCode = 1; };

const jsonLength = bytes.readUInt32LE(12);
const gltf = JSON.parse(bytes.subarray(20, 20 + jsonLength).toString());
const binary = bytes.subarray(20 + jsonLength + 8);
const floats = (index, k) => {
  const accessor = gltf.accessors[index], view = gltf.bufferViews[accessor.bufferView];
  const values = [];
  for (let i = 0; i < accessor.count; ++i)
    values.push(binary.readFloatLE(view.byteOffset + accessor.byteOffset + i * view.byteStride + 4 * k));
  return values;
};

validator.validateBytes(new Uint8Array(bytes)).then((report) => {
  const said = report.issues.messages.filter((m) => m.code !== 'IMAGE_NPOT_DIMENSIONS');
  if (said.length) fail('the validator says ' + JSON.stringify(said));
  const primitives = gltf.meshes[0].primitives;
  for (let k = 0; k < 3; ++k) {
    const low = Math.min(...primitives.map((p) => gltf.accessors[p.attributes.POSITION].min[k]));
    const high = Math.max(...primitives.map((p) => gltf.accessors[p.attributes.POSITION].max[k]));
    if (Math.abs(high - low - size[k]) > 1e-6 || Math.abs(high + low) > 1e-6)
      fail(`axis ${k} runs from ${low} to ${high}, not across ${size[k]} m`);
  }
  const frontZ = Math.max(...primitives.map((p) => gltf.accessors[p.attributes.POSITION].max[2]));
  const front = primitives.filter((p) => {
    const z = floats(p.attributes.POSITION, 2);
    return floats(p.attributes.NORMAL, 2).some((n, i) => n > 0.99 && Math.abs(z[i] - frontZ) < 1e-6);
  });
  const shows = (p) => {
    const texture = gltf.materials[p.material].pbrMetallicRoughness.baseColorTexture.index;
    const image = gltf.images[gltf.textures[texture].source];
    const view = gltf.bufferViews[image.bufferView];
    return binary.subarray(view.byteOffset, view.byteOffset + view.byteLength).equals(fs.readFileSync(frontFile));
  };
  if (front.filter(shows).length !== 1)
    fail(`no one face looking along +z (of ${front.length}) shows the front picture`);
  console.log(`glb: ${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings, ` +
              `${report.issues.numInfos} infos; ${primitives.length} faces, ${bytes.length} bytes`);
});
