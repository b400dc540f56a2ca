// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "clients/clientrecords.h"

namespace kxC {

QString jThreadIDasString(int thread, bool showFirst) {
    if (thread < 0)
        thread = 0;
    if (thread < 1 && !showFirst)
        return QString();
    if (thread > 25)
        thread = 25;
    return QString(QLatin1Char(char('A' + thread)));
}

} // namespace kxC
