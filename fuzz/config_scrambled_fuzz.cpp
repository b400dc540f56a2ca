// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// A scrambled setting arrives in the configuration the server hands over and may hold anything. Reading
// it back must stay inside the stored text and give either the text inside or the stored text itself;
// and every clear text of up to 124 bytes that does not begin with the marker comes back unchanged from
// its scrambled form.
#include "config/kxgconfig.h"

#include <cstdint>
#include <cstring>

namespace {

_kxgConfig& store() {
    static _kxgConfig* cfg = [] {
        auto* c = new _kxgConfig;
        c->addInit("", "Fuzz", "secret");
        return c;
    }();
    return *cfg;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    _kxgConfig& cfg = store();
    _kxString8_allSize<200> input;
    input.set(reinterpret_cast<const char*>(data), int(size > 200 ? 200 : size));

    // As a stored form.
    _kxString<200> stored;
    for (int i = 0; i < input.len(); ++i)
        stored.text[i] = char16_t(static_cast<unsigned char>(input.text[i]));
    stored.setLength(input.len());
    cfg.setS("secret", stored);
    const _kxString8_allSize<200> read = cfg.getS_decoded("secret");
    if (!read.isEqual(input) &&
        (read.len() > 124 || input.len() < 13 || std::memcmp(input.text, "kxCA", 4) != 0))
        __builtin_trap();

    // As a clear text.
    if (input.len() <= 124 && !(input.len() >= 4 && std::memcmp(input.text, "kxCA", 4) == 0)) {
        if (!cfg.setS_coded("secret", input))
            __builtin_trap();
        if (!cfg.getS_decoded("secret").isEqual(input))
            __builtin_trap();
    }
    return 0;
}
