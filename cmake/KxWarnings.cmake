# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
function(kx_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(KX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
