// Save temporaries left behind by a run that ended mid-save: finding them
// at start and asking the user about each one.
#include "commands/save_leftovers.h"

#include <algorithm>
#include <cassert>

#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/drawing_file.h"
#include "platform/files.h"

namespace {

constexpr int16_t kMsgLeftoverFound = 4124;
constexpr int16_t kMsgKeepOrDelete = 4125;
constexpr int16_t kMsgRescuedAs = 4126;
constexpr int16_t kMsgCannotRename = 4127;
constexpr int16_t kMsgCannotDelete = 4128;

constexpr const char* kRescuedMark = "-gerettet";
constexpr int kMaxRescuedNumber = 999;

// What a temporary of each kind is called and what its kept copy becomes.
struct TLeftoverKind {
  const char* pattern;    // in a searched folder
  bool programFolderOnly;
  const char* keptStem;   // nullptr: the temporary's own name without extension
  const char* keptExtension;
};
const TLeftoverKind kLeftoverKinds[] = {
    {"*.$SL", false, nullptr, ".SLD"},
    {kParamBackupName, true, "TORV", ".PAR"},
};

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

const TLeftoverKind* KindOf(const std::string& name) {
  const size_t slash = name.find_last_of("\\:");
  const std::string bare = slash == std::string::npos ? name : name.substr(slash + 1);
  for (const TLeftoverKind& kind : kLeftoverKinds)
    if (plat::WildcardMatch(kind.pattern, bare)) return &kind;
  return nullptr;
}

}  // namespace

std::vector<std::string> ListLeftoverSaveFolders() {
  std::vector<std::string> candidates = {plat::ProgramFolder(), GetDrawingFolder(ReadParamNameBlock(26)),
                                         WithBackslash(ReadParamNameBlock(9)), WithBackslash(ReadParamNameBlock(11))};
  for (int i = 0; i < kRecentDrawingCount; ++i) candidates.push_back(GetDrawingFolder(GetRecentDrawing(i)));
  std::vector<std::string> folders, hostFolders;
  for (const std::string& folder : candidates) {
    if (folder.empty() || !plat::FolderExists(folder)) continue;
    const std::string host = plat::HostPathOf(folder);
    if (std::find(hostFolders.begin(), hostFolders.end(), host) != hostFolders.end()) continue;
    hostFolders.push_back(host);
    folders.push_back(folder);
  }
  return folders;
}

std::vector<std::string> FindLeftoverSaves() {
  std::vector<std::string> found;
  const std::vector<std::string> folders = ListLeftoverSaveFolders();
  for (size_t i = 0; i < folders.size(); ++i) {
    for (const TLeftoverKind& kind : kLeftoverKinds) {
      if (kind.programFolderOnly && i != 0) continue;  // the program folder comes first
      plat::TSearchRec rec;
      int result = plat::FindFirst(folders[i] + kind.pattern, plat::kAttrArchive | plat::kAttrReadOnly, rec);
      for (; result == 0; result = plat::FindNext(rec)) found.push_back(folders[i] + rec.name);
      plat::FindClose(rec);
    }
  }
  return found;
}

std::string MakeRescuedSaveName(const std::string& leftover) {
  const TLeftoverKind* kind = KindOf(leftover);
  assert(kind != nullptr);
  const size_t slash = leftover.find_last_of("\\:");
  const std::string folder = slash == std::string::npos ? std::string() : leftover.substr(0, slash + 1);
  std::string stem = kind->keptStem != nullptr ? kind->keptStem : leftover.substr(folder.size());
  if (kind->keptStem == nullptr) stem = stem.substr(0, stem.find_last_of('.'));
  for (int n = 1; n <= kMaxRescuedNumber; ++n) {
    const std::string name = folder + stem + kRescuedMark + (n == 1 ? std::string() : std::to_string(n)) +
                             kind->keptExtension;
    if (!plat::FileExists(name) && !plat::FolderExists(name)) return name;
  }
  return std::string();
}

void OfferLeftoverSaves() {
  for (const std::string& leftover : FindLeftoverSaves()) {
    const std::string question =
        GetMessageText(kMsgLeftoverFound, -39) + "\r\n" + leftover + "\r\n" + GetMessageText(kMsgKeepOrDelete, -39);
    if (AskYesNo(question) == 1) {
      const std::string kept = MakeRescuedSaveName(leftover);
      // The move refuses an existing name, so nothing is ever overwritten.
      if (!kept.empty() && plat::MoveFileByName(leftover, kept) == 0) {
        WriteJournalLine(0, "Gerettet " + leftover + " -> " + kept);
        ShowTitledMessage(GetMessageText(kMsgRescuedAs, -39) + "\r\n" + kept);
      } else {
        WriteJournalLine(0, "Nicht umbenannt " + leftover);
        ShowTitledMessage(GetMessageText(kMsgCannotRename, -39) + "\r\n" + leftover);
      }
    } else if (plat::DeleteFileByName(leftover) == 0) {
      WriteJournalLine(0, "Geloescht " + leftover);
    } else {
      WriteJournalLine(0, "Nicht geloescht " + leftover);
      ShowTitledMessage(GetMessageText(kMsgCannotDelete, -39) + "\r\n" + leftover);
    }
  }
}
