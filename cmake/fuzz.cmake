# libFuzzer targets for the row-file reader and Val, and their runs as tests
# of KOLMIRA_FUZZ_SECONDS each. Off by default; `make fuzz` uses the fuzz preset.
option(KOLMIRA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(KOLMIRA_FUZZ_SECONDS 60 CACHE STRING "How long each fuzz test runs")

if(KOLMIRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KOLMIRA_FUZZ needs clang: configure with CXX=clang++")
    endif()

    set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    # Coverage feedback for the code under test; libFuzzer's main comes with
    # the targets themselves.
    target_compile_options(kolmira_core PRIVATE -fsanitize=fuzzer-no-link ${fuzz_sanitizers})

    enable_testing()
    math(EXPR fuzz_timeout "${KOLMIRA_FUZZ_SECONDS} + 120")
    foreach(name row_file val)
        add_executable(fuzz_${name} fuzz/fuzz_${name}.cpp)
        target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers})
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers})
        target_link_libraries(fuzz_${name} PRIVATE kolmira_core)
        # New coverage goes to a scratch corpus here; an input that crashes or
        # breaks a property goes into the committed corpus, which the ordinary
        # tests replay from then on. The reader's items are capped at 1024
        # characters and it reads 64 KiB at a time: a few KiB cover both.
        set(seeds ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
        file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/corpus/${name})
        add_test(NAME fuzz_${name}
                 COMMAND fuzz_${name} ${PROJECT_BINARY_DIR}/corpus/${name} ${seeds}
                         -max_total_time=${KOLMIRA_FUZZ_SECONDS} -max_len=8192 -timeout=10
                         -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${seeds}/)
        set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT ${fuzz_timeout})
    endforeach()
endif()
