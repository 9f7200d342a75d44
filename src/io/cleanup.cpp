#include "io/cleanup.h"

#include <cstring>

#include "io/cleanup_table.h"

namespace tarvola::io {

TCleanupSlot CleanupTable[CleanupSlots];

TCleanupEntry::TCleanupEntry(const std::filesystem::path& path, TKind kind) {
  const std::filesystem::path::string_type& name = path.native();
  if (name.size() >= CleanupPathLength) return;
  for (int slot = 0; slot < CleanupSlots; ++slot) {
    int expected = SlotFree;
    if (!CleanupTable[slot].State.compare_exchange_strong(expected, SlotFilling)) continue;
    std::memcpy(CleanupTable[slot].Path, name.c_str(), (name.size() + 1) * sizeof(name[0]));
    CleanupTable[slot].State.store(kind == File ? SlotFile : SlotFolder);
    FSlot = slot;
    return;
  }
}

TCleanupEntry::~TCleanupEntry() {
  if (FSlot >= 0) CleanupTable[FSlot].State.store(SlotFree);
}

}  // namespace tarvola::io
