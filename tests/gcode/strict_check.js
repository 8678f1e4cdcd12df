// A strict check of one NC program against a description of what it must do.
// The moves come from gcode-toolpath (an independent G-code reader); feed,
// spindle, tool and unit words are followed here per block, in the order a
// control executes them (F, S, T, M6, M3/M4/M5 before the motion, M2/M30
// after it).
//
// usage: node strict_check.js PROGRAM DESCRIPTION.json
// Prints one line per fault, "LINE: reason" (LINE counts from 1), and ends
// with 0 when the program is clean, 1 when faults were found, 2 when the
// program or the description cannot be read.
//
// The description (JSON; lengths in mm, heights above the work surface,
// negative in the work):
//   unit       "mm" or "inch": the unit of the program's numbers
//   surfaceZ   program Z of the work surface, in mm
//   zSign      1 when a larger Z is higher, -1 when it is deeper
//   clearance  {"TOOL": height}: the least height of a rapid X/Y move for
//              each tool number; a tool not listed (and no tool yet) gets
//              the smallest of them
//   spindle    {"switched": bool, "m6Stops": bool}: whether the program
//              switches the spindle (M3/M4 on, M5 off) and whether M6 stops it
//   contours   [{"start": [x, y, h], "points": [{"to": [x, y, h],
//              "arc": {"dir": "cw"|"ccw", "sweep": degrees}}, ...]}, ...]
//              the cutting path in its order; "arc" when the point is
//              reached on a circular arc
//   arcCentres optional, "incremental" (default) or "absolute": how the
//              control reads I/J (G90.1 and G91.1 in the program switch it)
//   tolerance  optional, mm, points of the path (default 0.001)
//   arcTolerance optional, mm, start and end radius of an arc (default 0.001)
'use strict';
const fs = require('fs');
const Toolpath = require('gcode-toolpath');

const kInch = 25.4;
const kSweepTolerance = 0.1;  // degrees

function ReadInputs(programFile, descriptionFile) {
  try {
    const program = fs.readFileSync(programFile, 'latin1');
    const description = JSON.parse(fs.readFileSync(descriptionFile, 'utf8'));
    if (description.unit !== 'mm' && description.unit !== 'inch') throw new Error('unit must be "mm" or "inch"');
    if (typeof description.surfaceZ !== 'number') throw new Error('surfaceZ missing');
    if (description.zSign !== 1 && description.zSign !== -1) throw new Error('zSign must be 1 or -1');
    if (typeof description.clearance !== 'object' || Object.keys(description.clearance).length === 0)
      throw new Error('clearance missing');
    if (typeof description.spindle !== 'object') throw new Error('spindle missing');
    if (description.arcCentres !== undefined && !['incremental', 'absolute'].includes(description.arcCentres))
      throw new Error('arcCentres must be "incremental" or "absolute"');
    if (!Array.isArray(description.contours)) throw new Error('contours missing');
    for (const c of description.contours) {
      if (!Array.isArray(c.start) || c.start.length !== 3 || !Array.isArray(c.points))
        throw new Error('a contour needs start [x, y, h] and points');
      for (const p of c.points) {
        if (!Array.isArray(p.to) || p.to.length !== 3) throw new Error('a point needs to [x, y, h]');
        if (p.arc && (!['cw', 'ccw'].includes(p.arc.dir) || typeof p.arc.sweep !== 'number'))
          throw new Error('an arc needs dir "cw"/"ccw" and sweep');
      }
    }
    return { program, description };
  } catch (err) {
    process.stderr.write(String(err.message || err) + '\n');
    process.exit(2);
  }
}

function Num(v) {
  return Number(v.toFixed(4)).toString();
}

function Near(a, b, tol) {
  return Math.abs(a - b) <= tol;
}

// Sweep in degrees, in (0, 360], of the arc from s to e around c.
function SweepOf(s, e, c, ccw) {
  const a0 = Math.atan2(s.y - c.y, s.x - c.x);
  const a1 = Math.atan2(e.y - c.y, e.x - c.x);
  let sweep = ((ccw ? a1 - a0 : a0 - a1) * 180) / Math.PI;
  while (sweep <= 1e-9) sweep += 360;
  while (sweep > 360 + 1e-9) sweep -= 360;
  return sweep;
}

function RadiusMismatch(s, e, c, tol) {
  return !Near(Math.hypot(s.x - c.x, s.y - c.y), Math.hypot(e.x - c.x, e.y - c.y), tol);
}

function Check(program, d) {
  const faults = [];
  const tol = d.tolerance ?? 0.001;
  const arcTol = d.arcTolerance ?? 0.001;
  const clearances = Object.entries(d.clearance).map(([k, v]) => [Number(k), Number(v)]);
  const leastClearance = Math.min(...clearances.map(([, v]) => v));
  const Clearance = (tool) => {
    const hit = clearances.find(([k]) => k === tool);
    return hit ? hit[1] : leastClearance;
  };
  const Height = (z) => (z - d.surfaceZ) * d.zSign;
  const Fault = (line, reason) => faults.push({ line, reason });

  // Block state of this check.
  let tool = null;
  let feed = null;  // null: no feed yet
  let spindleOn = false;
  let speedZero = false;
  let zKnown = false;
  let xyKnown = false;
  let absoluteCentres = d.arcCentres === 'absolute';
  let lineNo = 0;
  let events = [];

  // The path: contours in order, which are done, where the tool is in one.
  const contours = d.contours;
  const done = contours.map(() => false);
  let current = -1;  // contour being cut, -1 none
  let next = 0;      // index of its next point
  const Expected = () => done.indexOf(false);
  const SamePoint = (p, q) => Near(p.x, q[0], tol) && Near(p.y, q[1], tol) && Near(Height(p.z), q[2], tol);
  const SameXY = (p, q) => Near(p.x, q[0], tol) && Near(p.y, q[1], tol);
  const Where = (q) => `X${Num(q[0])} Y${Num(q[1])} H${Num(q[2])}`;

  const toolpath = new Toolpath({
    position: { x: 0, y: 0, z: 0 },
    modal: { units: d.unit === 'inch' ? 'G20' : 'G21' },
    addLine: (modal, v1, v2) => events.push({ motion: modal.motion, v1, v2 }),
    addArcCurve: (modal, v1, v2, v0) =>
      events.push({ motion: modal.motion, v1, v2, v0, plane: modal.plane }),
  });

  function EnterWhenAtStart(pos) {
    if (current >= 0) return;
    const e = Expected();
    if (e >= 0 && SamePoint(pos, contours[e].start)) {
      current = e;
      next = 0;
    }
  }

  function FinishWhenDone() {
    if (current >= 0 && next >= contours[current].points.length) {
      done[current] = true;
      current = -1;
    }
  }

  function CheckArcShape(ev) {
    if (ev.plane !== 'G17') return true;
    if (!RadiusMismatch(ev.v1, ev.v2, ev.v0, arcTol)) return true;
    // The centre as it would be with I/J in the other unit.
    const base = absoluteCentres ? { x: 0, y: 0 } : ev.v1;
    const scaled = (f) => ({ x: base.x + (ev.v0.x - base.x) * f, y: base.y + (ev.v0.y - base.y) * f });
    if (!RadiusMismatch(ev.v1, ev.v2, scaled(1 / kInch), arcTol) ||
        !RadiusMismatch(ev.v1, ev.v2, scaled(kInch), arcTol)) {
      Fault(lineNo, `${ev.motion} centre I/J in another unit than X/Y`);
    } else {
      const r0 = Math.hypot(ev.v1.x - ev.v0.x, ev.v1.y - ev.v0.y);
      const r1 = Math.hypot(ev.v2.x - ev.v0.x, ev.v2.y - ev.v0.y);
      Fault(lineNo, `${ev.motion} start radius ${Num(r0)} and end radius ${Num(r1)} differ`);
    }
    return false;
  }

  function CheckPathStep(ev, arcShapeOk) {
    const pos = ev.v2;
    const isArc = ev.motion === 'G2' || ev.motion === 'G3';
    const pureZ = Near(ev.v1.x, pos.x, tol) && Near(ev.v1.y, pos.y, tol);
    if (current < 0) {
      EnterWhenAtStart(pos);
      if (current >= 0) return;
      if (pureZ && Height(pos.z) >= Height(ev.v1.z) - tol) return;  // a feed upwards
      const e = Expected();
      // A plunge: it starts a contour, the expected one or another.
      if (pureZ && e >= 0) {
        let at = -1;
        for (let i = 0; i < contours.length; ++i)
          if (!done[i] && SameXY(pos, contours[i].start)) { at = i; break; }
        if (at < 0) {
          Fault(lineNo, `contour ${e + 1} starts at X${Num(pos.x)} Y${Num(pos.y)}, expected ` +
                        `X${Num(contours[e].start[0])} Y${Num(contours[e].start[1])}`);
          at = e;
        } else if (at !== e) {
          Fault(lineNo, `contour ${at + 1} cut before contour ${e + 1}`);
        }
        if (Height(pos.z) > contours[at].start[2] + tol) return;  // not down yet
        current = at;
        next = 0;
        return;
      }
      Fault(lineNo, `cut to X${Num(pos.x)} Y${Num(pos.y)} H${Num(Height(pos.z))} outside the expected path`);
      return;
    }
    const points = contours[current].points;
    let hit = -1;
    for (let k = next; k < points.length; ++k)
      if (SamePoint(pos, points[k].to)) { hit = k; break; }
    if (hit < 0) {
      Fault(lineNo, `cut to X${Num(pos.x)} Y${Num(pos.y)} H${Num(Height(pos.z))} out of order, ` +
                    `expected ${Where(points[next].to)}`);
      return;
    }
    if (hit > next) Fault(lineNo, `cut skips ${Where(points[next].to)} of contour ${current + 1}`);
    next = hit + 1;
    const want = points[hit].arc;
    if (want && !isArc) {
      Fault(lineNo, `${ev.motion} where an arc is expected`);
    } else if (!want && isArc) {
      Fault(lineNo, `${ev.motion} where a straight cut is expected`);
    } else if (want) {
      const wantMotion = want.dir === 'ccw' ? 'G3' : 'G2';
      if (ev.motion !== wantMotion) {
        Fault(lineNo, `${ev.motion} where ${wantMotion} is expected`);
      } else if (arcShapeOk) {
        const sweep = SweepOf(ev.v1, ev.v2, ev.v0, ev.motion === 'G3');
        if (!Near(sweep, want.sweep, kSweepTolerance))
          Fault(lineNo, `${ev.motion} sweeps ${sweep.toFixed(1)} degrees, expected ${want.sweep.toFixed(1)}`);
      }
    }
    FinishWhenDone();
    EnterWhenAtStart(pos);
  }

  function CheckRapid(ev, xyWords) {
    // Before the first X/Y word the reader's start point is not the tool's.
    const xyMoves = (xyWords && !xyKnown) || !Near(ev.v1.x, ev.v2.x, 1e-9) || !Near(ev.v1.y, ev.v2.y, 1e-9);
    const h1 = Height(ev.v1.z), h2 = Height(ev.v2.z);
    if (xyMoves && !zKnown) {
      Fault(lineNo, 'G0 X/Y move before any Z height');
    } else if (xyMoves && Math.min(h1, h2) < Clearance(tool) - tol) {
      Fault(lineNo, `G0 X/Y move at height ${Num(Math.min(h1, h2))} below the clearance ` +
                    `${Num(Clearance(tool))} of tool ${tool ?? '?'}`);
    }
    if (h2 < -tol && (!zKnown || h2 < h1 - tol)) Fault(lineNo, `G0 down into the work to height ${Num(h2)}`);
    if (current >= 0 && xyMoves) {
      const c = contours[current];
      Fault(lineNo, `contour ${current + 1} left after ${next} of ${c.points.length} points`);
      done[current] = true;
      current = -1;
    }
    EnterWhenAtStart(ev.v2);
  }

  function CheckCut(ev) {
    if (feed === null) Fault(lineNo, `${ev.motion} before any feed`);
    else if (feed === 0) Fault(lineNo, `${ev.motion} with feed 0`);
    if (d.spindle.switched && (!spindleOn || speedZero)) Fault(lineNo, `${ev.motion} with the spindle stopped`);
    let arcShapeOk = true;
    if (ev.motion === 'G2' || ev.motion === 'G3') arcShapeOk = CheckArcShape(ev);
    CheckPathStep(ev, arcShapeOk);
  }

  const lines = program.split('\n');
  for (let i = 0; i < lines.length; ++i) {
    lineNo = i + 1;
    events = [];
    let words = [];
    toolpath.loadFromStringSync(lines[i], (data) => { words = words.concat(data.words); });
    const xyWords = words.some(([letter]) => letter === 'X' || letter === 'Y');
    // Words that act before the motion of the block.
    let stopAfter = false;
    for (const [letter, value] of words) {
      const code = Number(value);
      if (letter === 'F') {
        if (Number.isNaN(code)) Fault(lineNo, `feed F${value} is not a number`);
        else feed = code;
      } else if (letter === 'S' && !Number.isNaN(code)) {
        speedZero = code === 0;
      } else if (letter === 'T' && !Number.isNaN(code)) {
        tool = code;
      } else if (letter === 'G' && (code === 90.1 || code === 91.1)) {
        absoluteCentres = code === 90.1;
      } else if (letter === 'G' && code === 20 && d.unit === 'mm') {
        Fault(lineNo, 'G20 (inch) in a program in mm');
      } else if (letter === 'G' && code === 21 && d.unit === 'inch') {
        Fault(lineNo, 'G21 (mm) in a program in inch');
      }
    }
    for (const [letter, value] of words) {
      if (letter !== 'M') continue;
      if (value === 6 && d.spindle.m6Stops) spindleOn = false;
    }
    for (const [letter, value] of words) {
      if (letter !== 'M') continue;
      if (value === 3 || value === 4) spindleOn = true;
      else if (value === 5) spindleOn = false;
      else if (value === 2 || value === 30) stopAfter = true;
    }
    for (const ev of events) {
      if (ev.v0 && absoluteCentres) ev.v0 = { x: ev.v0.x - ev.v1.x, y: ev.v0.y - ev.v1.y, z: ev.v0.z };
      if (ev.motion === 'G0') CheckRapid(ev, xyWords);
      else if (ev.motion === 'G1' || ev.motion === 'G2' || ev.motion === 'G3') CheckCut(ev);
    }
    if (words.some(([letter]) => letter === 'Z')) zKnown = true;
    if (xyWords) xyKnown = true;
    if (stopAfter) spindleOn = false;
  }
  lineNo = lines.length > 0 && lines[lines.length - 1] === '' ? lines.length - 1 : lines.length;
  if (current >= 0) {
    Fault(lineNo, `contour ${current + 1} not finished (${next} of ${contours[current].points.length} points)`);
    done[current] = true;
  }
  done.forEach((isDone, i) => { if (!isDone) Fault(lineNo, `contour ${i + 1} never cut`); });
  return faults;
}

const [programFile, descriptionFile] = process.argv.slice(2);
if (!programFile || !descriptionFile) {
  process.stderr.write('usage: node strict_check.js PROGRAM DESCRIPTION.json\n');
  process.exit(2);
}
const { program, description } = ReadInputs(programFile, descriptionFile);
let faults;
try {
  faults = Check(program, description);
} catch (err) {
  process.stderr.write('unreadable program: ' + String(err.message || err) + '\n');
  process.exit(2);
}
for (const f of faults) process.stdout.write(`${f.line}: ${f.reason}\n`);
process.exit(faults.length > 0 ? 1 : 0);
