#include "kml/gpx_to_kml.h"

#include <ctime>
#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_file.h"
#include "gps/text_source.h"
#include "kml/kml_streamer.h"
#include "zip/dos_time.h"
#include "io/stream.h"
#include "zip/zip_stream_writer.h"

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

// Runs StreamAll on an open source; out of memory is a failed load, not a crash.
bool StreamInto(gps::TTextSource& source, const TExportOptions& options, std::string_view created,
                TDocumentOutput& output, TConversion& conversion) {
  try {
    conversion.Loaded = StreamAll(source, options, created, output, conversion.Reason);
  } catch (const std::bad_alloc&) {
    conversion.Loaded = gps::TLoadResult::NotGpx;
    conversion.Reason = "not enough memory to load the file";
  }
  return conversion.Loaded == gps::TLoadResult::Loaded;
}

// A KML document gathered in memory.
class TTextOutput : public TDocumentOutput, public TKmlSink {
public:
  TKmlSink& Sink() override { return *this; }
  void Write(std::string& text) override { FText.append(text); }
  void Restart() override { FText.clear(); }
  std::string& Text() { return FText; }

private:
  std::string FText;
};

// The one-entry package the save routine writes, built in memory.
bool PackInMemory(std::string&& kml, std::string& package) {
  io::TMemoryStream stream;
  {
    zip::TZipEntryWriter writer(stream, "doc.kml");
    writer.Write(std::move(kml));
    if (!writer.Finish(zip::DateTimeToDosStamp(zip::LocalDateTimeOf(std::time(nullptr))))) return false;
  }
  package.assign(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  return true;
}

bool Opened(int code, const std::error_code& error, TConversion& conversion) {
  if (code == gps::TextFileEncodingNotSupported) {
    conversion.Loaded = gps::TLoadResult::EncodingNotSupported;
    conversion.Reason = "UTF-32 text in big-endian byte order";
    return false;
  }
  if (code != gps::TextFileRead) {
    conversion.Reason = error.message();
    return false;
  }
  return true;
}

}  // namespace

TConversion ConvertGpxBytes(std::string_view bytes, const TExportOptions& options, TKmlFileType type,
                            std::string_view createdText, std::string& document) {
  document.clear();
  TConversion conversion;
  gps::TTextSource source;
  if (!Opened(source.OpenBytes(bytes), {}, conversion)) return conversion;
  TTextOutput output;
  if (!StreamInto(source, options, createdText, output, conversion)) return conversion;
  conversion.Saved = TSaveResult::Saved;
  if (type == TKmlFileType::Kml) {
    document = std::move(output.Text());
  } else if (!PackInMemory(std::move(output.Text()), document)) {
    conversion.Saved = TSaveResult::PackFailed;
  }
  return conversion;
}

TConversion ConvertGpxFile(const std::filesystem::path& input, const TExportOptions& options,
                           const std::filesystem::path& target, TKmlFileType type) {
  TConversion conversion;
  gps::TTextSource source;
  std::error_code error;
  const int code = source.Open(input, error);
  if (!Opened(code, error, conversion)) return conversion;
  const std::string created = CreatedNowText();
  conversion.Saved = SaveKmlDocument(
      [&](TDocumentOutput& output) { return StreamInto(source, options, created, output, conversion); },
      target, type, conversion.Reason);
  return conversion;
}

}  // namespace tarvola::kml
