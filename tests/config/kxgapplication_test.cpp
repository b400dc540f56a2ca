// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxgapplication.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <new>
#include <vector>

// Record members sit on packed boundaries: tests compare copies of them, never references to them.
template <typename T>
T copyOf(T v) {
    return v;
}

namespace {

/// An application record over a command line; a null entry stands for a null argument.
struct CommandLine {
    explicit CommandLine(std::vector<const char*> args) : texts(std::move(args)) {
        app.argc = int(texts.size());
        app.argv = const_cast<char**>(texts.data());
    }
    std::vector<const char*> texts;
    _kxgApplication app;
};

} // namespace

TEST(KxgApplication, ConstructionValues) {
    alignas(_kxgApplication) unsigned char memory[sizeof(_kxgApplication)];
    std::memset(memory, 0xAB, sizeof memory);
    const qint64 before = std::time(nullptr);
    const auto* app = new (memory) _kxgApplication;
    EXPECT_EQ(app->reserved_0[0], 1);
    EXPECT_EQ(app->reserved_0[1], 0);
    EXPECT_EQ(app->reserved_0[2], 0);
    EXPECT_GE(copyOf(app->startTime.t), before);
    EXPECT_LE(copyOf(app->startTime.t), std::time(nullptr));
    EXPECT_EQ(app->reserved_16, 2);
    EXPECT_EQ(app->reserved_20, 1);
    for (qint32 counter : app->reserved_24)
        EXPECT_EQ(counter, 0);
    EXPECT_TRUE(app->hostName.isEqual("NoHostNameSet"));
    EXPECT_EQ(app->userName.toQString(), QStringLiteral("UnknownUser"));
    for (const auto& text : app->reserved_372)
        EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(app->reserved_894[0], 1);
    EXPECT_EQ(app->reserved_894[1], 0);
    EXPECT_EQ(app->appName.toQString(), QStringLiteral("kxApp"));
    EXPECT_EQ(app->argc, 0);
    EXPECT_EQ(app->argv, nullptr);
    EXPECT_EQ(app->reserved_1016.toQString(), QStringLiteral("--"));
    EXPECT_EQ(copyOf(app->reserved_1080), 0);
    EXPECT_EQ(copyOf(app->reserved_1088.t), 0);
    EXPECT_TRUE(app->reserved_1096.isEmpty() && app->reserved_1174.isEmpty());
    // Nothing of it is left undefined: two records differ only in their start time.
    _kxgApplication other;
    other.startTime = app->startTime;
    EXPECT_EQ(std::memcmp(app, &other, sizeof other), 0);
}

TEST(KxgApplication, FlagQueries) {
    struct Case {
        const char* label;
        std::vector<const char*> args;
        const char* flag;
        bool hasFlag;
        bool hasValue;
        const char* value; ///< what `value` holds afterwards; it starts as "unchanged"
    };
    const Case cases[] = {
        {"letter case", {"/opt/kx/server", "-Debug"}, "-DEBUG", true, false, "unchanged"},
        {"letter case of the flag", {"/opt/kx/server", "-Debug"}, "-debug", true, false, "unchanged"},
        {"sign is part of the flag", {"/opt/kx/server", "-Debug"}, "Debug", false, false, "unchanged"},
        {"other sign", {"/opt/kx/server", "--debug"}, "-debug", false, false, "unchanged"},
        {"program path never compared", {"-debug"}, "-debug", false, false, "unchanged"},
        {"program path never compared, more args", {"-debug", "x"}, "-debug", false, false, "unchanged"},
        {"value after the flag", {"srv", "-port", "7773", "-x"}, "-PORT", true, true, "7773"},
        {"value keeps its case", {"srv", "-name", "Farm&amp;A"}, "-name", true, true, "Farm&amp;A"},
        {"flag as last argument", {"srv", "x", "-port"}, "-port", true, false, "unchanged"},
        {"entity decoded in the flag", {"srv", "-a&amp;b", "v&lt;1"}, "-A&B", true, true, "v&lt;1"},
        {"numeric entities", {"srv", "&#45;&#x64;ebug", "1"}, "-debug", true, true, "1"},
        {"first match wins", {"srv", "-p", "1", "-P", "2"}, "-p", true, true, "1"},
        {"no such flag", {"srv", "-a", "-b"}, "-c", false, false, "unchanged"},
        {"null value", {"srv", "-user", nullptr}, "-user", true, true, ""},
        {"null argument is empty", {"srv", nullptr, "x"}, "", false, true, "x"},
        {"empty flag", {"srv", "", "next"}, "", false, true, "next"},
        {"empty flag, no empty argument", {"srv", "-a", "next"}, "", false, false, "unchanged"},
        {"only the program", {"srv"}, "", false, false, "unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CommandLine line(c.args);
        EXPECT_EQ(line.app.hasCommandlineFlag(c.flag), c.hasFlag);
        _kxString8_allSize<100> value("unchanged");
        EXPECT_EQ(line.app.hasCommandlineFlagValue(c.flag, value), c.hasValue);
        EXPECT_TRUE(value.isEqual(c.value)) << value.toQString().toStdString();
    }
}

TEST(KxgApplication, LongArgumentsAreComparedAndReturnedCut) {
    const std::string flag(100, 'f');
    const std::string argument = flag + "tail";
    const std::string longValue(150, 'v');
    CommandLine line({"srv", argument.c_str(), longValue.c_str()});
    EXPECT_TRUE(line.app.hasCommandlineFlag(flag.c_str()));
    _kxString8_allSize<100> value;
    EXPECT_TRUE(line.app.hasCommandlineFlagValue(flag.c_str(), value));
    EXPECT_EQ(value.len(), 100);
    EXPECT_EQ(value.toByteArray(), QByteArray(longValue.c_str(), 100));
}

TEST(KxgApplication, NoCommandLine) {
    _kxgApplication app;
    app.argc = 3; // a count without its texts
    _kxString8_allSize<100> value("unchanged");
    EXPECT_FALSE(app.hasCommandlineFlag("-debug"));
    EXPECT_FALSE(app.hasCommandlineFlagValue("-debug", value));
    EXPECT_FALSE(app.hasCommandlineFlagValue("", value));
    EXPECT_TRUE(value.isEqual("unchanged"));
    const char* args[] = {"srv", "-debug"};
    app.argv = const_cast<char**>(args);
    app.argc = -1;
    EXPECT_FALSE(app.hasCommandlineFlag("-debug"));
}

TEST(KxgApplication, ArgumentsAreReadAsEightBitTextsLikeTheFlags) {
    struct Case {
        const char* label;
        const char* argument;
        const char* flag;
        bool found;
    };
    const Case cases[] = {
        {"Latin-1 argument, its own flag",
         "-Stra\xDF"
         "e",
         "-Stra\xDF"
         "e",
         true},
        {"Latin-1 letters in another case", "-\xE9t\xE9", "-\xC9T\xC9", true},
        {"an entity for a Latin-1 letter", "-&#233;t&#233;", "-\xC9T\xC9", true},
        {"UTF-8 bytes match the same bytes", "-\xC3\xA9t\xC3\xA9", "-\xC3\xA9t\xC3\xA9", true},
        {"UTF-8 bytes are other letters than Latin-1 ones", "-\xC3\xA9t\xC3\xA9", "-\xE9t\xE9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CommandLine line({"srv", c.argument, "v\xE4lue"});
        EXPECT_EQ(line.app.hasCommandlineFlag(c.flag), c.found);
        _kxString8_allSize<100> value("unchanged");
        EXPECT_EQ(line.app.hasCommandlineFlagValue(c.flag, value), c.found);
        EXPECT_TRUE(value.isEqual(c.found ? "v\xE4lue" : "unchanged")) << value.toQString().toStdString();
    }
}
