#include "kml/gpx_to_kml.h"

#include <ctime>
#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_source.h"
#include "kml/document_streamer.h"
#include "zip/dos_time.h"
#include "io/stream.h"
#include "zip/zip_stream_writer.h"

namespace tarvola::kml {

namespace {

// Reads the source once, writing the document into the sink as it goes; out of memory is a
// failed load of its own kind, not a crash. What the sink or the held text raise passes on as
// a failed save: the input is not at fault then, so the load counts as done.
bool StreamInto(gps::TTextSource& source, const TExportOptions& options, std::string_view created,
                TKmlSink& sink, TConversion& conversion, io::THelperThreads helpers = io::THelperThreads::Allowed) {
  conversion.Loaded = {gps::TLoadResult::Loaded, source.Name(), {}};
  try {
    const auto streamer = MakeDocumentStreamer(options, created, sink, TKindOrder::AnyOrder);
    conversion.Loaded = gps::ParseGpxText(source, *streamer, helpers);
    if (conversion.Loaded.Code == gps::TLoadResult::Loaded) streamer->Finish();
    conversion.LeftOut = streamer->LeftOut();
  } catch (const std::bad_alloc&) {
    conversion.Loaded = gps::MemoryFailure(source);
  }
  return conversion.Loaded.Code == gps::TLoadResult::Loaded;
}

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

bool Opened(const gps::TTextOpenResult& opened, TConversion& conversion) {
  if (opened.Code == gps::TTextOpen::Opened) return true;
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
  TTextSink output;
  if (!StreamInto(source, options, createdText, output, conversion)) return conversion;
  conversion.Saved = {TSaveResult::Saved, {}, {}};
  if (type == TKmlFileType::Kml) {
    document = std::move(output.Text);
  } else if (!PackInMemory(std::move(output.Text), document)) {
    conversion.Saved.Code = TSaveResult::PackFailed;
  }
  return conversion;
}

TConversion ConvertGpxFile(const std::filesystem::path& input, const TExportOptions& options,
                           const std::filesystem::path& target, TKmlFileType type, const TSaveSettings& settings) {
  TConversion conversion;
  gps::TTextSource source;
  if (!Opened(source.Open(input), conversion)) return conversion;
  return ConvertGpxSource(source, options, target, type, settings);
}

TConversion ConvertGpxSource(gps::TTextSource& source, const TExportOptions& options,
                             const std::filesystem::path& target, TKmlFileType type, const TSaveSettings& settings) {
  TConversion conversion;
  const std::string created = CreatedNowText();
  conversion.Saved = SaveKmlDocument(
      [&](TKmlSink& sink) { return StreamInto(source, options, created, sink, conversion, settings.Helpers); },
      target, type, settings);
  return conversion;
}

}  // namespace tarvola::kml
