# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# A server unloads and loads its plug-ins again: neither the product library nor the runtime library
# may hold itself in the process (kx_add_unload_check, cmake/KxExportCheck.cmake). The product library
# also binds its calls to its own data-model functions, whatever the server defines under their names.
if(TARGET kxNotifyKXMessage)
    kx_add_unload_check(NAME unload_kxNotifyKXMessage TARGET kxNotifyKXMessage OWN_CALLS_BOUND)
endif()
kx_add_unload_check(NAME unload_kxShared TARGET kxShared)
