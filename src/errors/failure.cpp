#include "errors/failure.h"

#include <new>

namespace holvan {

std::optional<Error> FailureOf(const std::function<void()>& event) {
  try {
    event();
  } catch (const Error& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return OutOfMemoryError();
  }
  return std::nullopt;
}

}  // namespace holvan
