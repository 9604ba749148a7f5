#pragma once

namespace holvan {

/// How a store answers its lookups: through indexes kept beside its lists, or
/// by scanning the lists from the first entry. The scans are the plain form
/// the indexes must always agree with; tests and benchmarks compare the two.
enum class Lookup { kIndexed, kScan };

}  // namespace holvan
