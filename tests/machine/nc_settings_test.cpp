// The NC settings block: its default image byte for byte, the dialect
// captions and records, the file extensions of every dialect.
#include "machine/nc_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/param_file.h"
#include "frame/system_services.h"
#include "support/param_hooks.h"
#include "support/work_folder.h"

namespace {

// Captions and default extensions of dialects 0..99 and their default
// tool-change codes, as the dialect table of the NC output lists them (DOS
// code page; dialect 0 has the user extension, "TXT" by default).
const char* const kCaptions[100] = {
    "DIN / ISO",
    "HEIDENHAIN DIN/ISO",
    "K\x99RNER",
    "EBERLE",
    "BOSTOMATIC",
    "Kuhlmann FDIN",
    "DECKEL Dialog11",
    "ANDRONIC",
    "HEIDENHAIN Cont12",
    "isel-Zwischenformat",
    "DIGMA-PC",
    "MAHO-PHILIPS 432",
    "ALLEN BRADLEY",
    "MOVTEC",
    "HECKERT",
    "BENCHMAN 4000",
    "M\x82" "canum\x82ric",
    "WABECO",
    "Proteo FAGOR 8050M",
    "DIGMA PC HSM4",
    "Eckelmann (ME)",
    "VENTURE",
    "HEIDENHAIN Dialog",
    "Walter-Seibu",
    "FANUC O-MD",
    "MultiCam",
    "MaxNC",
    "ROTEX / Mitsubishi",
    "Mazak Bearbeitungsz.",
    "K\x99" "BLER CNC bis 1990",
    "FIDIA no TOOL",
    "Cobalm IDEA Plus",
    "Mazak Drehm.Mark 1-3",
    "FIDIA",
    "Siemens 8M",
    "Siemens 8M Unterprog.",
    "Siemens 840D-LANG",
    "BES-Grav",
    "FANUC O-MA Drahterod.",
    "Eckelmann MAchsen(ME)",
    "R\x94" "ders RMS6 Gravur",
    "AutoGrav",
    "FANUC / HITACHI SEIKI",
    "FADAL VMC4020HT",
    "KUKA Roboter",
    "FlexiCAM",
    "Graviersteuerung V4",
    "HEIDENH.DIALOG TNC407",
    "KOSY - MAX Computer",
    "BOSCH CC220",
    "CHARLYROBOT GPilote",
    "Siemens 810",
    "SELCA ISPER",
    "MAHO MH600",
    "HEID.Dial. HermleC800",
    "Eckelmann-NCMind",
    "isel-Knotenpkt.MM2000",
    "MACH 2/3/4 Mitsubishi",
    "WinPC-NC / PC-NC",
    "Eckelmann PASO",
    "Mazak M2 UP",
    "Kitamura Mycenter-5x",
    "FAGOR LNC500 Ch.Liang",
    "Andronic/8V Mikromat",
    "Siemens 840D-Unterpr.",
    "MACH 8 - Mitsubishi",
    "Eckelmann FLEXICAM C.",
    "Philips 3000",
    "Heidenh.Dial. iTNC530",
    "Heidenh.Dial. TNC426",
    "Heidenh.Dial. TNC150",
    "Heidenh.Dial. TNC155",
    "Siemens 840D-Standard",
    "Heid.Dia.T426 Auto.WW",
    "Spinner PD Umfang840D",
    "Spinner PD Stirn 840D",
    "BEAMICON",
    "ANDRONIC KM2060",
    "K\x99RNER (Bohrzyklen)",
    "S&H CNC",
    "XENETECH (INCH)",
    "Multicam G41/42",
    "Step Four",
    "Portatec-S840D",
    "OKUMA OSP-U100M",
    "ME HAAS",
    "Mach3 Fr\x84smaschine",
    "DECKEL FP3NC",
    "Portatec Eckelmann EC",
    "Mazak Mazatrol U-Prog",
    "FANUC Ser.31i Mod.A5",
    "Eckelm.PASO ECCPU 502",
    "PNC1 / Sicom 3000",
    "HEIDENHAIN TNC320 o.Z",
    "PowerCut",
    "VicCam",
    "AXYZ",
    "Maho MH600-432",
    "DECKEL Dialog4 (86)",
    "Heidenh.iTNC530-DMU50",
};
const char* const kExtensions[100] = {
    ".TXT",  // 0
    ".DNC",  // 1
    ".PGM",  // 2
    ".NC",  // 3
    ".TXT",  // 4
    ".PRG",  // 5
    ".NC",  // 6
    ".ISO",  // 7
    ".ISO",  // 8
    ".NCP",  // 9
    ".ISO",  // 10
    ".TXT",  // 11
    "",  // 12
    ".NC",  // 13
    ".TXT",  // 14
    ".TXT",  // 15
    ".ISO",  // 16
    ".ISO",  // 17
    ".TXT",  // 18
    ".ISO",  // 19
    ".DIN",  // 20
    ".CNC",  // 21
    ".HNC",  // 22
    ".TXT",  // 23
    ".TXT",  // 24
    ".CNC",  // 25
    ".T",  // 26
    ".TXT",  // 27
    ".EIA",  // 28
    ".CNC",  // 29
    ".TXT",  // 30
    ".SBL",  // 31
    ".EIA",  // 32
    ".TXT",  // 33
    ".DID",  // 34
    ".DID",  // 35
    ".MPF",  // 36
    ".DIN",  // 37
    ".TXT",  // 38
    ".DIN",  // 39
    ".ROD",  // 40
    ".NC",  // 41
    ".TXT",  // 42
    ".NC",  // 43
    ".TXT",  // 44
    ".CNC",  // 45
    ".TXT",  // 46
    ".H",  // 47
    ".KNC",  // 48
    ".TXT",  // 49
    ".ISO",  // 50
    ".MPF",  // 51
    ".DAT",  // 52
    ".TXT",  // 53
    ".H",  // 54
    ".DIN",  // 55
    ".NC",  // 56
    ".PRG",  // 57
    ".NC",  // 58
    ".DIN",  // 59
    ".EIA",  // 60
    ".ISO",  // 61
    "",  // 62
    ".HS1",  // 63
    ".SPF",  // 64
    ".PRG",  // 65
    ".DIN",  // 66
    ".NC",  // 67
    ".H",  // 68
    ".H",  // 69
    ".NC",  // 70
    ".NC",  // 71
    ".MPF",  // 72
    ".H",  // 73
    ".MPF",  // 74
    ".MPF",  // 75
    ".TXT",  // 76
    ".ISO",  // 77
    ".PGM",  // 78
    ".GIO",  // 79
    ".CNC",  // 80
    ".CNC",  // 81
    ".S4G",  // 82
    ".MPF",  // 83
    ".MIN",  // 84
    ".TXT",  // 85
    ".TAP",  // 86
    ".TXT",  // 87
    ".DIN",  // 88
    ".EIA",  // 89
    ".TAP",  // 90
    ".DIN",  // 91
    ".NC",  // 92
    ".H",  // 93
    ".CNC",  // 94
    ".NC",  // 95
    ".TXT",  // 96
    ".TXT",  // 97
    ".TAP",  // 98
    ".H",  // 99
};
const uint8_t kCodes[100] = {3, 1, 3, 3, 3, 2, 1, 1, 3, 3, 1, 1, 1, 1, 3, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1, 3, 3, 3, 3, 3, 1, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 3, 3, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 1};

// The default block, built field by field at the documented offsets.
struct TImage {
  std::vector<uint8_t> b = std::vector<uint8_t>(6639, 0);
  void Byte(int o, uint8_t v) { b[o] = v; }
  void Word(int o, int16_t v) { std::memcpy(&b[o], &v, 2); }
  void Long(int o, int32_t v) { std::memcpy(&b[o], &v, 4); }
  void Float(int o, float v) { std::memcpy(&b[o], &v, 4); }
  void Str(int o, const std::string& s) {
    b[o] = static_cast<uint8_t>(s.size());
    std::memcpy(&b[o + 1], s.data(), s.size());
  }
};

std::vector<uint8_t> ExpectedDefaults(const std::string& root) {
  TImage m;
  m.Float(20, 10.0f);
  m.Float(24, 10.0f);
  m.Byte(32, 1);
  m.Word(33, 0);
  m.Word(35, 10);
  m.Word(37, 4);
  m.Long(39, 999999);
  m.Str(300, "C:\\Programme\\VazEzuz\\EtOpen.EXE");
  for (int o : {556, 812, 1068, 1324, 1594}) m.Str(o, root);
  m.Word(1580, 16);
  m.Word(1582, 0);
  m.Word(1584, 1);
  m.Byte(1586, 1);
  m.Byte(1587, 2);
  m.Word(1588, 0);
  m.Word(1590, 1);
  m.Byte(1592, 1);
  m.Byte(1593, 1);
  m.Str(1850, "TXT");
  m.Str(1854, "G90 G40 G17");
  m.Str(1871, "%");
  for (int d = 0; d <= 100; ++d) {
    std::string caption = d < 100 ? kCaptions[d] : "";
    caption.resize(21, ' ');
    m.Str(1888 + 22 * d, caption);
    const int r = 4110 + 25 * d;
    m.Byte(r + 0, d < 100 ? kCodes[d] : 3);
    m.Byte(r + 1, d == 8 ? 3 : d == 39 ? 4 : 1);
    m.Byte(r + 2, d == 39 ? 3 : d == 60 ? 4 : 2);
    m.Byte(r + 3, d == 39 ? 1 : 0);
    m.Byte(r + 4, 1);
    m.Float(r + 5, 1.0f);
    m.Float(r + 9, 1.0f);
    m.Float(r + 13, 1.0f);
    m.Float(r + 17, 0.0f);
    m.Byte(r + 23, 1);
    m.Byte(r + 24, 2);
  }
  m.Float(6635, 0.0f);
  return m.b;
}

std::string FirstDifference(const std::vector<uint8_t>& expected, const uint8_t* actual) {
  for (size_t i = 0; i < expected.size(); ++i)
    if (expected[i] != actual[i])
      return "offset " + std::to_string(i) + ": expected " + std::to_string(expected[i]) + ", got " +
             std::to_string(actual[i]);
  return "";
}

class NcSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    delete ParamImage;
    ParamImage = new TParameterImage{};
  }
  void TearDown() override {
    delete ParamImage;
    ParamImage = nullptr;
  }
  TNcSettings settings_{};
};

TEST_F(NcSettingsTest, DefaultsMatchTheDocumentedImageByteForByte) {
  MakeNcSettingsDefaults(settings_, "C:\\TORV\\");
  EXPECT_EQ(FirstDifference(ExpectedDefaults("C:\\"), reinterpret_cast<const uint8_t*>(&settings_)), "");
}

TEST_F(NcSettingsTest, ParameterFileDefaultsHoldTheNcBlock) {
  torvtest::TWorkFolder work;
  FillParamDefaults();
  std::vector<uint8_t> block(6639);
  GetParamBlock(14, block.data(), 6639);
  const std::string root = plat::ProgramFolder().substr(0, 3);
  EXPECT_EQ(FirstDifference(ExpectedDefaults(root), block.data()), "");
}

TEST_F(NcSettingsTest, AngleInputReadsTheRotaryDiameterField) {
  MakeNcSettingsDefaults(settings_, "C:\\");
  settings_.RotaryDiameter = 40.0f;
  StoreNcSettings(settings_);
  LoadAngleInputSetting();
  EXPECT_EQ(AngleInputDiameter, 40.0f);
}

TEST_F(NcSettingsTest, ExtensionOfEveryDialect) {
  MakeNcSettingsDefaults(settings_, "C:\\");
  StoreNcSettings(settings_);
  for (int16_t d = 0; d < 100; ++d) EXPECT_EQ(GetNcFileExtension(d), kExtensions[d]) << "dialect " << d;
  EXPECT_EQ(GetNcFileExtension(100), ".TXT");  // the generic dialect: as dialect 0
  EXPECT_EQ(GetNcFileExtension(12), "");
  EXPECT_EQ(GetNcFileExtension(62), "");
  EXPECT_EQ(GetNcFileExtension(26), ".T");
  EXPECT_EQ(GetNcFileExtension(47), ".H");
}

TEST_F(NcSettingsTest, UserExtensionIsCutToThreeCharacters) {
  struct TCase {
    std::string stored;
    uint8_t storedLength;
    std::string expected;
  };
  const TCase cases[] = {{"NCP", 3, ".NCP"}, {"ABCD", 4, ".ABC"}, {"", 0, "."}, {"AB", 2, ".AB"}};
  for (const TCase& c : cases) {
    MakeNcSettingsDefaults(settings_, "C:\\");
    StoreNcSettings(settings_);
    // A foreign file may store a longer text than three characters: the
    // length byte is followed by the extension field's three bytes and the
    // start block text's length.
    uint8_t* field = ParamImage->bytes + GetParamBlockOffset(14) + 1850;
    field[0] = c.storedLength;
    std::memcpy(field + 1, c.stored.data(), std::min<size_t>(c.stored.size(), 3));
    EXPECT_EQ(GetUserNcExtension(), c.expected) << c.stored;
    EXPECT_EQ(GetNcFileExtension(0), c.expected) << c.stored;
  }
}

TEST_F(NcSettingsTest, CaptionsArePaddedAndTheGenericSlotIsUsedForHighCodes) {
  MakeNcSettingsDefaults(settings_, "C:\\");
  EXPECT_EQ(GetDialectCaption(settings_, 2), std::string("K\x99RNER") + std::string(15, ' '));
  EXPECT_EQ(GetDialectCaption(settings_, 39), "Eckelmann MAchsen(ME)");
  EXPECT_FALSE(GetDefaultDialectCaption(46).empty());
  EXPECT_FALSE(GetDefaultDialectCaption(86).empty());
  settings_.DialectRecords[100].ToolChangeCode = 4;
  EXPECT_EQ(GetDialectRecord(settings_, 100).ToolChangeCode, 4);
  EXPECT_EQ(GetDialectRecord(settings_, 250).ToolChangeCode, 4);
  EXPECT_EQ(GetDialectRecord(settings_, 39).SimpleForm, 1);
}

}  // namespace
