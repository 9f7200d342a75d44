#pragma once

#include <string>
#include <string_view>

namespace tarvola::gps {

// XML 1.0 cannot carry the C0 control characters, but GPS devices write them into names and
// descriptions, and such files have always loaded. They reach expat as the noncharacters
// U+FDD0 to U+FDEF, which it accepts, and come back in the values.

// Masks the control characters of `text`; false when it had none (and is unchanged).
bool MaskControls(std::string& text);
// Turns masked characters back into the control characters they stand for.
void UnmaskControls(std::string& text);

}  // namespace tarvola::gps
