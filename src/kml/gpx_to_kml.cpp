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

gps::TLoadOutcome Stream(gps::TTextSource& source, const TExportOptions& options, std::string_view created,
                         TDocumentOutput& output, TPass pass) {
  TKmlStreamer streamer(options, created, output.Sink(), pass.Order);
  gps::TLoadOutcome outcome = gps::ParseGpxText(source, streamer, pass.Lenient);
  if (outcome.Code == gps::TLoadResult::Loaded) streamer.Finish();
  return outcome;
}

// Reads the file into the output, again from the start whenever a pass finds that it must be
// read otherwise: its kinds out of order, or XML that only a lenient reading takes.
gps::TLoadOutcome StreamAll(gps::TTextSource& source, const TExportOptions& options, std::string_view created,
                            TDocumentOutput& output) {
  TPass pass;
  std::string strictReason;
  for (;;) {
    try {
      gps::TLoadOutcome outcome = Stream(source, options, created, output, pass);
      if (outcome.Code != gps::TLoadResult::Loaded && pass.Lenient) outcome.Reason = strictReason;
      return outcome;
    } catch (const EOutOfOrder&) {
      pass.Order = TKindOrder::Later;
    } catch (const gps::ERetryLenient& retry) {
      pass.Lenient = true;
      strictReason = retry.Reason;
    }
    if (!source.Rewind()) return gps::OpenFailure(source.ReadFailure());
    output.Restart();
  }
}

// Runs StreamAll on an open source; out of memory is a failed load of its own kind, not a crash.
bool StreamInto(gps::TTextSource& source, const TExportOptions& options, std::string_view created,
                TDocumentOutput& output, TConversion& conversion) {
  try {
    conversion.Loaded = StreamAll(source, options, created, output);
  } catch (const std::bad_alloc&) {
    conversion.Loaded = gps::MemoryFailure(source);
  }
  return conversion.Loaded.Code == gps::TLoadResult::Loaded;
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

bool Opened(const gps::TTextFileResult& opened, TConversion& conversion) {
  if (opened.Code == gps::TextFileRead) return true;
  conversion.Loaded = gps::OpenFailure(opened);
  return false;
}

}  // namespace

TConversion ConvertGpxBytes(std::string_view bytes, const TExportOptions& options, TKmlFileType type,
                            std::string_view createdText, std::string& document) {
  document.clear();
  TConversion conversion;
  gps::TTextSource source;
  if (!Opened(source.OpenBytes(bytes), conversion)) return conversion;
  TTextOutput output;
  if (!StreamInto(source, options, createdText, output, conversion)) return conversion;
  conversion.Saved = {TSaveResult::Saved, {}, {}};
  if (type == TKmlFileType::Kml) {
    document = std::move(output.Text());
  } else if (!PackInMemory(std::move(output.Text()), document)) {
    conversion.Saved.Code = TSaveResult::PackFailed;
  }
  return conversion;
}

TConversion ConvertGpxFile(const std::filesystem::path& input, const TExportOptions& options,
                           const std::filesystem::path& target, TKmlFileType type) {
  TConversion conversion;
  gps::TTextSource source;
  if (!Opened(source.Open(input), conversion)) return conversion;
  const std::string created = CreatedNowText();
  conversion.Saved = SaveKmlDocument(
      [&](TDocumentOutput& output) { return StreamInto(source, options, created, output, conversion); },
      target, type);
  return conversion;
}

}  // namespace tarvola::kml
