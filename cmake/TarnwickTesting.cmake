find_package(GTest REQUIRED)

# A GoogleTest executable run by CTest. Usage:
#   tarnwick_add_gtest(NAME store_tests SOURCES a.cpp b.cpp [LIBS extra] [TIMEOUT s] [LABELS l])
function(tarnwick_add_gtest)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE tarnwick_core GTest::gtest GTest::gtest_main ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "TARNWICK_TEST_PYTHON=/usr/bin/python3;TARNWICK_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        LABELS "${T_LABELS}")
endfunction()

# A QtTest executable on the offscreen platform. An unexpected modal box makes a
# widget test hang in exec(): the per-function and per-test time-outs turn that
# into a quick failure.
function(tarnwick_add_qttest)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT TARNWICK_BUILD_GUI)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${T_NAME} PRIVATE tarnwick_gui Qt6::Test ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=60000;XDG_DATA_HOME=${PROJECT_BINARY_DIR}/test-data-home;TARNWICK_TEST_PYTHON=/usr/bin/python3;TARNWICK_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        LABELS "gui;${T_LABELS}")
endfunction()
