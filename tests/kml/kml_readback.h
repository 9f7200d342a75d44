#pragma once

// Reads KML and KMZ files back with Python's xml.etree and zipfile (readers that are not
// ours) through tests/kml/data/kml_summary.py, run as a child process.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "process_runner.h"
#include "test_support.h"

// For a test that reads files back this way: skips it when there is no python3.
#define TARVOLA_REQUIRE_KML_READBACK() \
  TARVOLA_REQUIRE_TOOL(Python3, "files are read back with its xml.etree and zipfile modules")

namespace tarvola::test {

struct TKmlReadback {
  std::string Error;  // empty: the file was read
  bool Declaration = false;
  bool Layout = false;  // one element per line, two-space indentation, LF line ends
  std::string Root;
  std::vector<std::string> Entries;  // KMZ only
  bool Deflated = false;
  std::vector<std::string> Names;         // one per placemark, in document order
  std::vector<std::string> Descriptions;  // of the placemarks that have one
  std::vector<std::string> Coordinates;   // every coordinates text, in document order
  std::size_t Placemarks = 0;
  std::size_t Triples = 0;
  std::string Folders;  // the names of Document's folders, blank-separated
};

inline std::string FromHex(const std::string& hex) {
  if (hex == "-") return {};
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

inline void ApplyReadbackLine(TKmlReadback& file, const std::string& key, const std::string& value) {
  if (key == "error") file.Error = value.empty() ? "unknown error" : value;
  if (key == "declaration") file.Declaration = value == "1";
  if (key == "layout") file.Layout = value == "1";
  if (key == "root") file.Root = value;
  if (key == "deflated") file.Deflated = value == "1";
  if (key == "name") file.Names.push_back(FromHex(value));
  if (key == "description") file.Descriptions.push_back(FromHex(value));
  if (key == "coordinates") file.Coordinates.push_back(FromHex(value));
  if (key == "placemarks") file.Placemarks = std::stoul(value);
  if (key == "triples") file.Triples = std::stoul(value);
  if (key == "folders") file.Folders = value == "-" ? "" : value;
  if (key == "entries") {
    std::istringstream names(value);
    for (std::string name; names >> name;) file.Entries.push_back(name);
  }
}

inline std::vector<TKmlReadback> ReadBackKml(const std::vector<std::filesystem::path>& files) {
  std::vector<std::string> args = {(SourceDir() / "tests/kml/data/kml_summary.py").string()};
  for (const auto& file : files) args.push_back(file.string());
  const std::string output = RunProcess(Python3Program(), args).Out;
  std::vector<TKmlReadback> result;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
    if (key == "file") {
      result.emplace_back();
    } else if (!result.empty() && key != "end") {
      ApplyReadbackLine(result.back(), key, value);
    }
  }
  return result;
}

inline TKmlReadback ReadBackKml(const std::filesystem::path& file) {
  std::vector<TKmlReadback> all = ReadBackKml(std::vector<std::filesystem::path>{file});
  if (all.empty()) {
    TKmlReadback failed;
    failed.Error = "python3 gave no answer";
    return failed;
  }
  return all.front();
}

}  // namespace tarvola::test
