// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

/// Marks what the product library exports from the data model; everything else stays hidden.
/// KX_BUILD_DATAMODEL is a private define of the data model and product library builds.
#if defined(KX_BUILD_DATAMODEL)
#define KX_EXPORT __attribute__((visibility("default")))
#else
#define KX_EXPORT
#endif
