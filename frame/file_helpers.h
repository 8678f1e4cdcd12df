// File helpers: operations on whole files by name.
//
// Create, test, delete, rename, backup names, record counts and byte sizes.
// A file's kind (vector or point) comes from its name (GetDataFileKind).
// The operations on the records of whole files are in model/record_files.h.
#pragma once

#include <cstdint>
#include <string>

// --- file helpers ------------------------------------------------------------------
void CreateEmptyFile(const std::string& name);
// 1 when the file exists; a bare name "*" or an extension ".*" searches for
// any match.
int TestFileExists(const std::string& name);
void EnsureFileExists(const std::string& name);
// True when the folder part of the name exists; false for an empty name.
bool TestFileFolderExists(const std::string& name);
// Folder + name without its extension (from the last point) + extension.
std::string ReplaceFileExtension(const std::string& path, const std::string& extension);
std::string MakeBackupName(const std::string& path);
void DeleteFileIfExists(const std::string& name);
void RenameFileReplacing(const std::string& oldName, const std::string& newName);
// Size in records of the file's read kind (or of its in-memory slot); 0 when
// the file is missing or cannot be opened (no message for a missing file).
int32_t CountFileRecords(const std::string& name);
// Size in bytes; 0 for an empty name or when nothing is found.
int64_t GetFileByteSize(const std::string& name);
// True when count bytes were read from the start of the file.
bool ReadFileBytes(const std::string& name, void* buffer, int32_t count);
