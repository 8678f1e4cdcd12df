// Save temporaries left behind by a run that ended mid-save: a drawing's
// "X.$SL" or the settings' "TORVBak.PAR" (see frame/whole_file_save.h). At
// start each one is offered to the user once: Yes keeps it under a free name
// that the open dialog shows, No deletes it. Nothing is kept or deleted
// without a word, and each outcome goes to the journal.
#pragma once

#include <string>
#include <vector>

// The folders searched: the program folder and the folders of the drawings
// the program knows (the current drawing, parameter block 26; the drawing
// folder, block 9; the export folder, block 11; the recent drawings), each
// once, DOS form with a trailing backslash; missing folders are left out.
std::vector<std::string> ListLeftoverSaveFolders();
// The save temporaries in those folders, full names.
std::vector<std::string> FindLeftoverSaves();
// The free name a kept temporary gets: "X.$SL" becomes "X-gerettet.SLD",
// then "X-gerettet2.SLD" ...; "TORVBak.PAR" becomes "TORV-gerettet.PAR".
// Never the name of an existing file.
std::string MakeRescuedSaveName(const std::string& leftover);
// Asks about every leftover found (a one-line call at start).
void OfferLeftoverSaves();
