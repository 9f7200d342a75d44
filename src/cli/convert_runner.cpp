#include "convert_runner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "failure_line.h"
#include "gps/gpx_parser.h"
#include "gps/gpx_reader.h"
#include "info_report.h"
#include "io/stream.h"
#include "io/system_text.h"
#include "kml/gpx_to_kml.h"
#include "standard_streams.h"

namespace tarvola::cli {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

namespace {

constexpr auto ProgressDelay = std::chrono::seconds(1);
constexpr auto ProgressTick = std::chrono::milliseconds(200);

std::string MessageLine(std::string_view input, std::string_view text, std::string_view reason = {}) {
  std::string line(input);
  line.append(": ");
  line.append(text);
  if (!reason.empty() && !text.ends_with(reason)) {
    line.append(": ");
    line.append(reason);
  }
  line.push_back('\n');
  return line;
}


unsigned JobCount(const TCliOptions& options, std::size_t inputs) {
  unsigned jobs = options.Jobs != 0 ? options.Jobs : std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::min<std::size_t>(jobs, std::max<std::size_t>(inputs, 1)));
}

void Write(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// The work shared by the converting threads and the thread that prints.
class TConversionBoard {
public:
  explicit TConversionBoard(std::size_t count)
      : FOutcomes(count), FStarted(count) {}

  std::optional<std::size_t> Take() {
    std::lock_guard lock(FMutex);
    if (FNext >= FOutcomes.size()) return std::nullopt;
    FStarted[FNext] = TClock::now();
    return FNext++;
  }

  void Finish(std::size_t index, TConversionOutcome outcome) {
    {
      std::lock_guard lock(FMutex);
      FOutcomes[index] = std::move(outcome);
    }
    FChanged.notify_all();
  }

  // Waits until input `index` is done or a tick has passed; returns its outcome when done.
  std::optional<TConversionOutcome> WaitFor(std::size_t index) {
    std::unique_lock lock(FMutex);
    FChanged.wait_for(lock, ProgressTick, [&] { return FOutcomes[index].has_value(); });
    if (!FOutcomes[index]) return std::nullopt;
    return std::move(*FOutcomes[index]);
  }

  // How long input `index` has been running (zero when it has not started).
  TClock::duration RunningFor(std::size_t index) {
    std::lock_guard lock(FMutex);
    if (!FStarted[index]) return {};
    return TClock::now() - *FStarted[index];
  }

private:
  std::mutex FMutex;
  std::condition_variable FChanged;
  std::vector<std::optional<TConversionOutcome>> FOutcomes;
  std::vector<std::optional<TClock::time_point>> FStarted;
  std::size_t FNext = 0;
};

class TProgressLine {
public:
  TProgressLine(std::FILE* err, bool enabled) : FErr(err), FEnabled(enabled) {}

  void Show(std::string_view input, std::size_t done, std::size_t total) {
    if (!FEnabled) return;
    std::string line = "\r\033[K";
    line.append(input);
    line.append(": converting... (");
    line.append(std::to_string(done));
    line.append(" of ");
    line.append(std::to_string(total));
    line.append(" done)");
    Write(FErr, line);
    FVisible = true;
  }

  void Clear() {
    if (!FVisible) return;
    Write(FErr, "\r\033[K");
    FVisible = false;
  }

private:
  std::FILE* FErr;
  bool FEnabled;
  bool FVisible = false;
};

// A failure on the output side names the output, unless its reason does already.
std::string OutputReason(const TPlannedConversion& plan, const std::string& reason) {
  const std::string name = plan.ToStandardOutput ? std::string("standard output") : io::PathText(plan.Output);
  if (!plan.ToStandardOutput && reason.find(io::PathText(plan.Output.filename())) != std::string::npos) return reason;
  return name + ": " + reason;
}

kml::TConversion ConvertInput(const TPlannedConversion& plan, const TCliOptions& options,
                              io::THelperThreads helpers) {
  kml::TSaveSettings settings;
  settings.Helpers = helpers;
  settings.KeepExisting = options.NoClobber && !plan.ToStandardOutput;
  if (!plan.FromStandardInput)
    return kml::ConvertGpxFile(plan.Input, options.Export, plan.Output, plan.Type, settings);
  kml::TConversion conversion;
  gps::TTextSource source;
  const gps::TTextOpenResult opened = source.OpenStream(BinaryStandardInput(), StandardInputName);
  if (opened.Code != gps::TTextOpen::Opened) {
    conversion.Loaded = gps::OpenFailure(opened);
    return conversion;
  }
  return kml::ConvertGpxSource(source, options.Export, plan.Output, plan.Type, settings);
}

}  // namespace

TConversionOutcome ConvertOne(const TPlannedConversion& plan, const TCliOptions& options,
                              io::THelperThreads helpers) {
  TConversionOutcome outcome;
  std::uint64_t leftOut = 0;
  if (!plan.Refusal.empty()) {
    outcome.Messages = FailureLine(plan.InputText, plan.Refusal);
    return outcome;
  }
  try {
    const kml::TConversion conversion = ConvertInput(plan, options, helpers);
    leftOut = conversion.LeftOut;
    if (conversion.Loaded.Code != gps::TLoadResult::Loaded) {
      outcome.Messages =
          FailureLine(plan.InputText, gps::LoadFailureText(conversion.Loaded.Code), conversion.Loaded.Reason);
      return outcome;
    }
    if (conversion.Saved.Code != kml::TSaveResult::Saved) {
      const std::string& reason = conversion.Saved.Reason;
      outcome.Messages = FailureLine(plan.InputText, kml::SaveFailureText(conversion.Saved.Code),
                                     conversion.Saved.Code == kml::TSaveResult::WriteFailed ? OutputReason(plan, reason) : reason);
      return outcome;
    }
  } catch (const std::exception& error) {
    outcome.Messages = FailureLine(plan.InputText, error.what());
    return outcome;
  }
  outcome.Converted = true;
  if (leftOut != 0) {
    outcome.Messages = MessageLine(plan.InputText, std::to_string(leftOut) + (leftOut == 1 ? " point" : " points") +
                                                       " left out of the lines: lat or lon is not a number in range");
  }
  if (!options.Quiet) outcome.Messages += MessageLine(plan.InputText, "saved " + io::PathText(plan.Output));
  return outcome;
}

int RunConversions(const TCliOptions& options, std::FILE* err, bool showProgress) {
  const std::vector<TPlannedConversion> plans = PlanConversions(options);
  if (plans.size() == 1 && (plans.front().FromStandardInput || plans.front().ToStandardOutput)) {
    return ConvertThroughStandardStreams(plans.front(), options, err);
  }
  TConversionBoard board(plans.size());
  std::vector<std::jthread> workers;
  const unsigned jobs = JobCount(options, plans.size());
  const io::THelperThreads helpers = jobs > 1 ? io::THelperThreads::None : io::THelperThreads::Allowed;
  for (unsigned i = 0; i < jobs; ++i) {
    workers.emplace_back([&] {
      while (const std::optional<std::size_t> index = board.Take()) {
        board.Finish(*index, ConvertOne(plans[*index], options, helpers));
      }
    });
  }

  TProgressLine progress(err, showProgress && !options.Quiet);
  bool allConverted = true;
  for (std::size_t index = 0; index < plans.size();) {
    std::optional<TConversionOutcome> outcome = board.WaitFor(index);
    if (!outcome) {
      if (board.RunningFor(index) > ProgressDelay) {
        progress.Show(plans[index].InputText, index, plans.size());
      }
      continue;
    }
    progress.Clear();
    Write(err, outcome->Messages);
    allConverted = allConverted && outcome->Converted;
    ++index;
  }
  return allConverted ? 0 : 1;
}

int RunInfo(const TCliOptions& options, std::FILE* out, std::FILE* err) {
  bool allLoaded = true;
  for (const std::string& input : options.Inputs) {
    TGpsSummary summary;
    const bool fromStandardInput = input == StandardStream;
    const gps::TLoadOutcome outcome =
        fromStandardInput ? SummarizeGpxStream(BinaryStandardInput(), StandardInputName, summary)
                          : SummarizeGpxFile(io::PathFromText(input), summary);
    const std::string_view name = fromStandardInput ? StandardInputName : std::string_view(input);
    if (outcome.Code == gps::TLoadResult::Loaded) {
      Write(out, InfoReport(name, summary));
    } else {
      allLoaded = false;
      Write(err, FailureLine(name, gps::LoadFailureText(outcome.Code), outcome.Reason));
    }
  }
  return allLoaded ? 0 : 1;
}

}  // namespace tarvola::cli
