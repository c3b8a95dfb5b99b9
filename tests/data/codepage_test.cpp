#include "data/codepage.h"

#include <gtest/gtest.h>

namespace quort {
namespace {

TEST(Codepage, DosTextBecomesWindowsUmlautsAndAsciiFrames) {
  EXPECT_EQ(ToWindowsText("\x84\x8E\x94\x99\x9A\xE1\x81\xA3"), "\xE4\xC4\xF6\xD6\xDC\xDF\xFC\xFC");
  EXPECT_EQ(ToWindowsText("\xC4\xCD\xD6\xF9\xB1\xBDZeile\xFF\r\n"), "--! \xB1\xBDZeile\r\n");
  int frameBytes = 0;
  for (int byte = 0x80; byte < 256; ++byte) {
    frameBytes += ToWindowsText(std::string(1, static_cast<char>(byte))) == "!";
  }
  EXPECT_EQ(frameBytes, 39);
}

TEST(Codepage, DosTextMarksLineBreaksAndKeepsUmlautsRecoverable) {
  EXPECT_EQ(ToDosText("a\r\nb"), "a\xFF\r\nb");
  EXPECT_EQ(ToDosText("\xFC\xE4\xC4\xF6\xD6\xDC\xDF"), "\xA3\x84\x8E\x94\x99\x9A\xE1");
  const std::string text =
      "Gr\xFC\xDF"
      "e\r\n\xC4rger \xFC"
      "ber \xD6l\r\n";
  EXPECT_EQ(ToWindowsText(ToDosText(text)), text);
}

TEST(Codepage, PrinterPrefixIsRemovedOnlyWhenItReachesPositionTen) {
  int position = -1;
  EXPECT_EQ(StripPrinterPrefix("\x1B"
                               "abc\x1BText\xFF",
                               position),
            "\x1B"
            "abc\x1BText");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(StripPrinterPrefix("\x1B"
                               "abcdefgh\x1BText",
                               position),
            "Text");
  EXPECT_EQ(position, 10);
  EXPECT_EQ(StripPrinterPrefix("\x1B"
                               "abcdefg\x1B",
                               position),
            "\x1B"
            "abcdefg\x1B");
  EXPECT_EQ(position, 9);
  EXPECT_EQ(StripPrinterPrefix("x\x1B"
                               "abcdefghijk\x1B",
                               position),
            "x\x1B"
            "abcdefghijk\x1B");
  EXPECT_EQ(position, 0);
}

TEST(Codepage, ReplaceAllRepeatsUntilNothingIsLeftToReplace) {
  EXPECT_EQ(ReplaceAll("  a     b  ", "  ", " "), " a b ");
  EXPECT_EQ(ReplaceAll("aaab", "ab", "b"), "b");  // each replacement makes a new match earlier
  EXPECT_EQ(ReplaceAll("aab", "ab", "bba"), "bbbbaa");
  EXPECT_EQ(ReplaceAll("a b", "", "x"), "a b");
  EXPECT_EQ(ReplaceAll("a b c", " ", "  "), "a  b  c");  // would grow forever if repeated
}

TEST(Codepage, Utf8ConversionKeepsEveryWindowsByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  EXPECT_EQ(cp1252ToUtf8("\x80\x9F\xFC\x81"), "\xE2\x82\xAC\xC5\xB8\xC3\xBC\xC2\x81");
  EXPECT_EQ(utf8ToCp1252("\xE2\x80\x9E\xE2\x80\x9C"), "\x84\x93");
}

TEST(Codepage, MalformedOrForeignUtf8BecomesQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("a\xFF"
                         "b"),
            "a?b");
  EXPECT_EQ(utf8ToCp1252("\xE2\x82"
                         "A\xC3"),
            "?A?");                           // cut-off sequences
  EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");  // overlong slash
  EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD\xF0\x9F\x98\x80\xC2\x80"), "???");
  for (int pair = 0x8000; pair < 0x10000; ++pair) {
    const std::string garbage{static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
    EXPECT_LE(utf8ToCp1252(garbage).size(), 2u);
  }
}

}  // namespace
}  // namespace quort
