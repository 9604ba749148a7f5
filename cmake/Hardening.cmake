# Release builds get the hardening Debian gives its packages: checked libc
# calls, a strong stack protector, position-independent executables and full
# RELRO with immediate binding. Sanitized and fuzzing builds go without, since
# the checked calls would hide accesses from AddressSanitizer. Flags already
# given (by dpkg-buildflags, say) are not added twice.
option(HOLVAN_HARDEN "Harden Release and RelWithDebInfo builds" ON)
if(HOLVAN_HARDEN AND NOT HOLVAN_SANITIZE AND NOT HOLVAN_FUZZ)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  set(HOLVAN_RELEASE_CONFIG $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
  if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_definitions($<${HOLVAN_RELEASE_CONFIG}:_FORTIFY_SOURCE=2>)
  endif()
  if(NOT CMAKE_CXX_FLAGS MATCHES "-fstack-protector")
    add_compile_options($<${HOLVAN_RELEASE_CONFIG}:-fstack-protector-strong>)
  endif()
  add_link_options($<${HOLVAN_RELEASE_CONFIG}:LINKER:-z,relro,-z,now>)
endif()
