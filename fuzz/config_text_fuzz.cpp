// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
//
// Texts from outside the configuration: a command line, a virtual-machine id, network shares and
// exports, and texts with Unihex or XML references. The input, split at its 0 bytes, is an argument
// list for both flag queries; whole, it is an id to split, a share and an export, and a text to decode.
// A mount point is empty or "/" and at most 100 characters, with no empty, "." or ".." folder.
#include "config/kxgapplication.h"
#include "config/kxgconfig.h"
#include "kxcodec.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void checkMountPoint(const _kxString8_allSize<100>& point) {
    if (point.isEmpty())
        return;
    if (point.at(0) != '/' || point.len() > 100)
        __builtin_trap();
    const QStringList parts = point.toQString().mid(1).split(QLatin1Char('/'));
    if (parts.size() > 2)
        __builtin_trap();
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The arguments; the first one stands for the program, the first few are tried as flags (all of
    // them would make a long list quadratic).
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i)
        if (i == size || input[i] == '\0') {
            parts.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    std::vector<const char*> argv;
    for (const std::string& p : parts)
        argv.push_back(p.c_str());
    if (argv.size() > 2)
        argv[2] = nullptr; // a null argument among them
    _kxgApplication app;
    app.argc = int(argv.size());
    app.argv = const_cast<char**>(argv.data());
    for (size_t f = 0; f < parts.size() && f < 8; ++f) {
        const std::string& flag = parts[f];
        _kxString8_allSize<100> value("unchanged");
        const bool found = app.hasCommandlineFlag(flag.c_str());
        const bool withValue = app.hasCommandlineFlagValue(flag.c_str(), value);
        if (withValue && !found && !flag.empty())
            __builtin_trap();
        if (!withValue && !value.isEqual("unchanged"))
            __builtin_trap();
    }

    // A virtual-machine id, each output requested and not.
    static _kxgConfig* cfg = new _kxgConfig;
    _kxString8_allSize<200> text;
    text.set(input.data(), int(size > 200 ? 200 : size));
    unsigned long long id = 0;
    signed char number = 0;
    _kxString8_allSize<75> name;
    cfg->splitVM_ID(text, &id, &number, &name);
    cfg->splitVM_ID(text, nullptr, &number, nullptr);
    cfg->splitVM_ID(text, &id, nullptr, &name);
    cfg->splitVM_ID(text, nullptr, nullptr, nullptr);
    // What join writes, split reads back.
    unsigned long long id2 = 1;
    signed char number2 = 1;
    _kxString8_allSize<75> name2;
    cfg->splitVM_ID(cfg->joinVM_ID(id, number, name), &id2, &number2, &name2);
    if (number2 != number || (id != 0 && id2 != id))
        __builtin_trap();

    // A share and an export.
    _kxgUNC_map map;
    _kxString8_allSize<100> share;
    share.set(input.data(), int(size > 100 ? 100 : size));
    checkMountPoint(map.calcAutoMountPointUNC(share));
    checkMountPoint(map.calcAutoMountPointNFS(share));

    // Reference decoding never grows a text.
    const QString utf8 = QString::fromUtf8(input.data(), qsizetype(size));
    if (kxFromKXUnihex(utf8).size() > utf8.size() || fromXmlString(utf8).size() > utf8.size())
        __builtin_trap();
    const QString latin1 = QString::fromLatin1(input.data(), qsizetype(size));
    (void)kxFromKXUnihex(latin1);
    (void)fromXmlString(latin1);
    return 0;
}
