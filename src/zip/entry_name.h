#pragma once

#include <filesystem>
#include <string>

namespace tarvola::zip {

// The archive entry name of a source: its final path component (after the last '/', '\\' or ':'),
// in code page 437, the one ZIP readers assume when the UTF-8 flag is clear. Characters that
// page cannot hold, and bytes that are not UTF-8, become '_'.
std::string EntryNameOf(const std::filesystem::path& source);

}  // namespace tarvola::zip
