#include "plexaro/ui/integer_text.h"

#include <gtest/gtest.h>

namespace plexaro {
namespace {

TEST(ConvertInteger, DecimalAndHexadecimalText) {
  struct Case {
    const char* text;
    std::optional<int32_t> expected;
    const char* why;
  };
  const Case cases[] = {
      {"50", 50, "plain decimal"},
      {"  7", 7, "leading blanks"},
      {"-12", -12, "a sign"},
      {"+3", 3, "a plus sign"},
      {"$12", 18, "dollar: hexadecimal"},
      {"x1f", 31, "x: hexadecimal"},
      {"0X1F", 31, "0X: hexadecimal"},
      {"-$10", -16, "a sign before the hex prefix"},
      {"$FFFFFFFF", -1, "hex may use all 32 bits"},
      {"2147483647", 2147483647, "the largest decimal"},
      {"-2147483648", INT32_MIN, "the smallest decimal"},
      {"2147483648", std::nullopt, "beyond 32 bits"},
      {"$100000000", std::nullopt, "hex beyond 32 bits"},
      {"", std::nullopt, "empty"},
      {" ", std::nullopt, "blank"},
      {"12 ", std::nullopt, "a trailing blank"},
      {"1.5", std::nullopt, "a point"},
      {"abc", std::nullopt, "letters"},
      {"$", std::nullopt, "a prefix without digits"},
      {"0x", std::nullopt, "0x without digits"},
      {"$g", std::nullopt, "not a hex digit"},
      {"- 5", std::nullopt, "a blank after the sign"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(convertInteger(c.text), c.expected) << "'" << c.text << "'";
  }
}

TEST(NotAnIntegerMessage, QuotesTheText) {
  EXPECT_EQ(notAnIntegerMessage("abc"), "'abc' is not a valid integer value");
  EXPECT_EQ(notAnIntegerMessage(""), "'' is not a valid integer value");
}

TEST(UpperCaseAscii, ChangesOnlyTheLettersAToZ) {
  EXPECT_EQ(upperCaseAscii("u3.5 r_a-z\xe9"), "U3.5 R_A-Z\xe9");
}

}  // namespace
}  // namespace plexaro
