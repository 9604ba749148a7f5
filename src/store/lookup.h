#pragma once

namespace holvan {

/// How a store answers its lookups: through indexes kept beside its lists, or
/// by scanning the lists from the first entry. The scans are the plain form
/// the indexes must always agree with; tests and benchmarks compare the two.
enum class Lookup { kIndexed, kScan };

/// Runs change on a store's indexes (a Build or an Insert). When it fails
/// (out of RAM), the indexes are dropped and the store scans from then on,
/// which always answers right; the failure goes on.
template <typename Indexes, typename Change>
void ChangeIndexes(Lookup& lookup, Indexes& indexes, Change change) {
  try {
    change();
  } catch (...) {
    lookup = Lookup::kScan;
    indexes.Clear();
    throw;
  }
}

}  // namespace holvan
