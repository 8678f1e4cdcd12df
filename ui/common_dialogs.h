// Small pieces every dialog shares: number, date and bit texts, the Esc
// abort check of long computations, 22 x 22 picture buttons and the standard
// button rows of title strips, box hit tests, the question with up to three
// picture buttons and the progress forwarders.
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

struct TPopupList;

// --- number and text forms -------------------------------------------------------------
// Fixed-point text of x with d decimals for a field of w characters:
// d < w: right-aligned in w (width 8 cut to 8 characters); d >= w: right-aligned
// in 10, for d = 3 and w < 3 the trailing zeros of the decimals dropped, then
// without leading blanks. At most 20 characters.
std::string FormatRealText(int w, int d, float x);
std::string FormatIntegerText(int16_t n, int w);
std::string FormatLongText(int32_t n, int w);  // at most 10 characters
void RoundToDecimals(float& x, int d);
std::string FormatDateTimeText();                     // "DD.MM.YY  HH:MM:SS h "
std::string FormatHoursMinutesSeconds(int32_t seconds);  // "01:05:09"
std::string FormatByteBits(uint8_t b);                // "(00010010)B"
std::string FormatNibbleBits(int n);                  // "0000" .. "1111"
std::string FormatYesNoText(char key);
float YesKeyToReal(char key);
// The working-time stop watch, shown as a cell button at cell (1, 1).
extern int16_t WorkStartHours, WorkStartMinutes, WorkStartSeconds, WorkStartHundredths;
void MarkWorkStartTime();
void ShowWorkingTime();
// "ArbZeit=" and the time from the start to now (wraps at 24 hours).
std::string FormatWorkingTime(uint16_t h, uint16_t m, uint16_t s, uint16_t hs);

// --- Esc abort check ---------------------------------------------------------------------
// 0 unless a key waits; a waiting key is taken; Esc asks whether to abort.
uint8_t CheckEscapeAbort();
// Yes: error code 1, a journal line under the command word, result 1; No: 0.
uint8_t AskAbortQuestion();

// --- picture buttons -------------------------------------------------------------------------
void PlacePictureButton(TBox& box, int x, int y, const std::string& picture);
void PlaceCancelButton(int x, int y, TBox& box);
void PlaceOkButton(int x, int y, TBox& box);
void DrawPanelWithOkCancel(int x1, int y1, int x2, int y2, const std::string& caption, TBox& cancelBox, TBox& okBox);
// The popup runs from the left edge over column cells (wider where its
// caption needs it) and n lines from row.
void OpenPopupWithOkCancel(TPopupFrame& frame, int row, int column, int n, const std::string& caption,
                           TBox& cancelBox, TBox& okBox);
void DrawDialogFrameWithButtons(TPopupFrame& frame, const std::string& caption, bool white, TBox& cancelBox,
                                TBox& okBox);
// The room of a framed dialog's title (button font) before its OK button.
TBox GetDialogTitleBox(const TPopupFrame& frame);
// The title as DrawDialogFrameWithButtons draws it: cut until it holds in
// its title box in the button font.
std::string FitDialogTitle(const TPopupFrame& frame, const std::string& caption);
// Width of a popup with OK and cancel in its title strip: at least pixels,
// and wide enough, in whole cells, for the title in the button font before
// the OK button (a leading '|' only picks the strip's colour).
int WidenPopupForTitle(const std::string& title, int pixels);
// boxes: cancel, OK, save as, open, help.
void DrawFileDialogButtonRow(int x1, int y1, int x2, int y2, int style, const std::string& caption, TBox (&boxes)[5]);
void SetPopupPicture(const std::string& name, int width, int height, TPopupList& list);

// --- hit tests --------------------------------------------------------------------------------
bool IsMouseInBox(const TBox& box);
bool IsClickInBox(const TBox& box);
// 1..count the first live box clicked, 0 none, -1 right button.
int HitTestButtons(const TBox* boxes, int count);
void HitTestListClick(int x1, int y1, int x2, int y2, const TBox& first, const TBox& second, int firstLine,
                      int lastLine, uint8_t& exitCode, int& line);
void HitTestListLine(int x1, int y1, int x2, int y2, int firstLine, int lastLine, int& line);

// --- the question with picture buttons ----------------------------------------------------------
// Result 0 cancel, 1-3 the buttons from the left, or the F1 / F2 result; an
// empty message shows nothing and leaves the result unchanged.
void AskWithPictureButtons(const std::string& title, const std::string& message, const std::string& caption1,
                           const std::string& picture1, const std::string& caption2, const std::string& picture2,
                           const std::string& caption3, const std::string& picture3, int16_t f1Result,
                           int16_t f2Result, int16_t& result);
// The message split into at most 6 lines of at most 80 characters.
int SplitMessageLines(const std::string& message, std::string (&lines)[6]);
// Where the question puts itself: its frame, and boxes[0] the cancel button,
// boxes[1..3] the captioned buttons, wide enough for the widest caption (in
// the button font) beside its picture.
struct TPictureQuestionLayout {
  int left = 0, top = 0, right = 0, bottom = 0;
  TBox boxes[4]{};
};
void LayOutPictureQuestion(const std::string& heading, const std::string* lines, int n,
                           const std::string (&captions)[3], const std::string (&pictures)[3],
                           TPictureQuestionLayout& layout);
// Width a captioned button needs around its caption and picture.
int PictureButtonContentWidth(const std::string& caption, const std::string& picture);

// --- information boxes ----------------------------------------------------------------------
// Seven pairs of texts at the top-left of the graphic area; pairs with both
// texts empty are left out. The box stays on screen.
void ShowInfoPairsBox(const std::string (&pairs)[7][2]);
// A picture of "MVKBiPrg.DAT" and up to six texts below it, centred in the
// graphic area. The box stays on screen.
void ShowTablePictureBox(const std::string& caption, const std::string (&texts)[6], const std::string& picture,
                         int width, int height);

// --- progress forwarders -----------------------------------------------------------------------
void BeginProgressDisplay(int32_t n);
void BeginProgressPart(int32_t n);
void UpdateProgressDisplay(int32_t n);
