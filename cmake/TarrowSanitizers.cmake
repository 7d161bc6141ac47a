# ASan + UBSan (LeakSanitizer comes with ASan on Linux) for every target in the tree.
# Set globally so that the libraries, the tests and the executable agree on the runtime.
if(TARROW_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "TARROW_SANITIZE is supported with GCC and Clang only")
    endif()
    set(tarrow_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                              -fno-omit-frame-pointer)
    add_compile_options(${tarrow_sanitize_flags})
    add_link_options(-fsanitize=address,undefined)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC's flow analysis sees through the sanitizer instrumentation poorly and reports
        # variables as maybe uninitialised that are not (QFETCH references, for one).
        add_compile_options(-Wno-maybe-uninitialized)
    endif()
endif()

# libFuzzer. The fuzz targets link -fsanitize=fuzzer; every other object gets the coverage
# instrumentation only, so the fuzzer is guided by the product's own branches. Compilers
# without libFuzzer (GCC) build no fuzz targets and say so.
set(TARROW_CAN_FUZZ OFF)
if(TARROW_FUZZ)
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *, std::size_t) { return 0; }
    ]] TARROW_COMPILER_HAS_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(TARROW_COMPILER_HAS_LIBFUZZER)
        set(TARROW_CAN_FUZZ ON)
        add_compile_options(-fsanitize=fuzzer-no-link)
    else()
        message(WARNING "TARROW_FUZZ: ${CMAKE_CXX_COMPILER_ID} does not support -fsanitize=fuzzer; "
                        "no fuzz targets are built (use clang++)")
    endif()
endif()
