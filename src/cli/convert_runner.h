#pragma once

#include <cstdio>
#include <string>

#include "cli_options.h"
#include "io/helper_threads.h"
#include "output_plan.h"

namespace tarvola::cli {

struct TConversionOutcome {
  bool Converted = false;
  std::string Messages;  // lines for stderr, each prefixed with the input's name
};

// Loads one input and writes its output; never throws. `helpers`: whether the conversion may
// read ahead and compress on threads of its own.
TConversionOutcome ConvertOne(const TPlannedConversion& plan, const TCliOptions& options,
                              io::THelperThreads helpers = io::THelperThreads::Allowed);

// Converts every input on up to options.Jobs threads (one thread per conversion when several
// run at once; a conversion alone reads ahead and compresses on a thread each) and prints each input's messages to
// `err` in input order. `showProgress`: draw a progress line for inputs that run long.
// Returns the exit code: 0 when every input was converted, 1 otherwise.
int RunConversions(const TCliOptions& options, std::FILE* err, bool showProgress);

// --info: a report per file that loads on `out`, read as it comes and held nowhere, and a
// failure line with its reason on `err` for each that does not; 0 when every file loaded.
int RunInfo(const TCliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace tarvola::cli
