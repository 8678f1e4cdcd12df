// The command-name table: one entry per command code with the command's
// short name, which is also the name of its icon picture (a name that begins
// with "_" is a picture of the program itself, any other one of the picture
// library). A negative stored code marks a command that acts on the marked
// objects; its icon is offered only while the vector store holds data.
//
// The table is compiled in (commands/command_names.inc) and filled into a
// heap block of 660 entries when the menus first need it. Entries 657 to 660
// are empty. Several codes may share one name; no two entries share an
// absolute code.
#pragma once

#include <cstdint>
#include <string>

#include "frame/program_state.h"

// CommandWord, CommandGiven and CommandSubMode: frame/program_state.h.

constexpr int kCommandNameCount = 660;
constexpr int kCommandNameMax = 16;

// One entry: a signed 16-bit code and a length-prefixed name of up to 16
// characters.
struct TCommandName {
  int16_t code = 0;
  uint8_t nameLength = 0;
  char name[kCommandNameMax] = {};
};

// The menu system's table (kCommandNameCount entries; entry n at index
// n - 1); null while not built.
extern TCommandName* CommandNameTable;

// The entry's name as a string.
std::string CommandNameText(const TCommandName& entry);

// Fills the kCommandNameCount entries of the caller's block in table order.
// Writes only; allocates nothing.
void BuildCommandNameTable(TCommandName* table);

// Searches CommandNameTable for the entry whose absolute stored code equals
// code. Found: name gets the entry's name and, when the stored code is
// negative, code is negated. Not found (a negative code never is, nor is
// anything while the table is not built): name empty, code unchanged.
void LookupCommandName(int16_t& code, std::string& name);
// The same search in a table of the caller's (the format menus keep a
// private one while they are open).
void LookupCommandNameIn(const TCommandName* table, int16_t& code, std::string& name);

// EnsureMenuTables, then the name of code; the caller's code keeps its sign.
void GetCommandPictureName(int16_t code, std::string& name);

// Builds the menu tables when the icon panel's item table does not exist
// yet: both tables are allocated, the names filled and the icon panel filled
// for IconPanelPage (commands/icon_panel.h).
void EnsureMenuTables();
// Releases the menu tables, so that the next EnsureMenuTables builds them
// anew (main menu bar set-up, screen rebuild with a new menu bar).
void ClearMenuTablePointers();
// Frees the menu tables at exit.
void FreeMenuTables();
