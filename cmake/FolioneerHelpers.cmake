# Compiler warnings and sanitizers, applied target by target.
function(folioneer_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(FOLIONEER_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(FOLIONEER_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# Adds a QtTest executable and registers it with CTest.
#   folioneer_add_test(NAME tst_x SOURCES a.cpp LIBS folioneer_core [LABELS l] [TIMEOUT s]
#                      [RESOURCE_LOCK r] [ENVIRONMENT K=V...])
# Every test runs headless (offscreen platform) in the C.UTF-8 locale and finds the shared
# test material through FOLIONEER_SHARED_DIR and the built program through FOLIONEER_PROGRAM_DIR.
function(folioneer_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test folioneer_test_common ${T_LIBS})
    folioneer_set_warnings(${T_NAME})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;FOLIONEER_SHARED_DIR=${FOLIONEER_SHARED_DIR};FOLIONEER_PROGRAM_DIR=${FOLIONEER_PROGRAM_DIR};FOLIONEER_SOURCE_DIR=${PROJECT_SOURCE_DIR};FOLIONEER_CONFIGURED_TIME_FACTOR=${FOLIONEER_TIME_FACTOR};${T_ENVIRONMENT}")
    # A test without a label of its own is a unit or widget test: `make check` builds and runs
    # exactly these (the target folioneer_check_tests, label "unit").
    if(NOT T_LABELS)
        set(T_LABELS unit)
        set_property(GLOBAL APPEND PROPERTY FOLIONEER_CHECK_TESTS ${T_NAME})
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    if(T_RESOURCE_LOCK)
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK ${T_RESOURCE_LOCK})
    endif()
endfunction()
