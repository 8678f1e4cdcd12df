// The object property store.
#include "model/property_store.h"

#include <sys/stat.h>

#include "support/drawing_test_support.h"

namespace {

using drawtest::Rec;

class PropertyStoreTest : public drawtest::DrawingFolderTest {};

TEST_F(PropertyStoreTest, NextNumberFollowsTheHighestObjectLine) {
  EXPECT_EQ(GetNextObjectNumber(), 1);  // missing store: created empty
  EXPECT_TRUE(Exists("EIGENSCH.TMP"));
  WriteFile("EIGENSCH.TMP", "#000003\r\nBOHRUN 1\r\n#000017\r\n#000005\r\nTASCHE 2\r\n");
  EXPECT_EQ(GetNextObjectNumber(), 18);
  WriteFile("EIGENSCH.TMP", "#abcdef\r\n#0000x1\r\n");
  EXPECT_EQ(GetNextObjectNumber(), 1);
}

TEST_F(PropertyStoreTest, RewritingKeepsPlacesAndAppendsNewObjects) {
  WriteFile("EIGENSCH.TMP", "#000003\r\nBOHRUN 1\r\n#000017\r\nTASCHE 2 3\r\n#000005\r\n");
  TPropertyLines lines;
  SetPropertyLine(lines, "SENKUN", "4.5 \"a b\"");
  WriteObjectProperties(17, lines);
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), "#000003\r\nBOHRUN 1\r\n#000017\r\nSENKUN 4.5 \"a b\"\r\n#000005\r\n");
  EXPECT_EQ(ReadFile("EIGENSCH.BAK"), "#000003\r\nBOHRUN 1\r\n#000017\r\nTASCHE 2 3\r\n#000005\r\n");
  WriteObjectProperties(18, lines);
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"),
            "#000003\r\nBOHRUN 1\r\n#000017\r\nSENKUN 4.5 \"a b\"\r\n#000005\r\n#000018\r\nSENKUN 4.5 \"a b\"\r\n");
  DeleteObjectProperties(3);
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), "#000017\r\nSENKUN 4.5 \"a b\"\r\n#000005\r\n#000018\r\nSENKUN 4.5 \"a b\"\r\n");
}

TEST_F(PropertyStoreTest, ReadingLinesAndKinds) {
  WriteFile("EIGENSCH.TMP", "#000001\r\n#000002\r\nSCHR\xC4G 1 2\r\n#000003\r\nNOTAKIND 1\r\n#000004\r\n" +
                                std::string(200, 'R') + "\r\n");
  EXPECT_EQ(GetObjectPropertyKind(1), 0);  // followed by an object line: no property line
  EXPECT_EQ(GetObjectPropertyKind(2), -995);
  EXPECT_EQ(GetObjectPropertyKind(3), 0);
  EXPECT_EQ(GetObjectPropertyKind(9), 0);
  TPropertyLines lines;
  ReadObjectPropertyLine(4, lines);
  EXPECT_EQ(lines.line.size(), 128u);
  ReadObjectPropertyLine(1, lines);
  EXPECT_TRUE(lines.line.empty());
}

TEST_F(PropertyStoreTest, AnUnreadableBackupKeepsTheOldStoreWhole) {
  const std::string old = "#000001\r\nBOHRUN 1\r\n";
  WriteFile("EIGENSCH.TMP", old);
  // The backup name is taken by a folder: the store cannot be moved to it.
  std::filesystem::create_directory(Host("EIGENSCH.BAK"));
  TPropertyLines lines;
  SetPropertyLine(lines, "TASCHE", "9");
  WriteObjectProperties(2, lines);
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), old);
  ErrorCode = 0;
}

TEST_F(PropertyStoreTest, SetPropertyLineOnlyReplacesTheSameKey) {
  TPropertyLines lines;
  SetPropertyLine(lines, "BOHRUN", "1");
  SetPropertyLine(lines, "TASCHE", "2");
  EXPECT_EQ(lines.line, "BOHRUN 1");
  SetPropertyLine(lines, "BOHRUN", std::string(200, '7'));
  EXPECT_EQ(lines.line.size(), 128u);
}

TEST(PropertyTextParsing, NumbersWordsAndFields) {
  std::string text = " 1.5 -2 a";
  EXPECT_FLOAT_EQ(TakeNextNumberFromText(text, 128), 1.5f);
  EXPECT_EQ(text, " -2 a");
  EXPECT_FLOAT_EQ(TakeNextNumberFromText(text, 128), -2.0f);
  EXPECT_EQ(text, " a");
  EXPECT_FLOAT_EQ(TakeNextNumberFromText(text, 128), 0.0f);
  EXPECT_EQ(text, " a");
  text = " 1,5 7";
  EXPECT_FLOAT_EQ(TakeNextNumberFromText(text, 128), 0.0f);  // a run that does not parse is removed
  EXPECT_EQ(text, " 7");
  text = " 300 -40000 12.6";
  EXPECT_EQ(TakeNextByteFromText(text, 128), 0);
  EXPECT_EQ(TakeNextIntegerFromText(text, 128), 0);
  EXPECT_EQ(TakeNextIntegerFromText(text, 128), 13);

  text = "  \"one two\" \"three\" x";
  std::string word;
  TakeNextWordFromText(text, 128, word);
  EXPECT_EQ(word, "one two");
  TakeNextWordFromText(text, 128, word);
  EXPECT_EQ(word, "three");
  EXPECT_EQ(text, " x");
  text = "   ";
  TakeNextWordFromText(text, 128, word);
  EXPECT_EQ(word, "");
  EXPECT_EQ(text, "   ");

  std::string field;
  GetPropertyField("BOHRUN 1 2", "BOHRUN", field, 128);
  EXPECT_EQ(field, " 1 2");
  GetPropertyField("TASCHE 1", "BOHRUN", field, 128);
  EXPECT_EQ(field, "");
}

TEST(ObjectNumbers, CodingInZ) {
  const struct {
    float z;
    int32_t n;
  } cases[] = {{-1000, -1}, {-1001, 1}, {-32999, 31999}, {-33000, -1}, {0, -1}, {-1042.4f, 42}};
  for (const auto& c : cases) EXPECT_EQ(DecodeObjectNumberFromZ(c.z), c.n) << c.z;
  float z = 5;
  EncodeObjectNumberInZ(0, z);
  EXPECT_EQ(z, 5);
  EncodeObjectNumberInZ(42, z);
  EXPECT_EQ(z, -1042);
  std::string line;
  BuildObjectNumberLine(42, line, 255);
  EXPECT_EQ(line, "#000042");
}

TEST_F(PropertyStoreTest, ContourClasses) {
  int32_t number = 0;
  WriteFile("A.TMP", drawtest::Bytes({Rec(11, 1, 1, -1007), Rec(10, 1, 1)}));
  EXPECT_EQ(ClassifyContoursInFile("A.TMP", 0, number), kClassSinglePoint);
  EXPECT_EQ(number, 7);
  WriteFile("A.TMP", drawtest::Bytes({Rec(11, 0, 0, -2), Rec(10, 5, 0), Rec(10, 5, 5), Rec(10, 0, 0)}));
  EXPECT_EQ(ClassifyContoursInFile("A.TMP", 0, number), kClassClosed);
  EXPECT_EQ(number, -2);
  WriteFile("A.TMP", drawtest::Bytes({Rec(11, 0, 0), Rec(10, 5, 0), Rec(11, 0, 0), Rec(10, 5, 0), Rec(10, 0, 0.0005f)}));
  EXPECT_EQ(ClassifyContoursInFile("A.TMP", 0, number), kClassClosed | kClassOpen);
}

TEST_F(PropertyStoreTest, AssigningNumbersEveryContourAndKeepsValidOnes) {
  WriteFile("EIGENSCH.TMP", "#000004\r\nBOHRUN 1\r\n");
  WriteFile("A.TMP", drawtest::Bytes({Rec(11, 0, 0, 0), Rec(10, 1, 0), Rec(11, 0, 0, -1002), Rec(10, 1, 0),
                                      Rec(11, 0, 0, -33000), Rec(10, 1, 0)}));
  WriteFile("ROSICH.TMR", "relief");
  AssignPropertiesToContours("A.TMP", "TASCHE", "1.5", true);
  auto records = drawtest::Records(ReadFile("A.TMP"));
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(float(records[0].z), -1005);
  EXPECT_EQ(float(records[2].z), -1002);
  EXPECT_EQ(float(records[4].z), -1006);
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"),
            "#000004\r\nBOHRUN 1\r\n#000005\r\nTASCHE 1.5\r\n#000002\r\nTASCHE 1.5\r\n#000006\r\nTASCHE 1.5\r\n");
  EXPECT_EQ(ReadFile("RO000005.TMR"), "relief");  // the first contour gets the work copy
  EXPECT_FALSE(Exists("RO000002.TMR"));
  EXPECT_FALSE(Exists("ROSICH.TMR"));
}

}  // namespace
