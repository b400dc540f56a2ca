// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "plugin/pluginrecords.h"

#include <QString>

/// A notification plug-in loaded by file name with dlopen, its four entry points resolved by their
/// plain names, as the farm server loads it. Unloaded on destruction.
class kxPluginLibrary {
public:
    kxPluginLibrary() = default;
    ~kxPluginLibrary();
    kxPluginLibrary(const kxPluginLibrary&) = delete;
    kxPluginLibrary& operator=(const kxPluginLibrary&) = delete;

    /// Loads `path` and resolves pInfo, pInit, pNotify and pExit. On failure returns false with a text
    /// naming the file and what is missing, and nothing stays loaded.
    bool load(const QString& path, QString& error);
    /// Closes the library; the entry points are no longer callable.
    void unload();
    bool isLoaded() const { return handle != nullptr; }
    QString path() const { return filePath; }

    /// The entry points; each must only be called while the library is loaded.
    int info(_kxPluginInfo& record) const { return entries[0](&record); }
    int init() const { return entries[1](nullptr); }
    int notify(_kxPluginNotify& record) const { return entries[2](&record); }
    int exit() const { return entries[3](nullptr); }

    /// The names the server looks up, in the order of the entry table.
    static constexpr const char* entryNames[4] = {"pInfo", "pInit", "pNotify", "pExit"};

private:
    void* handle = nullptr;
    kxPluginEntry entries[4] = {};
    QString filePath;
};
