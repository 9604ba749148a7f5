#pragma once

#include <future>
#include <utility>

#include "os/side_task.h"
#include "store/lookup.h"
#include "store/stop_flag.h"

namespace holvan {

/// A store's indexes, built when first used, or on a thread beside the
/// store's owner before anyone needs them (BuildBeside). Every use and every
/// change of the store settles a build beside first, so that the build never
/// reads what changes; a new load and the store's end stop it, waiting only
/// until the build notices. A build that fails leaves the store scanning,
/// which answers the same. Builds are callables build(Indexes&, const
/// StopFlag&) that index every entry of the store as it is then.
template <typename Indexes>
class IndexKeeper {
 public:
  IndexKeeper() = default;
  IndexKeeper(const IndexKeeper&) = delete;
  IndexKeeper& operator=(const IndexKeeper&) = delete;
  ~IndexKeeper() { Drop(); }
  IndexKeeper(IndexKeeper&& other) { *this = std::move(other); }
  /// Takes other's indexes once its build beside has ended; the store
  /// moves its entries just after.
  IndexKeeper& operator=(IndexKeeper&& other) {
    Drop();
    other.Settle();
    lookup_ = other.lookup_;
    indexes_ = std::move(other.indexes_);
    built_ = other.built_;
    other.Drop();
    return *this;
  }

  Lookup lookup() const { return lookup_; }
  /// Chooses how lookups are answered; indexes are built when next used.
  void SetLookup(Lookup lookup) {
    Drop();
    lookup_ = lookup;
  }
  /// Forgets the indexes (the entries were replaced), stopping a build
  /// beside.
  void Drop() {
    if (beside_.valid()) {
      stop_ = true;
      beside_.wait();
      beside_ = {};
    }
    indexes_.Clear();
    built_ = false;
  }
  /// Starts building beside, unless the indexes are built, on their way or
  /// unused.
  template <typename Build>
  void BuildBeside(Build build) {
    if (lookup_ != Lookup::kIndexed || built_ || beside_.valid()) return;
    stop_ = false;
    beside_ = StartBeside([this, build] { build(indexes_, stop_); });
  }
  /// The indexes, built first where they are not; null while lookups scan.
  template <typename Build>
  const Indexes* Use(Build build) const {
    Settle();
    if (lookup_ == Lookup::kIndexed && !built_) {
      try {
        const StopFlag never;
        build(indexes_, never);
        built_ = true;
      } catch (...) {
        FallBackToScans();
      }
    }
    return lookup_ == Lookup::kIndexed ? &indexes_ : nullptr;
  }
  /// Waits for a build beside to end; the owner calls it before the store
  /// changes.
  void Settle() const {
    if (!beside_.valid()) return;
    try {
      beside_.get();
      built_ = true;
    } catch (...) {
      FallBackToScans();
    }
  }
  /// Runs change(indexes) for an entry just added, where the indexes are
  /// built (a later build takes the entry anyway). When it fails, the indexes
  /// are dropped and the store scans from then on; the failure goes on.
  template <typename Change>
  void Insert(Change change) {
    Settle();
    if (lookup_ != Lookup::kIndexed || !built_) return;
    ChangeIndexes(lookup_, indexes_, [&] { change(indexes_); });
  }

 private:
  void FallBackToScans() const {
    beside_ = {};
    lookup_ = Lookup::kScan;
    indexes_.Clear();
  }

  // Lookups are const; the indexes they build on the way are not part of
  // what the store holds.
  mutable Lookup lookup_ = Lookup::kIndexed;
  mutable Indexes indexes_;
  /// Whether indexes_ holds every entry: an empty store's empty indexes do.
  mutable bool built_ = true;
  StopFlag stop_ = false;
  mutable std::future<void> beside_;
};

}  // namespace holvan
