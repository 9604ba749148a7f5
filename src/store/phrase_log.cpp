#include "store/phrase_log.h"

namespace holvan {

bool PhraseLog::Contains(std::string_view line) const {
  for (const NarrowText& entry : entries_.entries()) {
    if (entry == line) return true;
  }
  return false;
}

void PhraseLog::Add(NarrowText line) { entries_.Add(std::move(line)); }

void PhraseLog::Clear() { entries_.Clear(); }

void PhraseLog::LoadFromFile(const NarrowText& path) {
  entries_.LoadFromFile(path);
}

}  // namespace holvan
