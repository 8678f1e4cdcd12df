// Captions of the dialogs fit their boxes: every button caption and label,
// measured with the font it is drawn in, lies inside its box or the room
// before the next control.
#include <gtest/gtest.h>

#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/file_dialogs.h"
#include "ui/input_form.h"
#include "ui/text_popup.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

// Pixels the character-cell font needs above the text's y: the drawing
// layer puts the reference point 3 rows above y, and a line is 16 rows.
constexpr int kScreenTextHeight = 16;

struct TCaptionBox {
  const char* what;
  std::string caption;
  TBox box;
};

void ExpectCaptionsFit(const std::vector<TCaptionBox>& rows) {
  for (const TCaptionBox& r : rows) {
    ASSERT_FALSE(r.caption.empty()) << r.what;
    const int width = MeasureScreenTextWidth(r.caption);
    EXPECT_LE(width + 4, r.box.x2 - r.box.x1) << r.what << " \"" << r.caption << "\" is " << width << " pixels";
    EXPECT_LE(kScreenTextHeight, r.box.y2 - r.box.y1 + 1) << r.what;
  }
}

TEST(DialogCaptions, FileDialogButtonsAndLabelsHoldTheirTexts) {
  TScreen screen;
  TFileDialogRequest request;
  SetFileDialogTexts(request);
  const TBox list = GetFileDialogBox(kDialogList), name = GetFileDialogBox(kDialogName);
  const TBox type = GetFileDialogBox(kDialogType);
  // A label runs from the list's left edge to the field it names.
  const TBox nameLabel{1, list.x1, name.y1, int16_t(name.x1 - 1), name.y2};
  const TBox typeLabel{1, list.x1, type.y1, int16_t(type.x1 - 1), type.y2};
  const TBox lookInLabel{1, list.x1, int16_t(list.y1 - 22), int16_t(name.x1 - 1), int16_t(list.y1 - 4)};
  const TBox check = GetFileDialogBox(kDialogPreviewCheck), memo = GetFileDialogBox(kDialogMemo);
  const TBox preview = GetFileDialogBox(kDialogPreview);
  const TBox previewLabel{1, int16_t(check.x2 + 6), check.y1, int16_t(preview.x1 - 1), int16_t(check.y1 + 15)};
  const TBox noteLabel{1, memo.x1, check.y1, int16_t(check.x1 - 1), int16_t(check.y1 + 15)};
  ExpectCaptionsFit({
      {"OK (open)", request.okOpenText, GetFileDialogBox(kDialogOk)},
      {"OK (save)", request.okSaveText, GetFileDialogBox(kDialogOk)},
      {"cancel", request.cancelText, GetFileDialogBox(kDialogCancel)},
      {"change", request.changeText, GetFileDialogBox(kDialogChange)},
      {"project", request.projectText, GetFileDialogBox(kDialogProject)},
      {"library", request.libraryText, GetFileDialogBox(kDialogLibrary)},
      {"name label", request.nameLabelText, nameLabel},
      {"type label", request.typeLabelText, typeLabel},
      {"look-in label (open)", request.lookInOpenText, lookInLabel},
      {"look-in label (save)", request.lookInSaveText, lookInLabel},
      {"preview label", request.previewText, previewLabel},
      {"note label", request.captionText, noteLabel},
  });
}

// The save-or-discard question of a new drawing: each captioned button
// holds its picture and its caption in the button font, the buttons do not
// overlap, and the box holds its heading and lines in the cell font.
TEST(DialogCaptions, PictureQuestionButtonsHoldTheirCaptions) {
  TScreen screen;
  struct TCase {
    std::string heading, line;
    std::string captions[3], pictures[3];
  };
  const TCase cases[] = {
      {"TORV", "Zeichnung", {GetMessageText(4002, -16), GetMessageText(4003, -16), GetMessageText(4004, -16)},
       {"Speichern", "Loeschen", "Abbruch"}},
      {"TORV", "x", {"Speichern unter", "WWWWWWWWWWWWWWWW", "Abbrechen"}, {"", "Loeschen", ""}},
      {"Eine lange Ueberschrift hier", "Eine Zeile, die laenger ist als alle Knoepfe zusammen",
       {"Ja", "Nein", "Abbrechen"}, {"Speichern", "", "Abbruch"}},
  };
  for (const TCase& c : cases) {
    TPictureQuestionLayout L;
    LayOutPictureQuestion(c.heading, &c.line, 1, c.captions, c.pictures, L);
    for (int i = 0; i < 3; ++i) {
      const TBox& b = L.boxes[i + 1];
      SCOPED_TRACE(c.captions[i]);
      ASSERT_FALSE(c.captions[i].empty());
      const int content = MeasureButtonTextWidth(c.captions[i]) + 4 + (c.pictures[i].empty() ? 0 : 16);
      EXPECT_LE(content + 8, int(b.x2) - int(b.x1));
      EXPECT_GE(int(b.x1), int(L.left) + 4);
      EXPECT_LE(int(b.x2), int(L.right) - 4);
      if (i > 0) {
        EXPECT_LT(int(L.boxes[i].x2), int(b.x1)) << "buttons overlap";
      }
    }
    EXPECT_LE(MeasureScreenTextWidth(c.line) + 8, int(L.right) - int(L.left) - 8) << c.line;
    EXPECT_LE(MeasureScreenTextWidth(c.heading) + 8, int(L.boxes[0].x1) - int(L.left)) << c.heading;
  }
}

// The input form: the title in the button font holds before the OK button,
// every caption in the cell font before its value field, and every value
// text inside its white field.
TEST(DialogCaptions, InputFormTitleCaptionsAndValuesFit) {
  TScreen screen;
  struct TCase {
    std::string title;
    std::vector<std::string> captions;
    int width;
  };
  const TCase cases[] = {
      {"Kreis", {"Radius", "Mittelpunkt X", "Mittelpunkt Y"}, 8},
      {"Parameter für das Taschenfräsen mit Inseln", {"Zustellung", "Überlappung"}, 8},
      {"Werkzeug", {"Überlappung der Fräsbahnen in Prozent", "Größte Zustellung je Durchgang (mm)"}, 16},
      {"Maße", {"Ä", "Höhe"}, 1},
      {"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", {"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"}, 16},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.title);
    TInputField fields[kInputFieldEntries];
    for (size_t i = 0; i < c.captions.size(); ++i) {
      fields[i].caption = c.captions[i];
      fields[i].kind = 'T';
      fields[i].width = uint8_t(c.width);
      fields[i].valueText = std::string(size_t(c.width), 'W');
    }
    TInputFormLayout L;
    LayOutInputForm(c.title, fields, uint8_t(c.captions.size()), 0, L);
    const TBox& title = L.titleBox;
    EXPECT_LE(MeasureButtonTextWidth(c.title) + 4, title.x2 - title.x1) << c.title;
    EXPECT_LE(14, title.y2 - title.y1 + 1);
    std::vector<TCaptionBox> rows;
    for (size_t i = 0; i < c.captions.size(); ++i) {
      rows.push_back({"caption", c.captions[i], L.captionBoxes[i]});
      rows.push_back({"value", fields[i].valueText, L.valueBoxes[i]});
      EXPECT_LT(int(L.captionBoxes[i].x2), int(L.valueBoxes[i].x1));
      EXPECT_LE(int(L.valueBoxes[i].x2), int(L.frame.right));
    }
    ExpectCaptionsFit(rows);
  }
}

// --- popups with OK and cancel in their title strip ------------------------------------------

// The title in the button font holds before the OK button.
void ExpectTitleFits(const TPopupFrame& frame, const std::string& title) {
  const TBox box = GetDialogTitleBox(frame);
  EXPECT_LE(MeasureButtonTextWidth(title) + 4, box.x2 - box.x1) << "\"" << title << "\"";
  EXPECT_LE(14, box.y2 - box.y1 + 1);
}

// The one-line text popup with its callers' titles and field widths, a
// short field among them: title and caption fit however narrow the field.
TEST(DialogCaptions, TextPopupHoldsItsTitleAndCaption) {
  TScreen screen;
  struct TCase {
    std::string title, caption;
    int width;
  };
  const TCase cases[] = {
      {GetMessageText(3639, -39) + " #", "(" + GetMessageText(816, -39) + ": 1,3,7-11 15)", 30},
      {"Werkzeuge", "Nummern", 8},
      {"Werkzeuge übertragen", "Nummern der Werkzeuge", 1},
      {"|WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM", 4},
      {"Titel", "Name", 20},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.title);
    const int pixels = TextPopupWidth(c.title, c.caption, c.width);
    EXPECT_GE(pixels, (c.width + 2) * 8) << "the field keeps its room";
    EXPECT_EQ(pixels % 8, 0) << "whole cells";
    TPopupFrame frame{};
    frame.right = int16_t(pixels);
    frame.bottom = 70;
    ExpectTitleFits(frame, c.title[0] == '|' ? c.title.substr(1) : c.title);
    const int caption = MeasureTextWidthSized(c.caption, kTextPopupCaptionWidth, kTextPopupCaptionHeight);
    EXPECT_LE(TextPopupCaptionLeft(frame.left) + caption + 4, int(frame.right)) << c.caption;
  }
  EXPECT_EQ(TextPopupWidth("Titel", "Name", 20), 22 * 8) << "a popup with room to spare stays as it was";
}

// The popups opened with OK and cancel, with their callers' titles and a
// title longer than the asked width.
TEST(DialogCaptions, OkCancelPopupWidensForItsTitle) {
  TScreen screen;
  struct TCase {
    std::string title;
    int column;
  };
  const TCase cases[] = {
      {"Heidenhain TNC 426: " + GetMessageText(2521, -39), 53},
      {GetMessageText(744, -39), 416 / 8},
      {GetMessageText(2824, -29), 52},
      {"Eine lange Überschrift für ein schmales Fenster", 8},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.title);
    TPopupFrame frame{};
    TBox cancelBox{}, okBox{};
    OpenPopupWithOkCancel(frame, 0, c.column, 7, c.title, cancelBox, okBox);
    ExpectTitleFits(frame, c.title);
    EXPECT_GE(int(frame.right), c.column * 8);
    EXPECT_EQ(int(okBox.x1), frame.right - 48) << "the buttons move with the right edge";
    ClosePopupFrame(frame);
  }
}

// The framed dialog cuts a long title in the font it draws it in, and no
// more than it must.
TEST(DialogCaptions, FramedDialogCutsItsTitleToItsBox) {
  TScreen screen;
  const std::string titles[] = {"Parameter für das Taschenfräsen mit Inseln und Übergängen",
                                "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii",
                                "Kreis"};
  for (const int width : {160, 240, 320}) {
    TPopupFrame frame{};
    frame.left = 16;
    frame.right = int16_t(16 + width);
    frame.bottom = 200;
    const TBox box = GetDialogTitleBox(frame);
    for (const std::string& title : titles) {
      SCOPED_TRACE(title + " in " + std::to_string(width));
      const std::string shown = FitDialogTitle(frame, title);
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(title.compare(0, shown.size(), shown), 0) << "a cut, not another text";
      ExpectTitleFits(frame, shown);
      if (shown.size() < title.size()) {
        EXPECT_GT(MeasureButtonTextWidth(title.substr(0, shown.size() + 1)) + 4, box.x2 - box.x1)
            << "cut shorter than needed";
      }
    }
  }
}

}  // namespace

// --- tab window and field choice list -----------------------------------------------------------

#include "ui/field_choice_list.h"
#include "ui/tab_window.h"

namespace {

// Rows the button and menu fonts (Tahoma, 14 high) need below the text's top.
constexpr int kTahomaTextHeight = 14;

// The tab window on a large and a small screen: the title in the button font
// holds before the close button inside the title bar, and every tab caption,
// cut as the window cuts it and centred in the menu font, lies inside its tab.
TEST(DialogCaptions, TabWindowTitleAndTabCaptionsFit) {
  TScreen screen;
  const std::string captions[] = {"Allgemein",  "Bildschirm", "Maschine",   "Werkzeuge", "Fräsbahnen",
                                  "Änderungen", "Größen",     "Wandstärke", "Maßeinheit", "MASCHINE"};
  const struct {
    int width, height;
  } screens[] = {{1024, 768}, {640, 480}};
  for (const auto& s : screens) {
    SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
    TTabWindow window;
    window.Title = "Einstellungen für Maschine und Werkzeuge";
    LayOutTabWindow(window, s.width, s.height);
    const int titleTop = window.Frame.top + (25 / 2) - 2;
    EXPECT_LE(window.Frame.left + 8 + MeasureButtonTextWidth(window.Title) + 4, int(window.CloseButton.x1))
        << window.Title;
    EXPECT_LE(titleTop + kTahomaTextHeight, window.Frame.top + 25 + 1);
    for (int i = 0; i < kTabCount; ++i) {
      const TButtonRect& tab = window.Tabs[i];
      EXPECT_LE(int(tab.x2), int(window.Frame.right)) << i;
      if (i > 0) { EXPECT_LE(int(window.Tabs[i - 1].x2), int(tab.x1)) << "tabs overlap"; }
      for (const std::string& caption : captions) {
        const std::string drawn = caption.substr(0, kTabCaptionMax);
        const int half = (MeasureMenuTextWidth(drawn) + 1) / 2;
        const int x = TabCaptionX(tab), y = TabCaptionTop(tab);
        EXPECT_LE(int(tab.x1) + 2, x - half) << drawn;
        EXPECT_LE(x + half, int(tab.x2) - 2) << drawn;
        EXPECT_LE(int(tab.y1) + 1, y) << drawn;
        EXPECT_LE(y + kTahomaTextHeight, int(tab.y2)) << drawn;
      }
    }
  }
}

}  // namespace

namespace {

// The dropped choice list: every option stands whole in its row, in the
// cell font, inside the list's box, and the box stays on the screen, also
// for options longer than the field and for a field at the screen's right.
TEST(DialogCaptions, DroppedChoiceListHoldsItsOptionsWhole) {
  TScreen screen;  // 1024 x 768
  const struct {
    int16_t column, width;
    std::vector<std::string> options;
  } cases[] = {
      {40, 8, {"der Zeichnung", "der Arbeitsfläche"}},
      {40, 8, {"Integr.4", "Integr.6", "Revolver"}},
      {100, 20, {"Gleichlauf", "Gegenlauf", "Wechselnd"}},
      {120, 4, {"Abstand zur Kontur", "Ja"}},
  };
  for (const auto& c : cases) {
    TFieldChoiceList list;
    list.Column = c.column;
    list.Row = 10;
    list.Width = c.width;
    for (size_t j = 0; j < c.options.size(); ++j) SetFieldChoiceOption(list, int(j + 1), c.options[j]);
    TDroppedChoiceLayout L;
    LayOutDroppedChoices(list, 1024, L);
    EXPECT_GE(L.left, 0);
    EXPECT_LT(L.right, 1024);
    EXPECT_GE(L.cells, int(c.width)) << "not narrower than the field";
    for (size_t j = 0; j < c.options.size(); ++j) {
      const std::string& option = c.options[j];
      SCOPED_TRACE(option);
      EXPECT_LE(int(option.size()), L.cells);
      // Drawn from the list's column in 8-pixel cells, text 3 rows above
      // the cell's reference row, which is 5 rows below the cell top.
      const int x1 = L.column * 8, x2 = x1 + MeasureScreenTextWidth(option);
      const int y1 = (list.Row + int(j) + 1) * 16 + 5 - 3;
      EXPECT_LE(L.left + 4, x1);
      EXPECT_LE(x2 + 4, L.right);
      EXPECT_LT(L.top, y1);
      EXPECT_LE(y1 + kScreenTextHeight, L.bottom);
    }
  }
}

}  // namespace
