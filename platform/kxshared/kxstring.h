// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Fixed-capacity texts held inline in records. They are plain blocks that records embed and copy byte
// for byte, so a record that came from another process may carry any length word: every operation
// reads the length through len(), which never answers more than the capacity N. Every write is cut
// to N silently; nothing fails for length.

#include <QByteArray>
#include <QString>

#include <cstring>
#include <type_traits>

namespace kxTextDetail {

/// The operations both fixed-capacity texts share, over a unit type: `text` holds N+1 units and
/// `length` is the stored length word, which may be anything in a record from elsewhere.
template <typename Unit, int N>
struct Ops {
    static int len(quint16 length) { return length > N ? N : length; }
    static void setLength(Unit* text, quint16& length, int n) {
        length = static_cast<quint16>(n < 0 ? 0 : (n > N ? N : n));
        text[length] = 0;
    }
    /// setLength that fills the units a longer text exposes with blanks, not with what they held.
    static void resize(Unit* text, quint16& length, int n) {
        for (int i = len(length); i < (n > N ? N : n); ++i)
            text[i] = Unit(' ');
        setLength(text, length, n);
    }
    static void set(Unit* text, quint16& length, const Unit* units, int count) {
        if (count < 0)
            count = 0;
        if (count > N)
            count = N;
        if (count > 0 && units != text)
            std::memmove(text, units, sizeof(Unit) * size_t(count));
        setLength(text, length, count);
    }
    static int indexOf(const Unit* text, quint16 length, Unit unit, int from) {
        if (from < 0)
            from = 0;
        for (int i = from; i < len(length); ++i)
            if (text[i] == unit)
                return i;
        return -1;
    }
    /// Inserts at `pos` (clamped into 0..len); whatever would pass N is cut off the end. `units` may
    /// point into `text` itself.
    static void insert(Unit* text, quint16& length, int pos, const Unit* units, int count) {
        const int n = len(length);
        pos = pos < 0 ? 0 : (pos > n ? n : pos);
        if (count <= 0 || units == nullptr)
            return;
        if (count > N - pos)
            count = N - pos;
        Unit copy[N > 0 ? N : 1];
        if (units >= text && units < text + N + 1) {
            std::memcpy(copy, units, sizeof(Unit) * size_t(count));
            units = copy;
        }
        const int tail = (n - pos) < (N - pos - count) ? (n - pos) : (N - pos - count);
        std::memmove(text + pos + count, text + pos, sizeof(Unit) * size_t(tail));
        std::memcpy(text + pos, units, sizeof(Unit) * size_t(count));
        setLength(text, length, pos + count + tail);
    }
    /// Removes up to `count` units from `pos`; at most to the end.
    static void remove(Unit* text, quint16& length, int pos, int count) {
        const int n = len(length);
        if (pos < 0 || pos >= n || count <= 0)
            return;
        if (count > n - pos)
            count = n - pos;
        std::memmove(text + pos, text + pos + count, sizeof(Unit) * size_t(n - pos - count));
        setLength(text, length, n - count);
    }
    static void clearUnused(Unit* text, quint16 length) {
        const int n = len(length);
        std::memset(text + n, 0, sizeof(Unit) * size_t(N + 1 - n));
    }
    static bool equal(const Unit* a, int aLength, const Unit* b, int bLength) {
        // The first unit decides most unequal texts of one length without a call.
        return aLength == bLength &&
               (aLength == 0 || (a[0] == b[0] && std::memcmp(a, b, sizeof(Unit) * size_t(aLength)) == 0));
    }
};

/// The upper-case form of one UTF-16 unit (ASCII directly, other units through QChar).
inline char16_t upperUnit(char16_t c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    return QChar(c).toUpper().unicode();
}

} // namespace kxTextDetail

/// UTF-16 text of at most N code units: 16-bit length, a second 16-bit word (zero after construction,
/// otherwise left alone), then N+1 units holding the text and a terminating 0.
template <int N>
struct _kxString {
    static_assert(N > 0 && N < 65535, "capacity must fit the 16-bit length");
    static constexpr int capacity = N;
    using Ops = kxTextDetail::Ops<char16_t, N>;

    quint16 length;
    quint16 secondWord;
    char16_t text[N + 1];

    _kxString() : length(0), secondWord(0) { text[0] = 0; }
    /// A one-unit text, '\0' included.
    explicit _kxString(char c) : length(1), secondWord(0) {
        text[0] = char16_t(static_cast<unsigned char>(c));
        text[1] = 0;
    }
    _kxString(const QString& s) : length(0), secondWord(0) { set(s); }
    _kxString(const char* s) : length(0), secondWord(0) { set(s); }
    _kxString(const _kxString&) = default;
    _kxString& operator=(const _kxString&) = default;
    template <int M>
    _kxString(const _kxString<M>& other) : length(0), secondWord(0) {
        set(other.data(), other.len());
    }

    /// Units in use, never more than N whatever the stored length word says.
    int len() const { return Ops::len(length); }
    int size() const { return len(); }
    bool isEmpty() const { return len() == 0; }
    const char16_t* data() const { return text; }
    char16_t at(int i) const { return (i >= 0 && i < len()) ? text[i] : char16_t(0); }

    void clear() { setLength(0); }
    /// Sets the length word, cut to N, and terminates the text there; lengthening fills with blanks.
    void setLength(int n) { Ops::resize(text, length, n); }
    void set(const char16_t* units, int count) { Ops::set(text, length, units, count); }
    void set(const QString& s) { set(reinterpret_cast<const char16_t*>(s.utf16()), int(s.size())); }
    /// 8-bit text, each byte widened to one unit (Latin-1).
    void set(const char* s) {
        clear();
        add(s);
    }
    template <int M>
    void set(const _kxString<M>& other) {
        set(other.data(), other.len());
    }
    _kxString& operator=(const QString& s) {
        set(s);
        return *this;
    }

    QString toQString() const { return QString::fromUtf16(text, len()); }
    QString asQString() const { return toQString(); }

    /// Exact comparison: every unit counts, letter case included.
    template <int M>
    bool isEqual(const _kxString<M>& other) const {
        return Ops::equal(text, len(), other.data(), other.len());
    }
    bool isEqual(const QString& other) const {
        return Ops::equal(text, len(), reinterpret_cast<const char16_t*>(other.utf16()), int(other.size()));
    }

    /// First position at or after `from` that holds `unit`, or -1.
    int indexOf(char16_t unit, int from = 0) const { return Ops::indexOf(text, length, unit, from); }
    /// First position at or after `from` where `needle` starts, or -1.
    int indexOf(const QString& needle, int from = 0, Qt::CaseSensitivity cs = Qt::CaseSensitive) const {
        return int(QStringView(text, len()).indexOf(needle, from < 0 ? 0 : from, cs));
    }
    /// Replaces every `before` by `after`, left to right; the result is cut to N. True when anything
    /// was replaced.
    bool replace(const QString& before, const QString& after, Qt::CaseSensitivity cs = Qt::CaseSensitive) {
        if (before.isEmpty() || indexOf(before, 0, cs) < 0)
            return false;
        set(toQString().replace(before, after, cs));
        return true;
    }

    /// Inserts at `pos` (clamped into 0..len()); whatever would pass N is cut off the end.
    void insert(int pos, const char16_t* units, int count) { Ops::insert(text, length, pos, units, count); }
    void insert(int pos, const QString& s) {
        insert(pos, reinterpret_cast<const char16_t*>(s.utf16()), int(s.size()));
    }
    /// Appends 8-bit text, each byte widened to one unit.
    void add(const char* s) {
        if (!s)
            return;
        int n = len();
        for (; *s && n < N; ++s)
            text[n++] = static_cast<unsigned char>(*s);
        Ops::setLength(text, length, n);
    }
    void add(const QString& s) { insert(len(), s); }
    void add(char16_t unit) { insert(len(), &unit, 1); }

    /// Removes up to `count` units from `pos`; at most to the end.
    void remove(int pos, int count) { Ops::remove(text, length, pos, count); }
    /// Zeroes the units behind the text, so equal texts are equal blocks.
    void clearUnused() { Ops::clearUnused(text, length); }

    /// True when this text, upper-cased unit by unit, contains `term` (compared exactly, so `term` is
    /// expected in upper case). An empty term is contained. Nothing is copied: filters call this for
    /// every job and term.
    template <int M>
    bool containsUpperCaseInput(const _kxString<M>& term) const {
        const int n = len(), m = term.len();
        for (int i = 0; i + m <= n; ++i) {
            int j = 0;
            while (j < m && kxTextDetail::upperUnit(text[i + j]) == term.text[j])
                ++j;
            if (j == m)
                return true;
        }
        return false;
    }
};

/// 8-bit text of at most N bytes: 16-bit length, then N+1 bytes holding the text and a terminating 0.
/// Texts are taken from and given back as Latin-1.
template <int N>
struct _kxString8_allSize {
    static_assert(N > 0 && N < 65535, "capacity must fit the 16-bit length");
    static constexpr int capacity = N;
    using Ops = kxTextDetail::Ops<char, N>;

    quint16 length;
    char text[N + 1];

    _kxString8_allSize() : length(0) { text[0] = 0; }
    _kxString8_allSize(const char* s) : length(0) { set(s); }
    _kxString8_allSize(const QString& s) : length(0) { set(s); }
    _kxString8_allSize(const _kxString8_allSize&) = default;
    _kxString8_allSize& operator=(const _kxString8_allSize&) = default;
    template <int M>
    _kxString8_allSize(const _kxString8_allSize<M>& other) : length(0) {
        set(other.data(), other.len());
    }

    int len() const { return Ops::len(length); }
    int size() const { return len(); }
    bool isEmpty() const { return len() == 0; }
    const char* data() const { return text; }
    char at(int i) const { return (i >= 0 && i < len()) ? text[i] : char(0); }

    void clear() { setLength(0); }
    void setLength(int n) { Ops::resize(text, length, n); }
    void set(const char* bytes, int count) { Ops::set(text, length, bytes, count); }
    void set(const char* s) { set(s, s ? int(std::strlen(s)) : 0); }
    void set(const QByteArray& b) { set(b.constData(), int(b.size())); }
    /// Latin-1 form of the text; characters Latin-1 cannot hold become '?'.
    void set(const QString& s) { set(s.toLatin1()); }
    template <int M>
    void set(const _kxString8_allSize<M>& other) {
        set(other.data(), other.len());
    }
    _kxString8_allSize& operator=(const QString& s) {
        set(s);
        return *this;
    }
    _kxString8_allSize& operator=(const char* s) {
        set(s);
        return *this;
    }

    QString toQString() const { return QString::fromLatin1(text, len()); }
    QString asQString() const { return toQString(); }
    QByteArray toByteArray() const { return QByteArray(text, len()); }

    /// Exact comparison: every byte counts, letter case included.
    template <int M>
    bool isEqual(const _kxString8_allSize<M>& other) const {
        return Ops::equal(text, len(), other.data(), other.len());
    }
    bool isEqual(const char* other) const {
        return Ops::equal(text, len(), other, other ? int(std::strlen(other)) : 0);
    }

    int indexOf(char c, int from = 0) const { return Ops::indexOf(text, length, c, from); }
    void insert(int pos, const char* bytes, int count) { Ops::insert(text, length, pos, bytes, count); }
    void add(const char* s) {
        if (s)
            insert(len(), s, int(std::strlen(s)));
    }
    void add(const QString& s) {
        const QByteArray b = s.toLatin1();
        insert(len(), b.constData(), int(b.size()));
    }
    void add(char c) { insert(len(), &c, 1); }
    void remove(int pos, int count) { Ops::remove(text, length, pos, count); }
    void clearUnused() { Ops::clearUnused(text, length); }
};

static_assert(sizeof(_kxString<25>) == 56);
static_assert(sizeof(_kxString<50>) == 106);
static_assert(sizeof(_kxString<100>) == 206);
static_assert(sizeof(_kxString<2500>) == 5006);
static_assert(offsetof(_kxString<50>, text) == 4);
static_assert(offsetof(_kxString8_allSize<50>, text) == 2);
static_assert(alignof(_kxString<50>) == 2 && alignof(_kxString8_allSize<50>) == 2);
static_assert(std::is_trivially_copyable_v<_kxString<50>>);
static_assert(std::is_trivially_copyable_v<_kxString8_allSize<50>>);
static_assert(std::is_standard_layout_v<_kxString<50>>);
