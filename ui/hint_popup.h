// The least hint popup of the help system: help topic n of the help text
// file in the program folder (a topic begins with a "#" line holding its
// number in columns 2-5 and its title from column 7), its title in quotes
// and the lines up to the first empty or "|" line ("&" lines left out), in a
// framed box near the mouse.
#pragma once

struct TPopupFrame;
// False (nothing drawn) when the file or topic is missing or the topic has
// no lines.
bool ShowHintPopup(int n, TPopupFrame& frame);
