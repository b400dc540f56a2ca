// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxstring.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(KxString, WritesAreCutToCapacity) {
    _kxString<5> s(QStringLiteral("abcdefgh"));
    EXPECT_EQ(s.len(), 5);
    EXPECT_EQ(s.toQString(), QStringLiteral("abcde"));
    EXPECT_EQ(s.text[5], 0);
    s.add("xyz");
    EXPECT_EQ(s.toQString(), QStringLiteral("abcde"));
    s.insert(1, QStringLiteral("ZZ"));
    EXPECT_EQ(s.toQString(), QStringLiteral("aZZbc"));
    s.remove(3, 100);
    EXPECT_EQ(s.toQString(), QStringLiteral("aZZ"));
    s.remove(7, 1); // beyond the end: nothing
    EXPECT_EQ(s.toQString(), QStringLiteral("aZZ"));
}

TEST(KxString, StoredLengthAboveCapacityIsReadAsCapacity) {
    // A record from elsewhere may carry any length word; nothing reads past the field.
    _kxString<4> s(QStringLiteral("abcd"));
    s.length = 60000;
    EXPECT_EQ(s.len(), 4);
    EXPECT_EQ(s.toQString(), QStringLiteral("abcd"));
    EXPECT_EQ(s.indexOf(u'z'), -1);
    s.add("e");
    EXPECT_EQ(s.toQString(), QStringLiteral("abcd"));
    _kxString8_allSize<3> b("xyz");
    b.length = 0xFFFF;
    EXPECT_EQ(b.toQString(), QStringLiteral("xyz"));
    s.clearUnused();
    EXPECT_EQ(s.text[4], 0);
}

TEST(KxString, EqualityIsExact) {
    _kxString<50> a(QStringLiteral("nodeA")), b(QStringLiteral("nodeA")), c(QStringLiteral("NODEA"));
    EXPECT_TRUE(a.isEqual(b));
    EXPECT_FALSE(a.isEqual(c));
    _kxString8_allSize<50> x("render01"), y("Render01"), z("render01");
    EXPECT_TRUE(x.isEqual(z));
    EXPECT_FALSE(x.isEqual(y));
    _kxString8_allSize<10> shorter("render01");
    EXPECT_TRUE(x.isEqual(shorter));
}

TEST(KxString, SingleCharAndIndexOf) {
    _kxString<10> s('/');
    EXPECT_EQ(s.len(), 1);
    EXPECT_EQ(s.at(0), u'/');
    // One unit whatever the char: a zero unit and a byte above 127 (taken as Latin-1) count too.
    const _kxString<10> zero('\0');
    EXPECT_EQ(zero.len(), 1);
    EXPECT_FALSE(zero.isEmpty());
    EXPECT_EQ(zero.at(0), u'\0');
    EXPECT_EQ(zero.toQString(), QString(QChar(0)));
    const _kxString<1> high('\xe9');
    EXPECT_EQ(high.len(), 1);
    EXPECT_EQ(high.at(0), u'\u00e9');
    _kxString<10> p(QStringLiteral("a/b/c"));
    EXPECT_EQ(p.indexOf(u'/'), 1);
    EXPECT_EQ(p.indexOf(u'/', 2), 3);
    EXPECT_EQ(p.indexOf(u'/', 4), -1);
}

TEST(KxString, Latin1RoundTripOf8BitText) {
    _kxString8_allSize<10> s(QString::fromUtf8("caf\xc3\xa9\xe2\x82\xac")); // café€
    EXPECT_EQ(s.len(), 5);
    EXPECT_EQ(s.toQString(), QString::fromUtf8("caf\xc3\xa9?"));
    _kxString<10> w;
    w.add("caf\xe9");
    EXPECT_EQ(w.toQString(), QString::fromUtf8("caf\xc3\xa9"));
}

TEST(KxString, LayoutSizes) {
    EXPECT_EQ(sizeof(_kxString<25>), 56u);
    EXPECT_EQ(sizeof(_kxString<50>), 106u);
    EXPECT_EQ(sizeof(_kxString<100>), 206u);
    EXPECT_EQ(sizeof(_kxString<2500>), 5006u);
}

TEST(KxString, InsertingPartOfItselfCopiesTheOldText) {
    _kxString<12> s(QStringLiteral("abcdef"));
    s.insert(0, s.data() + 2, 3); // "cde" in front
    EXPECT_EQ(s.toQString(), QStringLiteral("cdeabcdef"));
    s.insert(2, s.data(), 9); // all nine fit; one unit of the old tail stays before the cut at 12
    EXPECT_EQ(s.toQString(), QStringLiteral("cdcdeabcdefe"));
    _kxString8_allSize<8> b("wxyz");
    b.insert(4, b.data(), 4);
    EXPECT_EQ(b.toQString(), QStringLiteral("wxyzwxyz"));
    b.insert(1, b.data(), 3);
    EXPECT_EQ(b.toQString(), QStringLiteral("wwxyxyzw"));
    EXPECT_EQ(b.text[8], 0);
}

TEST(KxString, ContainsUpperCaseInput) {
    const _kxString<25> text(QStringLiteral("Shot010_Lighting äß"));
    const struct {
        const char16_t* term;
        bool found;
    } cases[] = {
        {u"SHOT", true},   {u"LIGHTING", true}, {u"010_L", true}, {u"ÄSS", false}, {u"Ä", true},
        {u"shot", false},  {u"SHOTS", false},   {u"", true},      {u"NG ÄSS", false},
        {u"NG Äß", true}, // units without an upper-case form of one unit stay as they are
    };
    for (const auto& c : cases) {
        const _kxString<50> term(QString::fromUtf16(c.term));
        EXPECT_EQ(text.containsUpperCaseInput(term), c.found) << term.toQString().toStdString();
    }
    // A term longer than the text, a text whose stored length passes its capacity.
    EXPECT_FALSE(_kxString<100>(QStringLiteral("ab")).containsUpperCaseInput(_kxString<100>("ABC")));
    _kxString<4> damaged(QStringLiteral("abcd"));
    damaged.length = 60000;
    EXPECT_TRUE(damaged.containsUpperCaseInput(_kxString<4>("BCD")));
    EXPECT_FALSE(damaged.containsUpperCaseInput(_kxString<25>("BCDE")));
}

TEST(KxString, ReplaceAndFindText) {
    _kxString<20> s("a<Layer>b<LAYER>");
    EXPECT_EQ(s.indexOf(QStringLiteral("<layer>")), -1);
    EXPECT_EQ(s.indexOf(QStringLiteral("<layer>"), 0, Qt::CaseInsensitive), 1);
    EXPECT_EQ(s.indexOf(QStringLiteral("<layer>"), 2, Qt::CaseInsensitive), 9);
    EXPECT_EQ(s.indexOf(QStringLiteral("b"), -3), 8);
    EXPECT_TRUE(s.replace(QStringLiteral("<layer>"), QStringLiteral("beauty-pass"), Qt::CaseInsensitive));
    EXPECT_EQ(s.toQString(), QStringLiteral("abeauty-passbbeauty-")); // cut to the capacity
    EXPECT_EQ(s.len(), 20);
    EXPECT_FALSE(s.replace(QStringLiteral("zzz"), QStringLiteral("y")));
    EXPECT_FALSE(s.replace(QString(), QStringLiteral("y")));
    EXPECT_TRUE(s.replace(QStringLiteral("beauty-"), QString()));
    EXPECT_EQ(s.toQString(), QStringLiteral("apassb"));
}

TEST(KxString, SetLengthFillsWhatItExposesWithBlanks) {
    // Units behind a text may hold anything: an older, longer text or memory never written.
    _kxString<10> s("abcdefgh");
    s.setLength(2);
    s.setLength(5);
    EXPECT_EQ(s.toQString(), QStringLiteral("ab   "));
    EXPECT_EQ(s.text[5], 0);
    s.setLength(40); // cut to the capacity
    EXPECT_EQ(s.toQString(), QStringLiteral("ab        "));
    s.setLength(1);
    EXPECT_EQ(s.toQString(), QStringLiteral("a"));
    s.add("xyz"); // appending is not lengthening: the added units stay
    EXPECT_EQ(s.toQString(), QStringLiteral("axyz"));

    _kxString8_allSize<6> b("abc");
    b.setLength(0);
    b.setLength(4);
    EXPECT_EQ(b.toQString(), QStringLiteral("    "));
    EXPECT_EQ(b.text[4], 0);

    // A length word beyond the capacity reads as the capacity: nothing is filled past it.
    _kxString<4> full("abcd");
    full.length = 9000;
    full.setLength(4);
    EXPECT_EQ(full.toQString(), QStringLiteral("abcd"));
}
