#include "desktop/safe_url.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::desktop {
namespace {

struct TUrlRow {
  const char* Name;
  const char* Address;
  const char* Expected;  // nullptr: refused
};

class SafeWebAddressTest : public testing::TestWithParam<TUrlRow> {};

TEST_P(SafeWebAddressTest, EncodesOrRefuses) {
  auto result = SafeWebAddress(GetParam().Address);
  if (GetParam().Expected == nullptr) {
    EXPECT_FALSE(result.has_value()) << *result;
  } else {
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, GetParam().Expected);
  }
}

const TUrlRow UrlRows[] = {
    {"PlainHttp", "http://example.org/page.html", "http://example.org/page.html"},
    {"HttpsWithQuery", "https://example.org/a?b=1&c=2#top", "https://example.org/a?b=1&c=2#top"},
    {"SchemeInCapitals", "HTTPS://Example.org/", "HTTPS://Example.org/"},
    {"QuoteCannotEndTheArgument", "http://x.org/\" --new-window \"file:///etc", "http://x.org/%22%20--new-window%20%22file:///etc"},
    {"BlankEncoded", "http://x.org/a b", "http://x.org/a%20b"},
    {"ControlCharacters", "http://x.org/a\tb\nc\x7f", "http://x.org/a%09b%0Ac%7F"},
    {"ForbiddenPunctuation", "http://x.org/<>\\^`{|}", "http://x.org/%3C%3E%5C%5E%60%7B%7C%7D"},
    {"ExistingEscapesKept", "http://x.org/a%20b%2f", "http://x.org/a%20b%2f"},
    {"LonePercentEncoded", "http://x.org/100%", "http://x.org/100%25"},
    {"BrokenEscapeEncoded", "http://x.org/%zz", "http://x.org/%25zz"},
    {"NonAsciiAsUtf8Bytes", "http://x.org/\xc3\xa9t\xc3\xa9", "http://x.org/%C3%A9t%C3%A9"},
    {"ReservedCharactersKept", "http://u:p@x.org:8080/[a]!$'()*+,;=~", "http://u:p@x.org:8080/[a]!$'()*+,;=~"},
    {"OuterBlanksTrimmed", "  http://x.org/ \r\n", "http://x.org/"},
    {"FileRefused", "file:///etc/passwd", nullptr},
    {"ScriptRefused", "javascript:alert(1)", nullptr},
    {"OtherSchemeRefused", "ftp://x.org/", nullptr},
    {"NoSchemeRefused", "x.org/page", nullptr},
    {"PathLikeRefused", "C:\\pages\\index.htm", nullptr},
    {"SchemeWithoutSlashesRefused", "http:x.org", nullptr},
    {"EmptyHostRefused", "http:///etc/passwd", nullptr},
    {"EmptyRefused", "", nullptr},
    {"OptionLikeRefused", "--help", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Rows, SafeWebAddressTest, testing::ValuesIn(UrlRows),
                         test::TRowName());

}  // namespace
}  // namespace tarvola::desktop
