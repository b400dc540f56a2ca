// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// A job record's custom data store arrives from other processes: its three counters and its 4000
// bytes may hold anything. Every reader must stay inside the block, and rebuilding the store from
// what was read must give a store that reads back the same entries.
#include "jobs/jobrecords.h"

#include <QStringList>

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto job = std::make_unique<kxJ::_JobBasics>();
    qint32 counters[3] = {0, 0, 0};
    const size_t head = size < sizeof(counters) ? size : sizeof(counters);
    std::memcpy(counters, data, head);
    job->customDataCount = counters[0];
    job->customDataValuesEnd = counters[1];
    job->customDataNamesEnd = counters[2];
    const size_t body = size - head < sizeof(job->customData) ? size - head : sizeof(job->customData);
    std::memcpy(job->customData, data + head, body);

    QStringList names, values;
    job->customData_All(names, values);
    const int count = job->customData_maxIDs();
    for (int i = -1; i <= count; ++i) { // the count is held to what 4000 bytes can index
        (void)job->customData_NameByID(i);
        (void)job->customData_StrByID(i);
    }
    (void)job->customData_UserInfo();
    (void)job->customData_AllAsString();
    (void)job->customData_allValuesAsBlock_Uppercase();
    if (!names.isEmpty())
        (void)job->customData_Str(names.first());

    // Rebuilding keeps a prefix of the entries, and the kept ones read back unchanged, as long as
    // every name is 8-bit text (the index stores names one byte per character).
    bool latin1Names = true;
    for (const QString& n : names)
        for (QChar c : n)
            latin1Names = latin1Names && c.unicode() < 256 && c.unicode() != 0;
    if (!latin1Names)
        return 0;
    auto rebuilt = std::make_unique<kxJ::_JobBasics>();
    rebuilt->customDataSet_All(names, values);
    QStringList names2, values2;
    rebuilt->customData_All(names2, values2);
    if (names2.size() > names.size())
        __builtin_trap();
    for (qsizetype i = 0; i < names2.size(); ++i)
        if (names2[i] != names[i] || values2[i] != values[i])
            __builtin_trap();
    return 0;
}
