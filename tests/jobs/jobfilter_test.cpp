// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobfilter.h"
#include "jobs/jobrecords.h"

#include "tests/qstringprint.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kxJ;

namespace {

QStringList terms(const _kxString<50>* list, int count) {
    QStringList r;
    for (int i = 0; i < count; ++i)
        r << list[i].toQString();
    return r;
}

QStringList terms8(const _kxString8_allSize<50>* list, int count) {
    QStringList r;
    for (int i = 0; i < count; ++i)
        r << list[i].toQString();
    return r;
}

QStringList pairs(const _jobFilter_Contains& f) {
    QStringList r;
    for (const auto& [key, value] : f.keywordValues)
        r << key.toQString() + QLatin1Char('=') + value.toQString();
    return r;
}

_jobFilter_Contains parsed(const QString& text, bool invert = false, bool parseTerms = true) {
    _jobFilter_Contains f;
    f.createFromString(text, invert, parseTerms);
    return f;
}

} // namespace

TEST(JobFilterParse, TermsPairsAndFlags) {
    const QStringList none;
    const struct Case {
        const char* text;
        bool invert, parseTerms;
        bool matchAll;
        QStringList include, exclude, pairs;
    } cases[] = {
        {"foo bar", false, true, true, {"FOO", "BAR"}, none, none},
        {"OR foo bar", false, true, false, {"FOO", "BAR"}, none, none},
        {"or foo", false, true, false, {"FOO"}, none, none},
        {"ORfoo", false, true, true, {"ORFOO"}, none, none},
        // Split at blanks and ";" when there is one, else at ",".
        {"a,b", false, true, true, {"A", "B"}, none, none},
        {"a b,c", false, true, true, {"A", "B,C"}, none, none},
        {"a;b,c;;", false, true, true, {"A", "B,C"}, none, none},
        {"one two three four five six seven eight nine ten eleven",
         false,
         true,
         true,
         {"ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX", "SEVEN", "EIGHT", "NINE", "TEN"},
         none,
         none},
        {"foo -bar -", false, true, true, {"FOO"}, {"BAR"}, none},
        {"foo -bar", true, true, true, {"BAR"}, {"FOO"}, none},
        {"user=anna", false, true, true, none, none, {"USER=ANNA"}},
        {"=anna", false, true, true, {"=ANNA"}, none, none},
        {"user= renderer=arnold", false, true, true, none, none, {"RENDERER=ARNOLD"}},
        {"user=a user=b", false, true, true, none, none, {"USER=B"}},
        {"b=1 aa=2 a=3 ab=4", false, true, true, none, none, {"A=3", "AA=2", "AB=4", "B=1"}},
        {"-user=anna", false, true, true, none, {"USER=ANNA"}, none},
        // A key of 25 characters is a key; a longer one makes the part a plain term.
        {"abcdefghijklmnopqrstuvwxy=1", false, true, true, none, none, {"ABCDEFGHIJKLMNOPQRSTUVWXY=1"}},
        {"abcdefghijklmnopqrstuvwxyz=1", false, true, true, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ=1"}, none, none},
        {"abcdefghijklmnopqrstuvwxyz=1", true, true, true, none, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ=1"}, none},
        // Parsing off: the whole text is one term.
        {"foo -bar user=x", false, false, true, {"FOO -BAR USER=X"}, none, none},
        {"OR foo -bar", true, false, false, none, {"FOO -BAR"}, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const _jobFilter_Contains f = parsed(QString::fromLatin1(c.text), c.invert, c.parseTerms);
        EXPECT_EQ(f.filterText, QString::fromLatin1(c.text));
        EXPECT_EQ(f.invert, c.invert);
        EXPECT_FALSE(f.isEmpty);
        EXPECT_EQ(f.matchAll, c.matchAll);
        EXPECT_EQ(terms(f.includeTerms, f.includeCount), c.include);
        EXPECT_EQ(terms8(f.includeTerms8, f.includeCount8), c.include);
        EXPECT_EQ(terms(f.excludeTerms, f.excludeCount), c.exclude);
        EXPECT_EQ(terms8(f.excludeTerms8, f.excludeCount8), c.exclude);
        EXPECT_EQ(pairs(f), c.pairs);
    }
}

TEST(JobFilterParse, EmptyTextLengthsAndReuse) {
    _jobFilter_Contains f = parsed(QStringLiteral("a b -c user=x"));
    f.createFromString(QString(), true, true);
    EXPECT_TRUE(f.isEmpty);
    EXPECT_TRUE(f.matchAll);
    EXPECT_TRUE(f.invert);
    EXPECT_EQ(f.includeCount + f.excludeCount + f.includeCount8 + f.excludeCount8, 0);
    EXPECT_TRUE(f.keywordValues.empty());

    // Parts and whole texts are cut to 50 characters.
    const QString longWord(70, QLatin1Char('x'));
    f = parsed(longWord + QStringLiteral(" -") + longWord);
    EXPECT_EQ(f.includeTerms[0].toQString(), QString(50, QLatin1Char('X')));
    EXPECT_EQ(f.excludeTerms[0].toQString(), QString(49, QLatin1Char('X')));
    f = parsed(longWord, false, false);
    EXPECT_EQ(f.includeTerms[0].toQString(), QString(50, QLatin1Char('X')));
    f = parsed(QStringLiteral("user=") + longWord);
    EXPECT_EQ(pairs(f), QStringList{QStringLiteral("USER=") + QString(45, QLatin1Char('X'))});
}

TEST(JobFilterParse, KeepCase) {
    _jobFilter_Contains f;
    f.includeKeepCase = false;
    f.createFromString(QStringLiteral("Foo -Bar"), false, true);
    EXPECT_EQ(terms(f.includeTerms, f.includeCount), QStringList{QStringLiteral("foo")});
    EXPECT_EQ(terms8(f.includeTerms8, f.includeCount8), QStringList{QStringLiteral("FOO")});
    EXPECT_EQ(terms(f.excludeTerms, f.excludeCount), QStringList{QStringLiteral("BAR")});
    f.excludeKeepCase = false;
    f.createFromString(QStringLiteral("-Bar"), false, true);
    EXPECT_EQ(terms(f.excludeTerms, f.excludeCount), QStringList{QStringLiteral("bar")});
    EXPECT_EQ(terms8(f.excludeTerms8, f.excludeCount8), QStringList{QStringLiteral("BAR")});
}

namespace {

struct FilterJobs : ::testing::Test {
    std::unique_ptr<_JobSubmitter> a = std::make_unique<_JobSubmitter>();
    std::unique_ptr<_JobSubmitter> b = std::make_unique<_JobSubmitter>();

    FilterJobs() {
        a->ID = quint64(123456789) << 24; // "{KT9 }"
        a->userName.set("anna");
        a->renderer.set("Arnold");
        a->sceneName.set("/prj/shot010/light_v012.ma");
        a->imageDir.set("/renders/shot010/");
        a->imageFileName.set("beauty.");
        a->imageExtension.set(".exr");
        a->customScene.set("Forest");
        a->customSeq.set("sq01");
        a->customShot.set("sh010");
        a->customVersion.set("v012");
        a->customJobType.set("lighting");
        a->division.set("VisFX");
        a->camera.set("shotCam");
        a->layer.set("bgLayer");
        a->channel.set("diffuse");
        a->customDataSet_Str(QStringLiteral("Client"), QStringLiteral("Acme_Corp"));

        b->ID = 0; // "{AAA }"
        b->userName.set("bob");
        b->renderer.set("Redshift");
        b->sceneName.set("/prj/shot020/comp_v003.hip");
        b->imageDir.set("/renders/shot020/");
        b->imageFileName.set("comp.");
        b->imageExtension.set(".png");
        b->division.set("Comp");
    }

    bool fits(const _JobSubmitter& job, const QString& text, bool invert, bool parseTerms) {
        return job.filterJobList_Fits_Contains(parsed(text, invert, parseTerms));
    }
};

} // namespace

TEST_F(FilterJobs, PassOrFail) {
    const struct Case {
        const char* text;
        bool invert, parseTerms;
        bool a, b;
    } cases[] = {
        {"", false, true, true, true},
        // A term is searched in every listed text of the job, upper-cased.
        {"KT9", false, true, true, false},
        {"aaa", false, true, false, true},
        {"arnold", false, true, true, false},
        {"v012", false, true, true, false},
        {"sq01", false, true, true, false},
        {"sh010", false, true, true, false},
        {"forest", false, true, true, false},
        {"lighting", false, true, true, false},
        {"visfx", false, true, true, false},
        {"shotcam", false, true, true, false},
        {"bglayer", false, true, true, false},
        {"diffuse", false, true, true, false},
        {"anna", false, true, true, false},
        {"light_v0", false, true, true, false},
        {"renders/shot020", false, true, false, true},
        {"beauty", false, true, true, false},
        {".png", false, true, false, true},
        {"acme", false, true, true, false}, // only in the custom data values
        {"nowhere", false, true, false, false},
        // All terms, or one of them with "OR ".
        {"anna arnold", false, true, true, false},
        {"anna bob", false, true, false, false},
        {"OR anna bob", false, true, true, true},
        {"OR nowhere nothing", false, true, false, false},
        // Exclusions, also alone.
        {"-anna", false, true, false, true},
        {"-shot0", false, true, false, false},
        {"shot0 -comp", false, true, true, false},
        {"anna", true, true, false, true},
        {"-anna", true, true, true, false},
        // Each keyword compares its field as a whole.
        {"user=anna", false, true, true, false},
        {"user=ann", false, true, false, false},
        {"=anna", false, true, false, false},
        {"renderer=arnold", false, true, true, false},
        {"division=comp", false, true, false, true},
        {"customscene=forest", false, true, true, false},
        {"customseq=SQ01", false, true, true, false},
        {"customshot=sh010", false, true, true, false},
        {"customversion=v012", false, true, true, false},
        {"customjobtype=lighting", false, true, true, false},
        {"customclient=acme_corp", false, true, true, false},
        {"customclient=acme", false, true, false, false},
        {"customnothere=x", false, true, false, false},
        {"unknownkey=x", false, true, false, false},
        // The scene file: the end of the path, separators in either form.
        {"scenefile=light_v012.ma", false, true, true, false},
        {"scenefile=shot010/light_v012.ma", false, true, true, false},
        {"scenefile=shot010\\light_v012.ma", false, true, true, false},
        {"scenefile=light_v012", false, true, false, false},
        // Pairs and terms together.
        {"user=anna arnold", false, true, true, false},
        {"user=anna redshift", false, true, false, false},
        {"OR user=bob arnold", false, true, true, true},
        {"OR unknownkey=x anna", false, true, true, false},
        {"user=anna -light", false, true, false, false},
        {"OR user=anna -forest", false, true, false, false},
        // An over-long key is a term that no job holds, not a dropped pair that passes every job.
        {"abcdefghijklmnopqrstuvwxyz=1", false, true, false, false},
        // Parsing off: the whole text is one term.
        {"anna bob", false, false, false, false},
        {"light_v012.ma", false, false, true, false},
        {"user=anna", false, false, false, false},
        {"anna", true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.text << (c.invert ? " inverted" : "") << (c.parseTerms ? "" : " unparsed"));
        EXPECT_EQ(fits(*a, QString::fromLatin1(c.text), c.invert, c.parseTerms), c.a);
        EXPECT_EQ(fits(*b, QString::fromLatin1(c.text), c.invert, c.parseTerms), c.b);
    }
}

TEST_F(FilterJobs, LowerCasedTermsMatchOnlyTheCustomBlockByLetters) {
    _jobFilter_Contains f;
    f.includeKeepCase = false;
    f.createFromString(QStringLiteral("anna"), false, true);
    EXPECT_FALSE(a->filterJobList_Fits_Contains(f)) << "the 16-bit term is lower case";
    f.createFromString(QStringLiteral("acme"), false, true);
    EXPECT_TRUE(a->filterJobList_Fits_Contains(f)) << "its 8-bit twin is upper case";
    f.createFromString(QStringLiteral("010"), false, true);
    EXPECT_TRUE(a->filterJobList_Fits_Contains(f));
}

TEST_F(FilterJobs, StoredCountsAreHeldToTheLists) {
    _jobFilter_Contains f = parsed(QStringLiteral("anna -bob"));
    f.includeCount = 1000;
    f.includeCount8 = -7;
    f.excludeCount = 1 << 30;
    f.excludeCount8 = 1 << 30;
    EXPECT_EQ(f.includeCountClamped(), 10);
    EXPECT_EQ(f.excludeCountClamped(), 10);
    // Slots beyond the parsed terms are empty, and an empty term is found everywhere.
    EXPECT_FALSE(a->filterJobList_Fits_Contains(f));
    f.excludeCount = 0;
    EXPECT_TRUE(a->filterJobList_Fits_Contains(f));
    f.includeCount = -1;
    EXPECT_TRUE(b->filterJobList_Fits_Contains(f)) << "no terms and no pairs: only exclusions count";
}
