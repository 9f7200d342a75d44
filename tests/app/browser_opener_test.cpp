#include "app/browser_opener.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::app {
namespace {

struct TRefusedRow {
  const char* Name;
  const char* Address;
};

void PrintTo(const TRefusedRow& row, std::ostream* os) { *os << row.Name; }

class BrowserOpenerTest : public ::testing::TestWithParam<TRefusedRow> {};

// Addresses from the service document get no further than the opener's own checks.
TEST_P(BrowserOpenerTest, RefusesWhatIsNoWebAddress) {
  EXPECT_FALSE(BrowserOpener()(QString::fromUtf8(GetParam().Address)));
}

INSTANTIATE_TEST_SUITE_P(Addresses, BrowserOpenerTest,
                         ::testing::Values(TRefusedRow{"Empty", ""}, TRefusedRow{"File", "file:///etc/passwd"},
                                           TRefusedRow{"Script", "javascript:alert(1)"},
                                           TRefusedRow{"Ftp", "ftp://127.0.0.1/x"},
                                           TRefusedRow{"Path", "/usr/bin/xterm"}),
                         test::TRowName());

}  // namespace
}  // namespace tarvola::app
