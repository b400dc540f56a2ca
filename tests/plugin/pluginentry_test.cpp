// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// End to end: the built product library loaded with dlopen by the stand-in server, its entry points
// called as the server calls them, the results read from the client records and the log file on disk.
#include "farmserver.h"

#include "clients/clientlist.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct LoggedLine {
    int level;
    int flags;
    QString text;
};

/// A host that also keeps every line the plug-in hands to its log operation, and can be told to
/// throw from it, as a failing server would.
class RecordingHost : public kxFarmHost {
public:
    using kxFarmHost::kxFarmHost;

    void writeLog(int level, int flags, const QString& text) override {
        lines.push_back({level, flags, text});
        if (onLog)
            onLog(int(lines.size()));
        if (throwAtCall == int(lines.size()))
            throw std::runtime_error("log operation failed");
        kxFarmHost::writeLog(level, flags, text);
    }

    std::vector<LoggedLine> lines;
    int throwAtCall = 0;
    std::function<void(int)> onLog;
};

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        logPath = dir.filePath(QStringLiteral("server.log"));
        auto recording = std::make_unique<RecordingHost>(logPath);
        host = recording.get();
        server = std::make_unique<kxFarmServer>(std::move(recording));
        QString error;
        ASSERT_TRUE(server->loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
        job = std::make_unique<kxJ::_JobSend>();
        job->ID = kxJ::_IDDecomp{0, 0, 0, 123456789, 0}.toID(); // "{KT9 }"
        job->status = 200;
        job->userName.set(QStringLiteral("anna"));
        job->sceneName.set(QStringLiteral("/p/shot.ma"));
        job->imageDir.set(QStringLiteral("/r/"));
        job->imageFileName.set(QStringLiteral("beauty.exr"));
    }

    void addClients(std::initializer_list<const char*> names) {
        for (const char* name : names)
            ASSERT_GE(host->addClient(QString::fromLatin1(name)), 0) << name;
    }
    QString pending(const char* name) const {
        return host->userMessages(host->findClient(QString::fromLatin1(name)));
    }
    int notify(const QString& recipients) {
        job->messageClientNames.set(recipients);
        return server->callNotify(*job);
    }
    QString logOnDisk() {
        host->flushLog();
        return readFile(logPath);
    }
    /// The message a client shows, without its first line (the time of the call).
    static QString withoutTime(const QString& message) {
        static const QRegularExpression time(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}\\n"));
        const QRegularExpressionMatch m = time.match(message);
        return m.hasMatch() ? message.mid(m.capturedLength()) : QStringLiteral("<no time line> ") + message;
    }

    QTemporaryDir dir;
    QString logPath;
    RecordingHost* host = nullptr;
    std::unique_ptr<kxFarmServer> server;
    std::unique_ptr<kxJ::_JobSend> job;
};

template <typename T>
T at(const unsigned char* bytes, std::size_t offset) {
    T v;
    std::memcpy(&v, bytes + offset, sizeof(T));
    return v;
}

/// The text of a string field read from its bytes: length word at the offset, units 4 bytes on.
QString textAt(const unsigned char* bytes, std::size_t offset, int* secondWord = nullptr) {
    const quint16 length = at<quint16>(bytes, offset);
    if (secondWord)
        *secondWord = at<quint16>(bytes, offset + 2);
    QString s;
    for (int i = 0; i < length; ++i)
        s.append(QChar(at<quint16>(bytes, offset + 4 + 2 * std::size_t(i))));
    EXPECT_EQ(at<quint16>(bytes, offset + 4 + 2 * std::size_t(length)), 0)
        << "0 unit after the text at " << offset;
    return s;
}

TEST_F(PluginEntry, InfoFillsTheRecordByteByByte) {
    std::vector<unsigned char> record(sizeof(_kxPluginInfo), 0xA5);
    const quint16 id = kxPluginInterfaceId;
    std::memcpy(record.data(), &id, 2);
    void* reference = host->pluginReference();
    std::memcpy(record.data() + 504, &reference, sizeof(reference));
    for (std::size_t field : {18u, 124u, 330u, 386u, 442u}) {
        const quint16 second = quint16(0x1200 + field);
        std::memcpy(record.data() + field + 2, &second, 2);
    }
    const std::vector<unsigned char> before = record;

    EXPECT_EQ(server->plugin().info(*reinterpret_cast<_kxPluginInfo*>(record.data())), 1);

    const unsigned char* b = record.data();
    EXPECT_EQ(at<quint16>(b, 0), 49156);
    EXPECT_EQ(at<quint16>(b, 2), 1);
    EXPECT_TRUE(std::equal(b + 4, b + 18, before.begin() + 4)) << "bytes 4 to 17 are not the plug-in's";
    struct Field {
        std::size_t offset;
        QString expected;
    };
    const QString qt = QString::fromLatin1(qVersion()).left(25);
    const Field fields[] = {{18, QStringLiteral("kxMessage")},
                            {330, QStringLiteral("1.0")},
                            {386, QStringLiteral(" 8.4.03")},
                            {442, qt}};
    for (const Field& f : fields) {
        int second = 0;
        EXPECT_EQ(textAt(b, f.offset, &second), f.expected) << f.offset;
        EXPECT_EQ(second, 0x1200 + int(f.offset)) << "second word of the field at " << f.offset;
    }
    int second = 0;
    const QString credit = textAt(b, 124, &second);
    EXPECT_FALSE(credit.isEmpty());
    EXPECT_LE(credit.size(), 100);
    EXPECT_EQ(second, 0x1200 + 124);
    EXPECT_EQ(b[498], 0);
    EXPECT_TRUE(std::equal(b + 499, b + 504, before.begin() + 499))
        << "bytes 499 to 503 are not the plug-in's";
    EXPECT_EQ(at<void*>(b, 504), reference);
    EXPECT_EQ(at<quint32>(b, 512), 0u);
}

TEST_F(PluginEntry, InfoWithAnotherIdentifierWritesOnlyTheIdentifier) {
    for (quint16 wrong : {quint16(0), quint16(49155), quint16(49157), quint16(0xFFFF)}) {
        std::vector<unsigned char> record(sizeof(_kxPluginInfo), 0x5C);
        std::memcpy(record.data(), &wrong, 2);
        void* reference = host->pluginReference();
        std::memcpy(record.data() + 504, &reference, sizeof(reference));
        std::vector<unsigned char> expected = record;
        const quint16 id = kxPluginInterfaceId;
        std::memcpy(expected.data(), &id, 2);
        EXPECT_EQ(server->plugin().info(*reinterpret_cast<_kxPluginInfo*>(record.data())), 5) << wrong;
        EXPECT_EQ(record, expected) << wrong;
    }
}

TEST_F(PluginEntry, InfoRefusesAHostOfAnotherInterfaceVersion) {
    struct Case {
        quint16 version;
        quint32 version2;
    };
    for (const Case& c : {Case{3843, 3844}, Case{3844, 3843}, Case{0, 0}}) {
        host->interfaceVersion = c.version;
        host->interfaceVersion2 = c.version2;
        _kxPluginInfo info;
        std::memset(static_cast<void*>(&info), 0x11, sizeof(info));
        EXPECT_EQ(server->callInfo(info), 5);
        EXPECT_EQ(info.name.toQString(), QStringLiteral("kxMessage")) << "texts stay written";
        EXPECT_EQ(info.flag, 0x11);
        EXPECT_EQ(info.value, 0x11111111u);
    }
}

TEST_F(PluginEntry, InitAndExitAnswerOneWhateverTheyAreGiven) {
    // A second handle on the loaded library, to call the entry points with arguments of our choosing.
    void* library = dlopen(KX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    std::vector<unsigned char> junk(64, 0xEE);
    for (const char* name : {"pInit", "pExit"}) {
        void* symbol = dlsym(library, name);
        ASSERT_NE(symbol, nullptr) << name;
        kxPluginEntry entry;
        std::memcpy(&entry, &symbol, sizeof(entry));
        EXPECT_EQ(entry(nullptr), 1) << name;
        EXPECT_EQ(entry(junk.data()), 1) << name;
    }
    dlclose(library);
    EXPECT_EQ(server->callExit(), 1);
    EXPECT_EQ(server->callInit(), 1);
    EXPECT_EQ(junk, std::vector<unsigned char>(64, 0xEE));
}

TEST_F(PluginEntry, OnlyTheExistingRecipientReceivesAndTheLogSaysSo) {
    addClients({"nodeB", "render01", "render02"});
    EXPECT_EQ(notify(QStringLiteral("nodeA;nodeB")), 1);

    EXPECT_EQ(withoutTime(pending("nodeB")),
              QStringLiteral("Job {KT9 } [anna] finished. \nScene:/p/shot.ma \nImage:/r/beauty.exr"));
    EXPECT_EQ(pending("render01"), QString());
    EXPECT_EQ(pending("render02"), QString());

    ASSERT_EQ(host->lines.size(), 3u);
    EXPECT_EQ(host->lines[0].level, 17);
    EXPECT_EQ(host->lines[0].text, QStringLiteral("pNotify kxMessage started for job {KT9 }"));
    EXPECT_EQ(host->lines[1].level, 17);
    EXPECT_EQ(host->lines[1].text,
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeB\n") + pending("nodeB"));
    EXPECT_EQ(host->lines[2].level, 17);
    EXPECT_EQ(host->lines[2].text,
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA;nodeB'. (  n:3|||\n)"));
    for (const LoggedLine& line : host->lines)
        EXPECT_EQ(line.flags, 0);

    const QString log = logOnDisk();
    EXPECT_TRUE(log.contains(QStringLiteral("     pNotify kxMessage started for job {KT9 }\n")))
        << log.toStdString();
    EXPECT_TRUE(
        log.contains(QStringLiteral("     {KT9 } kxNotifyKXMessage send to 'nodeA;nodeB'. (  n:3|||\n") +
                     QString(22, QLatin1Char(' ')) + QStringLiteral(")\n")))
        << log.toStdString();
}

TEST_F(PluginEntry, ANameListedTwiceIsDeliveredOnce) {
    addClients({"nodeA", "other"});
    EXPECT_EQ(notify(QStringLiteral("nodeA;;nodeA")), 1);
    const QString message = pending("nodeA");
    EXPECT_FALSE(message.contains(QStringLiteral("\n\n"))) << "one message only: " << message.toStdString();
    EXPECT_EQ(withoutTime(message),
              QStringLiteral("Job {KT9 } [anna] finished. \nScene:/p/shot.ma \nImage:/r/beauty.exr"));
    EXPECT_EQ(pending("other"), QString());

    // Every call delivers afresh: the plug-in keeps nothing between calls.
    EXPECT_EQ(notify(QStringLiteral("other;nodeA")), 1);
    EXPECT_EQ(pending("nodeA"), message + QStringLiteral("\n\n") + message);
    EXPECT_EQ(pending("other"), message);
}

TEST_F(PluginEntry, NamesThatShareABeginningOrALengthAreToldApart) {
    addClients({"node1", "node10", "node", "Node1", "node2"});
    EXPECT_EQ(notify(QStringLiteral("node10;;node1;node10;;;")), 1);
    EXPECT_EQ(withoutTime(pending("node1")),
              QStringLiteral("Job {KT9 } [anna] finished. \nScene:/p/shot.ma \nImage:/r/beauty.exr"));
    EXPECT_EQ(pending("node10"), pending("node1")) << "once, though listed twice";
    for (const char* other : {"node", "Node1", "node2"})
        EXPECT_EQ(pending(other), QString()) << other;
}

TEST_F(PluginEntry, EmptyPartsOfTheRecipientTextAreNamesToo) {
    // The text is split keeping its empty parts, so an empty part names a client whose name is empty.
    addClients({"nodeA", "nameless"});
    kxC::_Client* nameless = host->clients().byListNo.pointers[host->findClient(QStringLiteral("nameless"))];
    nameless->status.name.clear();
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    EXPECT_EQ(nameless->userMessage.text.toQString(), QString());
    EXPECT_EQ(notify(QStringLiteral("nodeA;")), 1);
    EXPECT_EQ(withoutTime(nameless->userMessage.text.toQString()),
              QStringLiteral("Job {KT9 } [anna] finished. \nScene:/p/shot.ma \nImage:/r/beauty.exr"));
    EXPECT_EQ(pending("nodeA").count(QStringLiteral("Job {KT9 }")), 2);
}

TEST_F(PluginEntry, UnknownNamesAreReportedAndStillHandled) {
    addClients({"render01", "render02"});
    EXPECT_EQ(notify(QStringLiteral("nodeA;nodeB")), 1);
    EXPECT_EQ(pending("render01"), QString());
    EXPECT_EQ(pending("render02"), QString());
    ASSERT_EQ(host->lines.size(), 3u);
    EXPECT_EQ(host->lines[2].level, 2);
    EXPECT_EQ(host->lines[2].text,
              QStringLiteral("{KT9 } kxNotifyKXMessage NOT SEND. 'nodeA;nodeB' not found. (  n:2|||\n)"));
    EXPECT_TRUE(logOnDisk().contains(
        QStringLiteral("| WRN {KT9 } kxNotifyKXMessage NOT SEND. 'nodeA;nodeB' not found.")));
}

TEST_F(PluginEntry, AnEmptyListGivesTheZeroCount) {
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    ASSERT_EQ(host->lines.size(), 3u);
    EXPECT_EQ(host->lines[2].level, 2);
    EXPECT_TRUE(host->lines[2].text.endsWith(QStringLiteral("  n:0|||\n)")))
        << host->lines[2].text.toStdString();
}

TEST_F(PluginEntry, StatusChoosesTheTemplate) {
    addClients({"nodeA"});
    struct Case {
        quint8 status;
        const char* phrase;
    };
    const Case cases[] = {{0, "preview frames done."}, {120, "preview frames done."},
                          {121, "frames done."},       {179, "frames done."},
                          {180, "finished."},          {255, "finished."}};
    for (const Case& c : cases) {
        host->clearUserMessages(host->findClient(QStringLiteral("nodeA")));
        job->status = c.status;
        EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
        EXPECT_EQ(withoutTime(pending("nodeA")),
                  QStringLiteral("Job {KT9 } [anna] %1 \nScene:/p/shot.ma \nImage:/r/beauty.exr")
                      .arg(QLatin1String(c.phrase)))
            << int(c.status);
    }
}

TEST_F(PluginEntry, CharactersOutsideLatin1AreReplaced) {
    addClients({"nodeA"});
    job->sceneName.set(QString::fromUtf8("/p/\xE5\xA0\xB4\xE6\x99\xAF_\xC3\xA9t\xC3\xA9_\xE2\x82\xAC.ma"));
    job->userName.set(QString::fromUtf8("bj\xC3\xB6rn"));
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    EXPECT_EQ(withoutTime(pending("nodeA")),
              QString::fromUtf8("Job {KT9 } [bj\xC3\xB6rn] finished. \nScene:/p/??_\xC3\xA9t\xC3\xA9_?.ma "
                                "\nImage:/r/beauty.exr"));
}

TEST_F(PluginEntry, NoRecipientGivesFourteenAndNoSendLine) {
    addClients({"nodeA"});
    EXPECT_EQ(notify(QString()), 14);
    ASSERT_EQ(host->lines.size(), 2u);
    EXPECT_EQ(host->lines[1].level, 2);
    EXPECT_EQ(host->lines[1].text, QStringLiteral("pNotify kxMessage: No Client Name specified"));
    EXPECT_EQ(pending("nodeA"), QString());
    const QString log = logOnDisk();
    EXPECT_TRUE(log.contains(QStringLiteral("| WRN pNotify kxMessage: No Client Name specified\n")));
    EXPECT_FALSE(log.contains(QStringLiteral("send to")));
}

TEST_F(PluginEntry, WrongStampsOrMarksGiveFiveAndTouchNothing) {
    addClients({"nodeA"});
    host->addUserMessage(host->findClient(QStringLiteral("nodeA")), QStringLiteral("earlier"));
    job->messageClientNames.set(QStringLiteral("nodeA"));
    struct Case {
        const char* what;
        std::function<void(kxJ::_JobSend&, kxFarmHost&)> spoil;
    };
    const Case cases[] = {
        {"send-level stamp 1803", [](kxJ::_JobSend& j, kxFarmHost&) { j.structureIDs[6] = 1803; }},
        {"basics version 0", [](kxJ::_JobSend& j, kxFarmHost&) { j.structureIDs[1] = 0; }},
        {"submitter stamp", [](kxJ::_JobSend& j, kxFarmHost&) { j.structureIDs[2] = 1293; }},
        {"save version 0", [](kxJ::_JobSend& j, kxFarmHost&) { j.structureIDs[5] = 0; }},
        {"layout mark", [](kxJ::_JobSend&, kxFarmHost& h) { h.layoutMark = 24091; }},
        {"end mark", [](kxJ::_JobSend&, kxFarmHost& h) { h.endMark = 0x0A23D23D; }},
    };
    for (const Case& c : cases) {
        auto spoiled = std::make_unique<kxJ::_JobSend>(*job);
        c.spoil(*spoiled, *host);
        const auto before = std::make_unique<kxJ::_JobSend>(*spoiled);
        host->lines.clear();
        EXPECT_EQ(server->callNotify(*spoiled), 5) << c.what;
        EXPECT_EQ(std::memcmp(spoiled.get(), before.get(), sizeof(kxJ::_JobSend)), 0) << c.what;
        EXPECT_EQ(pending("nodeA"), QStringLiteral("earlier")) << c.what;
        ASSERT_EQ(host->lines.size(), 1u) << c.what;
        EXPECT_EQ(host->lines[0].text, QStringLiteral("pNotify kxMessage started for job {KT9 }")) << c.what;
        host->layoutMark = kxHostLayoutMark;
        host->endMark = kxHostEndMark;
    }
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1) << "the unspoilt job is handled";
}

TEST_F(PluginEntry, ValuesThatLookLikePlaceholdersStayLiteral) {
    addClients({"nodeA"});
    job->userName.set(QStringLiteral("%6"));
    job->sceneName.set(QStringLiteral("/p/shot_%3_%5.ma"));
    job->imageDir.set(QStringLiteral("/r/%6/"));
    job->imageFileName.set(QStringLiteral("f%1.exr"));
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    EXPECT_EQ(withoutTime(pending("nodeA")),
              QStringLiteral("Job {KT9 } [%6] finished. \nScene:/p/shot_%3_%5.ma \nImage:/r/%6/f%1.exr"));
}

TEST_F(PluginEntry, StoredLengthsBeyondCapacityAreReadToCapacity) {
    addClients({"nodeA"});
    const QString scene(500, QLatin1Char('s'));
    job->sceneName.set(scene);
    job->sceneName.length = 60000;
    job->userName.set(QString(25, QLatin1Char('u')));
    job->userName.length = 0xFFFF;
    job->imageFileName.set(QString(250, QLatin1Char('f')));
    job->imageFileName.length = 251;
    job->messageClientNames.set(QStringLiteral("nodeA"));
    job->messageClientNames.length = 900; // the units behind the text are zeros: no recipient matches
    EXPECT_EQ(server->callNotify(*job), 1);
    EXPECT_EQ(pending("nodeA"), QString());
    ASSERT_EQ(host->lines.size(), 3u);
    const QString composed = host->lines[1].text;
    EXPECT_TRUE(composed.contains(QStringLiteral("[") + QString(25, QLatin1Char('u')) + QStringLiteral("]")));
    EXPECT_TRUE(composed.contains(QStringLiteral("Scene:") + scene + QStringLiteral(" \n")));
    EXPECT_TRUE(composed.endsWith(QStringLiteral("/r/") + QString(250, QLatin1Char('f'))));

    // A client name whose stored length passes its capacity compares with its 50 characters.
    kxC::_ClientList& list = host->clients();
    kxC::_Client* client = list.byListNo.pointers[host->findClient(QStringLiteral("nodeA"))];
    const QString longName(50, QLatin1Char('n'));
    client->status.name.set(longName);
    client->status.name.length = 4000;
    host->lines.clear();
    EXPECT_EQ(notify(longName + QStringLiteral("xyz")), 1)
        << "a recipient is cut to 50 before the comparison";
    EXPECT_EQ(withoutTime(client->userMessage.text.toQString()).left(10), QStringLiteral("Job {KT9 }"));
}

TEST_F(PluginEntry, AThrowingLogOperationGivesSixAndQueuedMessagesStay) {
    addClients({"nodeA", "nodeB"});
    struct Case {
        int throwAt;
        bool delivered;
    };
    // Call 1 is the start line, 2 the composed message, 3 the line after delivery.
    for (const Case& c : {Case{1, false}, Case{2, false}, Case{3, true}}) {
        host->clearUserMessages(host->findClient(QStringLiteral("nodeA")));
        host->clearUserMessages(host->findClient(QStringLiteral("nodeB")));
        host->lines.clear();
        host->throwAtCall = c.throwAt;
        EXPECT_EQ(notify(QStringLiteral("nodeA;nodeB")), 6) << c.throwAt;
        EXPECT_EQ(host->lines.size(), std::size_t(c.throwAt));
        EXPECT_EQ(pending("nodeA").isEmpty(), !c.delivered) << c.throwAt;
        EXPECT_EQ(pending("nodeB").isEmpty(), !c.delivered) << c.throwAt;
    }
    host->throwAtCall = 0;
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1) << "the next call is handled as usual";
}

TEST_F(PluginEntry, TheMessageLineIsOnDiskBeforeDelivery) {
    addClients({"nodeA"});
    QString onDiskAtFinalLine;
    QString pendingAtFinalLine;
    host->onLog = [&](int call) {
        if (call == 3) {
            onDiskAtFinalLine = readFile(logPath);
            pendingAtFinalLine = pending("nodeA");
        }
    };
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    host->onLog = nullptr;
    EXPECT_FALSE(pendingAtFinalLine.isEmpty());
    EXPECT_TRUE(onDiskAtFinalLine.contains(QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA\n")))
        << onDiskAtFinalLine.toStdString();
    EXPECT_TRUE(onDiskAtFinalLine.contains(QStringLiteral("Job {KT9 } [anna] finished.")));
}

TEST_F(PluginEntry, AClientCountBeyondTheListIsReadToItsCapacity) {
    addClients({"nodeA", "nodeB"});
    kxC::_ClientList& list = host->clients();
    struct Case {
        qint16 count;
        bool reachesNodeB;
    };
    // nodeA and nodeB hold positions 0 and 1; a count of 1 reaches only nodeA, a count beyond 1500 is
    // read as 1500 (the slots behind the used ones are cleared records), a negative one as none.
    for (const Case& c : {Case{32000, true}, Case{1501, true}, Case{1, false}, Case{-5, false}}) {
        host->clearUserMessages(1);
        host->lines.clear();
        list.clientCount = c.count;
        EXPECT_EQ(notify(QStringLiteral("nodeB")), 1) << c.count;
        list.clientCount = 2;
        EXPECT_EQ(!pending("nodeB").isEmpty(), c.reachesNodeB) << c.count;
        ASSERT_EQ(host->lines.size(), 3u);
        EXPECT_TRUE(host->lines[2].text.endsWith(QStringLiteral("  n:%1|||\n)").arg(c.count)))
            << host->lines[2].text.toStdString();
    }
    // A position without a record is passed over.
    kxC::_Client* first = list.byListNo.pointers[0];
    list.byListNo.pointers[0] = nullptr;
    EXPECT_EQ(notify(QStringLiteral("nodeA;nodeB")), 1);
    list.byListNo.pointers[0] = first;
}

TEST_F(PluginEntry, WorksAgainAfterTheLibraryIsUnloadedAndLoaded) {
    // The library's constant texts are built when it loads and released when it unloads; a server
    // that reloads its plug-ins gets a working one back.
    addClients({"nodeA"});
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    server->plugin().unload();
    QString error;
    ASSERT_TRUE(server->loadPlugin(QStringLiteral(KX_PLUGIN_FILE), error)) << error.toStdString();
    _kxPluginInfo info{};
    EXPECT_EQ(server->callInfo(info), 1);
    EXPECT_EQ(info.name.toQString(), QStringLiteral("kxMessage"));
    EXPECT_EQ(notify(QStringLiteral("nodeA")), 1);
    const QString message = withoutTime(pending("nodeA").section(QStringLiteral("\n\n"), 1));
    EXPECT_EQ(message,
              QStringLiteral("Job {KT9 } [anna] finished. \nScene:/p/shot.ma \nImage:/r/beauty.exr"));
    EXPECT_EQ(host->lines.back().text,
              QStringLiteral("{KT9 } kxNotifyKXMessage send to 'nodeA'. (  n:1|||\n)"));
}

} // namespace
