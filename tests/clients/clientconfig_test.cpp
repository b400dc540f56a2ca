// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

#include <gtest/gtest.h>

using namespace kxC;

TEST(ClientThreadLetter, ByThreadNumber) {
    struct Case {
        int thread;
        bool showFirst;
        const char* letter;
    };
    const Case cases[] = {
        {0, false, ""}, {0, true, "A"},   {1, false, "B"},  {7, true, "H"},       {25, false, "Z"},
        {26, true, "Z"}, {1000, false, "Z"}, {-1, false, ""}, {-1, true, "A"}, {-2147483647 - 1, true, "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jThreadIDasString(c.thread, c.showFirst), QString::fromLatin1(c.letter))
            << c.thread << " " << c.showFirst;
}
