#include "kml/gpx_to_kml.h"

#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_file.h"
#include "gps/text_source.h"
#include "kml/kml_streamer.h"

namespace tarvola::kml {

namespace {

gps::TLoadResult Stream(gps::TTextSource& source, const TExportOptions& options,
                        std::string_view created, TDocumentOutput& output, TKindOrder order,
                        std::string& reason) {
  TKmlStreamer streamer(options, created, output.Sink(), order);
  const gps::TLoadResult result = gps::ParseGpxText(source, streamer, reason);
  if (result == gps::TLoadResult::Loaded) streamer.Finish();
  return result;
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
          try {
            conversion.Loaded = Stream(source, options, created, output, TKindOrder::AsRead,
                                       conversion.Reason);
          } catch (const EOutOfOrder&) {
            if (!source.Rewind()) throw;
            output.Restart();
            conversion.Loaded = Stream(source, options, created, output, TKindOrder::Later,
                                       conversion.Reason);
          }
        } catch (const std::bad_alloc&) {
          conversion.Loaded = gps::TLoadResult::NotGpx;
          conversion.Reason = "not enough memory to load the file";
        }
        return conversion.Loaded == gps::TLoadResult::Loaded;
      },
      target, type);
  return conversion;
}

}  // namespace tarvola::kml
