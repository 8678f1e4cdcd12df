// Builds a picture table (the format of "MVKBild.DAT", "MVKBiPrg.DAT" and
// the resource table "Resourc1.DAT") from a list file:
//
//   make_pictures LIST OUTPUT WORKFOLDER
//
// LIST holds one picture per line ("#" starts a comment):
//   NAME KIND WIDTHxHEIGHT [ARTWORK]
// NAME is the picture's name (its extension, ".GIF" or ".BMP" in any case,
// decides the file type; a name without extension is stored as a BMP).
// KIND: "file" takes ARTWORK (a BMP or GIF beside the list) as it is;
// "tile" draws a labelled tile (the first letters of the name on a colour
// of its own); "banner" draws the program name large on a blue gradient;
// "logo" draws the program name over a milled path on white (the white of
// the top-left corner is left out where the program draws it transparent);
// "tabs" draws a row of tabs 26 pixels apart, their labels given as ARTWORK,
// comma-separated, the selected tab marked by a leading "*".
// Generated pictures use the 6 x 6 x 6 colour cube.
//
// A line "* KIND WIDTHxHEIGHT" adds a generated picture of that kind and size
// for every name of the command-name table (the command icons) that has no
// line of its own, after the listed pictures.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/picture_codecs.h"

namespace {

struct TCommandIcon {
  int16_t code;
  const char* name;
};
// The command-name table's list; its names are the command icons' names.
constexpr TCommandIcon kCommandIcons[] = {
#include "commands/command_names.inc"
};

std::string UpperCase(std::string text) {
  for (char& ch : text) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

// 3 x 5 letters: the character, then its rows top-down, bit 2 leftmost.
const char* const kGlyphs[] = {
    "A25755", "B65656", "C34443", "D65556", "E74647", "F74644", "G34553", "H55755", "I72227",
    "J11152", "K55655", "L44447", "M57755", "N65555", "O25552", "P65644", "Q25563", "R65655",
    "S34216", "T72222", "U55557", "V55552", "W55775", "X55255", "Y55222", "Z71247", "075557",
    "126227", "261247", "361216", "455711", "574616", "634757", "771122", "875757", "975716",
};

// Rows of the glyph (5 values) or none.
const char* GlyphOf(char c) {
  c = char(std::toupper(static_cast<unsigned char>(c)));
  for (const char* g : kGlyphs)
    if (g[0] == c) return g + 1;
  return nullptr;
}

struct TCanvas {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  void Set(int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    p[0] = uint8_t(r);
    p[1] = uint8_t(g);
    p[2] = uint8_t(b);
  }
};

void DrawLabel(TCanvas& c, const std::string& text, int x, int y, int scale, int r, int g, int b) {
  for (char ch : text) {
    if (const char* rows = GlyphOf(ch)) {
      for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
          if ((rows[row] - '0') & (4 >> col))
            for (int dy = 0; dy < scale; ++dy)
              for (int dx = 0; dx < scale; ++dx) c.Set(x + col * scale + dx, y + row * scale + dy, r, g, b);
    }
    x += 4 * scale;
  }
}

std::string Letters(const std::string& name) {
  std::string out;
  for (char ch : name)
    if (GlyphOf(ch) && out.size() < 3) out += char(std::toupper(static_cast<unsigned char>(ch)));
  return out;
}

void DrawTile(TCanvas& c, const std::string& name) {
  uint32_t hash = 2166136261u;
  for (char ch : name) hash = (hash ^ uint8_t(std::toupper(static_cast<unsigned char>(ch)))) * 16777619u;
  const int r = 150 + int(hash % 100), g = 150 + int(hash / 100 % 100), b = 150 + int(hash / 10000 % 100);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const bool edge = x == 0 || y == 0 || x == c.width - 1 || y == c.height - 1;
      c.Set(x, y, edge ? 60 : r, edge ? 60 : g, edge ? 60 : b);
    }
  const std::string label = Letters(name);
  const int scale = std::max(1, std::min((c.width - 2) / std::max<int>(1, int(4 * label.size())), (c.height - 2) / 6));
  const int w = int(label.size()) * 4 * scale - scale;
  DrawLabel(c, label, (c.width - w) / 2, (c.height - 5 * scale) / 2, scale, 0, 0, 0);
}

void DrawBanner(TCanvas& c) {
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const double t = c.width > 1 ? double(x) / (c.width - 1) : 0.0;
      c.Set(x, y, int(30 + 120 * t), int(60 + 120 * t), 200);
    }
  const int scale = std::max(1, std::min(c.width / 20, c.height / 7));
  const int w = 4 * 4 * scale - scale;
  DrawLabel(c, "TORV", (c.width - w) / 2, (c.height - 5 * scale) / 2, scale, 255, 255, 255);
}

void FillRect(TCanvas& c, int x1, int y1, int x2, int y2, int r, int g, int b) {
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) c.Set(x, y, r, g, b);
}

// The program name in dark blue above a cutter path: a wave of a few periods
// ending in the round cutter.
void DrawLogo(TCanvas& c) {
  const int scale = std::max(1, std::min((c.width - 10) / 15, (c.height - 16) / 5));
  const int textWidth = 15 * scale, textHeight = 5 * scale;
  const int textX = (c.width - textWidth) / 2;
  const int textY = std::max(1, (c.height - textHeight - 14) / 2);
  DrawLabel(c, "TORV", textX + 1, textY + 1, scale, 150, 170, 200);  // shadow
  DrawLabel(c, "TORV", textX, textY, scale, 20, 40, 130);
  const int pathY = textY + textHeight + 7;
  const int left = textX, right = textX + textWidth - 1;
  int lastY = pathY;
  for (int x = left; x <= right; ++x) {
    const double phase = double(x - left) / std::max(1, right - left) * 6.2831853 * 2.0;
    const int y = pathY + int(3.0 * std::sin(phase));
    for (int k = std::min(lastY, y); k <= std::max(lastY, y); ++k) FillRect(c, x, k, x, k + 1, 220, 90, 20);
    lastY = y;
  }
  for (int dy = -3; dy <= 3; ++dy)
    for (int dx = -3; dx <= 3; ++dx)
      if (dx * dx + dy * dy <= 9) c.Set(right + 2 + dx, lastY + dy, 90, 90, 90);
}

// Tabs 26 pixels apart from x 3, 26 pixels high from y 1; the selected one is
// lighter and open towards the page below, the others darker and closed.
void DrawTabs(TCanvas& c, const std::string& labels) {
  FillRect(c, 0, 0, c.width - 1, c.height - 1, 192, 192, 192);
  const int bottom = std::min(c.height - 1, 27);
  std::istringstream list(labels);
  std::string label;
  int count = 0;
  for (int i = 0; std::getline(list, label, ','); ++i, count = i) {
    const bool selected = !label.empty() && label[0] == '*';
    if (selected) label.erase(0, 1);
    const int x1 = 3 + 26 * i, x2 = x1 + 25;
    if (x2 >= c.width) break;
    const int top = selected ? 1 : 4;
    const int face = selected ? 235 : 176;
    FillRect(c, x1, top, x2, bottom, face, face, face);
    FillRect(c, x1, top, x2, top, 255, 255, 255);
    FillRect(c, x1, top, x1, bottom, 255, 255, 255);
    FillRect(c, x2, top, x2, bottom, 64, 64, 64);
    if (!selected) FillRect(c, x1, bottom, x2, bottom, 64, 64, 64);
    std::string text;
    for (char ch : label)
      if (GlyphOf(ch) && text.size() < 5) text += ch;
    const int w = int(text.size()) * 4 - 1;
    DrawLabel(c, text, x1 + (26 - w) / 2, top + (bottom - top - 5) / 2, 1, selected ? 20 : 60,
              selected ? 40 : 60, selected ? 130 : 60);
  }
  FillRect(c, 0, bottom, 2, bottom, 64, 64, 64);
  FillRect(c, 3 + 26 * count, bottom, c.width - 1, bottom, 64, 64, 64);
}

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
  return true;
}

// |workStem| names the scratch file; it is the output's own name, so that the
// tables built side by side in one folder never share a scratch file.
bool Encode(const TCanvas& c, const std::string& name, const std::string& workStem, std::vector<uint8_t>& bytes) {
  if (EndsWithNoCase(name, ".GIF")) {
    const std::string file = workStem + ".gif";
    return plat::WriteGifPicture(file, c.width, c.height, c.rgb.data()) && plat::ReadFileBytes(file, bytes);
  }
  uint8_t palette[256 * 3] = {};
  for (int i = 0; i < 216; ++i) {
    palette[3 * i] = uint8_t(i / 36 * 51);
    palette[3 * i + 1] = uint8_t(i / 6 % 6 * 51);
    palette[3 * i + 2] = uint8_t(i % 6 * 51);
  }
  std::vector<uint8_t> indices(size_t(c.width) * size_t(c.height));
  auto level = [](uint8_t v) { return (v * 5 + 127) / 255; };
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = uint8_t(level(c.rgb[3 * i]) * 36 + level(c.rgb[3 * i + 1]) * 6 + level(c.rgb[3 * i + 2]));
  const std::string file = workStem + ".bmp";
  return plat::WriteBmp8Picture(file, c.width, c.height, indices.data(), palette) && plat::ReadFileBytes(file, bytes);
}

void Put32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_pictures LIST OUTPUT WORKFOLDER\n";
    return 2;
  }
  const std::string list = argv[1];
  const std::string output = argv[2];
  const std::string workStem =
      std::string(argv[3]) + "/" + output.substr(output.find_last_of('/') == std::string::npos ? 0 : output.find_last_of('/') + 1);
  const std::string folder = list.substr(0, list.find_last_of('/') + 1);
  std::ifstream in(list);
  if (!in) {
    std::cerr << list << ": cannot be read\n";
    return 1;
  }
  std::vector<std::string> names;
  std::vector<std::vector<uint8_t>> pictures;
  std::string commandIconSize;
  int commandIconWidth = 0, commandIconHeight = 0;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream fields(line);
    std::string name, kind, size, artwork;
    if (!(fields >> name)) continue;
    int w = 0, h = 0;
    if (!(fields >> kind >> size) || std::sscanf(size.c_str(), "%dx%d", &w, &h) != 2 || w < 1 || h < 1 ||
        w > 2000 || h > 2000 || name.size() > 39) {
      std::cerr << list << ":" << lineNo << ": expected NAME KIND WIDTHxHEIGHT [ARTWORK]\n";
      return 1;
    }
    for (const std::string& known : names) {
      std::string a = known, b = name;
      for (char& ch : a) ch = char(std::toupper(static_cast<unsigned char>(ch)));
      for (char& ch : b) ch = char(std::toupper(static_cast<unsigned char>(ch)));
      if (a == b) {
        std::cerr << list << ":" << lineNo << ": " << name << " listed twice\n";
        return 1;
      }
    }
    if (name == "*") {
      if (kind != "tile" || !commandIconSize.empty()) {
        std::cerr << list << ":" << lineNo << ": \"*\" takes the kind tile, once\n";
        return 1;
      }
      commandIconSize = size;
      commandIconWidth = w;
      commandIconHeight = h;
      continue;
    }
    std::vector<uint8_t> bytes;
    if (kind == "file") {
      if (!(fields >> artwork) || !plat::ReadFileBytes(folder + artwork, bytes) || bytes.empty()) {
        std::cerr << list << ":" << lineNo << ": artwork missing\n";
        return 1;
      }
    } else {
      TCanvas c;
      c.width = w;
      c.height = h;
      c.rgb.assign(size_t(w) * size_t(h) * 3, 255);
      if (kind == "tile") {
        DrawTile(c, name);
      } else if (kind == "banner") {
        DrawBanner(c);
      } else if (kind == "logo") {
        DrawLogo(c);
      } else if (kind == "tabs") {
        if (!(fields >> artwork)) {
          std::cerr << list << ":" << lineNo << ": tabs need their labels\n";
          return 1;
        }
        DrawTabs(c, artwork);
      } else {
        std::cerr << list << ":" << lineNo << ": unknown kind " << kind << "\n";
        return 1;
      }
      if (!Encode(c, name, workStem, bytes)) {
        std::cerr << list << ":" << lineNo << ": picture could not be encoded\n";
        return 1;
      }
    }
    names.push_back(name);
    pictures.push_back(std::move(bytes));
  }
  if (!commandIconSize.empty()) {
    std::set<std::string> known;
    for (const std::string& name : names) known.insert(UpperCase(name));
    for (const TCommandIcon& icon : kCommandIcons) {
      const std::string name = icon.name;
      if (name.empty() || !known.insert(UpperCase(name)).second) continue;
      TCanvas c;
      c.width = commandIconWidth;
      c.height = commandIconHeight;
      c.rgb.assign(size_t(c.width) * size_t(c.height) * 3, 255);
      DrawTile(c, name);
      std::vector<uint8_t> bytes;
      if (!Encode(c, name, workStem, bytes)) {
        std::cerr << list << ": the picture of command name " << name << " could not be encoded\n";
        return 1;
      }
      names.push_back(name);
      pictures.push_back(std::move(bytes));
    }
  }
  std::vector<uint8_t> out(7, 0);
  Put32(out, int32_t(names.size()));
  // Offsets count from the end of the last full entry: the end entry comes first.
  int32_t offset = 44;
  for (size_t i = 0; i <= names.size(); ++i) {
    uint8_t entry[44] = {};
    if (i < names.size()) {
      entry[0] = uint8_t(names[i].size());
      for (size_t k = 0; k < names[i].size(); ++k) entry[1 + k] = uint8_t(std::toupper(static_cast<unsigned char>(names[i][k])));
    }
    std::copy(entry, entry + 40, std::back_inserter(out));
    Put32(out, offset);
    if (i < names.size()) offset += int32_t(pictures[i].size());
  }
  for (const auto& p : pictures) out.insert(out.end(), p.begin(), p.end());
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
  if (!file) {
    std::cerr << argv[2] << ": cannot be written\n";
    return 1;
  }
  return 0;
}
