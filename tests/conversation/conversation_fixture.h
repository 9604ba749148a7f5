#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "random/random.h"
#include "support/companion_in_folder.h"
#include "support/seeds.h"
#include "text/cp932.h"

namespace holvan::testing {

/// A companion over the fake view and platform, working in a fresh folder.
/// Data files are written to dir before Start(); lines are compared as UTF-8.
class ConversationTest : public ::testing::Test, public CompanionInFolder<> {
 protected:
  using Lines = std::vector<std::string>;

  ConversationTest() { view.look.talk_caption = Sj("話す"); }

  /// Starts the companion on the files in dir.
  void Start() { companion.Start(); }
  /// Starts with a profile that holds only the user's name.
  void StartAs(std::string_view name) {
    dir.WriteSj("holv.dat", std::string(name) + "\r\n");
    Start();
  }

  /// One turn on the line; returns the Transcript lines it added.
  Lines Type(std::string_view utf8) {
    input_line = Sj(utf8);
    return Press();
  }
  /// One turn on whatever the input line holds, and the close it asks for.
  Lines Press() {
    return LinesAdded([&] { closed = CompanionInFolder::Press(); });
  }
  /// One idle tick; returns the lines it added.
  Lines Tick() {
    return LinesAdded([&] { companion.IdleTick(); });
  }

  /// Every line of the Transcript.
  Lines TranscriptLines() const {
    Lines lines;
    for (int32_t i = 0; i < companion.transcript().Count(); ++i) {
      lines.push_back(NarrowToUtf8(companion.transcript().Get(i)));
    }
    return lines;
  }

  /// Seeds the generator so that the next draws, each random.Below(bound),
  /// give the wanted values in order.
  void Rig(std::initializer_list<std::pair<int32_t, int32_t>> draws) {
    rigged_seed_ = SeedGiving(draws);
    conversation().random.SetSeed(rigged_seed_);
  }
  /// How many draws were made since Rig (-1 when more than 20).
  int DrawsSinceRig() {
    Random random;
    random.SetSeed(rigged_seed_);
    const uint32_t now = conversation().random.seed();
    for (int k = 0; k <= 20; ++k) {
      if (random.seed() == now) return k;
      random.Below(1);
    }
    return -1;
  }

  ConversationState& state() { return conversation().state; }
  Stores& stores() { return conversation().stores; }
  std::string Utf8(std::string_view text) const { return NarrowToUtf8(text); }

  /// Whether a turn's close ran and succeeded.
  bool closed = false;

 private:
  template <typename Action>
  Lines LinesAdded(Action action) {
    const int32_t before = companion.transcript().Count();
    action();
    Lines lines;
    for (int32_t i = before; i < companion.transcript().Count(); ++i) {
      lines.push_back(NarrowToUtf8(companion.transcript().Get(i)));
    }
    return lines;
  }

  uint32_t rigged_seed_ = 0;
};

}  // namespace holvan::testing
