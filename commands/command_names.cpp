// The command-name table: the fixed list, its heap block and the lookup.
#include "commands/command_names.h"

#include "commands/icon_panel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TCommandName* CommandNameTable = nullptr;

namespace {

struct TFixedName {
  int16_t code;
  const char* name;
};

constexpr TFixedName kFixedNames[] = {
#include "commands/command_names.inc"
};
static_assert(sizeof(kFixedNames) / sizeof(kFixedNames[0]) == kCommandNameCount,
              "the command-name list holds exactly one entry per table entry");

}  // namespace

std::string CommandNameText(const TCommandName& entry) {
  return std::string(entry.name, std::min<size_t>(entry.nameLength, kCommandNameMax));
}

void BuildCommandNameTable(TCommandName* table) {
  int index = 1;
  for (const TFixedName& fixed : kFixedNames) {
    TCommandName& entry = table[index - 1];
    entry.code = fixed.code;
    const size_t length = std::min<size_t>(std::strlen(fixed.name), kCommandNameMax);
    entry.nameLength = static_cast<uint8_t>(length);
    std::memset(entry.name, 0, sizeof entry.name);
    std::memcpy(entry.name, fixed.name, length);
    ++index;
  }
}

void LookupCommandNameIn(const TCommandName* table, int16_t& code, std::string& name) {
  name.clear();
  if (table == nullptr) return;
  // The first entry whose absolute code equals the key, else the last one.
  int index = 1;
  while (index < kCommandNameCount && std::abs(int32_t(table[index - 1].code)) != int32_t(code)) ++index;
  const TCommandName& entry = table[index - 1];
  if (std::abs(int32_t(entry.code)) != int32_t(code)) return;
  name = CommandNameText(entry);
  if (entry.code < 0) code = int16_t(-code);
}

void LookupCommandName(int16_t& code, std::string& name) { LookupCommandNameIn(CommandNameTable, code, name); }

void GetCommandPictureName(int16_t code, std::string& name) {
  EnsureMenuTables();
  int16_t copy = code;
  LookupCommandName(copy, name);
}

void EnsureMenuTables() {
  if (!AllocateIconPanelItems()) return;
  if (CommandNameTable == nullptr) {
    CommandNameTable = new TCommandName[kCommandNameCount];
    BuildCommandNameTable(CommandNameTable);
  }
  FillIconPanel(IconPanelPage, 1);
}

void ClearMenuTablePointers() { FreeMenuTables(); }

void FreeMenuTables() {
  delete[] CommandNameTable;
  CommandNameTable = nullptr;
  FreeIconPanelItems();
}
