// The working state of one run of the NC program writer. One run owns one
// record; the header, record loop, move, arc, word and block writers of the
// run all read and write it. Nothing of it outlives the run. Depths are held
// positive downwards, as in the vector files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "machine/nc_settings.h"
#include "model/vector_records.h"

constexpr int kNcOutBufferSize = 5000;
constexpr int kNcToolTableSize = 200;
constexpr int kNcToolTableLast = 199;  // the scan fills at most entries 0..199
constexpr float kNcUnsetCoordinate = -9999.999f;

struct TNcWriterState {
  // Run arguments.
  uint8_t Dialect = 0;  // 0..100
  uint8_t AutoMode = 0;
  std::string InputFileName;
  std::string OutputFileName;
  std::string ProgramName;      // output file name without folder and extension
  std::string CallerInputName;  // the input as passed in
  // The run's copy of parameter block 14.
  TNcSettings Machine = {};

  // Output channel.
  TFileRec OutFile = {};
  uint8_t OutBuffer[kNcOutBufferSize] = {};
  uint16_t OutCount = 0;
  int32_t OutTotal = 0;
  uint8_t WriteFailed = 0;  // once set, stays set for the run

  // Numbering.
  int32_t BlockNumber = 1;
  int32_t BlockNumberLimit = 99999;
  uint8_t NumberNextMove = 1;
  uint8_t NumberNextToolBlock = 0;

  // Tool table and the values of the first tool and of the whole input.
  std::vector<TToolRecord> ToolTable;  // kNcToolTableSize entries during a run
  int16_t ToolCount = 0;
  int16_t ToolHeaderCount = 0;  // position of the current tool in ToolTable
  int16_t ToolUseCounter = 0;
  TVectorRecord ExtentMin = {1, 0.0f, 0.0f, 0.0f};
  TVectorRecord ExtentMax = {5, 0.0f, 0.0f, 0.0f};
  float ApproachDepth = 0.0f;
  float FirstToolClearance = 0.0f;
  float FirstToolSpeed = 0.0f;
  int16_t FirstToolStation = 0;
  std::string FirstToolName;  // at most 40 characters
  TVectorRecord FirstContourStart = {0, kNcUnsetCoordinate, kNcUnsetCoordinate, 0.0f};
  float LastRecord158Z = 0.0f;

  // Positions.
  TVectorRecord LastPos = {0, kNcUnsetCoordinate, kNcUnsetCoordinate, 0.0f};
  TVectorRecord TargetPos = {0, kNcUnsetCoordinate, kNcUnsetCoordinate, 0.0f};

  // Rotary axis.
  uint8_t RotaryActive = 0;  // rotary substitution of the X or Y words
  uint8_t RotaryOn = 0;      // a rotary diameter is set
  float RotaryFactor = 1.0f; // degrees per mm of circumference
  uint8_t RotaryAxis = 1;    // 1 A, 2 B, 3 C
  uint8_t RotaryMode = 2;    // the rotary axis replaces 1 X, 2 Y
  uint8_t RotaryIncremental = 0;
  float IndexAxisShift = 0.0f;

  // Depth and feed.
  float CutDepth = 0.0f;
  float SurfaceDepth = 0.0f;
  float ClearanceHeight = 0.0f;
  float DepthOffset5 = 0.0f;
  float FeedXY = 1.0f;
  float FeedZ = 1.0f;
  float LastFeed = 0.0f;  // m/min; 0 forces the next feed word

  // Tool.
  int32_t ToolStation = 0;
  int32_t LastToolStation = 0;
  float SpindleSpeed = 1000.0f;
  float LastSpindleSpeed = 1000.0f;
  uint8_t ToolChangePending = 1;
  double PathLength = 0.0;
  double ToolLife = 1000000000.0;
  uint8_t SisterToolUsed = 0;
  int16_t FixtureStation = 0;
  uint8_t ToolChangerBits = 0;
  uint8_t ToolNameWarned = 0;
  uint8_t SpeedCapWarned = 0;

  // Move flags.
  uint8_t NeedApproach = 0;
  uint8_t After3DPoint = 0;
  int16_t Plunging = 0;  // 0 XY feed, otherwise Z feed
  uint8_t CompensationOn = 0;
  uint8_t CompensationSide = 1;
  uint8_t TipCompensation = 0;
  uint8_t ApproachCodeWritten = 0;
  uint8_t CircleModeWritten = 0;
  uint8_t CoolantPending = 1;
  uint8_t FirstMovePending = 1;
  uint8_t ToolCallFeedPending = 1;

  // Angles of dialect 39 (x, y, z hold three angles in radians).
  TVectorRecord PendingAngles = {0, 0.0f, 0.0f, 0.0f};
  TVectorRecord ContourAngles = {0, 0.0f, 0.0f, 0.0f};
  TVectorRecord LastAngles = {0, 0.0f, 0.0f, 0.0f};
  float AngleFactorA = 1.0f;
  float AngleFactorB = 1.0f;
  float AngleFactorC = 1.0f;

  // Answers of the dialect questions.
  uint8_t DialectQuestion12 = 0;
  uint8_t DialectQuestion31 = 0;
};
