# Fuzzing instruments the whole program (coverage, AddressSanitizer and
# UndefinedBehaviorSanitizer) so that libFuzzer sees into the core; only clang
# has libFuzzer.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "HOLVAN_FUZZ needs clang, e.g. "
                      "-DCMAKE_CXX_COMPILER=clang++-14")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
