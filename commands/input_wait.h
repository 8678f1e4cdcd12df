// The input wait: the one place where the main window's keys and clicks
// become a command. Every command loop calls WaitForMenuCommand once per pass
// and then dispatches on CommandWord. The wait polls the cursor, handles the
// editing shortcuts itself (Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+S, Del, Esc,
// Tab or space, + and -), hands the mouse to the menu bar, the side menu and
// the icon panel, tests the bar buttons and the graphic window, shows the
// icon-bar tooltips and the delayed menu hints, scrolls the variant logo
// while the animation setting is on, and writes every returned command with
// its name to the command journal "MENUREC.TXT".
#pragma once

#include <cstdint>
#include <string>

// Set by a zoom or scroll while MenuBarMode is 0: the wait returns without a
// command (CommandWord 0) so that the interactive operation redraws. Cleared
// at the start of every pass unless the view kind is 254.
extern uint8_t LeaveWaitFlag;
// bit 0: the command just returned starts with a press in the graphic window
// and follows the dragged mouse; bit 1: the left button went down in the
// graphic window while tracking (or the pan shortcut is armed).
extern uint8_t ClickTracking;
// Number of the icon-bar tooltip on screen (1-23), -1 none.
extern int16_t TooltipIndex;
// The selection handles' rebuild request: set by the wait and by commands
// that change the store, cleared when the handles are shown.
extern uint8_t SelectionHandlesRebuild;
// 1 when the command just returned was given by a left click in the graphic
// window (the running command's click, not a menu, icon or key), else 0.
extern uint8_t GivenByDrawingClick;

// Polls until a command is given (CommandGiven 1, the code in CommandWord)
// or LeaveWaitFlag is set (CommandWord 0). A close request of the window
// also ends the wait with CommandWord 0.
void WaitForMenuCommand();
// Called by the main loop before dispatching: while tracking clicks and the
// mouse is in the graphic window, bit 1 of ClickTracking follows the left
// button; otherwise waits until the buttons are released and clears bit 1.
void UpdateGraphicDragState();
// View button 5 raised, start points off (bit 5 of DisplayFlags).
void SwitchOffStartPointDisplay();
// Marking mode after a command: CommandWord 41, view button 6 pressed and
// bit 4 of DisplayFlags set; nothing while LeaveWaitFlag is set.
void EnterMarkMode();
// The mouse-button state of the current pass (0 none, 2 left, 4 right,
// 1 middle); keys turned into clicks and hot keys included.
uint8_t WaitButtonState();

// The commands that start with a press in the graphic window.
bool IsDragCommand(uint16_t code);
bool IsDragCommand();
// The journal name of a command: fixed texts for some codes, else the menu
// text of the first menu line with the code. empty and false: nothing is
// written for the code (0, 7926).
bool CommandJournalName(uint16_t code, std::string& name);
// A journal line: the code, the date, the time, one blank and the text.
void JournalCommand(uint16_t code, const std::string& text);
// Journals CommandWord with its name.
void JournalCommandName();
// Draws the pressed bar buttons raised again and clears their flags.
void ResetBarButtons();
// The icon-bar tooltip for the mouse position (closed outside the buttons
// and in help mode).
void ShowIconBarTooltip(bool helpMode);
void CloseIconBarTooltip();
// Closes the tooltip unless the mouse still rests on its button with no key
// or wheel turn waiting: the cursor poll and the keys that follow may draw
// under it (the coordinate readout, a redraw), and the tooltip gives back the
// screen it saved.
void CloseTooltipBeforeDrawing();
// Back to the cursor shape of the running command (SavedCursorMode, set by
// the command loop) after the menus showed the arrow or help cursor.
void RestoreCommandCursor();
