#include "os/ram_room.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <algorithm>

namespace holvan {
namespace {

// The soft limit of resource, or no limit.
std::uint64_t SoftLimit(int resource) {
  rlimit limit;
  if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return UINT64_MAX;
  }
  return limit.rlim_cur;
}

}  // namespace

bool FitsInRam(std::uint64_t bytes) {
  std::uint64_t room = UINT64_MAX;
  struct sysinfo info;
  if (::sysinfo(&info) == 0) {
    room = (static_cast<std::uint64_t>(info.totalram) + info.totalswap) *
           info.mem_unit;
  }
  room = std::min({room, SoftLimit(RLIMIT_AS), SoftLimit(RLIMIT_DATA)});
  return bytes < room;
}

}  // namespace holvan
