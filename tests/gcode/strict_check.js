// A strict check of one NC program against a description of what it must do.
// The moves come from gcode-toolpath (an independent G-code reader); feed,
// spindle, tool and unit words are followed here per block, in the order a
// control executes them (F, S, T, M6, M3/M4/M5 before the motion, M2/M30
// after it). M13 and M14 start the spindle as M3 and M4 do, with coolant.
//
// usage: node strict_check.js PROGRAM DESCRIPTION.json
//        node strict_check.js --batch LIST
// Prints one line per fault, "LINE: reason" (LINE counts from 1), and ends
// with 0 when the program is clean, 1 when faults were found, 2 when the
// program or the description cannot be read. In batch mode LIST holds one
// check a line, "NAME<TAB>PROGRAM<TAB>DESCRIPTION.json"; every fault is
// printed as "NAME:LINE: reason" and an unreadable pair as
// "NAME: unreadable: reason", and the end code is the worst of all checks.
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
//   area       optional [minX, minY, maxX, maxY]: where rapid X/Y moves may
//              go (the job, its start and park positions, with room around)
//   planar     optional, true for a machine without Z (wire EDM): heights,
//              clearances and feeds (the generator's) are not checked
//   feed       optional, "program" (default) or "control": "control" when the
//              feed is set at the control or by a calling program, so that
//              the program writes no F words and none is asked for
//   arcCentres optional, "incremental" (default) or "absolute": how the
//              control reads I/J (G90.1 and G91.1 in the program switch it)
//   comments   optional, "parentheses" when the program's comments stand in
//              ( ): a comment that nests or is left open is a fault
//   tolerance  optional, mm, points of the path (default 0.001)
//   arcTolerance optional, mm, start and end radius of an arc (default 0.001)
//   lengthOffset optional, true when the control needs each new tool's
//              length offset (G43 with H) before that tool moves down
'use strict';
const fs = require('fs');
const Toolpath = require('gcode-toolpath');

const kInch = 25.4;
const kSweepTolerance = 0.1;  // degrees

// The program and its description; throws with a reason when either
// cannot be read.
function ReadInputs(programFile, descriptionFile) {
  const program = fs.readFileSync(programFile, 'latin1');
  const description = JSON.parse(fs.readFileSync(descriptionFile, 'utf8'));
  if (description.unit !== 'mm' && description.unit !== 'inch') throw new Error('unit must be "mm" or "inch"');
  if (typeof description.surfaceZ !== 'number') throw new Error('surfaceZ missing');
  if (description.zSign !== 1 && description.zSign !== -1) throw new Error('zSign must be 1 or -1');
  if (typeof description.clearance !== 'object' || Object.keys(description.clearance).length === 0)
    throw new Error('clearance missing');
  if (typeof description.spindle !== 'object') throw new Error('spindle missing');
  if (description.feed !== undefined && !['program', 'control'].includes(description.feed))
    throw new Error('feed must be "program" or "control"');
  if (description.arcCentres !== undefined && !['incremental', 'absolute'].includes(description.arcCentres))
    throw new Error('arcCentres must be "incremental" or "absolute"');
  if (description.comments !== undefined && !['parentheses', 'other'].includes(description.comments))
    throw new Error('comments must be "parentheses" or "other"');
  if (description.area !== undefined &&
      (!Array.isArray(description.area) || description.area.length !== 4 ||
       description.area.some((v) => typeof v !== 'number')))
    throw new Error('area must be [minX, minY, maxX, maxY]');
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
}

// Modal G words that take no values of their own (plane, unit, distance
// mode, cutter compensation, tool length, work offset, feed mode).
const kPlainModalG = /^G(17|18|19|20|21|40|43|49|5[4-9]|90|91|90\.1|91\.1|94|97)$/i;

// gcode-toolpath hands the words after a G word to that G word: in
// "G0 G40 G90 X10 Y10" the X and Y would go to G90 and no move be made,
// where a control moves. Plain modal words after the motion word are put
// before it, which a control reads the same.
function MotionWordLast(line) {
  const m = /^(\s*(?:N\d+\s+)?)(G0?[0-3])((?:\s+G\d+(?:\.\d)?)+)(\s.*)?$/i.exec(line.replace(/\r$/, ''));
  if (m === null) return line;
  const modal = m[3].trim().split(/\s+/);
  if (!modal.every((w) => kPlainModalG.test(w))) return line;
  return `${m[1]}${modal.join(' ')} ${m[2]}${m[4] ?? ''}`;
}

// Some controls (dialects 25, 81, 82) read "//" to the line end as a
// comment; the reader would take the tool and feed words of those comments.
function WithoutSlashComment(line) {
  const at = line.indexOf('//');
  return at < 0 ? line : line.slice(0, at);
}

// A control that takes its feed from the machine or from the calling program
// cuts at that feed; its programs hold no F word.
function FeedFromControl(d) {
  return d.feed === 'control';
}

// A G1 block that ends where it starts (no axis words) moves nothing: it sets
// the motion mode (and cutter compensation with it) and uses no feed. A full
// circle ends where it starts too, and moves.
function MovesNothing(ev) {
  return ev.motion === 'G1' && ev.v1.x === ev.v2.x && ev.v1.y === ev.v2.y && ev.v1.z === ev.v2.z;
}

// A reference return (G28, G30) with a Z word sends Z to its reference
// point, and a G53 block that moves Z alone to a machine Z of 0 or more goes
// to machine home (machine Z counts down from home, 0 at the top): on these
// machines both are the top of the Z travel, above every clearance. The
// reader follows neither. A G53 to a negative machine Z stays unknown.
const kMachineTopHeight = 10000;  // mm above the work, higher than any clearance
function GoesToMachineTop(words) {
  const g = (code) => words.some(([letter, value]) => letter === 'G' && Number(value) === code);
  const z = words.find(([letter]) => letter === 'Z');
  if (z === undefined) return false;
  const xy = words.some(([letter]) => letter === 'X' || letter === 'Y');
  return g(28) || g(30) || (g(53) && !xy && Number(z[1]) >= 0);
}

// Some controls (dialect 61) read a T word as the tool to make ready while
// the current one cuts; M6 then swaps it in.
function ToolPreselected(d) {
  return d.toolPreselect === true;
}

// The controls that keep one length offset per tool (G43 H) need it again
// after every tool change (M6) and after G49 cancels it.
function LengthOffsetDue(words, due) {
  const g43 = words.some(([l, v]) => l === 'G' && Number(v) === 43) && words.some(([l]) => l === 'H');
  const cancelled = words.some(([l, v]) => l === 'G' && Number(v) === 49);
  const changed = words.some(([l, v]) => l === 'M' && Number(v) === 6);
  if (g43) return false;
  return due || changed || cancelled;
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

// Parenthesised comments: "(" opens a comment, the next ")" closes it, and
// ";" outside a comment makes the rest of the line one. Controls do not nest
// comments, and a comment still open at the line end or a lone ")" leaves
// the control reading text as words. At most one fault a line.
function CheckCommentMarks(lines, Fault) {
  lines.forEach((text, i) => {
    let open = false;
    let reason = null;
    for (const c of text.replace(/\r$/, '')) {
      if (c === ';' && !open) break;
      if (c === '(' && open) reason = reason ?? 'comment nests "(" inside a comment';
      else if (c === ')' && !open) reason = reason ?? '")" outside a comment';
      if (c === '(') open = true;
      else if (c === ')') open = false;
    }
    if (open) reason = reason ?? 'comment left open at the end of the line';
    if (reason !== null) Fault(i + 1, reason);
  });
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
  let nextTool = null;  // a T word that only preselects (see ToolPreselected)
  let feed = null;  // null: no feed yet
  let spindleOn = false;
  let speedZero = false;
  let zKnown = false;
  let xyKnown = false;
  let height = 0;  // of the tool, once zKnown
  let ended = false;
  let absoluteCentres = d.arcCentres === 'absolute';
  let offsetDue = false;  // a new tool without its G43 H yet
  let lineNo = 0;
  let events = [];

  // The path: contours in order, which are done, where the tool is in one.
  const contours = d.contours;
  const done = contours.map(() => false);
  let current = -1;  // contour being cut, -1 none
  let next = 0;      // index of its next point
  const Expected = () => done.indexOf(false);
  const planar = d.planar === true;
  const SamePoint = (p, q) =>
    Near(p.x, q[0], tol) && Near(p.y, q[1], tol) && (planar || Near(Height(p.z), q[2], tol));
  const SameXY = (p, q) => Near(p.x, q[0], tol) && Near(p.y, q[1], tol);
  const Where = (q) => `X${Num(q[0])} Y${Num(q[1])} H${Num(q[2])}`;

  const toolpath = new Toolpath({
    position: { x: 0, y: 0, z: 0 },
    modal: { units: d.unit === 'inch' ? 'G20' : 'G21' },
    addLine: (modal, v1, v2) => events.push({ motion: modal.motion, v1, v2 }),
    addArcCurve: (modal, v1, v2, v0) =>
      events.push({ motion: modal.motion, v1, v2, v0, plane: modal.plane }),
  });

  // Without Z a point straight below the last one is reached already (a
  // full circle, which ends where it starts, is not).
  function SkipPointsBelow() {
    if (!planar || current < 0) return;
    const c = contours[current];
    let at = next === 0 ? c.start : c.points[next - 1].to;
    while (next < c.points.length && !c.points[next].arc && Near(c.points[next].to[0], at[0], tol) &&
           Near(c.points[next].to[1], at[1], tol))
      at = c.points[next++].to;
  }

  function EnterWhenAtStart(pos) {
    if (current >= 0) return;
    const e = Expected();
    if (e >= 0 && SamePoint(pos, contours[e].start)) {
      current = e;
      next = 0;
      SkipPointsBelow();
      FinishWhenDone();
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
        if (at < 0 && Height(pos.z) >= -tol) return;  // down in the air, away from any contour
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
    SkipPointsBelow();
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

  // The tool must be at its clearance when the program ends.
  function CheckEndHeight() {
    ended = true;
    if (!planar && zKnown && height < Clearance(tool) - tol)
      Fault(lineNo, `program ends at height ${Num(height)} below the clearance ${Num(Clearance(tool))} ` +
                    `of tool ${tool ?? '?'}`);
  }

  function CheckRapid(ev, xyWords) {
    // Before the first X/Y word the reader's start point is not the tool's.
    const xyMoves = (xyWords && !xyKnown) || !Near(ev.v1.x, ev.v2.x, 1e-9) || !Near(ev.v1.y, ev.v2.y, 1e-9);
    const h1 = Height(ev.v1.z), h2 = Height(ev.v2.z);
    if (planar) {
      // no heights to check
    } else if (xyMoves && !zKnown) {
      Fault(lineNo, 'G0 X/Y move before any Z height');
    } else if (xyMoves && Math.min(h1, h2) < Clearance(tool) - tol) {
      Fault(lineNo, `G0 X/Y move at height ${Num(Math.min(h1, h2))} below the clearance ` +
                    `${Num(Clearance(tool))} of tool ${tool ?? '?'}`);
    }
    if (!planar && h2 < -tol && (!zKnown || h2 < h1 - tol)) Fault(lineNo, `G0 down into the work to height ${Num(h2)}`);
    const area = d.area;
    if (area && xyMoves && (ev.v2.x < area[0] - tol || ev.v2.y < area[1] - tol ||
                            ev.v2.x > area[2] + tol || ev.v2.y > area[3] + tol))
      Fault(lineNo, `G0 to X${Num(ev.v2.x)} Y${Num(ev.v2.y)} outside the work area`);
    if (current >= 0 && xyMoves) {
      const c = contours[current];
      Fault(lineNo, `contour ${current + 1} left after ${next} of ${c.points.length} points`);
      done[current] = true;
      current = -1;
    }
    EnterWhenAtStart(ev.v2);
  }

  function CheckCut(ev) {
    if (planar || FeedFromControl(d) || MovesNothing(ev)) {
      // no feed to check: the generator's, the control's, or none used
    } else if (feed === null) Fault(lineNo, `${ev.motion} before any feed`);
    else if (feed === 0) Fault(lineNo, `${ev.motion} with feed 0`);
    if (d.spindle.switched && (!spindleOn || speedZero)) Fault(lineNo, `${ev.motion} with the spindle stopped`);
    let arcShapeOk = true;
    if (ev.motion === 'G2' || ev.motion === 'G3') arcShapeOk = CheckArcShape(ev);
    CheckPathStep(ev, arcShapeOk);
  }

  const lines = program.split('\n');
  if (d.comments === 'parentheses') CheckCommentMarks(lines, Fault);
  for (let i = 0; i < lines.length; ++i) {
    lineNo = i + 1;
    events = [];
    let words = [];
    const line = WithoutSlashComment(lines[i]);
    // G92 says where the tool stands in the program's coordinates, the ones
    // checked: the reader is told the position instead of an offset from its
    // own start point, which is not the tool's.
    const setPosition = /^\s*(?:N\d+\s+)?G92((?:\s*[XYZ][+-]?[0-9.]+)*)\s*$/i.exec(line.replace(/\r$/, ''));
    if (setPosition !== null) {
      words = [['G', 92]];
      const axes = {};
      for (const [, letter, value] of setPosition[1].matchAll(/([XYZ])([+-]?[0-9.]+)/gi)) {
        words.push([letter.toUpperCase(), Number(value)]);
        axes[letter.toLowerCase()] = Number(value) * (d.unit === 'inch' ? kInch : 1);
      }
      toolpath.setPosition(axes);
    } else {
      toolpath.loadFromStringSync(MotionWordLast(line), (data) => { words = words.concat(data.words); });
    }
    const toMachineTop = GoesToMachineTop(words);
    if (toMachineTop) {
      events = [];
      toolpath.setPosition({ z: d.surfaceZ + d.zSign * kMachineTopHeight });
    }
    const xyWords = words.some(([letter]) => letter === 'X' || letter === 'Y');
    // Words that act before the motion of the block.
    let stopAfter = false;
    const turning = spindleOn && !speedZero;
    for (const [letter, value] of words) {
      const code = Number(value);
      if (letter === 'F') {
        if (Number.isNaN(code)) Fault(lineNo, `feed F${value} is not a number`);
        else feed = code;
      } else if (letter === 'S' && !Number.isNaN(code)) {
        speedZero = code === 0;
      } else if (letter === 'T' && !Number.isNaN(code)) {
        if (ToolPreselected(d)) nextTool = code;
        else tool = code;
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
      if (value === 6 && ToolPreselected(d) && nextTool !== null) tool = nextTool;
    }
    if (d.lengthOffset === true) offsetDue = LengthOffsetDue(words, offsetDue);
    for (const [letter, value] of words) {
      if (letter !== 'M') continue;
      if (value === 3 || value === 4 || value === 13 || value === 14) spindleOn = true;  // M13/M14 with coolant
      else if (value === 5) spindleOn = false;
      else if (value === 2 || value === 30) stopAfter = true;
    }
    if (d.spindle.switched && turning && (!spindleOn || speedZero) && zKnown && height < -tol)
      Fault(lineNo, `spindle stopped in the work at height ${Num(height)}`);
    for (const ev of events) {
      if (offsetDue && !planar && Height(ev.v2.z) < Height(ev.v1.z) - tol)
        Fault(lineNo, `Z move down with tool ${tool ?? '?'} before its G43 H`);
      if (ev.v0 && absoluteCentres) ev.v0 = { x: ev.v0.x - ev.v1.x, y: ev.v0.y - ev.v1.y, z: ev.v0.z };
      if (ev.motion === 'G0') CheckRapid(ev, xyWords);
      else if (ev.motion === 'G1' || ev.motion === 'G2' || ev.motion === 'G3') CheckCut(ev);
      height = Height(ev.v2.z);
    }
    if (toMachineTop) height = kMachineTopHeight;
    if (words.some(([letter]) => letter === 'Z')) zKnown = true;
    if (xyWords) xyKnown = true;
    if (stopAfter) {
      spindleOn = false;
      if (!ended) CheckEndHeight();
    }
  }
  lineNo = lines.length > 0 && lines[lines.length - 1] === '' ? lines.length - 1 : lines.length;
  if (!ended) CheckEndHeight();
  if (current >= 0) {
    Fault(lineNo, `contour ${current + 1} not finished (${next} of ${contours[current].points.length} points)`);
    done[current] = true;
  }
  done.forEach((isDone, i) => { if (!isDone) Fault(lineNo, `contour ${i + 1} never cut`); });
  return faults;
}

// One check: the faults, or the reason why the pair cannot be read.
function CheckFiles(programFile, descriptionFile) {
  let inputs;
  try {
    inputs = ReadInputs(programFile, descriptionFile);
  } catch (err) {
    return { unreadable: String(err.message || err) };
  }
  try {
    return { faults: Check(inputs.program, inputs.description) };
  } catch (err) {
    return { unreadable: 'unreadable program: ' + String(err.message || err) };
  }
}

const args = process.argv.slice(2);
if (args.length !== 2) {
  process.stderr.write('usage: node strict_check.js PROGRAM DESCRIPTION.json | --batch LIST\n');
  process.exit(2);
}
if (args[0] === '--batch') {
  let list;
  try {
    list = fs.readFileSync(args[1], 'utf8').split('\n').filter((l) => l.trim() !== '');
  } catch (err) {
    process.stderr.write(String(err.message || err) + '\n');
    process.exit(2);
  }
  let code = 0;
  const out = [];
  for (const entry of list) {
    const [name, programFile, descriptionFile] = entry.replace(/\r$/, '').split('\t');
    const result = descriptionFile === undefined ? { unreadable: 'list line needs NAME, PROGRAM and DESCRIPTION' }
                                                 : CheckFiles(programFile, descriptionFile);
    if (result.unreadable !== undefined) {
      out.push(`${name}: unreadable: ${result.unreadable}\n`);
      code = 2;
      continue;
    }
    for (const f of result.faults) out.push(`${name}:${f.line}: ${f.reason}\n`);
    if (result.faults.length > 0 && code === 0) code = 1;
  }
  process.stdout.write(out.join(''), () => process.exit(code));
} else {
  const result = CheckFiles(args[0], args[1]);
  if (result.unreadable !== undefined) {
    process.stderr.write(result.unreadable + '\n');
    process.exit(2);
  }
  for (const f of result.faults) process.stdout.write(`${f.line}: ${f.reason}\n`);
  process.exit(result.faults.length > 0 ? 1 : 0);
}
