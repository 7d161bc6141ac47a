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
endif()
