# Build helpers shared by every directory of the project.

# accounting_add_tests(<target> <sources...> LIBS <libs...>)
# One GoogleTest executable per component; its tests run through CTest with the
# test environment, so they never see the real home folder.
function(accounting_add_tests target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60)
    # The environment is set once the tests are known: passed through gtest_discover_tests'
    # PROPERTIES, the list would be flattened and every variable after the first taken for a
    # property name.
    set(environment_script ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
    file(WRITE ${environment_script}
        "if(${target}_TESTS)\n"
        "  set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT "
        "[==[${ACCOUNTING_TEST_ENVIRONMENT}]==])\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_script})
endfunction()

# accounting_framework(<Name> [DEPS <public libs>] [PRIVATE_DEPS <libs>])
# A runtime framework: a shared library with its public headers under include/,
# its implementation under src/ (internal headers there too) and its tests
# under tests/. Shared, never static: the host and every bundle it loads must
# see one event system, one bundle registry and one window list.
function(accounting_framework name)
    cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;TEST_LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/src/*.c)
    add_library(${name} SHARED ${srcs})
    target_include_directories(${name}
        PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
               $<INSTALL_INTERFACE:include>
        PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    # A framework's calls to its own routines are bound when it is linked: they go straight to
    # the routine instead of through a slot that the loader fills (by a search of every loaded
    # library) on the first call in each process.
    target_link_options(${name} PRIVATE -Wl,-Bsymbolic-functions)
    # Installed, the frameworks sit side by side and find each other through $ORIGIN: a program
    # linked with --as-needed names only the frameworks it calls, not the ones they call.
    set_target_properties(${name} PROPERTIES
        VERSION ${PROJECT_VERSION} SOVERSION 1
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
        INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${name} EXPORT AccountingRuntime LIBRARY DESTINATION lib)
    install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/include/ DESTINATION include)

    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
    accounting_add_tests(${name}_tests SOURCES ${tests}
        LIBS ${name} ${ARG_PRIVATE_DEPS} ${ARG_TEST_LIBS})
    if(TARGET ${name}_tests)
        target_include_directories(${name}_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    endif()
endfunction()
