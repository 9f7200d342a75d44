// Archives read back by readers that are not ours: Info-ZIP's unzip and Python's zipfile.

#include <gtest/gtest.h>

#include "process_runner.h"
#include "test_streams.h"
#include "test_support.h"
#include "io/file_stream.h"
#include "zip/zip_stream_writer.h"

namespace tarvola::zip {
namespace {

namespace fs = std::filesystem;
using tarvola::test::ReadFile;
using tarvola::test::RunProcess;
using tarvola::test::TProcessResult;
using tarvola::test::TTempFolder;
using tarvola::test::WriteFile;

// The scripts print what they read, so a reader that never ran cannot pass.
TEST(TZipEntryWriter, StandardReadersAcceptTheArchive) {
  TTempFolder folder;
  const std::string content = test::TextBytes(300000, 33) + "\n<\xC3\xA9>";
  WriteFile(folder.File("doc.kml"), content);
  {
    io::TFileStream file(folder.File("a.kmz"), io::TFileMode::Create);
    TZipEntryWriter writer(file, "doc.kml");
    for (std::size_t at = 0; at < content.size(); at += 70000) writer.Write(content.substr(at, 70000));
    ASSERT_TRUE(writer.Finish(0x5A3C7B21));
  }

  TARVOLA_REQUIRE_TOOL(Unzip, "the archive is tested and extracted with it");
  const TProcessResult tested = RunProcess(test::UnzipProgram(), {"-t", folder.File("a.kmz").string()});
  EXPECT_EQ(tested.ExitCode, 0) << tested.Out << tested.Err;
  EXPECT_NE(tested.Out.find("No errors detected"), std::string::npos) << tested.Out;
  const TProcessResult extracted =
      RunProcess(test::UnzipProgram(), {"-q", folder.File("a.kmz").string(), "-d", folder.File("x").string()});
  EXPECT_EQ(extracted.ExitCode, 0) << extracted.Err;
  EXPECT_EQ(ReadFile(folder.File("x") / "doc.kml"), content);

  TARVOLA_REQUIRE_TOOL(Python3, "the archive is checked field by field with its zipfile module");
  WriteFile(folder.File("check.py"),
            "import sys, zipfile, zlib\n"
            "z = zipfile.ZipFile(sys.argv[1])\n"
            "[i] = z.infolist()\n"
            "data = open(sys.argv[2], 'rb').read()\n"
            "assert i.filename == 'doc.kml', i.filename\n"
            "assert i.compress_type == zipfile.ZIP_DEFLATED\n"
            "assert i.CRC == zlib.crc32(data) and i.file_size == len(data)\n"
            "assert i.flag_bits == 0 and i.create_system == 0 and i.extract_version == 20\n"
            "assert i.internal_attr == 1 and i.external_attr == 0x20\n"
            "assert z.testzip() is None and z.read('doc.kml') == data\n"
            "print('checked', i.filename)\n");
  const TProcessResult checked = RunProcess(
      test::Python3Program(), {folder.File("check.py").string(), folder.File("a.kmz").string(), folder.File("doc.kml").string()});
  EXPECT_EQ(checked.ExitCode, 0) << checked.Err;
  EXPECT_EQ(checked.Out, "checked doc.kml\n") << checked.Err;
}

}  // namespace
}  // namespace tarvola::zip
