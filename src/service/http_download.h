#pragma once

#include <functional>

#include "service/work_thread.h"

namespace tarvola::service {

// Runs one GET of info.Url through info.Proxy on the calling thread, streaming the body
// into info.FileName, polling every 10 ms. Returns an outcome code (0 to 4); on any
// outcome but success the target file is gone afterwards.
int DownloadToFile(const TWorkInfo& info, const std::function<bool()>& stopRequested);

}  // namespace tarvola::service
