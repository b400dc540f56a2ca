// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "pluginloader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PluginLoader, LoadsTheProductLibraryAndResolvesTheEntryPoints) {
    kxPluginLibrary library;
    QString error;
    ASSERT_TRUE(library.load(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
    EXPECT_TRUE(library.isLoaded());
    EXPECT_EQ(library.path(), QStringLiteral(KX_PLUGIN_FILE));
    EXPECT_EQ(library.init(), 1);
    EXPECT_EQ(library.exit(), 1);
    // Loading again replaces the first load.
    ASSERT_TRUE(library.load(QStringLiteral(KX_PLUGIN_FILE), error));
    EXPECT_EQ(library.init(), 1);
    library.unload();
    EXPECT_FALSE(library.isLoaded());
}

TEST(PluginLoader, RefusesWhatIsNotAPlugin) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("liblx_missing.so.1"));
    struct Case {
        QString path;
        QString expectedStart;
    };
    const Case cases[] = {
        {missing, QStringLiteral("cannot load the plug-in ") + missing + QStringLiteral(": ")},
        // A real shared library without the entry points.
        {QStringLiteral(KX_NOT_A_PLUGIN_FILE),
         QStringLiteral("the plug-in " KX_NOT_A_PLUGIN_FILE " has no entry point pInfo")},
    };
    for (const Case& c : cases) {
        kxPluginLibrary library;
        QString error;
        EXPECT_FALSE(library.load(c.path, error)) << c.path.toStdString();
        EXPECT_TRUE(error.startsWith(c.expectedStart)) << error.toStdString();
        EXPECT_FALSE(library.isLoaded());
    }
}

} // namespace
