#pragma once

namespace tarvola::io {

// Whether a conversion may start threads of its own (to read ahead, to compress) beside the one
// it runs on: yes when it runs alone, no when several run at once and keep the processors busy.
enum class THelperThreads { Allowed, None };

}  // namespace tarvola::io
