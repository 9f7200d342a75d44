// TCleanupEntry on Windows. No console control handler yet: Ctrl+C ends the converter at once,
// and a temporary file beside the target may stay behind.
#include "io/cleanup.h"

namespace tarvola::io {

void InstallSignalCleanup() {}

}  // namespace tarvola::io
