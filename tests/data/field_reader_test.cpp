#include "data/field_reader.h"

#include <gtest/gtest.h>

namespace quort {
namespace {

// Numbers and text fields share one reader; a number owns the separator behind it.
TEST(FieldReader, NumbersThenFieldsReadLikeTheFilesAreWritten) {
  FieldReader reader("362, 3 ,4\r\n  5A MR\r\n\"a,b\" rest,x\ty\r\nlast");
  EXPECT_EQ(reader.readInteger(), 362);
  EXPECT_EQ(reader.readInteger(), 3);
  EXPECT_EQ(reader.readInteger(), 4);
  EXPECT_EQ(reader.readField(), "5A MR");
  EXPECT_EQ(reader.readField(), "a,b");
  EXPECT_EQ(reader.readField(), "xy");
  EXPECT_EQ(reader.readField(), "last");
  EXPECT_FALSE(reader.readField());
  EXPECT_FALSE(reader.readNumber());
}

// 0x1A ends the file wherever it stands; an empty line is an empty field.
TEST(FieldReader, EndOfFileByteAndEmptyLines) {
  FieldReader reader(
      "1\r\n\r\nzwei\r\n\x1A"
      "drei\r\n");
  EXPECT_EQ(reader.readNumber(), 1.0);
  EXPECT_EQ(reader.readField(), "");
  EXPECT_EQ(reader.readLine(), "zwei");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_FALSE(reader.readLine());
}

// Non-numeric tokens read as their numeric prefix instead of failing the whole file.
TEST(FieldReader, OddNumberTokens) {
  FieldReader reader(".75,-2.5,12abc,abc,+4");
  EXPECT_DOUBLE_EQ(*reader.readNumber(), 0.75);
  EXPECT_DOUBLE_EQ(*reader.readNumber(), -2.5);
  EXPECT_DOUBLE_EQ(*reader.readNumber(), 12);
  EXPECT_DOUBLE_EQ(*reader.readNumber(), 0);
  EXPECT_DOUBLE_EQ(*reader.readNumber(), 4);
}

// Options are written in their shortest form, the way existing files hold them.
TEST(FieldReader, SinglesAreWrittenInShortestForm) {
  EXPECT_EQ(formatSingle(20), "20");
  EXPECT_EQ(formatSingle(0.75F), "0.75");
  EXPECT_EQ(formatSingle(-0.5F), "-0.5");
  EXPECT_EQ(formatSingle(0.01152882F), "0.01152882");
  EXPECT_EQ(formatSingle(1.25F), "1.25");
  EXPECT_EQ(formatSingle(0.1F), "0.1");
  EXPECT_EQ(formatSingle(100), "100");
  EXPECT_EQ(formatSingle(1234567), "1234567");
  EXPECT_EQ(formatSingle(33.33333F), "33.33333");
  EXPECT_EQ(formatSingle(0), "0");
  for (const float value : {0.01F, 2.5F, 99.99F, 0.3333333F}) {
    const std::string text = formatSingle(value);
    FieldReader reader(text);
    EXPECT_FLOAT_EQ(static_cast<float>(*reader.readNumber()), value);
  }
}

}  // namespace
}  // namespace quort
