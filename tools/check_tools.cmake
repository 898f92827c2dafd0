# Runs the two RTF tools on a shared-corpus file (cmake -P; see CMakeLists.txt).
set(input "${SHARED_DIR}/rtf-corpus/rtf/richedit-04-unicode-uc1.rtf")
if(NOT EXISTS "${input}")
    # In CI the shared material must be there; elsewhere the test is reported as skipped (the
    # test's SKIP_REGULAR_EXPRESSION matches this line).
    if("$ENV{CI}" STREQUAL "true")
        message(FATAL_ERROR "shared corpus not found: ${input} (CI=true needs ../shared beside the clone)")
    endif()
    message("SKIPPED: shared corpus not found: ${input}")
    return()
endif()
file(MAKE_DIRECTORY "${WORK_DIR}")

execute_process(COMMAND "${RTF2TEXT}" "${input}" RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "folioneer-rtf2text failed (${rc}): ${err}")
endif()

execute_process(COMMAND "${RTFCAT}" "${input}" RESULT_VARIABLE rc OUTPUT_FILE "${WORK_DIR}/cat.rtf" ERROR_VARIABLE err)
file(READ "${WORK_DIR}/cat.rtf" written LIMIT 6 HEX)
if(NOT rc EQUAL 0 OR NOT written STREQUAL "7b5c72746631") # "{\rtf1"
    message(FATAL_ERROR "folioneer-rtfcat failed (${rc}): ${err}")
endif()

execute_process(COMMAND "${RTF2TEXT}" "${WORK_DIR}/cat.rtf" RESULT_VARIABLE rc OUTPUT_VARIABLE again)
if(NOT rc EQUAL 0 OR NOT again STREQUAL text)
    message(FATAL_ERROR "the text changed through folioneer-rtfcat:\n${text}\n---\n${again}")
endif()

file(WRITE "${WORK_DIR}/plain.txt" "not rtf at all\n")
foreach(tool "${RTF2TEXT}" "${RTFCAT}")
    execute_process(COMMAND "${tool}" "${WORK_DIR}/plain.txt" RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
    if(rc EQUAL 0 OR NOT err MATCHES "not an RTF document")
        message(FATAL_ERROR "${tool} accepted non-RTF input (${rc}): ${err}")
    endif()
    execute_process(COMMAND "${tool}" "${WORK_DIR}/missing.rtf" RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
    if(rc EQUAL 0 OR err STREQUAL "")
        message(FATAL_ERROR "${tool} accepted a missing file (${rc})")
    endif()
endforeach()
