#include "term_process.h"

#include "support/program_run.h"

namespace holvan::testing {

TermRun RunTerm(const TempDir& dir, std::string_view input,
                const std::vector<std::string>& args) {
  const ProgramRun run = RunProgram(HOLVAN_TERM_PATH, args, dir.path(), input);
  return {run.status, run.out, run.err};
}

std::vector<std::string> SeedAndNow(uint32_t seed) {
  return {"--seed", std::to_string(seed), "--now", std::string(kNow)};
}

std::string Profile(int visits, int mood, int angry_exits) {
  return Sj("太郎\r\n" + std::to_string(visits) + "\r\n" +
            std::to_string(mood) + "\r\n0\r\n0\r\n0\r\n" +
            std::to_string(angry_exits) + "\r\n");
}

}  // namespace holvan::testing
