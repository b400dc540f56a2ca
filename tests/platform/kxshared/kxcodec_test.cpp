// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxcodec.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* in;
    const char16_t* out;
};

void walk(QString (*decode)(const QString&), const Case* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const QString in = QString::fromUtf16(cases[i].in);
        SCOPED_TRACE(in.toStdString());
        EXPECT_EQ(decode(in), QString::fromUtf16(cases[i].out));
    }
}

} // namespace

TEST(KxCodec, UnihexTurnsTheNotationIntoItsCharacter) {
    const Case cases[] = {
        {u"<UNIhex20ac>", u"\u20ac"},
        {u"<UNIhex20AC> per kWh", u"\u20ac per kWh"},
        {u"a<UNIhex41>b<UNIhexe9>c", u"aAb\u00e9c"},
        {u"<UNIhex1f600>", u"\U0001F600"},
        {u"<UNIhex0000020ac>", u"\u20ac"},
        // Not a notation, or naming no character: left as written.
        {u"<KX_ROOT>/plugins/python_modules/", u"<KX_ROOT>/plugins/python_modules/"},
        {u"dir_mode=<rights><user ,user=<user>>", u"dir_mode=<rights><user ,user=<user>>"},
        {u"<unihex20ac>", u"<unihex20ac>"},
        {u"<UNIhex>", u"<UNIhex>"},
        {u"<UNIhex20ac", u"<UNIhex20ac"},
        {u"<UNIhex2g>", u"<UNIhex2g>"},
        {u"<UNIhex0>", u"<UNIhex0>"},
        {u"<UNIhexd800>", u"<UNIhexd800>"},
        {u"<UNIhex110000>", u"<UNIhex110000>"},
        {u"<UNIhex<UNIhex20ac>", u"<UNIhex\u20ac"},
        {u"", u""},
    };
    walk(kxFromKXUnihex, cases, std::size(cases));
}

TEST(KxCodec, XmlReferencesBecomeCharacters) {
    const Case cases[] = {
        {u"&amp;&lt;&gt;&quot;&apos;", u"&<>\"'"},
        {u"-a&#66;c", u"-aBc"},
        {u"&#x44;&#X65;bug", u"Debug"},
        {u"&#8364;&#x20AC;&#0065;", u"\u20ac\u20acA"},
        // Decoded once: the result of a reference is not read again.
        {u"&amp;lt;", u"&lt;"},
        // Unknown, empty, unterminated or naming no character: as written.
        {u"&nbsp;&;&#;&#x;", u"&nbsp;&;&#;&#x;"},
        {u"fish & chips", u"fish & chips"},
        {u"&amp", u"&amp"},
        {u"&AMP;", u"&AMP;"},
        {u"&#0;&#xD800;&#1114112;&#12a;", u"&#0;&#xD800;&#1114112;&#12a;"},
        {u"&&amp;", u"&&"},
    };
    walk(fromXmlString, cases, std::size(cases));
}
