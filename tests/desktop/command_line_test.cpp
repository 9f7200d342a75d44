#include "desktop/command_line.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::desktop {
namespace {

using TArgs = std::vector<std::string>;

struct TSplitRow {
  const char* Name;
  const char* Text;
  TArgs Expected;
};

class SplitWindowsParametersTest : public testing::TestWithParam<TSplitRow> {};

TEST_P(SplitWindowsParametersTest, Splits) {
  EXPECT_EQ(SplitWindowsParameters(GetParam().Text), GetParam().Expected);
}

const TSplitRow SplitRows[] = {
    {"Empty", "", {}},
    {"OnlyBlanks", " \t ", {}},
    {"Blanks", "a  b\tc", {"a", "b", "c"}},
    {"QuotedBlank", "\"C:\\My Files\\a.kmz\"", {"C:\\My Files\\a.kmz"}},
    {"QuoteInsideWord", "a\"b c\"d", {"ab cd"}},
    {"EmptyQuoted", "\"\" x", {"", "x"}},
    {"BackslashesBeforeText", "a\\\\b", {"a\\\\b"}},
    {"EvenBackslashesBeforeQuote", "\"a\\\\\" b", {"a\\", "b"}},
    {"OddBackslashesBeforeQuote", "a\\\"b", {"a\"b"}},
    {"TripleQuoteIsLiteral", "\"\"\"a\"\"\"", {"\"a\""}},
    {"TrailingBackslash", "\"a\\\\\"", {"a\\"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, SplitWindowsParametersTest, testing::ValuesIn(SplitRows),
                         test::TRowName());

struct TRoundTripRow {
  const char* Name;
  TArgs Arguments;
};

class WindowsQuotingRoundTripTest : public testing::TestWithParam<TRoundTripRow> {};

TEST_P(WindowsQuotingRoundTripTest, SplitGivesBackTheArguments) {
  EXPECT_EQ(SplitWindowsParameters(JoinWindowsParameters(GetParam().Arguments)), GetParam().Arguments);
}

const TRoundTripRow RoundTripRows[] = {
    {"Plain", {"--icon", "earth", "/tmp/trip.kmz"}},
    {"Blanks", {"/home/me/My Trips/a b.kmz"}},
    {"Quotes", {"say \"hi\"", "\"", "\"\""}},
    {"Backslashes", {"C:\\dir\\", "\\\\server\\share", "a\\\"b", "\\"}},
    {"Empty", {"", "x", ""}},
    {"Tabs", {"a\tb", "\t"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, WindowsQuotingRoundTripTest, testing::ValuesIn(RoundTripRows),
                         test::TRowName());

}  // namespace
}  // namespace tarvola::desktop
