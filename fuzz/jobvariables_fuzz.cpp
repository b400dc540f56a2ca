// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Templates and job texts come from submitters and scene files: any text must resolve in both modes
// and end, a full resolution must leave no angle bracket but those of the per-frame variables, and the
// name and folder cuts must stay within their capacities.
//
// Input: 4 control bytes (levels, counts, lengths), then UTF-8 fields separated by line feeds: the
// template, layer, channel, camera, scene, project folder, output folder, output file name, sequence,
// render application, then six getSSV markers.
#include "jobs/jobrecords.h"
#include "jobs/jobvariables.h"

#include <QStringList>

#include <cstdint>
#include <memory>

namespace {

bool onlyProtectedBrackets(const QString& text) {
    static const QLatin1String kept[] = {
        QLatin1String("<FN>"),   QLatin1String("<FN1>"), QLatin1String("<FN2>"),    QLatin1String("<FN3>"),
        QLatin1String("<FN4>"),  QLatin1String("<FN5>"), QLatin1String("<FN6>"),    QLatin1String("<FN7>"),
        QLatin1String("<auto>"), QLatin1String("<IMS>"), QLatin1String("<Stereo>"),
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('<') && text.at(i) != QLatin1Char('>'))
            continue;
        bool ok = false;
        for (const QLatin1String& k : kept) {
            const QStringView at = QStringView(text).mid(i);
            if (text.at(i) == QLatin1Char('<') && at.startsWith(k)) {
                i += k.size() - 1;
                ok = true;
                break;
            }
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const int level = int(int8_t(data[0]));
    const int count = int(int8_t(data[1]));
    const int seqLength = int(int8_t(data[2]));
    const int shotLength = data[3] & 0x3F;
    const bool multi = data[3] & 0x40;
    const QStringList f = QString::fromUtf8(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4))
                              .split(QLatin1Char('\n'));
    auto field = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };

    // One record for every run: each run sets every field it reads.
    static const auto job = std::make_unique<kxJ::_JobSubmitter>();
    job->layer.set(field(1));
    job->channel.set(field(2));
    job->camera.set(field(3));
    job->sceneName.set(field(4));
    job->sceneDatabaseDir.set(field(5));
    job->imageDir.set(field(6));
    job->imageFileName.set(field(7));
    job->customSeq.set(field(8));
    job->renderApp.set(field(9));
    job->imageMulti = multi ? 4 : 1;

    const QString text = field(0);
    const QString full = job->replaceJobVariables(text, false, nullptr, nullptr, nullptr);
    if (!onlyProtectedBrackets(full))
        __builtin_trap();
    QString shot = field(10);
    (void)job->replaceJobVariables(text, true, nullptr, &shot, nullptr);
    (void)job->exportJobVarList_Basic(true);

    _kxString<50> seq, shotOut, version;
    kxJ::getSSV(text, seq, shotOut, version, field(10), field(11), field(12), field(13), field(14), field(15),
                seqLength, shotLength);
    if (seq.length > 50 || shotOut.length > 50 || version.length > 50)
        __builtin_trap();

    const QString no = kxJ::getDirectoryNo(text, level, count);
    const QString until = kxJ::getDirectoryUntilNo(text, level, count);
    const QString until2 = kxJ::getDirectoryUntilNo(text, level);
    if (no.size() > text.size() || until.size() > text.size() || until2.size() > text.size())
        __builtin_trap();
    if (!text.startsWith(until) || !text.startsWith(until2))
        __builtin_trap();

    _kxString<1000> bracket(text);
    kxJ::replaceSquareBracketVariablesSub(bracket);
    if (bracket.length > 1000 || bracket.len() != (text.size() > 1000 ? 1000 : int(text.size())))
        __builtin_trap();
    return 0;
}
