#pragma once

#include <string>
#include <string_view>

namespace tarvola::gps {

// XML 1.0 cannot carry the C0 control characters, but GPS devices write them into names and
// descriptions, and such files have always loaded. They reach expat as the noncharacters
// U+FDD1 to U+FDEF, which it accepts, and come back in the values. A noncharacter of that range
// in the file itself is marked by a U+FDD0 before it, so that it comes back as itself.

// Masks the control characters and marks the noncharacters of `text`; false when it had none
// (and is unchanged).
bool MaskControls(std::string& text);
// Turns masked characters back into the control characters they stand for, and marked
// noncharacters into themselves.
void UnmaskControls(std::string& text);

}  // namespace tarvola::gps
