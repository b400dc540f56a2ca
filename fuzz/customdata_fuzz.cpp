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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The records live across inputs: constructing a job record of 30 kB for each input would cost more
    // than reading its store. The input sets the three counters and the whole buffer, so nothing of
    // an earlier input is left to be read.
    static auto* const job = new kxJ::_JobBasics();
    static auto* const rebuilt = new kxJ::_JobBasics();
    qint32 counters[3] = {0, 0, 0};
    const size_t head = size < sizeof(counters) ? size : sizeof(counters);
    std::memcpy(counters, data, head);
    job->customDataCount = counters[0];
    job->customDataValuesEnd = counters[1];
    job->customDataNamesEnd = counters[2];
    const size_t body = size - head < sizeof(job->customData) ? size - head : sizeof(job->customData);
    std::memcpy(job->customData, data + head, body);
    std::memset(job->customData + body, 0, sizeof(job->customData) - body);

    QStringList names, values;
    job->customData_All(names, values);
    // Reading by position gives the entries customData_All gave, up to the stored count, and nothing
    // outside them. Every position walks the same index, so the ends and the middle stand for all.
    const int count = job->customData_maxIDs(); // held to what 4000 bytes can index
    const int listed = int(names.size()) < count ? int(names.size()) : count;
    for (int i : {-1, 0, 1, count / 2, listed - 1, listed, count - 1, count}) {
        const bool held = i >= 0 && i < listed;
        if (job->customData_NameByID(i) != (held ? names[i] : QString()) ||
            job->customData_StrByID(i) != (held ? values[i] : QString()))
            __builtin_trap();
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
