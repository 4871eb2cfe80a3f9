# libFuzzer targets for the row-file reader and Val. Off by default; tools/fuzz.sh
# configures a clang build folder with KOLMIRA_FUZZ=ON.
option(KOLMIRA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(KOLMIRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KOLMIRA_FUZZ needs clang: configure with CXX=clang++")
    endif()

    set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    # Coverage feedback for the code under test; libFuzzer's main comes with
    # the targets themselves.
    target_compile_options(kolmira_core PRIVATE -fsanitize=fuzzer-no-link ${fuzz_sanitizers})

    foreach(name row_file val)
        add_executable(fuzz_${name} fuzz/fuzz_${name}.cpp)
        target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers})
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers})
        target_link_libraries(fuzz_${name} PRIVATE kolmira_core)
    endforeach()
endif()
