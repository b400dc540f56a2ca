// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "pluginloader.h"

#include <QFile>

#include <dlfcn.h>

kxPluginLibrary::~kxPluginLibrary() {
    unload();
}

static QString dlErrorText() {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown error");
}

bool kxPluginLibrary::load(const QString& path, QString& error) {
    unload();
    // A plug-in keeps its own copy of the data model: RTLD_LOCAL keeps its symbols out of the server's
    // way, RTLD_NOW reports a missing dependency here rather than at the first call.
    const QByteArray file = QFile::encodeName(path);
    dlerror();
    void* library = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        error = QStringLiteral("cannot load the plug-in %1: %2").arg(path, dlErrorText());
        return false;
    }
    kxPluginEntry found[4] = {};
    for (int i = 0; i < 4; ++i) {
        dlerror();
        void* symbol = dlsym(library, entryNames[i]);
        if (symbol == nullptr) {
            error = QStringLiteral("the plug-in %1 has no entry point %2")
                        .arg(path, QString::fromLatin1(entryNames[i]));
            dlclose(library);
            return false;
        }
        std::memcpy(&found[i], &symbol, sizeof(symbol));
    }
    handle = library;
    std::memcpy(entries, found, sizeof(entries));
    filePath = path;
    return true;
}

void kxPluginLibrary::unload() {
    if (handle != nullptr)
        dlclose(handle);
    handle = nullptr;
    for (kxPluginEntry& entry : entries)
        entry = nullptr;
}
