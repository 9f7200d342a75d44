#include "kml/gpx_to_kml.h"

#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_file.h"
#include "gps/text_source.h"
#include "kml/kml_streamer.h"

namespace tarvola::kml {

namespace {

struct TPass {
  TKindOrder Order = TKindOrder::AsRead;
  bool Lenient = false;
};

gps::TLoadResult Stream(gps::TTextSource& source, const TExportOptions& options,
                        std::string_view created, TDocumentOutput& output, TPass pass,
                        std::string& reason) {
  TKmlStreamer streamer(options, created, output.Sink(), pass.Order);
  const gps::TLoadResult result = gps::ParseGpxText(source, streamer, reason, pass.Lenient);
  if (result == gps::TLoadResult::Loaded) streamer.Finish();
  return result;
}

// Reads the file into the output, again from the start whenever a pass finds that it must be
// read otherwise: its kinds out of order, or XML that only a lenient reading takes.
gps::TLoadResult StreamAll(gps::TTextSource& source, const TExportOptions& options,
                           std::string_view created, TDocumentOutput& output, std::string& reason) {
  TPass pass;
  std::string strictReason;
  for (;;) {
    try {
      const gps::TLoadResult result = Stream(source, options, created, output, pass, reason);
      if (result != gps::TLoadResult::Loaded && pass.Lenient) reason = strictReason;
      return result;
    } catch (const EOutOfOrder&) {
      pass.Order = TKindOrder::Later;
    } catch (const gps::ERetryLenient& retry) {
      pass.Lenient = true;
      strictReason = retry.Reason;
    }
    if (!source.Rewind()) {
      reason = source.Error().message();
      return gps::TLoadResult::CannotOpen;
    }
    output.Restart();
  }
}

}  // namespace

TConversion ConvertGpxFile(const std::filesystem::path& input, const TExportOptions& options,
                           const std::filesystem::path& target, TKmlFileType type) {
  TConversion conversion;
  gps::TTextSource source;
  std::error_code error;
  const int code = source.Open(input, error);
  if (code == gps::TextFileEncodingNotSupported) {
    conversion.Loaded = gps::TLoadResult::EncodingNotSupported;
    conversion.Reason = "UTF-32 text in big-endian byte order";
    return conversion;
  }
  if (code != gps::TextFileRead) {
    conversion.Reason = error.message();
    return conversion;
  }
  const std::string created = CreatedNowText();
  conversion.Saved = SaveKmlDocument(
      [&](TDocumentOutput& output) {
        try {
          conversion.Loaded = StreamAll(source, options, created, output, conversion.Reason);
        } catch (const std::bad_alloc&) {
          conversion.Loaded = gps::TLoadResult::NotGpx;
          conversion.Reason = "not enough memory to load the file";
        }
        return conversion.Loaded == gps::TLoadResult::Loaded;
      },
      target, type, conversion.Reason);
  return conversion;
}

}  // namespace tarvola::kml
