// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Runs the built kxinspect as a user does and compares its whole output: the text exactly, the
// --json document parsed back, the message on standard error and the exit code.
#include "clients/clientstats.h"
#include "kxdatabuffer.h"
#include "tests/programrun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>

#include <gtest/gtest.h>

namespace {

using Outcome = kxProgramOutcome;

Outcome runInspect(const QStringList& arguments, const QString& workingDirectory = QString(),
                   const QByteArray& input = QByteArray()) {
    return kxRunProgram(QStringLiteral(KX_INSPECT_PROGRAM), arguments, workingDirectory, input);
}

QStringList split(const char* arguments) {
    return QString::fromUtf8(arguments).split(QLatin1Char('|'));
}

/// One call: the arguments separated by '|' (so a value may hold blanks), and what it prints.
struct TextCase {
    const char* arguments;
    const char* out;
};

void expectText(const TextCase& c) {
    SCOPED_TRACE(c.arguments);
    const Outcome run = runInspect(split(c.arguments));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), c.out);
    EXPECT_EQ(run.err.toStdString(), "");
}

void expectJson(const char* arguments, const char* expected) {
    SCOPED_TRACE(arguments);
    const Outcome run = runInspect(split(arguments) << QStringLiteral("--json"));
    EXPECT_EQ(run.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument got = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonDocument want = QJsonDocument::fromJson(QByteArray(expected), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << "expected document: " << expected;
    EXPECT_EQ(got, want) << run.out.toStdString();
    EXPECT_EQ(run.err.toStdString(), "");
}

/// A call that fails: the exit code and the whole message on standard error; nothing on standard output.
struct FaultCase {
    const char* arguments;
    int exitCode;
    const char* err;
};

template <size_t N>
void expectFaults(const FaultCase (&cases)[N]) {
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runInspect(split(c.arguments));
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.toStdString(), c.err);
    }
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

/// A call refused with `fault`: exit 2 and the message on standard error, in text and under --json,
/// where standard output holds the fault as a document too.
void expectRefused(const QStringList& arguments, const QString& fault, const QJsonObject& extra = {}) {
    SCOPED_TRACE(arguments.join(QLatin1Char('|')).toStdString());
    const QString message = QStringLiteral("kxinspect %1: %2\n").arg(arguments.first(), fault);
    const Outcome text = runInspect(arguments);
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_EQ(text.out.toStdString(), "");
    EXPECT_EQ(text.err.toStdString(), message.toStdString());
    QStringList withJson = arguments;
    withJson.insert(1, QStringLiteral("--json"));
    const Outcome json = runInspect(withJson);
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_EQ(json.err.toStdString(), message.toStdString());
    QJsonObject want = extra;
    want.insert(QStringLiteral("error"), fault);
    EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8()).object(), want) << json.out.toStdString();
}

/// A call that succeeds with `exitCode` and warns with exactly `warnings` on standard error, in text and
/// under --json; the answers go to standard output. Returns the parsed document.
QJsonObject expectWarned(const QStringList& arguments, const QStringList& warnings, int exitCode = 0) {
    SCOPED_TRACE(arguments.join(QLatin1Char('|')).toStdString());
    QString err;
    for (const QString& warning : warnings)
        err += QStringLiteral("kxinspect %1: warning: %2\n").arg(arguments.first(), warning);
    const Outcome text = runInspect(arguments);
    EXPECT_EQ(text.exitCode, exitCode);
    EXPECT_FALSE(text.out.isEmpty());
    EXPECT_FALSE(text.out.contains(QStringLiteral("warning")));
    EXPECT_EQ(text.err.toStdString(), err.toStdString());
    QStringList withJson = arguments;
    withJson.insert(1, QStringLiteral("--json"));
    const Outcome json = runInspect(withJson);
    EXPECT_EQ(json.exitCode, exitCode);
    EXPECT_EQ(json.err.toStdString(), err.toStdString());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    return document.object();
}

} // namespace

TEST(KxInspect, CommandListAndHelp) {
    const char* list =
        "Usage: kxinspect COMMAND [ARGUMENTS] [--json] [--help] | --version\n"
        "Shows what the farm's data model makes of its input.\n\n"
        "Commands:\n"
        "  id         the texts and the 32-bit short form of a job identifier\n"
        "  frames     a frame set read in one form, written in all three, and its frame numbers\n"
        "  unc        the automatic mount point of a Windows share or an NFS export\n"
        "  vmid       virtual-machine identifier texts, joined from their parts or split into them\n"
        "  version    the render application's version numbers and its version-free pattern\n"
        "  log        the names and colours of job history event codes\n"
        "  error      the texts of job error codes\n"
        "  stats      a client statistics file: its records' job counts and success rates\n"
        "  config     configuration keys with group, type, default and range; scrambled texts both ways\n"
        "  filter     each job of a sample farm with pass or fail, and the terms and keywords read from "
        "TEXT\n"
        "  status     the text of a client render thread's status and the reason it is off\n"
        "  vars       the variables a job of a sample farm exports to its render commands, name and value\n"
        "  resolve    a template with a job's variables replaced, in each mode\n"
        "  image      an output image path split into folder, name, frame digits and extension\n"
        "  clientcfg  a sample farm's client written into a client configuration file as the server writes "
        "it\n"
        "\nExit codes: 0 success, 1 a check answered no, 2 a fault.\n"
        "Warnings (what the farm would do differently) go to standard error; with --json\n"
        "a fault is also a document on standard output: {\"error\", \"file\", \"line\"}.\n"
        "'kxinspect COMMAND --help' describes one command.\n";
    expectText({"--help", list});
    expectText({"help", list});
    // Without a command the list is a usage fault: on standard error, exit 2.
    const Outcome bare = runInspect({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(bare.out.toStdString(), "");
    EXPECT_EQ(bare.err.toStdString(), list);

    const char* idHelp =
        "Usage: kxinspect id NUMBER | TEXT | --main N [--member M]\n"
        "the texts and the 32-bit short form of a job identifier\n"
        "NUMBER is the packed 64-bit identifier, decimal or hexadecimal after 0x. --main N (0 to "
        "4294967295)\n"
        "and --member M (0 to 255) build it from the main number and family member, as a farm file's\n"
        "\"number\" and \"member\" give them. Shown: its main number, family member and extra bytes, the "
        "short\n"
        "text in braces, the full text, the 32-bit short form with the text it stands for, and the main\n"
        "numbers that show the same short text: it keeps neither the last four digits of the main number\n"
        "nor the extra bytes, and repeats every 466560000 (main numbers 0 to 9999 all show {AAA }).\n"
        "TEXT is a short text (\"{KT9 }\") or a full text (\"KT9_29AA\"): shown are the family member, the\n"
        "main numbers and extra bytes it can stand for, and the identifier when only one is left.\n"
        "Exit codes: 0 success, 2 a fault.\n"
        "\n"
        "Options:\n"
        "  --main N              the identifier's main number\n"
        "  --member M            with --main: the family member\n"
        "  --json                one JSON document in place of the text\n"
        "  --help                this text\n";
    expectText({"id|--help", idHelp});
    expectText({"help|id", idHelp});
    // --help wins over a missing argument or an argument that would be refused.
    expectText({"id|not-a-number|--help", idHelp});
}

TEST(KxInspect, ArgumentFaults) {
    const FaultCase cases[] = {
        {"nope", 2, "kxinspect: unknown command 'nope' (see kxinspect --help)\n"},
        {"help|nope", 2, "kxinspect: unknown command 'nope' (see kxinspect --help)\n"},
        {"id", 2,
         "kxinspect id: missing NUMBER, TEXT or --main N (usage: kxinspect id NUMBER | TEXT | --main N "
         "[--member M])\n"},
        {"id|"
         "1|"
         "2",
         2, "kxinspect id: unexpected argument '2'\n"},
        {"id|"
         "1|--verbose",
         2, "kxinspect id: unknown option '--verbose'\n"},
        {"id|"
         "1|-v",
         2, "kxinspect id: unknown option '-v'\n"},
        {"id|"
         "1|--json=yes",
         2, "kxinspect id: unknown option '--json'\n"},
        {"frames|"
         "1|--form",
         2, "kxinspect frames: option '--form' needs a value FORM\n"},
        {"frames|"
         "1|--form=list|--form=flags",
         2, "kxinspect frames: option '--form' given twice\n"},
        {"id|-5", 2, "kxinspect id: NUMBER '-5' is not a decimal or 0x hexadecimal number\n"},
        {"id|"
         "12x",
         2, "kxinspect id: NUMBER '12x' is not a decimal or 0x hexadecimal number\n"},
        {"id|"
         "0x",
         2, "kxinspect id: NUMBER '0x' is not a decimal or 0x hexadecimal number\n"},
        {"id|"
         "18446744073709551616",
         2, "kxinspect id: NUMBER '18446744073709551616' is out of range (0 to 18446744073709551615)\n"},
        {"id|"
         "0x10000000000000000",
         2, "kxinspect id: NUMBER '0x10000000000000000' is out of range (0 to 18446744073709551615)\n"},
        {"frames|"
         "1|--form|bits",
         2, "kxinspect frames: --form 'bits' is not list, flags or bita85\n"},
        {"frames|"
         "1|--start|"
         "2147483648",
         2, "kxinspect frames: --start '2147483648' is out of range (-2147483648 to 2147483647)\n"},
        {"frames|"
         "1|--start|"
         "ten",
         2, "kxinspect frames: --start 'ten' is not a number\n"},
        {"frames|xx|--form|"
         "flags",
         2, "kxinspect frames: flags text 'xx' has no hexadecimal start ending with ':'\n"},
        {"frames|G1:1|--form|"
         "flags",
         2, "kxinspect frames: flags text 'G1:1' has no hexadecimal start of 1 to 32 digits\n"},
        {"frames|"
         "0:1x1|--form|"
         "flags",
         2, "kxinspect frames: flags text '0:1x1': character 4 is 'x', not 0 or 1\n"},
        {"frames|"
         "100000000:1|--form|"
         "flags",
         2, "kxinspect frames: flags text '100000000:1': the start 100000000 is beyond 32 bits\n"},
        {"frames|"
         "ABC|--form|"
         "bita85",
         2, "kxinspect frames: bita85 text 'ABC' is not an even number of hexadecimal digits\n"},
        {"frames|"
         "ABCD|--form|"
         "bita85",
         2, "kxinspect frames: bita85 data does not decompress: compressed data too short (2 bytes)\n"},
    };
    expectFaults(cases);
}

TEST(KxInspect, OverlongFrameTextIsRefusedNotCut) {
    const QString text = QStringLiteral("1,").repeated(500) + QStringLiteral("1");
    const Outcome run = runInspect({QStringLiteral("frames"), text});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.toStdString(),
              "kxinspect frames: TEXT is 1001 characters long, more than the 1000 it may hold\n");
    // 1000 characters are still read.
    EXPECT_EQ(runInspect({QStringLiteral("frames"), text.left(999)}).exitCode, 0);
}

TEST(KxInspect, IdShowsTheTextsAndTheShortForm) {
    expectText({"id|"
                "0x1234567890",
                "identifier      78187493520 (0x0000001234567890)\n"
                "main number     4660\n"
                "family member   144\n"
                "extra bytes     0x78 0x56\n"
                "short text      {AAAfz}\n"
                "full text       AAAfz_TSPN\n"
                "short form      144 (0x00000090)\n"
                "short form text {AAAfz}\n"
                "same short text main numbers 0-9999, 466560000-466569999, 933120000-933129999, "
                "1399680000-1399689999, 1866240000-1866249999, 2332800000-2332809999, 2799360000-2799369999, "
                "3265920000-3265929999, 3732480000-3732489999, 4199040000-4199049999 (member 144, any extra "
                "bytes)\n"});
    expectText({"id|"
                "0",
                "identifier      0 (0x0000000000000000)\n"
                "main number     0\n"
                "family member   0\n"
                "extra bytes     0x00 0x00\n"
                "short text      {AAA }\n"
                "full text       AAA_AAAA\n"
                "short form      0 (0x00000000)\n"
                "short form text {AAA }\n"
                "same short text main numbers 0-9999, 466560000-466569999, 933120000-933129999, "
                "1399680000-1399689999, 1866240000-1866249999, 2332800000-2332809999, 2799360000-2799369999, "
                "3265920000-3265929999, 3732480000-3732489999, 4199040000-4199049999 (member 0, any extra "
                "bytes)\n"});
    expectJson("id|"
               "123456789",
               R"({
        "identifier": "123456789", "identifierHex": "0x00000000075BCD15",
        "mainNumber": 7, "familyMember": 21, "extraBytes": [205, 91],
        "shortText": "{AAAw}", "fullText": "AAAw_ABU1",
        "shortForm": 21, "shortFormText": "{AAAw}",
        "sameShortText": [[0, 9999], [466560000, 466569999], [933120000, 933129999], [1399680000, 1399689999], [1866240000, 1866249999], [2332800000, 2332809999], [2799360000, 2799369999], [3265920000, 3265929999], [3732480000, 3732489999], [4199040000, 4199049999]]})");
    // The largest identifier travels as text: a JSON number would lose its low digits.
    expectJson("id|"
               "18446744073709551615",
               R"({
        "identifier": "18446744073709551615", "identifierHex": "0xFFFFFFFFFFFFFFFF",
        "mainNumber": 4294967295, "familyMember": 255, "extraBytes": [255, 255],
        "shortText": "{HPRlq}", "fullText": "HPRlq_4+DD", "shortForm": 109951231,
        "shortFormText": "{HPRlq}",
        "sameShortText": [[95920000, 95929999], [562480000, 562489999], [1029040000, 1029049999],
            [1495600000, 1495609999], [1962160000, 1962169999], [2428720000, 2428729999], [2895280000, 2895289999],
            [3361840000, 3361849999], [3828400000, 3828409999], [4294960000, 4294967295]]})");
}

TEST(KxInspect, IdTakesTheFarmFilesNumberAndDecodesItsTexts) {
    // A farm file's "number" and "member" are the main number and family member, not the packed value.
    const std::string ktRanges = "123450000-123459999, 590010000-590019999, 1056570000-1056579999, "
                                 "1523130000-1523139999, 1989690000-1989699999, 2456250000-2456259999, "
                                 "2922810000-2922819999, 3389370000-3389379999, 3855930000-3855939999";
    expectText({"id|--main|123456789", ("identifier      2071261215719424 (0x00075BCD15000000)\n"
                                        "main number     123456789\n"
                                        "family member   0\n"
                                        "extra bytes     0x00 0x00\n"
                                        "short text      {KT9 }\n"
                                        "full text       KT9_29AA\n"
                                        "short form      3160320 (0x00303900)\n"
                                        "short form text {KT9 }\n"
                                        "same short text main numbers " +
                                        ktRanges + " (member 0, any extra bytes)\n")
                                           .c_str()});
    const Outcome member =
        runInspect({QStringLiteral("id"), QStringLiteral("--main"), QStringLiteral("123456789"),
                    QStringLiteral("--member"), QStringLiteral("255"), QStringLiteral("--json")});
    EXPECT_EQ(member.exitCode, 0);
    const QJsonObject memberDocument = QJsonDocument::fromJson(member.out.toUtf8()).object();
    EXPECT_EQ(memberDocument.value(QStringLiteral("shortText")).toString(), QStringLiteral("{KT9lq}"));
    EXPECT_EQ(memberDocument.value(QStringLiteral("fullText")).toString(), QStringLiteral("KT9lq_29AA"));
    EXPECT_EQ(memberDocument.value(QStringLiteral("shortForm")).toInt(), 3160575);
    // Main numbers 1 to 4 all show {AAA }: the text says which numbers share it.
    const Outcome small = runInspect(
        {QStringLiteral("id"), QStringLiteral("--main"), QStringLiteral("4"), QStringLiteral("--json")});
    const QJsonObject smallDocument = QJsonDocument::fromJson(small.out.toUtf8()).object();
    EXPECT_EQ(smallDocument.value(QStringLiteral("shortText")).toString(), QStringLiteral("{AAA }"));
    EXPECT_EQ(smallDocument.value(QStringLiteral("sameShortText")).toArray().first(), (QJsonArray{0, 9999}));

    // A text given back: the identifiers it can stand for.
    expectText({"id|{KT9 }", ("text            {KT9 }\n"
                              "kind            short text\n"
                              "family member   0\n"
                              "main numbers    " +
                              ktRanges +
                              "\n"
                              "extra bytes     any (the short text does not show them)\n")
                                 .c_str()});
    expectJson("id|KT9bb_29ED", R"({"text": "KT9bb_29ED", "kind": "full", "familyMember": 26,
        "mainNumbers": [[123456783, 123456789], [590016783, 590016789], [1056576783, 1056576789],
            [1523136783, 1523136789], [1989696783, 1989696789], [2456256783, 2456256789],
            [2922816783, 2922816789], [3389376783, 3389376789], [3855936783, 3855936789]],
        "extraByte1": [3, 39, 75, 111, 147, 183, 219, 255], "extraByte2": [4, 40, 76, 112, 148, 184, 220]})");
    // The highest main numbers: one number of f = 1428 remains.
    const Outcome last =
        runInspect({QStringLiteral("id"), QStringLiteral("HPR_AAAA"), QStringLiteral("--json")});
    EXPECT_EQ(last.exitCode, 0);

    expectRefused(
        {QStringLiteral("id"), QStringLiteral("{KT9}")},
        QStringLiteral("TEXT '{KT9}' is neither a short identifier text (\"{KT9 }\", \"{KT9a}\") nor "
                       "a full one (\"KT9_29AA\")"),
        {{QStringLiteral("argument"), QStringLiteral("{KT9}")}});
    expectRefused({QStringLiteral("id"), QStringLiteral("{AAAab}")},
                  QStringLiteral("TEXT '{AAAab}': no family member shows the letters 'ab'"),
                  {{QStringLiteral("argument"), QStringLiteral("{AAAab}")}});
    expectRefused({QStringLiteral("id"), QStringLiteral("--main"), QStringLiteral("4294967296")},
                  QStringLiteral("--main '4294967296' is out of range (0 to 4294967295)"),
                  {{QStringLiteral("argument"), QStringLiteral("4294967296")}});
    expectRefused({QStringLiteral("id"), QStringLiteral("1"), QStringLiteral("--main"), QStringLiteral("1")},
                  QStringLiteral("give NUMBER, TEXT or --main, not two of them"));
    expectRefused(
        {QStringLiteral("id"), QStringLiteral("1"), QStringLiteral("--member"), QStringLiteral("1")},
        QStringLiteral("--member goes with --main"));

    // The status command takes a job identifier over the same range.
    expectText({"status|3|--job|0xFFFFFFFFFFFFFFFF", "status          {HPRlq} Rendering Job\n"});
    expectJson(
        "status|3|--job|18446744073709551615",
        R"({"code": 3, "name": "Rendering Job", "text": "{HPRlq} Rendering Job", "status": "{HPRlq} Rendering Job"})");
}

TEST(KxInspect, FramesReadInEachFormAndWrittenInAll) {
    const char* bitForm =
        "4B58444201030000000000000000000007000000000000005C4216C13483555528B52FFD2007390000E903000003000B";
    const char* shown =
        "start           1001\n"
        "file numbers    yes\n"
        "last index      3\n"
        "frame count     3\n"
        "frames          1001, 1002, 1004\n"
        "list            0 , 1 , 3 , \n"
        "flags           3E9:1101\n"
        "bita85          "
        "4B58444201030000000000000000000007000000000000005C4216C13483555528B52FFD2007390000E903000003000B\n";
    // The same set read from each of its forms prints the same.
    const std::string list = "read as         list\n" + std::string(shown);
    const std::string flags = "read as         flags\n" + std::string(shown);
    const std::string bits = "read as         bita85\n" + std::string(shown);
    expectText({"frames|"
                "1001-1002, 1004",
                list.c_str()});
    expectText({"frames|"
                "3E9:1101|--form|"
                "flags",
                flags.c_str()});
    const std::string bitArguments = std::string("frames|") + bitForm + "|--form=bita85";
    expectText({bitArguments.c_str(), bits.c_str()});

    expectText({"frames|", "read as         list\n"
                           "start           0\n"
                           "file numbers    yes\n"
                           "last index      -1\n"
                           "frame count     0\n"
                           "frames          (none)\n"
                           "list            \n"
                           "flags           0:\n"
                           "bita85          "
                           "4B584442010300000000000000000000070000000000000044C7E9F87D050E1428B52FFD200739"
                           "000000000000FFFF00\n"});

    // --start moves the set, a negative start included (an option-like argument that is a number).
    expectJson("frames|"
               "3E9:1101|--form|"
               "flags|--start|-3",
               R"({
        "readAs": "flags", "start": -3, "fileNumbers": true, "lastIndex": 3, "frames": [-3, -2, 0],
        "list": "0 , 1 , 3 , ", "flags": "FFFFFFFD:1101", "flagsCut": false,
        "bita85": "4B584442010300000000000000000000070000000000000091189301B49B305E28B52FFD2007390000FDFFFFFF03000B"})");
}

TEST(KxInspect, FramesSaysWhenTheFlagsFormIsCut) {
    const Outcome run = runInspect({QStringLiteral("frames"), QStringLiteral("1-9+4,1001-1010,1020")});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[5].toStdString(),
              "frames          1, 5, 9, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1020");
    EXPECT_EQ(lines[6].toStdString(), "list            0-8+4 , 1000-1009 , 1019 , ");
    EXPECT_EQ(lines[7].toStdString(), "flags           1:1000100010" + std::string(988, '0'));
    EXPECT_EQ(lines[8].toStdString(),
              "                (cut at 1000 characters: frames from 999 on are missing)");

    const Outcome json = runInspect(
        {QStringLiteral("frames"), QStringLiteral("1-9+4,1001-1010,1020"), QStringLiteral("--json")});
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("flagsCut")), QJsonValue(true));
    EXPECT_EQ(document.value(QStringLiteral("frames")).toArray().size(), 14);
}

TEST(KxInspect, FramesRefusesWhatTheFarmWouldMisread) {
    const QString notAPart = QStringLiteral("list text part '%1' (at character %2) is not a frame a, a range "
                                            "a-b or a stepped range a-b+s of whole numbers from 0");
    struct Case {
        const char* text;
        QString fault;
    };
    const Case cases[] = {
        {"abc", notAPart.arg(QStringLiteral("abc")).arg(1) + QStringLiteral(": character 1 is 'a'")},
        {"1-3,x", notAPart.arg(QStringLiteral("x")).arg(5) + QStringLiteral(": character 5 is 'x'")},
        {"-5", notAPart.arg(QStringLiteral("-5")).arg(1)},
        {"1-100x3", notAPart.arg(QStringLiteral("1-100x3")).arg(1) + QStringLiteral(": character 6 is 'x'")},
        {"10-1", QStringLiteral("list text part '10-1' ends before it starts")},
        {"1, 4+0", QStringLiteral("list text part '4+0' has the step 0; a step is 1 or more")},
        {"5000000000", QStringLiteral("list text part '5000000000': 5000000000 is beyond the largest frame "
                                      "number 2147483647")},
    };
    for (const Case& c : cases) {
        // The document names the argument when the message quotes it whole.
        const QString text = QString::fromLatin1(c.text);
        QJsonObject extra;
        if (c.fault.contains(QLatin1Char('\'') + text + QLatin1Char('\'')))
            extra.insert(QStringLiteral("argument"), text);
        expectRefused({QStringLiteral("frames"), QStringLiteral("--"), text}, c.fault, extra);
    }
    // Blanks around the numbers are read as the farm reads them.
    expectText({"frames|1 - 5 + 2",
                "read as         list\n"
                "start           1\n"
                "file numbers    yes\n"
                "last index      4\n"
                "frame count     3\n"
                "frames          1, 3, 5\n"
                "list            0-4+2 , \n"
                "flags           1:10101\n"
                "bita85          "
                "4B58444201030000000000000000000007000000000000008E971C30B9A2008A28B52FFD2007"
                "39000001000000040015\n"});
    // A range longer than a set holds is read, and the dropped frames are named.
    const QJsonObject document = expectWarned(
        {QStringLiteral("frames"), QStringLiteral("0-99999999")},
        {QStringLiteral(
            "a set holds 8000 frames from its first: the frames from 8000 to 99999999 are dropped")});
    EXPECT_EQ(document.value(QStringLiteral("frames")).toArray().size(), 8000);
    const Outcome help = runInspect({QStringLiteral("frames"), QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains(QStringLiteral("at most 1000 Latin-1 characters")))
        << help.out.toStdString();
}

TEST(KxInspect, UncGivesTheMountPointOrAnswersNo) {
    expectText({"unc|\\\\server.local\\projects\\2019\\share",
                "path            \\\\server.local\\projects\\2019\\share\n"
                "kind            share\n"
                "mount point     /server/share\n"});
    expectJson("unc|server:/export/data/share",
               R"({"path": "server:/export/data/share", "kind": "nfs", "mountPoint": "/server/share"})");
    // A share that would be mounted over a system folder gives no mount point: the answer is no.
    const Outcome none = runInspect({QStringLiteral("unc"), QStringLiteral("\\\\server\\..")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out.toStdString(), "path            \\\\server\\..\n"
                                      "kind            share\n"
                                      "mount point     (none: it would cover the root or a system folder)\n");
    EXPECT_EQ(none.err.toStdString(), "");

    const FaultCase cases[] = {
        {"unc|/mnt/x", 2,
         "kxinspect unc: PATH '/mnt/x' is neither a share (\\\\server\\share) nor an NFS export "
         "(server:/export)\n"},
        {"unc", 2, "kxinspect unc: missing PATH (usage: kxinspect unc PATH)\n"},
    };
    expectFaults(cases);
    // A path its 100-character field would cut is refused, not cut.
    const Outcome longPath =
        runInspect({QStringLiteral("unc"), QStringLiteral("\\\\s\\") + QString(97, QLatin1Char('a'))});
    EXPECT_EQ(longPath.exitCode, 2);
    EXPECT_EQ(longPath.err.toStdString(),
              "kxinspect unc: PATH is 101 characters long, more than the 100 it may hold\n");
}

TEST(KxInspect, UncAnswersNoForASystemFolderAndWarnsOfAStrayLocal) {
    struct Case {
        const char* path;
        const char* mountPoint;
        const char* covers;
    };
    const Case cases[] = {{"\\\\usr", "/usr", "/usr"},
                          {"\\\\etc", "/etc", "/etc"},
                          {"\\\\bin", "/bin", "/bin"},
                          {"\\\\usr\\share", "/usr/share", "/usr"},
                          {"\\\\srv", "/srv", "/srv"},
                          {"home:/export", "/home/export", nullptr},
                          {"\\\\usrdata\\x", "/usrdata/x", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const Outcome text = runInspect({QStringLiteral("unc"), QString::fromLatin1(c.path)});
        EXPECT_EQ(text.exitCode, c.covers ? 1 : 0);
        const std::string refused =
            c.covers ? std::string("refused         it would cover the system folder ") + c.covers + "\n"
                     : "";
        EXPECT_EQ(text.out.toStdString(), std::string("path            ") + c.path + "\nkind            " +
                                              (c.path[0] == '\\' ? "share" : "NFS export") +
                                              "\nmount point     " + c.mountPoint + "\n" + refused);
        EXPECT_EQ(text.err.toStdString(), "");
        const Outcome json =
            runInspect({QStringLiteral("unc"), QString::fromLatin1(c.path), QStringLiteral("--json")});
        EXPECT_EQ(json.exitCode, c.covers ? 1 : 0);
        const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(document.value(QStringLiteral("mountPoint")).toString().toStdString(), c.mountPoint);
        EXPECT_EQ(document.value(QStringLiteral("covers")),
                  c.covers ? QJsonValue(QString::fromLatin1(c.covers)) : QJsonValue(QJsonValue::Undefined));
    }
    // ".local" goes wherever it stands, as the farm maps it; the server's own ".local" needs no word.
    const QJsonObject stray = expectWarned(
        {QStringLiteral("unc"), QStringLiteral("\\\\srv.local\\backup.localcopy")},
        {QStringLiteral("'.local' is removed wherever it stands: 'backup.localcopy' becomes 'backupcopy'")});
    EXPECT_EQ(stray.value(QStringLiteral("mountPoint")).toString(), QStringLiteral("/srv/backupcopy"));
    const Outcome help = runInspect({QStringLiteral("unc"), QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains(QStringLiteral("1 none, or one that would cover the root or a system")));
}

TEST(KxInspect, VmidJoinsAndSplits) {
    expectText({"vmid|join|3|vm", "text            03_vm\n"});
    expectText({"vmid|join|-1|render vm|--id|0x10", "text            ff_0000000000000010_render vm\n"});
    expectText({"vmid|split|7f_00000000000000ff_vm", "number          127\n"
                                                     "id              0x00000000000000ff\n"
                                                     "name            vm\n"});
    expectJson("vmid|split|03_00000000000000ff_vm",
               R"({"number": 3, "id": "0x00000000000000ff", "name": "vm"})");

    const FaultCase cases[] = {
        {"vmid", 2,
         "kxinspect vmid: missing arguments (usage: kxinspect vmid join NUMBER NAME | split TEXT)\n"},
        {"vmid|move|x", 2, "kxinspect vmid: 'move' is neither join nor split\n"},
        {"vmid|split", 2, "kxinspect vmid: split needs one TEXT (usage: kxinspect vmid split TEXT)\n"},
        {"vmid|join|3", 2,
         "kxinspect vmid: join needs NUMBER and NAME (usage: kxinspect vmid join NUMBER NAME [--id ID])\n"},
        {"vmid|join|128|vm", 2, "kxinspect vmid: NUMBER '128' is out of range (-128 to 127)\n"},
        {"vmid|join|1|vm|--id|-1", 2,
         "kxinspect vmid: --id '-1' is out of range (0 to 9223372036854775807)\n"},
    };
    expectFaults(cases);
}

TEST(KxInspect, VersionReadsThePathOrAnswersNo) {
    expectText({"version|/apps/maya2016.5/bin/maya.exe", "path            /apps/maya2016.5/bin/maya.exe\n"
                                                         "major           2016\n"
                                                         "minor           5\n"
                                                         "minor full      5\n"
                                                         "pattern         /apps/maya*/bin/maya.exe\n"});
    expectJson("version|/opt/houdini/hfs19.5.605/bin/hython",
               R"({"path": "/opt/houdini/hfs19.5.605/bin/hython", "found": true, "major": 19, "minor": "5605",
                   "minorFull": "5.605", "pattern": "/opt/houdini/hfs*/bin/hython"})");
    const Outcome none = runInspect({QStringLiteral("version"), QStringLiteral("/bin/ls")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out.toStdString(), "path            /bin/ls\n"
                                      "version         (none found)\n"
                                      "pattern         /bin/ls\n");
}

TEST(KxInspect, LogAndErrorNameTheirCodes) {
    expectText({"log|0|1|5|0x10|255", "0               none  (colour 0x000000)\n"
                                      "1               Abort reserved clients  (colour 0xC04000)\n"
                                      "5               Approve Preview  (colour 0x0000C0)\n"
                                      "16              Unknown command 16  (colour 0x800080)\n"
                                      "255             Unknown command 255  (colour 0x000000)\n"});
    expectJson("log|1",
               R"({"events": [{"code": 1, "name": "Abort reserved clients", "colour": "0xC04000"}]})");
    expectText({"error|2|200", "2               Output directory not found\n"
                               "200             Unknown error 200\n"});
    expectJson("error|0|2", R"({"errors": [{"code": 0, "text": "none"},
                                           {"code": 2, "text": "Output directory not found"}]})");
    const FaultCase cases[] = {
        {"log", 2, "kxinspect log: missing CODE (or --all)\n"},
        {"log|1|--all", 2, "kxinspect log: give CODE or --all, not both\n"},
        {"error|9-3", 2, "kxinspect error: CODE range '9-3' ends before it starts\n"},
        {"log|1|256", 2, "kxinspect log: CODE '256' is out of range (0 to 255)\n"},
        {"error|-1", 2, "kxinspect error: CODE '-1' is out of range (0 to 255)\n"},
        {"error|two", 2, "kxinspect error: CODE 'two' is not a number\n"},
    };
    expectFaults(cases);
}

TEST(KxInspect, StatsListsTheRecordsOrGivesTheLoadersMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Two records of the current layout: the first with jobs counted and a rate, the second empty.
    QByteArray data(2 * qsizetype(sizeof(kxC::_Client_Info_save)), '\0');
    kxC::_Client_Info_save first;
    first.clearSave();
    first.jobEfficiencyRate.successJobs.hours[0] = 3;
    first.jobEfficiencyRate.successJobs.hours[71] = 2;
    first.jobEfficiencyRate.cleanAbortJobs.hours[4] = 1;
    first.jobEfficiencyRate.failJobs.hours[1] = 4;
    first.jobEfficiencyRate.successRate = 128;
    first.jobEfficiencyRate.successRateValid = 1;
    std::memcpy(data.data(), &first, sizeof(first));
    const QString good = dir.filePath(QStringLiteral("clientinfo.kxs"));
    ASSERT_TRUE(_KX_DataBuffer(data, kxC::_server_clientInfo::typeTagVersion2).saveToFileCompressed(good));
    const std::string goodText = good.toStdString();

    expectText({("stats|" + goodText).c_str(),
                ("file            " + goodText +
                 "\n"
                 "layout          version 2\n"
                 "records         2\n"
                 "record  success  aborted  failed  rate  (jobs of the last 72 hours)\n"
                 "     0        5        1       4   128\n"
                 "     1        0        0       0     -\n")
                    .c_str()});
    expectJson(("stats|" + goodText).c_str(),
               ("{\"file\": \"" + goodText + R"(", "layout": 2, "hours": 72, "records": [
                    {"record": 0, "success": 5, "aborted": 1, "failed": 4, "rate": 128},
                    {"record": 1, "success": 0, "aborted": 0, "failed": 0, "rate": null}]})")
                   .c_str());

    // A record cut short is refused whole, with the loader's reason.
    const QString cut = dir.filePath(QStringLiteral("cut.kxs"));
    ASSERT_TRUE(_KX_DataBuffer(data.left(data.size() - 1), kxC::_server_clientInfo::typeTagVersion2)
                    .saveToFileCompressed(cut));
    kxC::_server_clientInfo loader;
    ASSERT_FALSE(loader.loadFromFile(cut));
    const Outcome refused = runInspect({QStringLiteral("stats"), cut});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out.toStdString(), "");
    EXPECT_EQ(refused.err,
              QStringLiteral("kxinspect stats: %1: cannot load the statistics: data size does not "
                             "match\n")
                  .arg(cut));
    EXPECT_TRUE(loader.errorText().isEmpty() || loader.errorText().contains(QStringLiteral("data size")));
}

TEST(KxInspect, TheBundledStatisticsAndStandardInputAreRead) {
    const char* records = "layout          version 2\n"
                          "records         4\n"
                          "record  success  aborted  failed  rate  (jobs of the last 72 hours)\n"
                          "     0       42        1       3   233\n"
                          "     1       17        0       0   255\n"
                          "     2        5        2       9    80\n"
                          "     3        0        0       0     -\n";
    expectText({"stats|" KX_SAMPLE_STATS_FILE,
                (std::string("file            ") + KX_SAMPLE_STATS_FILE + "\n" + records).c_str()});
    QFile file(QStringLiteral(KX_SAMPLE_STATS_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const Outcome input =
        runInspect({QStringLiteral("stats"), QStringLiteral("-")}, QString(), file.readAll());
    EXPECT_EQ(input.exitCode, 0);
    EXPECT_EQ(input.out.toStdString(), std::string("file            -\n") + records);
    const Outcome garbage = runInspect({QStringLiteral("stats"), QStringLiteral("-")}, QString(), "xx");
    EXPECT_EQ(garbage.exitCode, 2);
    EXPECT_EQ(garbage.err.toStdString(),
              "kxinspect stats: -: cannot load the statistics: compressed data too short (2 bytes)\n");

    // A sample farm on standard input.
    QFile farm(QStringLiteral(KX_SAMPLE_FARM_FILE));
    ASSERT_TRUE(farm.open(QIODevice::ReadOnly));
    const Outcome filtered = runInspect(
        {QStringLiteral("filter"), QStringLiteral("chen"), QStringLiteral("--farm"), QStringLiteral("-")},
        QString(), farm.readAll());
    EXPECT_EQ(filtered.exitCode, 0);
    EXPECT_TRUE(filtered.out.contains(QStringLiteral("\npass {YV2 } shot030 preview\n")))
        << filtered.out.toStdString();
    const Outcome broken = runInspect({QStringLiteral("vars"), QStringLiteral("--farm"), QStringLiteral("-"),
                                       QStringLiteral("--job"), QStringLiteral("x")},
                                      QString(), "[job x]\nnumber = 1\n");
    EXPECT_EQ(broken.err.toStdString(),
              "kxinspect vars: (standard input):1: the job needs a 'status' line\n");
}

TEST(KxInspect, MessagesNameTheFileOnceAndSayWhatIsWrong) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString none = dir.filePath(QStringLiteral("none.kxs"));
    const QString garbage = dir.filePath(QStringLiteral("garbage.kxs"));
    writeFile(garbage, "xx");
    expectRefused({QStringLiteral("stats"), dir.path()},
                  dir.path() + QStringLiteral(": is a folder, not a statistics file"),
                  {{QStringLiteral("file"), dir.path()}});
    expectRefused({QStringLiteral("stats"), none}, none + QStringLiteral(": no such file"),
                  {{QStringLiteral("file"), none}});
    // The loader's reason follows the path once, after a blank.
    expectRefused({QStringLiteral("stats"), garbage},
                  garbage +
                      QStringLiteral(": cannot load the statistics: compressed data too short (2 bytes)"),
                  {{QStringLiteral("file"), garbage}});

    // A farm file saved as Latin-1: the line and the byte are named.
    const QString latin1 = dir.filePath(QStringLiteral("latin1.ini"));
    writeFile(latin1, "[job shot010]\nnumber = 1\nstatus = 100\nuser = Jos\xE9\n");
    expectRefused({QStringLiteral("filter"), QStringLiteral("x"), QStringLiteral("--farm"), latin1},
                  latin1 +
                      QStringLiteral(":4: the line is not UTF-8 text (byte 0xE9 at column 11); save the file "
                                     "as UTF-8"),
                  {{QStringLiteral("file"), latin1}, {QStringLiteral("line"), 4}});
}

TEST(KxInspect, ConfigListsKeysAndScramblesTexts) {
    expectText({"config|--group|Cloud",
                "clArmConnectorPort               Cloud            int    55555  (20..65535)\n"
                "clDisableClearPasswords          Cloud            bool   false\n"});
    expectJson(
        "config|jGetProjectNameBy|clDisableClearPasswords",
        R"({"keys": [{"name": "jGetProjectNameBy", "group": "Jobs", "type": "int", "default": 4, "min": 0, "max": 4},
                            {"name": "clDisableClearPasswords", "group": "Cloud", "type": "bool", "default": false}]})");
    // Every key of the table is listed once, one line each.
    const Outcome all = runInspect({QStringLiteral("config")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out.count(QLatin1Char('\n')), 234);

    const char* scrambled = "kxCALeL=pE8mMqUGh/B8xH51Gm=LIUFOKM5FDuMB70Ju1A/9MUJBYmMsjDaECEeKQlD0nFawL";
    expectText({"config|encode|secret pass", (std::string("scrambled       ") + scrambled + "\n").c_str()});
    expectJson((std::string("config|decode|") + scrambled).c_str(),
               R"({"text": "secret pass", "decoded": true})");

    const FaultCase cases[] = {
        {"config|nokey", 2, "kxinspect config: unknown key 'nokey'\n"},
        {"config|--group|Nope", 2,
         "kxinspect config: no group 'Nope' (kxinspect config --groups lists them)\n"},
        {"config|jGetProjectNameBy|--group|Cloud", 2,
         "kxinspect config: no key 'jGetProjectNameBy' in group 'Cloud'\n"},
        {"config|encode|a|b", 2, "kxinspect config: encode needs one TEXT\n"},
        {"config|decode", 2, "kxinspect config: decode needs one TEXT\n"},
        {"config|encode|kxCAx", 2,
         "kxinspect config: TEXT 'kxCAx' begins with kxCA: it would be taken as scrambled already\n"},
    };
    expectFaults(cases);
    // A text the scrambled form cannot hold is refused, not stored as it stands.
    const Outcome tooLong =
        runInspect({QStringLiteral("config"), QStringLiteral("encode"), QString(125, QLatin1Char('a'))});
    EXPECT_EQ(tooLong.exitCode, 2);
    EXPECT_EQ(tooLong.err.toStdString(),
              "kxinspect config: TEXT is 125 characters long, more than the 124 it may hold\n");
}

TEST(KxInspect, ConfigFindsKeysWhateverTheirCaseAndSuggestsTheNearest) {
    const QJsonObject found = expectWarned(
        {QStringLiteral("config"), QStringLiteral("nkxserverport")},
        {QStringLiteral("the farm finds a key only as it is written: 'nkxserverport' is 'nKXServerPort'")});
    EXPECT_EQ(found.value(QStringLiteral("keys")).toArray().first().toObject().value(QStringLiteral("name")),
              QJsonValue(QStringLiteral("nKXServerPort")));
    expectText({"config|--group|cloud",
                "clArmConnectorPort               Cloud            int    55555  (20..65535)\n"
                "clDisableClearPasswords          Cloud            bool   false\n"});
    expectRefused({QStringLiteral("config"), QStringLiteral("nKXServerPrt")},
                  QStringLiteral("unknown key 'nKXServerPrt': did you mean 'nKXServerPort'?"),
                  {{QStringLiteral("argument"), QStringLiteral("nKXServerPrt")}});
    expectRefused(
        {QStringLiteral("config"), QStringLiteral("--group"), QStringLiteral("clod")},
        QStringLiteral("no group 'clod': did you mean 'Cloud'? (kxinspect config --groups lists them)"),
        {{QStringLiteral("argument"), QStringLiteral("clod")}});
    const Outcome groups = runInspect({QStringLiteral("config"), QStringLiteral("--groups")});
    EXPECT_EQ(groups.exitCode, 0);
    EXPECT_TRUE(groups.out.startsWith(QStringLiteral("Jobs             74 keys\nClients          9 keys\n")))
        << groups.out.toStdString();
    EXPECT_TRUE(groups.out.contains(QStringLiteral("\nCloud            2 keys\n")));

    // The secret may come on standard input, out of the shell's history.
    const char* scrambled = "kxCALeL=pE8mMqUGh/B8xH51Gm=LIUFOKM5FDuMB70Ju1A/9MUJBYmMsjDaECEeKQlD0nFawL";
    const Outcome input =
        runInspect({QStringLiteral("config"), QStringLiteral("encode")}, QString(), "secret pass\n");
    EXPECT_EQ(input.exitCode, 0);
    EXPECT_EQ(input.out.toStdString(), std::string("scrambled       ") + scrambled + "\n");
}

TEST(KxInspect, FilterTestsEachJobOfTheFarm) {
    const std::string farm = KX_SAMPLE_FARM_FILE;
    expectText({("filter|anna -preview|--farm|" + farm).c_str(), "filter          anna -preview\n"
                                                                 "match           all terms\n"
                                                                 "terms           ANNA\n"
                                                                 "exclude terms   PREVIEW\n"
                                                                 "keywords        \n"
                                                                 "pass {KT9 } shot010 preview\n"
                                                                 "pass {KT9 } shot010 frames done\n"
                                                                 "pass {KT9 } shot010 finished\n"
                                                                 "fail {EHSb} shot020 layer finished\n"
                                                                 "fail {YV2 } shot030 preview\n"
                                                                 "fail {7UW } shot040 finished\n"
                                                                 "fail {DT7 } shot050 frames done\n"});
    // --invert swaps the roles: the plain term now excludes.
    const Outcome inverted =
        runInspect({QStringLiteral("filter"), QStringLiteral("anna"), QStringLiteral("--invert"),
                    QStringLiteral("--farm"), QString::fromStdString(farm), QStringLiteral("--json")});
    EXPECT_EQ(inverted.exitCode, 0);
    const QJsonObject document = QJsonDocument::fromJson(inverted.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("excludeTerms")).toArray(), QJsonArray{QStringLiteral("ANNA")});
    EXPECT_EQ(
        document.value(QStringLiteral("jobs")).toArray().at(0).toObject().value(QStringLiteral("passes")),
        QJsonValue(false));
    EXPECT_EQ(
        document.value(QStringLiteral("jobs")).toArray().at(3).toObject().value(QStringLiteral("passes")),
        QJsonValue(true));

    // A filter that lets no job pass answers no.
    const Outcome none = runInspect({QStringLiteral("filter"), QStringLiteral("zzz"),
                                     QStringLiteral("--farm"), QString::fromStdString(farm)});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out.count(QStringLiteral("\nfail ")), 7);
    EXPECT_EQ(none.err.toStdString(), "");

    const std::string malformed = KX_MALFORMED_FARM_FILE;
    const std::string malformedCall = "filter|x|--farm|" + malformed;
    const std::string malformedMessage =
        "kxinspect filter: " + malformed +
        ":4: number must be a whole number from 0 to 4294967295, not '12x'\n";
    const std::string missingMessage = "kxinspect filter: " + malformed + ".none: ";
    const FaultCase cases[] = {
        {"filter|x", 2, "kxinspect filter: missing --farm FILE\n"},
        {malformedCall.c_str(), 2, malformedMessage.c_str()},
    };
    expectFaults(cases);
    const Outcome missing =
        runInspect({QStringLiteral("filter"), QStringLiteral("x"), QStringLiteral("--farm"),
                    QString::fromStdString(malformed) + QStringLiteral(".none")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith(QString::fromStdString(missingMessage))) << missing.err.toStdString();
}

TEST(KxInspect, CodesTakeRangesAndAll) {
    expectText({"log|1-3|0x10", "1               Abort reserved clients  (colour 0xC04000)\n"
                                "2               Enable  (colour 0x006000)\n"
                                "3               Disable  (colour 0xC04000)\n"
                                "16              Unknown command 16  (colour 0x800080)\n"});
    const Outcome all =
        runInspect({QStringLiteral("error"), QStringLiteral("--all"), QStringLiteral("--json")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(
        QJsonDocument::fromJson(all.out.toUtf8()).object().value(QStringLiteral("errors")).toArray().size(),
        256);
    expectText({"status|0-1", "0               Off\n"
                              "1               Idle\n"});
    expectJson("status|-1-0",
               R"({"statuses": [{"code": -1, "name": "Unknown status -1", "text": "Unknown status -1"},
                                                {"code": 0, "name": "Off", "text": "Off"}]})");
    const Outcome statuses = runInspect({QStringLiteral("status"), QStringLiteral("--all")});
    EXPECT_EQ(statuses.out.count(QLatin1Char('\n')), 256);
    const Outcome version = runInspect({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kxinspect [0-9]+\\.[0-9]+\\.[0-9]+\n$"))
                    .match(version.out)
                    .hasMatch())
        << version.out.toStdString();
}

TEST(KxInspect, StatusShowsTheThreadTextAndTheOffReason) {
    expectText({"status|0|--job|1|--detail|90", "status          High CPU Usage (enable in 1m)\n"
                                                "off reason      1: High CPU Usage (enable in 1m)\n"});
    expectText({"status|3|--job|123456789012|--detail|300", "status          {AAAv} Rendering Job\n"});
    expectJson("status|1", R"({"code": 1, "name": "Idle", "text": "Idle", "status": "Idle"})");
    expectJson("status|2|--job|7|--detail|65",
               R"J({"code": 2, "name": "Disabled (enable in 0m)", "text": "User logged off (enable in 1m)",
                    "status": "User logged off (enable in 1m)", "offReason": 7,
                                                   "offReasonText": "User logged off (enable in 1m)"
})J");
    const FaultCase cases[] = {
        {"status|200", 2, "kxinspect status: CODE '200' is out of range (-128 to 127)\n"},
        {"status|1|--detail|40000", 2,
         "kxinspect status: --detail '40000' is out of range (-32768 to 32767)\n"},
        {"status|1|--job|-1", 2, "kxinspect status: --job '-1' is not a decimal or 0x hexadecimal number\n"},
    };
    expectFaults(cases);
}

namespace {

/// The arguments, '|' between them, with the sample farm and one of its jobs added.
std::string withJob(const char* arguments, const char* label) {
    return std::string(arguments) + "|--farm|" + KX_SAMPLE_FARM_FILE + "|--job|" + label;
}

/// The groups the bundled farm's render01 and render02 give, render01 with its applications in the
/// long form and render02, a client with settings of its own, in the short one.
const char* const render01Group =
    "[render01]\n"
    "CPreset=2\n"
    "Hardware=\"131072;32;2;1;1;61;3500;-1;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;d;0;0;0;\"\n"
    "Thr=\"2:655351;655351\"\n"
    "UNCP=0\n"
    "WOL=\";;1\"\n"
    "app00\\Exe=/usr/autodesk/maya2024/bin/Render\n"
    "app00\\Name=Maya_-2024_-2_-_-_-64\n"
    "app01\\Exe=/usr/bin/blender\n"
    "app01\\Name=Blender_-4_-1_-_-_-64\n"
    "app01\\Param=-b\n"
    "listNo=0\n";
const char* const render02CompactGroup =
    "[render02]\n"
    "CPreset=0\n"
    "Hardware=\"65536;16;1;1;1;110;2950;-1;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;d;0;0;0;\"\n"
    "Thr=655351\n"
    "UNCP=0\n"
    "WOL=\";;100000\"\n"
    "app00\\AE=Houdini~~  20~~ 537~~C:/Program Files/Side Effects Software/Houdini 20.5.370/bin/husk.exe\n"
    "cfgB=01111111100100010100000000010\n"
    "cfgV=\"45;0;1;75;300;25;45;3;140;25;1;1;1;1;0;0;6;9;17;1;1;1;0;20;10;0;0;0;0;0;0;0;0;15;\"\n"
    "listNo=1\n";

QStringList clientcfg(const char* client, const QString& out, QStringList more = {}) {
    return QStringList{QStringLiteral("clientcfg"),
                       QStringLiteral("--farm"),
                       QStringLiteral(KX_SAMPLE_FARM_FILE),
                       QStringLiteral("--client"),
                       QString::fromUtf8(client),
                       QStringLiteral("--out"),
                       out} +
           more;
}

} // namespace

TEST(KxInspect, VarsListsEveryVariableOfTheJobInBothForms) {
    QFile expectedFile(QStringLiteral(KX_INSPECT_DATA_DIR "/vars_shot010_preview.txt"));
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
    const QString expected = QString::fromUtf8(expectedFile.readAll());
    // The job's own fields reach their variables: the file holds them literally.
    for (const char* line :
         {"<App> = Maya\n", "<AppVer> = 2024\n", "<kxJobVersion> = 2024.2\n", "<Layer> = beauty\n",
          "<Camera> = shotCam\n", "<Database> = /projects/feature/\n", "<DatabaseName> = feature\n",
          "<SceneFolder> = /projects/feature/shot010/\n", "<SceneFileNameBase> = shot010_lighting_v012\n",
          "<ImageDir> = /renders/feature/shot010/\n"})
        EXPECT_TRUE(expected.contains(QLatin1String(line))) << line;

    const std::string call = withJob("vars", "shot010 preview");
    expectText({call.c_str(), expected.toUtf8().constData()});

    // The document holds the same pairs, in the same order.
    QJsonArray variables;
    const QStringList lines = expected.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) {
        const qsizetype equals = line.indexOf(QLatin1String("> = "));
        ASSERT_GT(equals, 0) << line.toStdString();
        variables.append(QJsonObject{{QStringLiteral("name"), line.left(equals + 1)},
                                     {QStringLiteral("value"), line.mid(equals + 4)}});
    }
    const QJsonObject document{{QStringLiteral("job"), QStringLiteral("shot010 preview")},
                               {QStringLiteral("id"), QStringLiteral("{KT9 }")},
                               {QStringLiteral("variables"), variables}};
    expectJson(call.c_str(), QJsonDocument(document).toJson().constData());
    // A name with parent steps keeps its outer brackets in the document as in the text.
    EXPECT_EQ(variables.at(1).toObject().value(QStringLiteral("name")).toString(),
              QStringLiteral("<ImageDirComplete><../>"));
}

TEST(KxInspect, ResolveReplacesTheJobsVariablesInEachMode) {
    const std::string both =
        withJob("resolve|<Database>renders/<SceneFile>/<Layer>/<Camera>.####.exr", "shot010 preview");
    expectText({both.c_str(), "job             shot010 preview\n"
                              "id              {KT9 }\n"
                              "template        <Database>renders/<SceneFile>/<Layer>/<Camera>.####.exr\n"
                              "farm            /projects/feature/renders/shot010_lighting_v012/beauty/"
                              "shotCam.####.exr\n"
                              "app             /projects/feature/renders/shot010_lighting_v012/<Layer>/"
                              "<Camera>.####.exr\n"});
    // The farm fills the channel and keeps a name it does not know without its brackets; an application
    // other than Maya is handed the channel as it is.
    const std::string channel = withJob(
        "resolve|<ImageDir><Layer>_<Channel>_<Unknown>.<IDstr>.exr|--mode|farm", "shot020 layer finished");
    const Outcome unknown = runInspect(split(channel.c_str()));
    EXPECT_EQ(unknown.exitCode, 0);
    EXPECT_EQ(unknown.out.toStdString(),
              "job             shot020 layer finished\n"
              "id              {EHSb}\n"
              "template        <ImageDir><Layer>_<Channel>_<Unknown>.<IDstr>.exr\n"
              "farm            /renders/feature/shot020/_diffuse_Unknown.EHSb.exr\n");
    EXPECT_EQ(unknown.err.toStdString(),
              "kxinspect resolve: warning: '<Unknown>' is no variable the farm resolves "
              "here: mode farm drops its brackets\n");
    // A Maya job hands the channel to the application as its render pass.
    const std::string app = withJob("resolve|<Channel>/<Layer>|--mode|app", "shot010 finished");
    expectJson(app.c_str(), R"({"job": "shot010 finished", "id": "{KT9 }", "template": "<Channel>/<Layer>",
                                "resolved": {"app": "<RenderPass>/<Layer>"}})");
    const std::string plain = withJob("resolve|/out/./a/../b.exr", "shot030 preview");
    expectJson(plain.c_str(), R"({"job": "shot030 preview", "id": "{YV2 }", "template": "/out/./a/../b.exr",
                                  "resolved": {"farm": "/out/b.exr", "app": "/out/b.exr"}})");
}

TEST(KxInspect, ImageSplitsThePathAndNamesTheJobsFolders) {
    const TextCase cases[] = {
        {"image|/renders/shot/beauty.####.exr", "path            /renders/shot/beauty.####.exr\n"
                                                "folder          /renders/shot/\n"
                                                "name            beauty.\n"
                                                "frame digits    4\n"
                                                "extension       .exr\n"
                                                "single file     no\n"},
        {"image|/renders/shot/beauty_%06d.tif", "path            /renders/shot/beauty_%06d.tif\n"
                                                "folder          /renders/shot/\n"
                                                "name            beauty_\n"
                                                "frame digits    6\n"
                                                "extension       .tif\n"
                                                "single file     no\n"},

        // A sample frame number is not part of the name.
        {"image|/r//x/../beauty.0250.png", "path            /r//x/../beauty.0250.png\n"
                                           "folder          /r/\n"
                                           "name            beauty.\n"
                                           "frame digits    4\n"
                                           "extension       .png\n"
                                           "single file     no\n"},
        {"image|/r/clip|--ext|.MOV", "path            /r/clip\n"
                                     "folder          /r/\n"
                                     "name            clip.MOV\n"
                                     "frame digits    (one file for all frames)\n"
                                     "extension       \n"
                                     "single file     yes\n"},
    };
    for (const TextCase& c : cases)
        expectText(c);

    const std::string scene =
        withJob("image|/projects/feature/shot010/images/beauty.####.exr", "shot010 preview");
    expectText({scene.c_str(), "path            /projects/feature/shot010/images/beauty.####.exr\n"
                               "job             shot010 preview\n"
                               "scene           /projects/feature/shot010/shot010_lighting_v012.ma\n"
                               "project         /projects/feature/\n"
                               "folder          <SceneFolder>images/\n"
                               "name            beauty.\n"
                               "frame digits    4\n"
                               "extension       .exr\n"
                               "single file     no\n"});
    const std::string project = withJob("image|/projects/feature/comp/final.mov", "shot010 preview");
    expectJson(project.c_str(), R"({"path": "/projects/feature/comp/final.mov", "job": "shot010 preview",
                                    "scene": "/projects/feature/shot010/shot010_lighting_v012.ma",
                                    "project": "/projects/feature/", "folder": "<Database>comp/",
                                    "name": "final.mov", "extension": "", "singleFile": true})");
    // Text Latin-1 has no place for is kept: the job's texts are UTF-16.
    expectJson("image|/renders/\xE5\xA0\xB4\xE6\x99\xAF/a.##.exr",
               "{\"path\": \"/renders/\xE5\xA0\xB4\xE6\x99\xAF/a.##.exr\", \"folder\": "
               "\"/renders/\xE5\xA0\xB4\xE6\x99\xAF/\", \"name\": \"a.\", \"frameDigits\": 2, "
               "\"extension\": \".exr\", \"singleFile\": false}");
}

TEST(KxInspect, SilentSuccessesNowSayWhatTheFarmDoes) {
    // vmid split: a text join never writes is refused, not read as all zero.
    expectRefused(
        {QStringLiteral("vmid"), QStringLiteral("split"), QStringLiteral("garbage")},
        QStringLiteral("TEXT 'garbage' does not begin with a number of two hexadecimal digits and '_' "
                       "(NN_NAME or NN_ID_NAME, as join writes it)"),
        {{QStringLiteral("argument"), QStringLiteral("garbage")}});
    expectRefused(
        {QStringLiteral("vmid"), QStringLiteral("split"), QStringLiteral("zz_vm")},
        QStringLiteral("TEXT 'zz_vm' does not begin with a number of two hexadecimal digits and '_' "
                       "(NN_NAME or NN_ID_NAME, as join writes it)"),
        {{QStringLiteral("argument"), QStringLiteral("zz_vm")}});
    expectRefused({QStringLiteral("vmid"), QStringLiteral("split"), QStringLiteral("03_00000000000000zz_vm")},
                  QStringLiteral("TEXT '03_00000000000000zz_vm': the identifier '00000000000000zz' is not 16 "
                                 "hexadecimal digits"),
                  {{QStringLiteral("argument"), QStringLiteral("03_00000000000000zz_vm")}});

    // config decode: a text that does not unscramble answers no and says why.
    struct Undecodable {
        const char* text;
        const char* reason;
    };
    const Undecodable undecodable[] = {
        {"kxCAgarbage", "its 7 letters after kxCA are no whole scrambled form"},
        {"hello", "it does not begin with kxCA"},
        {"kxCAAAAAAAAAA", "its letters do not unscramble (a group or the checksum does not match)"},
        {"kxCAAA#AAAAAA", "character 7 '#' is no letter of the scrambled form"},
    };
    for (const Undecodable& c : undecodable) {
        SCOPED_TRACE(c.text);
        const Outcome text =
            runInspect({QStringLiteral("config"), QStringLiteral("decode"), QLatin1String(c.text)});
        EXPECT_EQ(text.exitCode, 1);
        EXPECT_EQ(text.out.toStdString(), std::string("text            ") + c.text +
                                              "\ndecoded         no: " + c.reason +
                                              "; the farm uses it as it stands\n");
        EXPECT_EQ(text.err.toStdString(), "");
        const Outcome json = runInspect({QStringLiteral("config"), QStringLiteral("decode"),
                                         QLatin1String(c.text), QStringLiteral("--json")});
        EXPECT_EQ(json.exitCode, 1);
        EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8()).object(),
                  (QJsonObject{{QStringLiteral("text"), QLatin1String(c.text)},
                               {QStringLiteral("decoded"), false},
                               {QStringLiteral("reason"), QLatin1String(c.reason)}}));
    }

    // image: frame digits the path does not show, and an extension without its dot.
    const QString noFrame =
        QStringLiteral("the path shows no frame number: the frame digits stay the job's 4");
    struct ImageCase {
        QStringList arguments;
        QStringList warnings;
    };
    const ImageCase images[] = {
        {{QStringLiteral("/x/beauty.exr")}, {noFrame}},
        {{QStringLiteral("/x/beauty.01.exr")},
         {QStringLiteral("the sample frame number '01' has 2 digits, but the farm keeps the job's 4")}},
        {{QStringLiteral("/x/beauty"), QStringLiteral("--ext"), QStringLiteral("exr")},
         {QStringLiteral(
              "--ext 'exr' does not begin with '.': the farm puts it after the frame number as it stands"),
          noFrame}},
        // Without the printf form the marks stay in the name and the job's digits are used.
        {{QStringLiteral("C:\\out\\beauty.%04d.exr"), QStringLiteral("--no-printf")}, {noFrame}},
    };
    for (const ImageCase& c : images) {
        const QJsonObject document =
            expectWarned(QStringList{QStringLiteral("image")} + c.arguments, c.warnings);
        EXPECT_EQ(document.value(QStringLiteral("frameDigits")).toInt(), 4);
    }
    const Outcome printf = runInspect(
        {QStringLiteral("image"), QStringLiteral("C:\\out\\beauty.%04d.exr"), QStringLiteral("--no-printf")});
    EXPECT_EQ(printf.out.toStdString(), "path            C:\\out\\beauty.%04d.exr\n"
                                        "folder          C:\\out\\\n"
                                        "name            beauty.%04d\n"
                                        "frame digits    4\n"
                                        "extension       .exr\n"
                                        "single file     no\n");
    // A path that shows its frame digits needs no word.
    for (const char* path : {"/x/a.####.exr", "/x/a.0001.exr", "/x/a_%06d.exr", "/x/clip.mov"}) {
        const Outcome quiet = runInspect({QStringLiteral("image"), QLatin1String(path)});
        EXPECT_EQ(quiet.err.toStdString(), "") << path;
    }

    // resolve: every name the farm does not resolve is named once.
    const QStringList resolve{
        QStringLiteral("resolve"), QStringLiteral("<Layr>/<App>/<LAYR>/<layer>/<ImageDir><../>x_<Date>"),
        QStringLiteral("--farm"),  QStringLiteral(KX_SAMPLE_FARM_FILE),
        QStringLiteral("--job"),   QStringLiteral("shot010 preview"),
        QStringLiteral("--mode"),  QStringLiteral("farm")};
    const QJsonObject resolved = expectWarned(
        resolve,
        {QStringLiteral("'<Layr>' is no variable the farm resolves here: mode farm drops its brackets"),
         QStringLiteral("'<App>' is no variable the farm resolves here (it is in the job's exported list, "
                        "kxinspect vars): mode farm drops its brackets")});
    EXPECT_TRUE(resolved.value(QStringLiteral("resolved"))
                    .toObject()
                    .value(QStringLiteral("farm"))
                    .toString()
                    .startsWith(QStringLiteral("Layr/App/LAYR/beauty//renders/feature/x_")));
}

TEST(KxInspect, JobCommandsFaults) {
    const std::string farm = KX_SAMPLE_FARM_FILE;
    const std::string malformed = KX_MALFORMED_FARM_FILE;
    const std::string noJob = "vars|--farm|" + farm;
    const std::string unknownJob = withJob("vars", "shot060");
    const std::string unknownJobMessage =
        "kxinspect vars: " + farm +
        " holds no job 'shot060' (its jobs: 'shot010 preview', 'shot010 frames done', 'shot010 finished', "
        "'shot020 layer finished', 'shot030 preview', 'shot040 finished', 'shot050 frames done')\n";
    const std::string badMode = withJob("resolve|<Layer>|--mode|both", "shot010 preview");
    const std::string malformedCall = "resolve|<Layer>|--job|shot010|--farm|" + malformed;
    const std::string malformedMessage =
        "kxinspect resolve: " + malformed +
        ":4: number must be a whole number from 0 to 4294967295, not '12x'\n";
    const std::string imageMalformed = "image|/r/a.exr|--job|shot010|--farm|" + malformed;
    const std::string imageMalformedMessage =
        "kxinspect image: " + malformed +
        ":4: number must be a whole number from 0 to 4294967295, not '12x'\n";
    const std::string extra = withJob("vars|x", "shot010 preview");
    const std::string longPath = "image|/" + std::string(1000, 'a');
    const FaultCase cases[] = {
        {"vars", 2, "kxinspect vars: missing --farm FILE\n"},
        {"vars|--job|shot010 preview", 2, "kxinspect vars: missing --farm FILE\n"},
        {noJob.c_str(), 2, "kxinspect vars: missing --job LABEL\n"},
        {unknownJob.c_str(), 2, unknownJobMessage.c_str()},
        {extra.c_str(), 2, "kxinspect vars: unexpected argument 'x'\n"},
        {"resolve", 2,
         "kxinspect resolve: missing TEMPLATE (usage: kxinspect resolve TEMPLATE --farm FILE --job LABEL "
         "[--mode farm|app])\n"},
        {badMode.c_str(), 2, "kxinspect resolve: unknown mode 'both' (known: farm, app)\n"},
        {malformedCall.c_str(), 2, malformedMessage.c_str()},
        {"image|a.exr|--job|x", 2, "kxinspect image: missing --farm FILE\n"},
        {imageMalformed.c_str(), 2, imageMalformedMessage.c_str()},
        {longPath.c_str(), 2,
         "kxinspect image: PATH is 1001 characters long, more than the 1000 it may hold\n"},
        {"image|a|--ext|.abcdefghijklmnopqrstuvwxyz", 2,
         "kxinspect image: --ext is 27 characters long, more than the 25 it may hold\n"},
        {"image|a|--no-printf=1", 2, "kxinspect image: option '--no-printf' takes no value\n"},
    };
    expectFaults(cases);
    // 1000 characters still fit.
    EXPECT_EQ(
        runInspect({QStringLiteral("image"), QLatin1Char('/') + QString(999, QLatin1Char('a'))}).exitCode, 0);
}

TEST(KxInspect, ClientcfgWritesTheClientAndKeepsTheOtherGroups) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("clients.ini"));
    const std::string outText = out.toStdString();

    Outcome run = runInspect(clientcfg("render01", out));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "group [render01] written to " + outText + "\n\n" + render01Group);
    EXPECT_EQ(run.err.toStdString(), "");

    // A second client written to the same file joins the first one's group, which stays as it was.
    run = runInspect(clientcfg("render02", out, {QStringLiteral("--compact")}));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "group [render02] written to " + outText + "\n\n" + render01Group +
                                         "\n" + render02CompactGroup);
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_EQ(readFile(out).toStdString(), std::string(render01Group) + "\n" + render02CompactGroup);

    // The document holds the client's group alone, sub-groups as objects of their own.
    run = runInspect(clientcfg("render01", out, {QStringLiteral("--json")}));
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject want{
        {QStringLiteral("file"), out},
        {QStringLiteral("group"), QStringLiteral("render01")},
        {QStringLiteral("keys"),
         QJsonObject{
             {QStringLiteral("CPreset"), QStringLiteral("2")},
             {QStringLiteral("Hardware"),
              QStringLiteral("131072;32;2;1;1;61;3500;-1;0-0;0-0;0-0;0-0;0-0;0-0;0-0;0-0;d;0;0;0;")},
             {QStringLiteral("Thr"), QStringLiteral("2:655351;655351")},
             {QStringLiteral("UNCP"), QStringLiteral("0")},
             {QStringLiteral("WOL"), QStringLiteral(";;1")},
             {QStringLiteral("app00"),
              QJsonObject{{QStringLiteral("Exe"), QStringLiteral("/usr/autodesk/maya2024/bin/Render")},
                          {QStringLiteral("Name"), QStringLiteral("Maya_-2024_-2_-_-_-64")}}},
             {QStringLiteral("app01"),
              QJsonObject{{QStringLiteral("Exe"), QStringLiteral("/usr/bin/blender")},
                          {QStringLiteral("Name"), QStringLiteral("Blender_-4_-1_-_-_-64")},
                          {QStringLiteral("Param"), QStringLiteral("-b")}}},
             {QStringLiteral("listNo"), QStringLiteral("0")}}}};
    EXPECT_EQ(QJsonDocument::fromJson(run.out.toUtf8()).object(), want) << run.out.toStdString();
    EXPECT_EQ(run.err.toStdString(), "");
}

TEST(KxInspect, ClientcfgPrintsWithoutWritingAndWarnsOfVersionsItCannotTellApart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // "--out -" prints the group a new file would hold, and leaves no file behind, "-" least of all.
    const Outcome printed = runInspect(clientcfg("render01", QStringLiteral("-")), dir.path());
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_EQ(printed.out.toStdString(), render01Group);
    EXPECT_EQ(printed.err.toStdString(), "");
    const Outcome json =
        runInspect(clientcfg("render01", QStringLiteral("-"), {QStringLiteral("--json")}), dir.path());
    EXPECT_EQ(json.exitCode, 0);
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("file")).toString(), QStringLiteral("-"));
    EXPECT_EQ(document.value(QStringLiteral("keys")).toObject().value(QStringLiteral("listNo")).toString(),
              QStringLiteral("0"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    // Houdini 20 5.370 and 20 5.37 are both written as 537: the file cannot tell them apart.
    const QString farm = dir.filePath(QStringLiteral("farm.ini"));
    writeFile(farm,
              "[client hq01]\napps = Houdini,20,5.370,/opt/h/5.370/husk; Houdini,20,5.37,/opt/h/5.37/husk; "
              "Houdini,20,5.371,/opt/h/5.371/husk\n");
    const QStringList call{QStringLiteral("clientcfg"), QStringLiteral("--farm"), farm,
                           QStringLiteral("--client"),  QStringLiteral("hq01"),   QStringLiteral("--out"),
                           QStringLiteral("-")};
    const QJsonObject written = expectWarned(
        call, {QStringLiteral(
                  "render applications 1 (Houdini 20 5.370) and 2 (Houdini 20 5.37) are both written as "
                  "version 20 537: the file cannot tell them apart")});
    EXPECT_EQ(written.value(QStringLiteral("keys"))
                  .toObject()
                  .value(QStringLiteral("app01"))
                  .toObject()
                  .value(QStringLiteral("Name")),
              QJsonValue(QStringLiteral("Houdini_-20_-537_-_-_-64")));
}

TEST(KxInspect, ClientcfgUpdatesAGroupTheFileAlreadySpells) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A group written by hand in capitals with a list number of its own, a key the writer does not know,
    // a render application the client no longer has and an old key the writer removes.
    const QByteArray before = "[RENDER01]\nlistNo=7\nNote=rack 4\nWorkingHours=9-17\n"
                              "app05\\Name=Old_-1_-0_-_-_-64\n\n[other]\nk=v\n";
    struct Case {
        const char* flag;
        const char* listNo;
    };
    const Case cases[] = {{nullptr, "7"}, {"--force-listno", "0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag ? c.flag : "kept list number");
        const QString out = dir.filePath(QStringLiteral("clients%1.ini").arg(c.flag ? 1 : 0));
        writeFile(out, before);
        QStringList more{QStringLiteral("--json")};
        if (c.flag)
            more << QString::fromLatin1(c.flag);
        const Outcome run = runInspect(clientcfg("render01", out, more));
        EXPECT_EQ(run.exitCode, 0);
        const QJsonObject document = QJsonDocument::fromJson(run.out.toUtf8()).object();
        EXPECT_EQ(document.value(QStringLiteral("group")).toString(), QStringLiteral("RENDER01"));
        const QJsonObject keys = document.value(QStringLiteral("keys")).toObject();
        EXPECT_EQ(keys.value(QStringLiteral("listNo")).toString(), QString::fromLatin1(c.listNo));
        EXPECT_EQ(keys.value(QStringLiteral("Note")).toString(), QStringLiteral("rack 4"));
        EXPECT_FALSE(keys.contains(QStringLiteral("WorkingHours")));
        EXPECT_FALSE(keys.contains(QStringLiteral("app05")));
        EXPECT_TRUE(keys.contains(QStringLiteral("app01")));
        const std::string file = readFile(out).toStdString();
        EXPECT_EQ(file.find("[render01]"), std::string::npos) << file;
        EXPECT_NE(file.find("[other]\nk=v\n"), std::string::npos) << file;
    }
}

TEST(KxInspect, ClientcfgFaultsNameTheFileAndLeaveItAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string farm = KX_SAMPLE_FARM_FILE;
    const std::string malformed = KX_MALFORMED_FARM_FILE;
    const std::string out = dir.filePath(QStringLiteral("out.ini")).toStdString();
    const std::string folder = dir.path().toStdString();
    const std::string slashFarm = dir.filePath(QStringLiteral("slash.ini")).toStdString();
    writeFile(QString::fromStdString(slashFarm), "[client racks/r1]\n");
    const std::string emptyFarm = dir.filePath(QStringLiteral("empty.ini")).toStdString();
    writeFile(QString::fromStdString(emptyFarm), "# no clients yet\n");

    const std::string base = "clientcfg|--farm|" + farm + "|--client|render01|--out|";
    const std::string cases[][2] = {
        {"clientcfg|--client|render01|--out|" + out, "missing --farm FILE"},
        {"clientcfg|--farm|" + farm + "|--out|" + out, "missing --client NAME"},
        {"clientcfg|--farm|" + farm + "|--client|render01", "missing --out FILE"},
        {"clientcfg|--farm|" + farm + "|--client|render01|--out|" + out + "|extra",
         "unexpected argument 'extra'"},
        {"clientcfg|--farm|" + farm + "|--client|Render01|--out|" + out,
         farm + ": no client 'Render01' (clients: render01, render02, render03, comp-ws07)"},
        {"clientcfg|--farm|" + emptyFarm + "|--client|render01|--out|" + out,
         emptyFarm + ": no client 'render01' (the farm has no clients)"},
        {"clientcfg|--farm|" + malformed + "|--client|render01|--out|" + out,
         malformed + ":4: number must be a whole number from 0 to 4294967295, not '12x'"},
        {"clientcfg|--farm|" + slashFarm + "|--client|racks/r1|--out|" + out,
         slashFarm + ": the client name 'racks/r1' gives no group of its own in " + out},
        {base + folder + "/missing/out.ini",
         folder + "/missing/out.ini: cannot write the file: its folder does not exist"},
        {base + folder, folder + ": cannot write the file: it is not a regular file"},
        {base + "/dev/full", "/dev/full: cannot write the file: it is not a regular file"},
        // The farm file itself, under another name, would lose its comments and sections.
        {"clientcfg|--farm|" + slashFarm + "|--client|racks/r1|--out|" + folder + "/./slash.ini",
         folder + "/./slash.ini: the out file is the farm file itself; it is left as it is"},
        // A folder where no file can be made, whoever runs the test.
        {base + "/proc/kxinspect-clients.ini", "/proc/kxinspect-clients.ini: cannot write the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const Outcome run = runInspect(QString::fromStdString(c[0]).split(QLatin1Char('|')));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.toStdString(), "kxinspect clientcfg: " + c[1] + "\n");
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/missing")));

    // A file the settings reader cannot read whole would lose its unreadable lines: it stays as it is.
    const QByteArray unreadable = "[render01\nlistNo=3\n";
    writeFile(QString::fromStdString(out), unreadable);
    const Outcome run = runInspect(split((base + out).c_str()));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.toStdString(),
              "kxinspect clientcfg: " + out +
                  ": the file holds lines that are no ini-style settings; it is left as it is\n");
    EXPECT_EQ(readFile(QString::fromStdString(out)), unreadable);
}
