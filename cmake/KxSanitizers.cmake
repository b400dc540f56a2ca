# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Applied to everything in the tree, so the libraries, the stand-in server and the tests are all
# instrumented alike.
# The alignment check stays off: the records shared with the server hold 8-byte members (_kxTime, the
# 64-bit identifiers) on 4-byte boundaries by contract (#pragma pack(4)), and constructing such a
# member counts as a misaligned call to the check. Every other undefined-behaviour check stays on.
if(KX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize=alignment -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Shared libraries are linked with --no-undefined so a missing symbol fails the build, not the load.
# clang leaves the sanitizer runtime to the executable, so its sanitized libraries cannot be checked so.
set(KX_NO_UNDEFINED_LINK_OPTION "-Wl,--no-undefined")
if(KX_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(KX_NO_UNDEFINED_LINK_OPTION "")
endif()

# Fuzz builds: coverage instrumentation in every library, so the fuzzers see into the code they drive.
if(KX_BUILD_FUZZERS)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
