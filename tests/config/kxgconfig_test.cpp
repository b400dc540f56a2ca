// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxgconfig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

// Record members sit on packed boundaries: tests compare copies of them, never references to them.
template <typename T>
T copyOf(T v) {
    return v;
}

namespace {

std::unique_ptr<_kxgConfig> freshStore() {
    return std::make_unique<_kxgConfig>();
}

/// A store holding the farm's key table.
std::unique_ptr<_kxgConfig> farmStore() {
    auto cfg = freshStore();
    cfg->initialize(nullptr);
    return cfg;
}

/// A small store: one setting of each type, and a second "port" that is never found.
std::unique_ptr<_kxgConfig> smallStore() {
    auto cfg = freshStore();
    cfg->addInit(true, "Net", "useIP");
    cfg->addInit(7773, 10, 30000, "Net", "port");
    cfg->addInitF(0.05f, 0.000001f, 1000.0f, "Misc", "cost");
    cfg->addInit("abc", "Misc", "label");
    cfg->addInit(1, 0, 5, "Net", "port");
    return cfg;
}

_kxString8_allSize<200> bytes(const QByteArray& b) {
    _kxString8_allSize<200> s;
    s.set(b);
    return s;
}

QString str(const _kxString<200>& s) {
    return s.toQString();
}

} // namespace

TEST(KxgConfig, FreshStoreIsFullyDefined) {
    auto memory = std::make_unique<unsigned char[]>(sizeof(_kxgConfig));
    std::memset(memory.get(), 0xAB, sizeof(_kxgConfig));
    auto* cfg = new (memory.get()) _kxgConfig;
    EXPECT_EQ(copyOf(cfg->reserved_0.t), 0);
    EXPECT_EQ(cfg->reserved_8, 0);
    EXPECT_EQ(cfg->count, 0);
    EXPECT_FALSE(cfg->fallbackB);
    EXPECT_EQ(cfg->fallbackI, 0);
    EXPECT_EQ(cfg->fallbackF, 0.0f);
    EXPECT_TRUE(cfg->fallbackS.isEmpty());
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(cfg->reserved_256432[i], i < 5 ? 1 : 0) << i;
        EXPECT_EQ(cfg->reserved_256458[i], i < 5 ? 1 : 0) << i;
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(cfg->reserved_256484[i], i < 2 ? 1 : 0) << i;
    for (const auto& text : cfg->reserved_256504)
        EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(cfg->reserved_258624, 0u);
    EXPECT_EQ(cfg->reserved_258628, 0);
    const _kxgUNC_map cleared;
    for (const _kxgUNC_map& map : cfg->uncMaps)
        EXPECT_EQ(std::memcmp(&map, &cleared, sizeof map), 0);
    for (const auto& group : cfg->reserved_290650)
        for (const auto& text : group)
            EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(copyOf(cfg->reserved_339616.t), 0);
    EXPECT_EQ(cfg->sdk, nullptr);
    const _kxgCfg_param& slot = cfg->params[399];
    EXPECT_EQ(slot.type, _kxgCfg_param::typeBool);
    EXPECT_FALSE(slot.valueB);
    EXPECT_TRUE(slot.valueS.isEmpty() && slot.group.isEmpty() && slot.name.isEmpty());
    // Every byte, padding and unused text units included, is the same in every fresh store.
    auto other = freshStore();
    EXPECT_EQ(std::memcmp(cfg, other.get(), sizeof(_kxgConfig)), 0);
    cfg->~_kxgConfig();
}

TEST(KxgConfig, EachInitSetsItsType) {
    _kxgCfg_param p;
    p.valueI = 9;
    p.valueF = 9;
    p.valueS.set("old");
    p.init(true, "G", "b");
    EXPECT_EQ(p.type, _kxgCfg_param::typeBool);
    EXPECT_TRUE(p.valueB);
    EXPECT_EQ(p.valueI, 0);
    EXPECT_EQ(p.valueF, 0.0f);
    EXPECT_TRUE(p.valueS.isEmpty());
    EXPECT_TRUE(p.group.isEqual("G") && p.name.isEqual("b"));

    p.init(_kxString<200>(QStringLiteral("\u00e9t\u00e9 <UNIhex20ac>")), "G", "s");
    EXPECT_EQ(p.type, _kxgCfg_param::typeString);
    EXPECT_EQ(str(p.valueS), QStringLiteral("\u00e9t\u00e9 \u20ac"));
    p.init("\xe9<UNIhex20ac><KX_ROOT>", "G", "s8");
    EXPECT_EQ(str(p.valueS), QStringLiteral("\u00e9\u20ac<KX_ROOT>"));
    p.init(static_cast<const char*>(nullptr), "G", "s8");
    EXPECT_TRUE(p.valueS.isEmpty());
    const std::string longText(250, 'x');
    p.init(longText.c_str(), "G", "s8");
    EXPECT_EQ(p.valueS.len(), 200);

    // An int default outside its range is kept as given.
    p.init(50, 0, 10, "G", "i");
    EXPECT_EQ(p.type, _kxgCfg_param::typeInt);
    EXPECT_EQ(p.valueI, 50);
    EXPECT_EQ(p.valueMin, 0);
    EXPECT_EQ(p.valueMax, 10);

    // Float bounds in millionths, multiplied in single precision: 0.000001 is kept as 1 (in double
    // precision it would truncate to 0).
    p.initF(0.05f, 0.000001f, 1000.0f, "G", "f");
    EXPECT_EQ(p.type, _kxgCfg_param::typeFloat);
    EXPECT_EQ(p.valueF, 0.05f);
    EXPECT_EQ(p.valueMin, 1);
    EXPECT_EQ(p.valueMax, 1000000000);
    p.initF(0, -2.5f, std::nanf(""), "G", "f");
    EXPECT_EQ(p.valueMin, -2500000);
    EXPECT_EQ(p.valueMax, 0);
    p.initF(0, -1e30f, 1e30f, "G", "f");
    EXPECT_EQ(p.valueMin, std::numeric_limits<qint64>::min());
    EXPECT_EQ(p.valueMax, std::numeric_limits<qint64>::max());
}

TEST(KxgConfig, LookupIsExactAndTheFirstMatchWins) {
    auto cfg = smallStore();
    EXPECT_EQ(cfg->count, 5);
    EXPECT_EQ(cfg->getI("port"), 7773); // the first "port", not the second
    EXPECT_TRUE(cfg->setI("port", 3));
    EXPECT_EQ(cfg->params[1].valueI, 10);
    EXPECT_EQ(cfg->params[4].valueI, 1);

    struct Case {
        const char* key;
        bool found;
    };
    const Case cases[] = {
        {"port", true}, {"Port", false},  {"PORT", false}, {"por", false},   {"ports", false},
        {"", false},    {" port", false}, {"useIP", true}, {"useip", false}, {"label", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(cfg->exists(c.key), c.found);
    }
    EXPECT_FALSE(cfg->exists(nullptr));
    EXPECT_EQ(cfg->getI(nullptr), 0);
    EXPECT_TRUE(cfg->getS(nullptr).isEmpty());
    // A key longer than any name (names hold 100 bytes) matches nothing, whatever its first bytes.
    const std::string longKey = std::string("port") + std::string(65536, 'x');
    EXPECT_FALSE(cfg->exists(longKey.c_str()));

    // A damaged length word (a record from elsewhere) matches no key and is not read past the name.
    auto damaged = smallStore();
    damaged->params[0].name.set(std::string(100, 'd').c_str());
    damaged->params[0].name.length = 300;
    EXPECT_FALSE(damaged->exists(std::string(100, 'd').c_str()));
    EXPECT_EQ(damaged->getI("port"), 7773);

    // An empty name is a name like any other.
    cfg->addInit(false, "G", "");
    EXPECT_TRUE(cfg->exists(""));
    EXPECT_FALSE(freshStore()->exists("port"));
}

TEST(KxgConfig, TypeGuardsAndFallBacks) {
    auto cfg = smallStore();
    const _kxgConfig& constCfg = *cfg;
    EXPECT_FALSE(cfg->setB("port", false));
    EXPECT_EQ(cfg->getI("port"), 7773);
    EXPECT_FALSE(cfg->setI("useIP", 0));
    EXPECT_TRUE(constCfg.getB("useIP"));
    EXPECT_FALSE(cfg->setF("port", 1));
    EXPECT_FALSE(cfg->setS("cost", _kxString<200>("x")));
    EXPECT_FALSE(cfg->setS_coded("useIP", "x"));
    EXPECT_FALSE(cfg->setB("missing", true));
    EXPECT_FALSE(cfg->setS("missing", _kxString<200>("x")));

    EXPECT_EQ(constCfg.getI("useIP"), 0);
    EXPECT_EQ(constCfg.getF("port"), 0.0f);
    EXPECT_FALSE(constCfg.getB("label"));
    EXPECT_TRUE(constCfg.getS("missing").isEmpty());
    EXPECT_TRUE(constCfg.getS_decoded("port").isEmpty());

    // Non-const getters refer to the slot, or to the fall-back member.
    EXPECT_EQ(&cfg->getS("missing"), &cfg->fallbackS);
    EXPECT_EQ(&cfg->getI("useIP"), &cfg->fallbackI);
    EXPECT_EQ(&cfg->getF("label"), &cfg->fallbackF);
    EXPECT_EQ(&cfg->getB("port"), &cfg->fallbackB);
    cfg->getI("port") = 8000;
    EXPECT_EQ(constCfg.getI("port"), 8000);
    cfg->getB("useIP") = false;
    EXPECT_FALSE(constCfg.getB("useIP"));
    cfg->getS("label").set("changed");
    EXPECT_EQ(str(constCfg.getS("label")), QStringLiteral("changed"));
    // A changed fall-back is what unknown keys read.
    cfg->fallbackI = 42;
    cfg->fallbackS.set("none");
    cfg->fallbackB = true;
    EXPECT_EQ(constCfg.getI("missing"), 42);
    EXPECT_EQ(str(constCfg.getS("missing")), QStringLiteral("none"));
    EXPECT_TRUE(constCfg.getB("missing"));
    EXPECT_TRUE(constCfg.getS_decoded("missing").isEqual("none"));
}

TEST(KxgConfig, NumbersAreClamped) {
    auto cfg = smallStore();
    struct IntCase {
        int in, stored;
    };
    for (const IntCase& c : {IntCase{70000, 30000}, IntCase{3, 10}, IntCase{10, 10}, IntCase{30000, 30000},
                             IntCase{1234, 1234}, IntCase{std::numeric_limits<int>::min(), 10}}) {
        EXPECT_TRUE(cfg->setI("port", c.in));
        EXPECT_EQ(cfg->getI("port"), c.stored) << c.in;
    }
    struct FloatCase {
        float in, stored;
    };
    const float inf = std::numeric_limits<float>::infinity();
    for (const FloatCase& c : {FloatCase{0.0f, 0.000001f}, FloatCase{-5.0f, 0.000001f},
                               FloatCase{2000.0f, 1000.0f}, FloatCase{12.5f, 12.5f}, FloatCase{inf, 1000.0f},
                               FloatCase{-inf, 0.000001f}, FloatCase{std::nanf(""), 0.000001f}}) {
        EXPECT_TRUE(cfg->setF("cost", c.in));
        EXPECT_EQ(cfg->getF("cost"), c.stored) << c.in;
    }
    // Bounds are read as 32-bit integers.
    cfg->params[1].valueMax = (qint64(1) << 32) + 100;
    cfg->setI("port", 5000);
    EXPECT_EQ(cfg->getI("port"), 100);
}

TEST(KxgConfig, RemoveSettingShiftsTheLaterSlots) {
    auto cfg = smallStore();
    const _kxgCfg_param lastBefore = cfg->params[4];
    cfg->removeSetting("useIP");
    EXPECT_EQ(cfg->count, 4);
    EXPECT_FALSE(cfg->exists("useIP"));
    EXPECT_EQ(cfg->getI("port"), 7773);
    EXPECT_EQ(cfg->getF("cost"), 0.05f);
    EXPECT_EQ(str(cfg->getS("label")), QStringLiteral("abc"));
    EXPECT_TRUE(cfg->params[0].name.isEqual("port"));
    EXPECT_EQ(cfg->params[0].valueMax, 30000);
    EXPECT_TRUE(cfg->params[0].group.isEqual("Net"));
    // The slot that was last keeps its contents behind the count.
    EXPECT_EQ(std::memcmp(&cfg->params[4], &lastBefore, sizeof lastBefore), 0);

    // Removing the first "port" brings the second one forward.
    cfg->removeSetting("port");
    EXPECT_EQ(cfg->getI("port"), 1);

    auto before = smallStore();
    auto after = smallStore();
    after->removeSetting("Port");
    after->removeSetting("");
    EXPECT_EQ(std::memcmp(before.get(), after.get(), sizeof(_kxgConfig)), 0);
}

TEST(KxgConfig, RegistrationStopsAtTheOneByteCount) {
    auto cfg = freshStore();
    for (int i = 0; i < 255; ++i)
        cfg->addInit(i, 0, 1000, "G", QStringLiteral("k%1").arg(i));
    EXPECT_EQ(cfg->count, 255);
    const _kxgCfg_param untouched = cfg->params[255];
    cfg->addInit(true, "G", "overflow");
    cfg->addInit("x", "G", "overflow");
    cfg->addInit(_kxString<200>("x"), "G", "overflow");
    cfg->addInitF(1, 0, 2, "G", "overflow");
    cfg->prioAddInit(1, 0, 2, "G", "overflow");
    EXPECT_EQ(cfg->count, 255);
    EXPECT_FALSE(cfg->exists("overflow"));
    EXPECT_EQ(std::memcmp(&cfg->params[255], &untouched, sizeof untouched), 0);
    EXPECT_EQ(cfg->getI("k0"), 0);
    EXPECT_EQ(cfg->getI("k254"), 254);
}

TEST(KxgConfig, ImportCopiesTheSettingsAndTheCarriedMembers) {
    auto source = smallStore();
    source->reserved_0.t = 1700000000;
    source->reserved_8 = 7;
    source->fallbackI = 11;
    source->fallbackS.set("source fallback");
    source->reserved_256432[10] = 9;
    source->reserved_256458[10] = 9;
    source->reserved_256484[10] = 9;
    source->reserved_256504[19].set("text 19");
    source->reserved_258624 = 0xDEADBEEF;
    source->reserved_258628 = 5;
    source->uncMaps[4].entries[18].reserved_272.set("unc");
    source->uncMaps[4].reserved_6194.set("map");
    source->reserved_290650[59][3].set("group 59");
    source->reserved_339616.t = 99;
    source->params[300].name.set("beyond the count");
    int contextStandIn = 0;
    source->sdk = reinterpret_cast<__KXSDK*>(&contextStandIn);

    auto target = farmStore();
    target->reserved_258628 = 1;
    target->reserved_339616.t = 3;
    const auto targetBefore = std::make_unique<_kxgConfig>(*target);
    target->importCfg(*source);

    // Copied: the settings with all 400 slots, and the members carried with them.
    EXPECT_EQ(copyOf(target->reserved_0.t), 1700000000);
    EXPECT_EQ(target->reserved_8, 7);
    EXPECT_EQ(target->count, 5);
    EXPECT_EQ(std::memcmp(target->params, source->params, sizeof source->params), 0);
    EXPECT_EQ(std::memcmp(target->reserved_256504, source->reserved_256504, sizeof source->reserved_256504),
              0);
    EXPECT_EQ(target->reserved_258624, 0xDEADBEEF);
    EXPECT_EQ(std::memcmp(target->uncMaps, source->uncMaps, sizeof source->uncMaps), 0);
    EXPECT_EQ(std::memcmp(target->reserved_290650, source->reserved_290650, sizeof source->reserved_290650),
              0);
    EXPECT_EQ(target->getI("port"), 7773);
    EXPECT_FALSE(target->exists("nKXServerPort"));
    // Kept: fall-backs, flag arrays, the byte after the 32-bit value, the second time and the context.
    EXPECT_EQ(target->fallbackI, 0);
    EXPECT_TRUE(target->fallbackS.isEmpty());
    EXPECT_EQ(std::memcmp(target->reserved_256432, targetBefore->reserved_256432, 26 + 26 + 20), 0);
    EXPECT_EQ(target->reserved_258628, 1);
    EXPECT_EQ(copyOf(target->reserved_339616.t), 3);
    EXPECT_EQ(target->sdk, nullptr);

    // Importing itself changes nothing.
    const auto copy = std::make_unique<_kxgConfig>(*target);
    target->importCfg(*target);
    EXPECT_EQ(std::memcmp(copy.get(), target.get(), sizeof(_kxgConfig)), 0);
}

TEST(KxgConfig, ScrambledSizeClassesAndRoundTrips) {
    struct Case {
        int length;
        int stored;
    };
    const Case cases[] = {{0, 49},   {5, 49},   {6, 73},   {23, 73},  {24, 100}, {39, 100},
                          {40, 124}, {55, 124}, {56, 148}, {73, 148}, {74, 151}, {124, 199}};
    auto cfg = smallStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        // Every byte value, the letters of the marker and Latin-1 among them.
        QByteArray text;
        for (int i = 0; i < c.length; ++i)
            text.append(char((i * 37 + c.length) % 256));
        ASSERT_TRUE(cfg->setS_coded("label", bytes(text)));
        const QString stored = cfg->getS("label").toQString();
        EXPECT_EQ(stored.size(), c.stored);
        EXPECT_TRUE(stored.startsWith(QStringLiteral("kxCA")));
        for (int i = 4; i < stored.size(); ++i)
            EXPECT_NE(std::strchr(kxLetters, stored.at(i).toLatin1()), nullptr) << i;
        EXPECT_EQ(cfg->getS_decoded("label").toByteArray(), text);
    }
}

TEST(KxgConfig, ScrambledFormWorkedOutByHand) {
    // Worked out from the rules alone (CRC-32 of the text, padding, key stream, letters), apart from
    // this code.
    struct Case {
        const char* text;
        const char* stored;
    };
    const Case cases[] = {
        {"", "kxCA4TFBLKXFApoM6aEteKXjFbwCVEN0xBN=NbGA6VIAAAAAA"},
        {"render-pass", "kxCAnwEx2LAtF/bN70H_pBqUHE3A_uK50FwCLMpKUFAiTJeaAAnIAxGysNeaK_hCy1MsXECZG"},
    };
    auto cfg = smallStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(cfg->setS_coded("label", c.text));
        EXPECT_EQ(str(cfg->getS("label")), QString::fromLatin1(c.stored));
        // Read back from a stored form set in clear, as another process would have written it.
        cfg->setS("label", _kxString<200>(c.stored));
        EXPECT_TRUE(cfg->getS_decoded("label").isEqual(c.text));
    }
}

TEST(KxgConfig, TextsThatAreNotScrambled) {
    auto cfg = smallStore();
    const QByteArray tooLong(125, 'p');
    EXPECT_TRUE(cfg->setS_coded("label", bytes(tooLong)));
    EXPECT_EQ(cfg->getS("label").toQString(), QString::fromLatin1(tooLong));
    EXPECT_EQ(cfg->getS_decoded("label").toByteArray(), tooLong);
    const QByteArray full(200, 'q');
    EXPECT_TRUE(cfg->setS_coded("label", bytes(full)));
    EXPECT_EQ(cfg->getS_decoded("label").toByteArray(), full);

    EXPECT_TRUE(cfg->setS_coded("label", "kxCAsecret"));
    EXPECT_EQ(str(cfg->getS("label")), QStringLiteral("kxCAsecret"));
    EXPECT_TRUE(cfg->getS_decoded("label").isEqual("kxCAsecret"));
    // A text beginning with the marker, scrambled before, is not scrambled twice.
    cfg->setS_coded("label", "pass");
    const _kxString8_allSize<200> once(cfg->getS("label").toQString());
    cfg->setS_coded("label", once);
    EXPECT_EQ(str(cfg->getS("label")), once.toQString());
    EXPECT_TRUE(cfg->getS_decoded("label").isEqual("pass"));
}

TEST(KxgConfig, MalformedScrambledTextsComeBackAsStored) {
    auto cfg = smallStore();
    cfg->setS_coded("label", "render-pass");
    const QString good = str(cfg->getS("label"));
    QString flipped = good;
    flipped[10] = flipped[10] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    const QString fortyFiveA = QString(45, QLatin1Char('A'));
    // Byte 1 holds the length; the key stream of checksum 0 begins 55, 110.
    const int lengthWord = (2 ^ 110) << 8;
    const QString cases[] = {
        QStringLiteral("kxCA"),
        QStringLiteral("kxCAAAA"),       // k = 1: checksum and length would overlap
        QStringLiteral("kxCAAAAAAA"),    // k = 2
        QStringLiteral("kxCAAAAAAAA"),   // not a multiple of 3
        QStringLiteral("kxCAA#AAAAAAA"), // a letter outside the alphabet
        QStringLiteral("kxCAkLOAAAAAA"), // 963 * 68 + 52: above 16 bits
        QStringLiteral("kxCAAMOAAAAAA"), // 964 in the upper two letters
        // k = 3, crc 0: the length byte decodes to 2, more than the 0 bytes of room.
        QStringLiteral("kxCA") + QChar(kxLetters[lengthWord % 68]) + QChar(kxLetters[lengthWord / 68 % 68]) +
            QChar(kxLetters[lengthWord / 4624]) + QStringLiteral("AAAAAA"),
        QStringLiteral("kxCA") + fortyFiveA, // all zero bytes: length byte 0 ^ key, checksum 0
        flipped,                             // checksum mismatch
        QStringLiteral("KXCA") + good.mid(4),
        QStringLiteral("kxCAé") + good.mid(5),
    };
    for (const QString& stored : cases) {
        SCOPED_TRACE(stored.toStdString());
        cfg->setS("label", _kxString<200>(stored));
        const _kxString8_allSize<200> decoded = cfg->getS_decoded("label");
        EXPECT_EQ(decoded.toQString(), stored);
    }
    // The same letters untouched decode.
    cfg->setS("label", _kxString<200>(good));
    EXPECT_TRUE(cfg->getS_decoded("label").isEqual("render-pass"));
}

TEST(KxgConfig, VirtualMachineIdsBothWays) {
    const auto store = freshStore();
    _kxgConfig& cfg = *store;
    struct Case {
        unsigned long long id;
        signed char number;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {0, 3, "vm", "03_vm"},
        {255, 3, "vm", "03_00000000000000ff_vm"},
        {0x0123456789ABCDEFull, 0x1a, "render-07", "1a_0123456789abcdef_render-07"},
        {~0ull, 127, "", "7f_ffffffffffffffff_"},
        {0, 0, "", "00_"},
        {16, 10, "a_b", "0a_0000000000000010_a_b"},
        {0, -1, "neg", "ff_neg"},
        {0, -128, "min", "80_min"},
        {0, 5, "café", "05_café"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const _kxString8_allSize<200> text = cfg.joinVM_ID(c.id, c.number, c.name);
        EXPECT_TRUE(text.isEqual(c.text)) << text.toQString().toStdString();
        unsigned long long id = 1;
        signed char number = 1;
        _kxString8_allSize<75> name("x");
        cfg.splitVM_ID(text, &id, &number, &name);
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(number, c.number);
        EXPECT_TRUE(name.isEqual(c.name));
    }
    struct Split {
        const char* text;
        unsigned long long id;
        signed char number;
        const char* name;
    };
    const std::string longName = "02_" + std::string(100, 'n');
    const Split splits[] = {
        {"ab", 0, 0, ""},
        {"", 0, 0, ""},
        {"03x_vm", 0, 0, ""},
        {"03_vm", 0, 3, "vm"},
        {"10_vm", 0, 16, "vm"},  // hexadecimal, as written
        {"0g_vm", 0, 0, "vm"},   // a number ends at the first non-hex character
        {"A1_vm", 0, -95, "vm"}, // either letter case
        {"03_", 0, 3, ""},
        {"03_00000000000000ff_", 255, 3, ""},
        {"03_00000000000000ff", 0, 3, "00000000000000ff"}, // no "_" after the id: all of it is the name
        {"03_12z4_____________vm", 0x12, 3, "vm"},         // the id field ends at "z"
        {longName.c_str(), 0, 2, nullptr},
    };
    for (const Split& c : splits) {
        SCOPED_TRACE(c.text);
        unsigned long long id = 1;
        signed char number = 1;
        _kxString8_allSize<75> name("x");
        cfg.splitVM_ID(c.text, &id, &number, &name);
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(number, c.number);
        if (c.name)
            EXPECT_TRUE(name.isEqual(c.name)) << name.toQString().toStdString();
        else
            EXPECT_EQ(name.toQString(), QString(75, QLatin1Char('n')));
        // Each output may be left out.
        cfg.splitVM_ID(c.text, nullptr, nullptr, nullptr);
        signed char onlyNumber = 1;
        cfg.splitVM_ID(c.text, nullptr, &onlyNumber, nullptr);
        EXPECT_EQ(onlyNumber, c.number);
    }
}
