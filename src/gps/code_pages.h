#pragma once

#include <string_view>

namespace tarvola::gps {

// The single-byte code pages an old GPX file may be written in, for the files that are not
// valid UTF-8.
enum class TSingleByteCode { Latin1, Latin2, Latin9, Windows1250, Windows1251, Windows1252 };

// The code page an XML encoding label names (letter case ignored by the caller: pass it
// lower-cased); Windows-1252, the usual one of such files, for any label we do not know.
TSingleByteCode SingleByteCodeFor(std::string_view label);

// The character of one byte in the code page. Bytes a Windows code page leaves undefined map to
// the C1 control of the same value, as the system's own conversion does.
char32_t SingleByteCharacter(TSingleByteCode code, unsigned char byte);

}  // namespace tarvola::gps
