#pragma once

// The table behind TCleanupEntry, read by the platform's signal handlers: fixed storage and
// lock-free states, as a handler may neither allocate nor wait.

#include <atomic>
#include <cstddef>
#include <filesystem>

namespace tarvola::io {

inline constexpr int CleanupSlots = 64;
inline constexpr std::size_t CleanupPathLength = 4096;

enum TSlotState { SlotFree, SlotFilling, SlotFile, SlotFolder };

struct TCleanupSlot {
  std::atomic<int> State{SlotFree};
  std::filesystem::path::value_type Path[CleanupPathLength];
};

extern TCleanupSlot CleanupTable[CleanupSlots];

}  // namespace tarvola::io
