// Path blocks inside layer files.
//
// An operation stores its result as a path block appended to a layer file:
// the 12 header records of TToolPathHeader (types 1, 5, 6, 7, 150-157, built
// by BuildToolHeaderBlock), the path records, and a closing type-9 record.
// Counts and extents are only known at the end, so a block is written in two
// steps:
//   1. WritePathHeaderToSlot at the slot's end, with the operation's kind
//      code (0 output, 10 path generation, 40 raster and relief, 50 milling
//      path and inlay, 60 hatch clearing and laser fill, 70 per-object
//      operations, 80 imports);
//   2. append the path records;
//   3. PatchPathFileHeader with end = the file's record count: the extents go
//      into records 0, 1 and 3, record 0's z (an integer) becomes the block's
//      record count including the closing record, which is appended at end.
// IsToolPathFile (model/vector_records.h) tells a path file by its header.
#pragma once

#include <cstdint>

#include "frame/defaults.h"
#include "model/vector_records.h"

// Opens a block at the slot's current position: start and start2 receive that
// position and the 12 header records are written there. A layer above the
// highest layer number gets no block and leaves every out value untouched.
void WritePathHeaderToSlot(int16_t layer, int slot, const TToolRecord& tool, int32_t& start, int32_t& start2,
                           TToolPathHeader& header, float kind);
// Closes the block opened at start: writes header records 0-3 with the
// extents and the count end - start + 1 at start, and the closing record at
// end. Refused (nothing written) unless a block header lies at start and end
// leaves room for it.
void PatchPathFileHeader(int slot, const TExtentsPair& extents, TToolPathHeader& header, int32_t end,
                         int32_t start);
