# cmake -DBUILD_DIR=<build> -P core_qt_include_probe.cmake: builds the probe,
# which includes a Qt header with the core's flags, and passes only when the
# build fails because the header cannot be found.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR}
                        --target core_qt_include_probe
                RESULT_VARIABLE result
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "The probe built: the core sees Qt headers.")
endif()
if(NOT output MATCHES "QString: No such file|'QString' file not found")
  message(FATAL_ERROR "The probe failed for another reason:\n${output}")
endif()
