# Builds the Debian package into DEB_DIR for the package tests (a fresh folder each run).
# cmake -DCPACK_COMMAND=... -DBINARY_DIR=... -DDEB_DIR=... -P make-test-deb.cmake
file(REMOVE_RECURSE "${DEB_DIR}")
execute_process(COMMAND "${CPACK_COMMAND}" -G DEB -B "${DEB_DIR}" --config "${BINARY_DIR}/CPackConfig.cmake"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack -G DEB failed:\n${output}")
endif()
