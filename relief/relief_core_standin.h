// TEMPORARY STAND-IN, to be replaced by the relief core module: the quiet
// file wrappers that file helpers use where a missing or unreadable file is
// normal. Only what those helpers need is here.
//
// Each wrapper performs one file operation without any message or journal
// line; on failure it sets ErrorCode (1001 open, 1008 create, 1004 close,
// 1011 block move) and QuietIoError to the I/O result number.
#pragma once

#include <cstdint>

#include "platform/files.h"

// The error word of the quiet layer (0 = no error).
extern uint16_t QuietIoError;

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode);
void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize);
void CloseFileQuiet(plat::TPasFile& f);
// Moves n records; count is 0 after an error. A short transfer is no error.
void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count);
void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);
