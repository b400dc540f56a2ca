// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "runtime/kxsdk.h"

#include "kxlogfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

// Readable failure messages for texts.
namespace {

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(f.readAll());
}

// The time at the start of a line: "MM/dd hh:mm:ss.t".
const QRegularExpression timeStart(QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d"));

/// A context whose three log files live in a temporary folder, with every level switched on.
class KxSdkLog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::memset(levels.get(), 1, sizeof(_kxLogLevels));
        sdk.logLevels = levels.get();
        ASSERT_TRUE(mainFile.open(dir.filePath(QStringLiteral("main.log"))));
        ASSERT_TRUE(errorFile.open(dir.filePath(QStringLiteral("error.log"))));
        ASSERT_TRUE(secondaryFile.open(dir.filePath(QStringLiteral("secondary.log"))));
        sdk.mainLog = &mainFile;
        sdk.errorLog = &errorFile;
        sdk.secondaryLog = &secondaryFile;
        sdk.processName.set("kxServer");
    }

    QString readBack(_kxLogfile& log) {
        log.flush();
        return readFile(log.path());
    }
    QString mainText() { return readBack(mainFile); }
    QString errorText() { return readBack(errorFile); }
    QString secondaryText() { return readBack(secondaryFile); }

    /// The main log's one line with its time checked and cut off.
    QString mainLineAfterTime() {
        QString text = mainText();
        EXPECT_TRUE(timeStart.match(text).hasMatch()) << text.toStdString();
        EXPECT_EQ(text.mid(16, 1), QStringLiteral("|")) << text.toStdString();
        return text.mid(17);
    }

    QTemporaryDir dir;
    // Allocated on its own, so a read past the enable bytes is caught by the address sanitizer.
    std::unique_ptr<_kxLogLevels> levels = std::make_unique<_kxLogLevels>();
    _kxLogfile mainFile, errorFile, secondaryFile;
    __KXSDK sdk;
};

} // namespace

TEST(KxSdk, PlainContextDefaults) {
    __KXSDK sdk;
    EXPECT_EQ(sdk.criticalSeen, 0);
    EXPECT_EQ(sdk.interfaceVersion, 0);
    EXPECT_EQ(sdk.layoutMark, 0);
    EXPECT_EQ(sdk.interfaceVersion2, 0u);
    EXPECT_EQ(sdk.endMark, 0u);
    // Pointers on 4-byte boundaries: compared by value, never bound to a reference.
    EXPECT_TRUE(sdk.mainLog == nullptr);
    EXPECT_TRUE(sdk.errorLog == nullptr);
    EXPECT_TRUE(sdk.secondaryLog == nullptr);
    EXPECT_TRUE(sdk.logLevels == nullptr);
    EXPECT_TRUE(sdk.clientList == nullptr);
    EXPECT_EQ(sdk.secondaryLogLevel, -1);
    EXPECT_EQ(sdk.logSeparatorChar, '|');
    EXPECT_EQ(sdk.logSuppressed, 0);
    EXPECT_EQ(sdk.forwardToUI, 0);
    EXPECT_TRUE(sdk.processName.isEmpty());
    EXPECT_EQ(sdk.processLabel[0], 0);
    // Without log settings nothing is logged, and nothing breaks.
    sdk.writeLog(1, 0, QStringLiteral("nowhere"));
    sdk.logFileWrite(1, 0, QStringLiteral("nowhere"));
    sdk.logFileWrite(0, 0, QStringLiteral("Access violation"));
    sdk.logFileWriteError(1, 0, QStringLiteral("nowhere"));
    EXPECT_EQ(sdk.criticalSeen, 0);
    EXPECT_FALSE(sdk.isLevelEnabled(3));
}

TEST_F(KxSdkLog, LineLayoutsAfterTheTime) {
    // Lines that start with the time: what follows the time, as read back from the main log.
    struct Case {
        int level;
        const char* text;
        QString expected;
    };
    const Case cases[] = {
        {1, "disk full", QStringLiteral(" ERR disk full")},
        {2, "low on memory", QStringLiteral(" WRN low on memory")},
        {0, "halted", QStringLiteral(" CRF (CRITICAL FAILURE) - halted")},
        // A text carrying its own three-letter tag is not indented; the same in lower case is.
        {5, "JOB started", QStringLiteral(" JOB started")},
        {5, "job started", QStringLiteral("     job started")},
        // Only the third character's case and the fourth's blank decide.
        {5, "xyZ started", QStringLiteral(" xyZ started")},
        {5, "JOB", QStringLiteral("     JOB")},
        {5, "JOBstarted", QStringLiteral("     JOBstarted")},
        {17, "", QStringLiteral("     ")},
        // Levels 0 to 2 carry their tag even when the text carries one.
        {1, "JOB failed", QStringLiteral(" ERR JOB failed")},
        // Continuation lines stand 22 columns in, under the message.
        {17, "first line\nsecond line\nthird",
         QStringLiteral("     first line\n") + blanks(22) + QStringLiteral("second line\n") + blanks(22) +
             QStringLiteral("third")},
        {1, "failed:\nreason", QStringLiteral(" ERR failed:\n") + blanks(22) + QStringLiteral("reason")},
        // A two-character prefix ending in the separator stands before the tag; one blank after it goes.
        {17, "A| prefixed", QStringLiteral("A|     prefixed")},
        {17, "A|  two blanks", QStringLiteral("A|      two blanks")},
        {1, "E|failed", QStringLiteral("E| ERR failed")},
        {17, "A|x", QStringLiteral("A|     x")},
        {17, "A|", QStringLiteral("     A|")}, // not longer than 2: no prefix
        {17, "AB| no", QStringLiteral("     AB| no")},
        // Control characters are made visible; a Windows line end is one line feed.
        {17, "bell\x07 esc\x1b[2J", QStringLiteral("     bell? esc?[2J")},
        {17, "one\r\ntwo", QStringLiteral("     one\n") + blanks(22) + QStringLiteral("two")},
        // DEL and the C1 controls too; a character beyond 16 bits stays whole.
        {17, "del\x7f c1\xc2\x85 \xf0\x9f\x98\x80", QStringLiteral("     del? c1? \U0001F600")},
        // The edges of what is changed: below blank, DEL to the last C1 control; tab, tilde, the
        // no-break space and the characters next to the surrogates stay.
        {17, "a\x1f\tb~\xc2\x9f\xc2\xa0\xed\x9f\xbf\xee\x80\x80",
         QStringLiteral("     a?\tb~?") + QChar(0xA0) + QChar(0xD7FF) + QChar(0xE000)},
        // A control character as the last of a long line, where the check runs many at a time.
        {17, "0123456789012345678901234567890123456789012345678901234567890123456789\x01",
         QStringLiteral("     0123456789012345678901234567890123456789012345678901234567890123456789?")},
    };
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(mainFile.open(dir.filePath(QStringLiteral("layout%1.log").arg(n++))));
        sdk.writeLog(c.level, 0, QString::fromUtf8(c.text));
        EXPECT_EQ(mainLineAfterTime(), c.expected + QLatin1Char('\n')) << "text: " << c.text;
    }
}

TEST_F(KxSdkLog, PlainAndBlankStartFlags) {
    struct Case {
        int level;
        int flags;
        const char* text;
        QString expected; // the whole line
    };
    const Case cases[] = {
        // Plain: no time, no indentation, no prefix handling; levels 0 to 2 keep their tag.
        {17, 0x10, "plain text", QStringLiteral("plain text")},
        {17, 0x10, "two\nlines", QStringLiteral("two\nlines")},
        {17, 0x10, "A| kept", QStringLiteral("A| kept")},
        {1, 0x10, "plain error", QStringLiteral("ERR plain error")},
        {0, 0x10, "x", QStringLiteral("CRF (CRITICAL FAILURE) - x")},
        // Blank start: 17 blanks stand where the time and the separator would.
        {17, 0x200, "blank start", blanks(17) + QStringLiteral("     blank start")},
        {2, 0x200, "a\nb", blanks(17) + QStringLiteral(" WRN a\n") + blanks(22) + QStringLiteral("b")},
        {17, 0x200, "A| pre", blanks(17) + QStringLiteral("A|     pre")},
        // Both: the blanks, then the plain text.
        {17, 0x210, "both", blanks(17) + QStringLiteral("both")},
    };
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(mainFile.open(dir.filePath(QStringLiteral("flags%1.log").arg(n++))));
        sdk.writeLog(c.level, c.flags, QString::fromUtf8(c.text));
        EXPECT_EQ(mainText(), c.expected + QLatin1Char('\n')) << "text: " << c.text << " flags " << c.flags;
    }
}

TEST_F(KxSdkLog, OtherSeparatorCharacter) {
    sdk.logSeparatorChar = '#';
    sdk.writeLog(17, 0, QStringLiteral("P# pre"));
    sdk.writeLog(17, 0, QStringLiteral("P| not a prefix"));
    const QStringList lines = mainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].mid(16), QStringLiteral("#P#     pre"));
    EXPECT_EQ(lines[1].mid(16), QStringLiteral("#     P| not a prefix"));
}

TEST_F(KxSdkLog, ALineFeedSeparatorIsDroppedAfterTheTime) {
    // A line feed as separator would break the line after the time: it is left out there, while a text
    // whose second character is a line feed still gives its prefix.
    sdk.logSeparatorChar = '\n';
    sdk.writeLog(17, 0, QStringLiteral("one line"));
    sdk.writeLog(1, 0, QStringLiteral("E\n failed"));
    const QStringList lines = mainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(timeStart.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines[0].mid(16), QStringLiteral("     one line"));
    EXPECT_EQ(lines[1].mid(16), QStringLiteral("E"));
    EXPECT_EQ(lines[2], blanks(22) + QStringLiteral(" ERR failed"));
}

TEST_F(KxSdkLog, ErrorsGoToTheErrorLogWithAnEntryHeader) {
    sdk.writeLog(1, 0, QStringLiteral("disk full"));
    const QString line = mainText();
    ASSERT_TRUE(line.endsWith(QStringLiteral("| ERR disk full\n"))) << line.toStdString();
    // "[", name, "]", two blanks, " 8.4.03", line feed, the line, a line feed; the log file ends the
    // entry with its own line feed, which leaves a blank line between entries.
    EXPECT_EQ(errorText(), QStringLiteral("[kxServer]   8.4.03\n") + line + QStringLiteral("\n"));

    sdk.writeLog(0, 0, QStringLiteral("halted"));
    sdk.writeLog(2, 0, QStringLiteral("only a warning"));
    sdk.writeLog(17, 0, QStringLiteral("information"));
    const QString errors = errorText();
    EXPECT_EQ(errors.count(QStringLiteral("[kxServer]   8.4.03\n")), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("| CRF (CRITICAL FAILURE) - halted\n\n")));
    EXPECT_FALSE(errors.contains(QStringLiteral("warning")));
    EXPECT_FALSE(errors.contains(QStringLiteral("information")));
    EXPECT_EQ(mainText().count(QLatin1Char('\n')), 4);
}

TEST_F(KxSdkLog, ErrorEntryCutBeyondTwoAndAHalfMillionCharacters) {
    const QString exact(2500000, QLatin1Char('a'));
    sdk.logFileWriteError(1, 0, exact);
    QString entries = errorText();
    EXPECT_EQ(entries, QStringLiteral("[kxServer]   8.4.03\n") + exact + QStringLiteral("\n\n"));

    ASSERT_TRUE(errorFile.open(dir.filePath(QStringLiteral("error2.log"))));
    const QString tooLong = QString(500, QLatin1Char('b')) + QString(2500000 - 500 + 1, QLatin1Char('c'));
    sdk.logFileWriteError(0, 0, tooLong);
    entries = errorText();
    EXPECT_EQ(entries, QStringLiteral("[kxServer]   8.4.03\n!!!MESSAGE TRUNCATED!!!! ") +
                           QString(500, QLatin1Char('b')) + QStringLiteral("\n\n"));

    // Not an error level, or suppressed: nothing.
    ASSERT_TRUE(errorFile.open(dir.filePath(QStringLiteral("error3.log"))));
    sdk.logFileWriteError(2, 0, QStringLiteral("warning"));
    sdk.logSuppressed = 1;
    sdk.logFileWriteError(1, 0, QStringLiteral("suppressed"));
    EXPECT_EQ(errorText(), QString());
}

TEST_F(KxSdkLog, CrashTextsAreCriticalAtAnyLevel) {
    struct Case {
        const char* text;
        bool crash;
    };
    const Case cases[] = {
        {"worker: Access violation at 0x0", true},
        {"PAGE_FAULT in module", true},
        {"caught std::bad_alloc:bad allocation", true},
        {"access violation", false}, // letter case counts
        {"PAGE FAULT", false},
        {"std::bad_alloc", false},
        // At the very start and the very end; cut short by the end of the text; after near misses.
        {"Access violation", true},
        {"stopped: PAGE_FAULT", true},
        {"stopped: PAGE_FAUL", false},
        {"sss std::bad_alloc:bad allocatio", false},
        {"Access Access violatio PAGE_ std::bad_alloc:bad allocation", true},
        {"A", false},
    };
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(mainFile.open(dir.filePath(QStringLiteral("crash%1.log").arg(n++))));
        __KXSDK fresh;
        fresh.logLevels = levels.get();
        fresh.mainLog = &mainFile;
        mainFile.addLog(QStringLiteral("earlier"));
        mainFile.addLog(QStringLiteral("lines"));
        const quint32 before = mainFile.linesSinceCriticalReset();
        ASSERT_GE(before, 2u);
        fresh.logSuppressed = 1;
        fresh.writeLog(3, 0, QString::fromLatin1(c.text));
        EXPECT_EQ(fresh.criticalSeen, c.crash ? 1 : 0) << c.text;
        EXPECT_EQ(fresh.logSuppressed, c.crash ? 0 : 1) << c.text;
        // A crash line lifts the suppression and is itself written, after the count was reset.
        quint32 atByte512 = 0;
        std::memcpy(&atByte512, reinterpret_cast<const char*>(&mainFile) + 512, 4);
        EXPECT_EQ(atByte512, c.crash ? 1u : before) << c.text;
        EXPECT_EQ(mainText().contains(QString::fromLatin1(c.text)), c.crash) << c.text;
    }
}

TEST_F(KxSdkLog, LevelZeroSetsCriticalSeenAndLiftsSuppression) {
    mainFile.addLog(QStringLiteral("before"));
    sdk.logSuppressed = 1;
    sdk.writeLog(3, 0, QStringLiteral("suppressed"));
    sdk.writeLog(1, 0, QStringLiteral("suppressed error"));
    EXPECT_EQ(sdk.criticalSeen, 0);
    sdk.writeLog(0, 0, QStringLiteral("fatal"));
    EXPECT_EQ(sdk.criticalSeen, 1);
    EXPECT_EQ(sdk.logSuppressed, 0);
    EXPECT_EQ(mainFile.linesSinceCriticalReset(), 1u);
    sdk.writeLog(3, 0, QStringLiteral("after"));
    const QString text = mainText();
    EXPECT_FALSE(text.contains(QStringLiteral("suppressed")));
    EXPECT_TRUE(text.contains(QStringLiteral("CRF (CRITICAL FAILURE) - fatal")));
    EXPECT_TRUE(text.contains(QStringLiteral("after")));
    EXPECT_FALSE(errorText().contains(QStringLiteral("suppressed")));
    // criticalSeen stays set.
    sdk.writeLog(17, 0, QStringLiteral("more"));
    EXPECT_EQ(sdk.criticalSeen, 1);
}

TEST_F(KxSdkLog, SecondaryLogRouting) {
    sdk.secondaryLogLevel = 2;
    sdk.writeLog(1, 0, QStringLiteral("an error"));
    sdk.writeLog(2, 0, QStringLiteral("a warning"));
    sdk.writeLog(5, 0, QStringLiteral("detail"));
    const QString main = mainText(), secondary = secondaryText();
    // Below the secondary level: both logs; at or above it: only the secondary log.
    EXPECT_TRUE(main.contains(QStringLiteral("ERR an error")));
    EXPECT_TRUE(secondary.contains(QStringLiteral("ERR an error")));
    EXPECT_FALSE(main.contains(QStringLiteral("a warning")));
    EXPECT_TRUE(secondary.contains(QStringLiteral("WRN a warning")));
    EXPECT_FALSE(main.contains(QStringLiteral("detail")));
    EXPECT_TRUE(secondary.contains(QStringLiteral("     detail")));
    EXPECT_EQ(main.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(secondary.count(QLatin1Char('\n')), 3);
    // The error log still receives its entry.
    EXPECT_TRUE(errorText().contains(QStringLiteral("ERR an error")));

    // Level 0 as secondary level: everything goes only to the secondary log.
    ASSERT_TRUE(mainFile.open(dir.filePath(QStringLiteral("main2.log"))));
    sdk.secondaryLogLevel = 0;
    sdk.writeLog(1, 0, QStringLiteral("x"));
    EXPECT_EQ(mainText(), QString());

    // No secondary log (-1): everything to the main log only.
    ASSERT_TRUE(secondaryFile.open(dir.filePath(QStringLiteral("secondary2.log"))));
    sdk.secondaryLogLevel = -1;
    sdk.writeLog(5, 0, QStringLiteral("main only"));
    EXPECT_TRUE(mainText().contains(QStringLiteral("main only")));
    EXPECT_EQ(secondaryText(), QString());
}

TEST_F(KxSdkLog, MissingLogFilesAreSkipped) {
    sdk.secondaryLogLevel = 2;
    sdk.secondaryLog = nullptr;
    sdk.errorLog = nullptr;
    sdk.writeLog(1, 0, QStringLiteral("still in main"));
    sdk.writeLog(5, 0, QStringLiteral("routed to the missing secondary"));
    EXPECT_TRUE(mainText().contains(QStringLiteral("still in main")));
    EXPECT_FALSE(mainText().contains(QStringLiteral("missing")));
    sdk.mainLog = nullptr;
    sdk.writeLog(0, 0, QStringLiteral("no file at all"));
    sdk.logFileWrite(1, 0, QStringLiteral("no file at all"));
    EXPECT_EQ(sdk.criticalSeen, 1);
    EXPECT_EQ(mainText().count(QLatin1Char('\n')), 1);
}

TEST_F(KxSdkLog, LevelsOffOrOutsideTheTableWriteNothing) {
    levels->enabled[5] = 0;
    levels->enabled[0] = 0;
    const int levelsToTry[] = {5, -1, -1000, _kxLogLevels::levelCount, 1000, 0};
    for (int level : levelsToTry) {
        sdk.writeLog(level, 0, QStringLiteral("level %1").arg(level));
        sdk.logFileWrite(level, 0, QStringLiteral("level %1").arg(level));
    }
    EXPECT_EQ(mainText(), QString());
    EXPECT_EQ(errorText(), QString());
    // A level-0 call marks the context even when level 0 is switched off.
    EXPECT_EQ(sdk.criticalSeen, 1);
    // The last enabled level is still written.
    sdk.writeLog(_kxLogLevels::levelCount - 1, 0, QStringLiteral("last level"));
    EXPECT_TRUE(mainText().contains(QStringLiteral("last level")));
}

namespace {
/// A process's own context: it overrides writeLog and adds an operation of its own, as a farm server does.
class ProcessSdk : public __KXSDK {
public:
    void writeLog(int level, int flags, QString const& text) override {
        logged.push_back({level, flags, text});
    }
    virtual void ownOperation() { ++ownCalls; }

    struct Line {
        int level, flags;
        QString text;
    };
    std::vector<Line> logged;
    int ownCalls = 0;
};
} // namespace

TEST(KxSdk, TableHoldsWriteLogThenTheDestructorThenTheProcesssOwnOperations) {
    // A process built against this context finds writeLog at entry 0 and the destructor at 1 and 2 (the
    // two destructor entries of the C++ ABI); its own operations follow directly, so the shared code
    // must not add entries of its own behind them.
    ProcessSdk sdk;
    void* const* table = nullptr;
    std::memcpy(&table, static_cast<const void*>(static_cast<__KXSDK*>(&sdk)), sizeof(table));

    using WriteLogEntry = void (*)(__KXSDK*, int, int, QString const&);
    WriteLogEntry writeLog;
    std::memcpy(&writeLog, &table[0], sizeof(writeLog));
    writeLog(&sdk, 17, 0x200, QStringLiteral("through entry 0"));
    ASSERT_EQ(sdk.logged.size(), 1u);
    EXPECT_EQ(sdk.logged[0].level, 17);
    EXPECT_EQ(sdk.logged[0].flags, 0x200);
    EXPECT_EQ(sdk.logged[0].text, QStringLiteral("through entry 0"));

    using OwnEntry = void (*)(ProcessSdk*);
    OwnEntry own;
    std::memcpy(&own, &table[3], sizeof(own));
    own(&sdk);
    EXPECT_EQ(sdk.ownCalls, 1) << "entry 3 is not the process's first own operation";
}

TEST_F(KxSdkLog, ForwardingToTheUserInterfaceLeavesTheFilesAsTheyAre) {
    // The shared code's user-interface hand-over does nothing; the file still gets the whole text.
    _kxLogLevels uiLevels{};
    uiLevels.enabled[3] = 1;
    sdk.logLevels = &uiLevels;
    const QString longText(300, QLatin1Char('z'));
    sdk.writeLog(3, 0x10, longText);
    sdk.forwardToUI = 1;
    sdk.writeLog(3, 0x10, longText);
    sdk.writeLog(4, 0, QStringLiteral("level off"));
    EXPECT_EQ(mainText(), longText + QLatin1Char('\n') + longText + QLatin1Char('\n'));

    // The 8-bit entry point writes no file; a level-0 call still marks the context.
    sdk.forwardToUI = 0;
    sdk.logSuppressed = 1;
    sdk.writeLog_noQT(3, 0, _kxString<250>("from 8-bit code"));
    sdk.writeLog_noQT(4, 0, _kxString<250>("level off"));
    EXPECT_EQ(sdk.criticalSeen, 0);
    EXPECT_EQ(sdk.logSuppressed, 1);
    sdk.writeLog_noQT(0, 0, _kxString<250>("critical, level off"));
    EXPECT_EQ(sdk.criticalSeen, 1);
    EXPECT_EQ(sdk.logSuppressed, 0);
    EXPECT_EQ(mainText().count(QLatin1Char('\n')), 2);
    EXPECT_EQ(secondaryText(), QString());
    EXPECT_EQ(errorText(), QString());
}

TEST(KxSdkNoQT, EightBitLineLayout) {
    __KXSDK sdk;
    const QString label = QStringLiteral("kxServer@farm");
    for (int i = 0; i < label.size(); ++i)
        sdk.processLabel[i] = label.at(i).unicode();
    struct Case {
        int level;
        int flags;
        const char* text;
        QString expected; // after the start text, or the whole line with flag 0x10
    };
    const Case cases[] = {
        {1, 0, "disk full", QStringLiteral("Error - disk full;;   kxServer@farm 8.4.03")},
        {0, 0, "halted", QStringLiteral("Critical Failure - halted;;   kxServer@farm 8.4.03")},
        {2, 0, "careful", QStringLiteral("Warning - careful")},
        {17, 0, "info", QStringLiteral("info")},
        {1, 0x10, "plain", QStringLiteral("Error - plain;;   kxServer@farm 8.4.03")},
        {1, 0x14, "no separator", QStringLiteral("Error - no separatorkxServer@farm 8.4.03")},
        {2, 0x14, "warn", QStringLiteral("Warning - warn")},
    };
    for (const Case& c : cases) {
        _kxString<250> out("stale");
        sdk.formatLogMessage_noQT(c.level, c.flags, _kxString<250>(c.text), out);
        QString line = out.toQString();
        if (!(c.flags & 0x10)) {
            EXPECT_TRUE(timeStart.match(line).hasMatch()) << line.toStdString();
            EXPECT_EQ(line.mid(16, 4), QStringLiteral(";   ")) << line.toStdString();
            line = line.mid(20);
        }
        EXPECT_EQ(line, c.expected) << c.text;
    }
}

TEST(KxSdkNoQT, LineNeverPasses250) {
    __KXSDK sdk;
    // A label without its terminating 0 is read only to the end of its field.
    for (char16_t& u : sdk.processLabel)
        u = u'L';
    _kxString<250> message;
    message.set(QString(250, QLatin1Char('m')));
    _kxString<250> out;
    sdk.formatLogMessage_noQT(1, 0, message, out);
    EXPECT_EQ(out.len(), 250);
    EXPECT_EQ(out.text[250], 0);
    EXPECT_TRUE(out.toQString().contains(QStringLiteral("Error - mmm")));

    // The line may be built in place of the message.
    _kxString<250> inPlace("in place");
    sdk.formatLogMessage_noQT(2, 0x10, inPlace, inPlace);
    EXPECT_EQ(inPlace.toQString(), QStringLiteral("Warning - in place"));

    sdk.formatLogMessage_noQT(1, 0x10, _kxString<250>("short"), out);
    EXPECT_EQ(out.len(), 250);
    EXPECT_TRUE(out.toQString().startsWith(QStringLiteral("Error - short;;   LLL")));
    EXPECT_TRUE(out.toQString().endsWith(QStringLiteral("LLL")));
}

TEST(KxSdk, FileErrorTexts) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {0, "No error occurred"},
        {1, "An error occurred when reading from the file."},
        {2, "An error occurred when writing to the file."},
        {3, "A fatal error occurred."},
        {4, "Resource error."},
        {5, "The file could not be opened."},
        {6, "The operation was aborted."},
        {7, "A timeout occurred."},
        {8, "An unspecified error occurred."},
        {9, "The file could not be removed."},
        {10, "The file could not be renamed."},
        {11, "The position in the file could not be changed."},
        {12, "The file could not be resized."},
        {13, "The file could not be accessed."},
        {14, "The file could not be copied."},
        {15, "Unknown Error 15"},
        {99, "Unknown Error 99"},
        {-1, "Unknown Error -1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kxConvertFileError_localSDK(QFile::FileError(c.code)), QString::fromLatin1(c.text))
            << c.code;
}
