# Host build: AddressSanitizer and UndefinedBehaviorSanitizer everywhere, any finding fatal.
# With clang, the code is also instrumented for libFuzzer so the fuzz targets link against it.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
    set(DOXLY_FUZZ ON)
endif()
