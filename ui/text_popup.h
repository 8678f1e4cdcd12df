// A small popup that edits one line of text, with "OK" and "Abbruch" picture
// buttons in its title strip, and its variant that accepts only the
// characters of a given set.
#pragma once

#include <cstdint>
#include <string>

// Edits text in a popup of TextPopupWidth pixels placed by position (1-9 as on a
// telephone keypad over the graphic area, any other value centred; with a
// position above 0 the popup can be dragged by its title strip). The caption
// stands above the field; mode is the line editor's mode. Ends only with
// exit code 8 ("OK" or F1) or 3 ("Abbruch", Esc, right button, redraw
// request); Enter, Tab and the cursor keys go on editing. The text is cut to
// maxLength characters. It holds the edited value also after a cancel.
void EditTextPopup(const std::string& title, const std::string& caption, std::string& text, uint8_t& exitCode,
                   int width, int position, int mode, int maxLength);

// Width of the popup in pixels: the field of width cells and one cell either
// side, widened in whole cells until the title (button font) holds before
// the OK button and the caption (drawn 12 x 5) inside the frame.
int TextPopupWidth(const std::string& title, const std::string& caption, int width);
// Left end of the caption as the popup draws it (the field's column).
int TextPopupCaptionLeft(int left);
constexpr int kTextPopupCaptionHeight = 12;
constexpr int kTextPopupCaptionWidth = 5;

// EditTextPopup until the text is accepted (exit code 2) or cancelled (3; the
// text is then what it was, cut to maxLength). A text with a character that
// is not in allowed plays the Ding and is edited again; an empty allowed
// string allows every character.
void EditTextFromCharSet(const std::string& title, const std::string& caption, std::string& text,
                         uint8_t& exitCode, int width, int position, const std::string& allowed, int mode,
                         int maxLength);
