// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

/// Marks what libkxShared exports; everything else in it stays hidden.
#if defined(KXSHARED_BUILD)
#define KXSHARED_EXPORT __attribute__((visibility("default")))
#else
#define KXSHARED_EXPORT
#endif
