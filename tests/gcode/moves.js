// Reads one NC program with gcode-toolpath and prints every move as one JSON
// document: {"moves":[{"motion":"G1","tool":1,"x":..,"y":..,"z":..,
// "cx":..,"cy":..}, ...]} (cx, cy only for arcs). Exit code 1 on a read error.
'use strict';
const fs = require('fs');
const Toolpath = require('gcode-toolpath');

const file = process.argv[2];
if (!file) {
  process.stderr.write('usage: node moves.js PROGRAM\n');
  process.exit(2);
}
const moves = [];
const toolpath = new Toolpath({
  position: { x: 0, y: 0, z: 0 },
  addLine: (modal, v1, v2) => {
    moves.push({ motion: modal.motion, tool: modal.tool, x: v2.x, y: v2.y, z: v2.z });
  },
  addArcCurve: (modal, v1, v2, v0) => {
    moves.push({ motion: modal.motion, tool: modal.tool, x: v2.x, y: v2.y, z: v2.z, cx: v0.x, cy: v0.y });
  },
});
const text = fs.readFileSync(file, 'latin1');
toolpath.loadFromString(text, (err) => {
  if (err) {
    process.stderr.write(String(err) + '\n');
    process.exit(1);
  }
  process.stdout.write(JSON.stringify({ moves }) + '\n');
});
