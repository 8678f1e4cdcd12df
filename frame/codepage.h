// Code-page conversion between the DOS code page, in which every text of the
// program is kept, and the Windows code page of typed characters and of texts
// handed to the system (captions, drawn texts, file names in dialogs).
//
// Exactly the German letters and a few signs below change; every other byte
// passes unchanged in both directions:
//   Windows  176 177 178 182 196 214 220 223 228 246 252
//   DOS      248 241 253 227 142 153 154 225 132 148 129
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Conversion switch: off at start; the settings dialog turns it on. While it
// is off, texts reach the system unconverted.
extern uint8_t CodePageConversion;

// Windows code page to DOS code page; always active.
uint8_t MapAnsiCharToOem(uint8_t c);

// DOS code page to Windows code page, in place; only while the switch is on.
void ConvertOemCharToAnsi(char& c);
void ConvertOemCharToAnsi(uint8_t& c);
// Applies ConvertOemCharToAnsi to every character of the text.
void ConvertOemStringToAnsi(std::string& text);

// Converts the text in place and returns it zero-terminated. The zero byte
// always follows the text: a text of maxLen characters or more is cut to
// maxLen - 1 characters first. Callers pass 255.
const char* MakeWinText(std::string& text, size_t maxLen);
// The same cut and zero byte, without conversion.
const char* MakeZeroTerminated(std::string& text, size_t maxLen);

// A zero-terminated text (at most 256 characters are looked at) as a
// length-prefixed string of at most 255 characters; nullptr gives "".
std::string PCharToShortString(const char* source);

// 64-bit product of two 32-bit integers.
int64_t MultiplyLong(int32_t a, int32_t b);
