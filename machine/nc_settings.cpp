// The NC settings record, the dialect table and the file extensions.
#include "machine/nc_settings.h"

#include <algorithm>
#include <cstring>

#include "frame/param_file.h"
#include "platform/files.h"

namespace {

// One row per dialect: caption (DOS code page), default extension ("*" the
// user extension, "" none), default tool-change code, and the record fields
// that differ from the general defaults (0 = general default).
struct TDialectRow {
  const char* caption;
  const char* extension;
  uint8_t toolChangeCode;
  uint8_t rotaryLetter;
  uint8_t rotaryParallel;
  uint8_t simpleForm;
};

constexpr TDialectRow kDialectRows[kNcDialectCount] = {
    {"DIN / ISO", "*", 3, 0, 0, 0},                      // 0
    {"HEIDENHAIN DIN/ISO", ".DNC", 1, 0, 0, 0},          // 1
    {"K\x99RNER", ".PGM", 3, 0, 0, 0},                   // 2
    {"EBERLE", ".NC", 3, 0, 0, 0},                       // 3
    {"BOSTOMATIC", ".TXT", 3, 0, 0, 0},                  // 4
    {"Kuhlmann FDIN", ".PRG", 2, 0, 0, 0},               // 5
    {"DECKEL Dialog11", ".NC", 1, 0, 0, 0},              // 6
    {"ANDRONIC", ".ISO", 1, 0, 0, 0},                    // 7
    {"HEIDENHAIN Cont12", ".ISO", 3, 3, 0, 0},           // 8
    {"isel-Zwischenformat", ".NCP", 3, 0, 0, 0},         // 9
    {"DIGMA-PC", ".ISO", 1, 0, 0, 0},                    // 10
    {"MAHO-PHILIPS 432", ".TXT", 1, 0, 0, 0},            // 11
    {"ALLEN BRADLEY", "", 1, 0, 0, 0},                   // 12
    {"MOVTEC", ".NC", 1, 0, 0, 0},                       // 13
    {"HECKERT", ".TXT", 3, 0, 0, 0},                     // 14
    {"BENCHMAN 4000", ".TXT", 1, 0, 0, 0},               // 15
    {"M\x82" "canum\x82ric", ".ISO", 1, 0, 0, 0},        // 16
    {"WABECO", ".ISO", 3, 0, 0, 0},                      // 17
    {"Proteo FAGOR 8050M", ".TXT", 1, 0, 0, 0},          // 18
    {"DIGMA PC HSM4", ".ISO", 1, 0, 0, 0},               // 19
    {"Eckelmann (ME)", ".DIN", 1, 0, 0, 0},              // 20
    {"VENTURE", ".CNC", 1, 0, 0, 0},                     // 21
    {"HEIDENHAIN Dialog", ".HNC", 1, 0, 0, 0},           // 22
    {"Walter-Seibu", ".TXT", 1, 0, 0, 0},                // 23
    {"FANUC O-MD", ".TXT", 1, 0, 0, 0},                  // 24
    {"MultiCam", ".CNC", 1, 0, 0, 0},                    // 25
    {"MaxNC", ".T", 1, 0, 0, 0},                         // 26
    {"ROTEX / Mitsubishi", ".TXT", 1, 0, 0, 0},          // 27
    {"Mazak Bearbeitungsz.", ".EIA", 1, 0, 0, 0},        // 28
    {"K\x99" "BLER CNC bis 1990", ".CNC", 1, 0, 0, 0},   // 29
    {"FIDIA no TOOL", ".TXT", 1, 0, 0, 0},               // 30
    {"Cobalm IDEA Plus", ".SBL", 1, 0, 0, 0},            // 31
    {"Mazak Drehm.Mark 1-3", ".EIA", 1, 0, 0, 0},        // 32
    {"FIDIA", ".TXT", 1, 0, 0, 0},                       // 33
    {"Siemens 8M", ".DID", 1, 0, 0, 0},                  // 34
    {"Siemens 8M Unterprog.", ".DID", 1, 0, 0, 0},       // 35
    {"Siemens 840D-LANG", ".MPF", 1, 0, 0, 0},           // 36
    {"BES-Grav", ".DIN", 1, 0, 0, 0},                    // 37
    {"FANUC O-MA Drahterod.", ".TXT", 1, 0, 0, 0},       // 38
    {"Eckelmann MAchsen(ME)", ".DIN", 1, 4, 3, 1},       // 39
    {"R\x94" "ders RMS6 Gravur", ".ROD", 3, 0, 0, 0},    // 40
    {"AutoGrav", ".NC", 1, 0, 0, 0},                     // 41
    {"FANUC / HITACHI SEIKI", ".TXT", 1, 0, 0, 0},       // 42
    {"FADAL VMC4020HT", ".NC", 1, 0, 0, 0},              // 43
    {"KUKA Roboter", ".TXT", 3, 0, 0, 0},                // 44
    {"FlexiCAM", ".CNC", 1, 0, 0, 0},                    // 45
    {"Graviersteuerung V4", ".TXT", 1, 0, 0, 0},         // 46
    {"HEIDENH.DIALOG TNC407", ".H", 1, 0, 0, 0},         // 47
    {"KOSY - MAX Computer", ".KNC", 3, 0, 0, 0},         // 48
    {"BOSCH CC220", ".TXT", 3, 0, 0, 0},                 // 49
    {"CHARLYROBOT GPilote", ".ISO", 3, 0, 0, 0},         // 50
    {"Siemens 810", ".MPF", 3, 0, 0, 0},                 // 51
    {"SELCA ISPER", ".DAT", 3, 0, 0, 0},                 // 52
    {"MAHO MH600", ".TXT", 1, 0, 0, 0},                  // 53
    {"HEID.Dial. HermleC800", ".H", 1, 0, 0, 0},         // 54
    {"Eckelmann-NCMind", ".DIN", 1, 0, 0, 0},            // 55
    {"isel-Knotenpkt.MM2000", ".NC", 3, 0, 0, 0},        // 56
    {"MACH 2/3/4 Mitsubishi", ".PRG", 1, 0, 0, 0},       // 57
    {"WinPC-NC / PC-NC", ".NC", 1, 0, 0, 0},             // 58
    {"Eckelmann PASO", ".DIN", 1, 0, 0, 0},              // 59
    {"Mazak M2 UP", ".EIA", 3, 0, 4, 0},                 // 60
    {"Kitamura Mycenter-5x", ".ISO", 1, 0, 0, 0},        // 61
    {"FAGOR LNC500 Ch.Liang", "", 1, 0, 0, 0},           // 62
    {"Andronic/8V Mikromat", ".HS1", 1, 0, 0, 0},        // 63
    {"Siemens 840D-Unterpr.", ".SPF", 1, 0, 0, 0},       // 64
    {"MACH 8 - Mitsubishi", ".PRG", 1, 0, 0, 0},         // 65
    {"Eckelmann FLEXICAM C.", ".DIN", 1, 0, 0, 0},       // 66
    {"Philips 3000", ".NC", 1, 0, 0, 0},                 // 67
    {"Heidenh.Dial. iTNC530", ".H", 1, 0, 0, 0},         // 68
    {"Heidenh.Dial. TNC426", ".H", 1, 0, 0, 0},          // 69
    {"Heidenh.Dial. TNC150", ".NC", 1, 0, 0, 0},         // 70
    {"Heidenh.Dial. TNC155", ".NC", 1, 0, 0, 0},         // 71
    {"Siemens 840D-Standard", ".MPF", 1, 0, 0, 0},       // 72
    {"Heid.Dia.T426 Auto.WW", ".H", 1, 0, 0, 0},         // 73
    {"Spinner PD Umfang840D", ".MPF", 1, 0, 0, 0},       // 74
    {"Spinner PD Stirn 840D", ".MPF", 1, 0, 0, 0},       // 75
    {"BEAMICON", ".TXT", 1, 0, 0, 0},                    // 76
    {"ANDRONIC KM2060", ".ISO", 1, 0, 0, 0},             // 77
    {"K\x99RNER (Bohrzyklen)", ".PGM", 3, 0, 0, 0},      // 78
    {"S&H CNC", ".GIO", 3, 0, 0, 0},                     // 79
    {"XENETECH (INCH)", ".CNC", 3, 0, 0, 0},             // 80
    {"Multicam G41/42", ".CNC", 1, 0, 0, 0},             // 81
    {"Step Four", ".S4G", 1, 0, 0, 0},                   // 82
    {"Portatec-S840D", ".MPF", 1, 0, 0, 0},              // 83
    {"OKUMA OSP-U100M", ".MIN", 1, 0, 0, 0},             // 84
    {"ME HAAS", ".TXT", 1, 0, 0, 0},                     // 85
    {"Mach3 Fr\x84smaschine", ".TAP", 1, 0, 0, 0},       // 86
    {"DECKEL FP3NC", ".TXT", 3, 0, 0, 0},                // 87
    {"Portatec Eckelmann EC", ".DIN", 1, 0, 0, 0},       // 88
    {"Mazak Mazatrol U-Prog", ".EIA", 1, 0, 0, 0},       // 89
    {"FANUC Ser.31i Mod.A5", ".TAP", 1, 0, 0, 0},        // 90
    {"Eckelm.PASO ECCPU 502", ".DIN", 1, 0, 0, 0},       // 91
    {"PNC1 / Sicom 3000", ".NC", 1, 0, 0, 0},            // 92
    {"HEIDENHAIN TNC320 o.Z", ".H", 1, 0, 0, 0},         // 93
    {"PowerCut", ".CNC", 1, 0, 0, 0},                    // 94
    {"VicCam", ".NC", 1, 0, 0, 0},                       // 95
    {"AXYZ", ".TXT", 1, 0, 0, 0},                        // 96
    {"Maho MH600-432", ".TXT", 1, 0, 0, 0},              // 97
    {"DECKEL Dialog4 (86)", ".TAP", 3, 0, 0, 0},         // 98
    {"Heidenh.iTNC530-DMU50", ".H", 1, 0, 0, 0},         // 99
};

constexpr const char* kIselNcpDefaultPath = "C:\\Programme\\VazEzuz\\EtOpen.EXE";

void SetGeneralRecordDefaults(TNcDialectRecord& r) {
  r.ToolChangeCode = 3;
  r.RotaryLetter = 1;
  r.RotaryParallel = 2;
  r.SimpleForm = 0;
  r.RadiusCompSide = 1;
  r.Factor5 = 1.0f;
  r.SignB = 1.0f;
  r.SignC = 1.0f;
  r.DwellTime = 0.0f;
  r.CoolantM50 = 0;
  r.CoolantM52 = 0;
  r.CommentHeaderOn = 1;
  r.MacroVariables = 2;
}

}  // namespace

std::string ReadNcString(const uint8_t* field, int maxLength) {
  const int n = std::min<int>(field[0], maxLength);
  return std::string(reinterpret_cast<const char*>(field + 1), static_cast<size_t>(n));
}

void WriteNcString(uint8_t* field, int maxLength, const std::string& text) {
  const size_t n = std::min(text.size(), static_cast<size_t>(maxLength));
  field[0] = static_cast<uint8_t>(n);
  std::memcpy(field + 1, text.data(), n);
}

void LoadNcSettings(TNcSettings& settings) {
  std::memset(&settings, 0, sizeof settings);
  GetParamBlock(kNcSettingsBlock, &settings, sizeof settings);
}

void StoreNcSettings(const TNcSettings& settings) {
  PutParamBlock(kNcSettingsBlock, &settings, sizeof settings);
}

void MakeNcSettingsDefaults(TNcSettings& s, const std::string& programFolder) {
  std::memset(&s, 0, sizeof s);
  s.SafeZ = 10.0f;
  s.IselNcpFeed = 10.0f;
  s.CoolantOn = 1;
  s.CurrentDialect = 0;
  s.SisterToolOffset = 10;
  s.BlockNumbering = 4;
  s.ProgramNumberSetting = 999999;
  const std::string root = programFolder.substr(0, 3);
  WriteNcString(s.IselNcpProgramPath, 255, kIselNcpDefaultPath);
  WriteNcString(s.GPiloteProgramPath, 255, root);
  WriteNcString(s.IselRemoteProgramPath, 255, root);
  WriteNcString(s.WinPcNcProgramPath, 255, root);
  WriteNcString(s.BeamiconProgramPath, 255, root);
  WriteNcString(s.SpareFolderPath, 255, root);
  s.MazakToolFormat = 16;
  s.HandoverTarget = 0;
  s.Dialect55Count = 1;
  s.CoolantKind = 1;
  s.ArcFormat = 2;
  s.Dialect55Mode = 0;
  s.ToolMeasuring = 1;
  s.ZeroOffsetG59 = 1;
  s.ProgramEndCode = 1;
  WriteNcString(s.UserExtension, 3, "TXT");
  WriteNcString(s.StartBlockText, 16, "G90 G40 G17");
  WriteNcString(s.ProgramStartChar, 16, "%");
  for (int d = 0; d < kNcDialectSlots; ++d) {
    const std::string caption = d < kNcDialectCount ? kDialectRows[d].caption : "";
    WriteNcString(s.DialectNames[d], kNcCaptionLength,
                  caption + std::string(static_cast<size_t>(kNcCaptionLength) - std::min<size_t>(caption.size(), kNcCaptionLength), ' '));
    TNcDialectRecord& r = s.DialectRecords[d];
    SetGeneralRecordDefaults(r);
    if (d >= kNcDialectCount) continue;
    const TDialectRow& row = kDialectRows[d];
    r.ToolChangeCode = row.toolChangeCode;
    if (row.rotaryLetter != 0) r.RotaryLetter = row.rotaryLetter;
    if (row.rotaryParallel != 0) r.RotaryParallel = row.rotaryParallel;
    if (row.simpleForm != 0) r.SimpleForm = row.simpleForm;
  }
  s.CycleFeed = 0.0f;
}

void WriteNcSettingsDefaults() {
  TNcSettings* s = new TNcSettings;
  MakeNcSettingsDefaults(*s, plat::ProgramFolder());
  StoreNcSettings(*s);
  delete s;
}

std::string GetDefaultDialectCaption(int dialect) {
  if (dialect < 0 || dialect >= kNcDialectCount) return "";
  return kDialectRows[dialect].caption;
}

std::string GetDialectCaption(const TNcSettings& settings, int dialect) {
  const int d = std::clamp(dialect, 0, kNcGenericDialect);
  return ReadNcString(settings.DialectNames[d], kNcCaptionLength);
}

const TNcDialectRecord& GetDialectRecord(const TNcSettings& settings, int dialect) {
  return settings.DialectRecords[std::clamp(dialect, 0, kNcGenericDialect)];
}

std::string GetUserNcExtensionOf(const TNcSettings& settings) {
  return "." + ReadNcString(settings.UserExtension, 3);
}

std::string GetUserNcExtension() {
  TNcSettings* s = new TNcSettings;
  LoadNcSettings(*s);
  std::string result = GetUserNcExtensionOf(*s);
  delete s;
  return result;
}

std::string GetNcFileExtension(int16_t dialect) {
  if (dialect > 0 && dialect < kNcDialectCount) {
    const std::string ext = kDialectRows[dialect].extension;
    if (ext != "*") return ext;
  }
  return GetUserNcExtension();
}

bool IsNcStartPositionSet(const TNcSettings& settings) {
  return settings.StartX > -9999.0f && settings.StartY > -9999.0f;
}

bool IsNcParkPositionSet(const TNcSettings& settings) { return settings.EndX >= 0.0f || settings.EndY >= 0.0f; }
