# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Applied to everything in the tree, so the libraries, the stand-in server and the tests are all
# instrumented alike.
if(KX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
