// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "config/kxgconfig.h"

#include "kxcodec.h"
#include "kxcrc.h"

#include <cmath>
#include <cstring>
#include <limits>

const char kxLetters[69] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890_!/()=abcdefghijklmnopqrstuvwxyz";

namespace {

constexpr int letterCount = 68;
static_assert(sizeof(kxLetters) == letterCount + 1);

/// A float bound in millionths: multiplied in single precision, as the stored bounds always were, and
/// truncated. NaN gives 0 and a bound beyond the 64-bit range the range's end.
qint64 millionths(float bound) {
    const float scaled = bound * 1000000.0f;
    if (std::isnan(scaled))
        return 0;
    if (scaled >= 9.2233720e18f)
        return std::numeric_limits<qint64>::max();
    if (scaled <= -9.2233720e18f)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(scaled);
}

// The scrambled form: "kxCA", then 3 letters for each 16-bit word of a block of 2k bytes that holds
// the text, padding letters, the text's length and its checksum, XORed with a key stream drawn from
// the checksum.
constexpr char scrambleMark[] = "kxCA";
constexpr int scrambleMarkLength = 4;
constexpr int scrambleBufferSize = 201;

bool beginsWithMark(const char* text, int length) {
    return length >= scrambleMarkLength && std::memcmp(text, scrambleMark, scrambleMarkLength) == 0;
}

void keyStream(quint32 crc, quint8 (&key)[scrambleBufferSize]) {
    quint64 r = crc;
    for (quint8& k : key) {
        r = (r + 567) % 65530;
        k = quint8(r % 256);
    }
}

/// Index of `letter` in kxLetters, or -1.
int letterIndex(char letter) {
    static const auto table = [] {
        struct Table {
            qint8 index[256];
        } t{};
        std::memset(t.index, -1, sizeof t.index);
        for (int i = 0; i < letterCount; ++i)
            t.index[static_cast<unsigned char>(kxLetters[i])] = qint8(i);
        return t;
    }();
    return table.index[static_cast<unsigned char>(letter)];
}

/// The 8-bit form of a stored text: the low byte of each unit.
_kxString8_allSize<200> lowBytes(const _kxString<200>& text) {
    char bytes[200];
    const int n = text.len();
    for (int i = 0; i < n; ++i)
        bytes[i] = char(text.text[i] & 0xFF);
    _kxString8_allSize<200> out;
    out.set(bytes, n);
    return out;
}

/// The 8-bit text byte for byte as Latin-1 units.
_kxString<200> latin1Units(const char* bytes, int length) {
    char16_t units[200];
    if (length > 200)
        length = 200;
    for (int i = 0; i < length; ++i)
        units[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    _kxString<200> out;
    out.set(units, length);
    return out;
}

/// The stored form of `text`: scrambled, or the text itself where it begins with the mark or is too
/// long to be scrambled.
_kxString<200> scramble(const _kxString8_allSize<200>& text) {
    const int length = text.len();
    if (beginsWithMark(text.data(), length))
        return latin1Units(text.data(), length);
    const int t = (length + 6) / 2 * 3 + 32;
    int c = t < 50 ? 50 : t < 75 ? 75 : t < 100 ? 100 : t < 125 ? 125 : t < 150 ? 150 : t;
    if (c > 200)
        c = 200;
    const int k = (c - 4) / 3;
    const int room = 2 * k - 6;
    if (length > room)
        return latin1Units(text.data(), length);

    const quint32 crc = kxCRCCalc(text.data(), length);
    quint8 buffer[scrambleBufferSize];
    std::memcpy(buffer, text.data(), size_t(length));
    quint64 s = crc;
    for (int p = length; p < scrambleBufferSize; ++p) {
        s = (s + quint64(length) * 15 + 13) % letterCount;
        buffer[p] = quint8(kxLetters[s]);
    }
    buffer[room + 1] = quint8(length);
    quint8 key[scrambleBufferSize];
    keyStream(crc, key);
    quint8 block[scrambleBufferSize];
    for (int i = 0; i <= room + 1; ++i)
        block[i] = buffer[i] ^ key[i];
    for (int i = 0; i < 4; ++i)
        block[room + 2 + i] = quint8(crc >> (8 * i));

    char out[scrambleMarkLength + 3 * 66];
    std::memcpy(out, scrambleMark, scrambleMarkLength);
    for (int w = 0; w < k; ++w) {
        const unsigned word = block[2 * w] | (unsigned(block[2 * w + 1]) << 8);
        char* letters = out + scrambleMarkLength + 3 * w;
        letters[0] = kxLetters[word % letterCount];
        letters[1] = kxLetters[(word / letterCount) % letterCount];
        letters[2] = kxLetters[(word / (letterCount * letterCount)) % letterCount];
    }
    return latin1Units(out, scrambleMarkLength + 3 * k);
}

/// The text inside a stored form, or the stored form itself where it is not a well-formed scrambled
/// text with a matching checksum.
_kxString8_allSize<200> unscramble(const _kxString8_allSize<200>& stored) {
    const int length = stored.len();
    if (!beginsWithMark(stored.data(), length) || (length - scrambleMarkLength) % 3 != 0)
        return stored;
    const int k = (length - scrambleMarkLength) / 3;
    // The checksum takes the last 4 bytes and the length the one before; with fewer than 6 bytes they
    // would overlap or reach in front of the block.
    if (k < 3)
        return stored;
    quint8 block[2 * 66];
    for (int w = 0; w < k; ++w) {
        const char* letters = stored.data() + scrambleMarkLength + 3 * w;
        const int first = letterIndex(letters[0]);
        const int second = letterIndex(letters[1]);
        const int third = letterIndex(letters[2]);
        if (first < 0 || second < 0 || third < 0)
            return stored;
        const int v = third * letterCount + second;
        const int word = v * letterCount + first;
        if (v > 963 || word > 0xFFFF)
            return stored;
        block[2 * w] = quint8(word);
        block[2 * w + 1] = quint8(word >> 8);
    }
    const int size = 2 * k;
    const quint32 crc = quint32(block[size - 4]) | (quint32(block[size - 3]) << 8) |
                        (quint32(block[size - 2]) << 16) | (quint32(block[size - 1]) << 24);
    quint8 key[scrambleBufferSize];
    keyStream(crc, key);
    for (int i = 0; i < size - 4; ++i)
        block[i] ^= key[i];
    const int textLength = block[size - 5];
    if (textLength > size - 6 || kxCRCCalc(block, textLength) != crc)
        return stored;
    _kxString8_allSize<200> out;
    out.set(reinterpret_cast<const char*>(block), textLength);
    return out;
}

QString hexField(quint64 value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0'));
}

/// The hexadecimal number at the start of `text` (at most `limit` characters), ending at the first
/// character that is not a hexadecimal digit; 0 if there is none.
quint64 readHex(const char* text, int limit) {
    quint64 value = 0;
    for (int i = 0; i < limit; ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        value = value * 16 + quint64(d);
    }
    return value;
}

} // namespace

// ---- _kxgCfg_param ---------------------------------------------------------------------------------

_kxgCfg_param::_kxgCfg_param() {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
}

void _kxgCfg_param::setKey(quint8 type_, const _kxString8_allSize<100>& group_,
                           const _kxString8_allSize<100>& name_) {
    type = type_;
    // Texts arrive by value and may carry whatever lay behind them; the slot keeps only the text, so
    // two stores registered alike are alike byte for byte.
    group = group_;
    group.clearUnused();
    name = name_;
    name.clearUnused();
}

void _kxgCfg_param::init(bool value, _kxString8_allSize<100> group_, _kxString8_allSize<100> name_) {
    setKey(typeBool, group_, name_);
    valueB = value;
    valueI = 0;
    valueF = 0;
    valueS.clear();
}

void _kxgCfg_param::init(_kxString<200> value, _kxString8_allSize<100> group_,
                         _kxString8_allSize<100> name_) {
    setKey(typeString, group_, name_);
    valueS.set(kxFromKXUnihex(value.toQString()));
}

void _kxgCfg_param::init(const char* value, _kxString8_allSize<100> group_, _kxString8_allSize<100> name_) {
    setKey(typeString, group_, name_);
    valueS.set(kxFromKXUnihex(QString::fromLatin1(value ? value : "")));
}

void _kxgCfg_param::init(int value, int min, int max, _kxString8_allSize<100> group_,
                         _kxString8_allSize<100> name_) {
    setKey(typeInt, group_, name_);
    valueI = value;
    valueMin = min;
    valueMax = max;
}

void _kxgCfg_param::initF(float value, float min, float max, _kxString8_allSize<100> group_,
                          _kxString8_allSize<100> name_) {
    setKey(typeFloat, group_, name_);
    valueF = value;
    valueMin = millionths(min);
    valueMax = millionths(max);
}

void _kxgCfg_param::setI(int value) {
    const qint32 lo = qint32(valueMin);
    const qint32 hi = qint32(valueMax);
    valueI = value > hi ? hi : (value > lo ? value : lo);
}

void _kxgCfg_param::setF(float value) {
    const float lo = float(valueMin) / 1000000.0f;
    const float hi = float(valueMax) / 1000000.0f;
    if (std::isnan(value))
        valueF = lo;
    else
        valueF = value > hi ? hi : (value > lo ? value : lo);
}

// ---- _kxgConfig ------------------------------------------------------------------------------------

_kxgConfig::_kxgConfig() {
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    for (int i = 0; i < 5; ++i)
        reserved_256432[i] = reserved_256458[i] = 1;
    reserved_256484[0] = reserved_256484[1] = 1;
    for (_kxgUNC_map& map : uncMaps)
        map.clear();
}

const _kxgCfg_param* _kxgConfig::find(const char* key, int length) const {
    if (length < 0 || length > _kxString8_allSize<100>::capacity)
        return nullptr;
    // The stored length word is compared as it is: a word above the capacity, which only a damaged
    // record holds, equals no key length and so matches nothing.
    const quint16 wanted = quint16(length);
    const int used = count;
    // Slots are 640 bytes apart and almost every one differs in its length word: unrolled, the walk
    // takes one taken branch per four slots instead of one per slot.
#pragma GCC unroll 4
    for (int i = 0; i < used; ++i) {
        const _kxString8_allSize<100>& name = params[i].name;
        if (name.length == wanted && std::memcmp(name.text, key, size_t(length)) == 0)
            return &params[i];
    }
    return nullptr;
}

const _kxgCfg_param* _kxgConfig::find(const char* key) const {
    // No name is longer than 100 bytes, so a longer key matches nothing and is not read further.
    return key ? find(key, int(strnlen(key, _kxString8_allSize<100>::capacity + 1))) : nullptr;
}

_kxgCfg_param* _kxgConfig::findOfType(const _kxString8_allSize<100>& key, quint8 type) {
    _kxgCfg_param* p = const_cast<_kxgCfg_param*>(find(key));
    return p && p->type == type ? p : nullptr;
}

_kxgCfg_param* _kxgConfig::nextSlot() {
    // Counted one byte wide: one more would wrap the count to 0 and lose the table.
    if (count >= registrationLimit)
        return nullptr;
    ++count;
    return &params[count - 1];
}

void _kxgConfig::addInit(bool value, _kxString8_allSize<100> group, _kxString8_allSize<100> name) {
    if (_kxgCfg_param* p = nextSlot())
        p->init(value, group, name);
}

void _kxgConfig::addInit(_kxString<200> value, _kxString8_allSize<100> group, _kxString8_allSize<100> name) {
    if (_kxgCfg_param* p = nextSlot())
        p->init(value, group, name);
}

void _kxgConfig::addInit(const char* value, _kxString8_allSize<100> group, _kxString8_allSize<100> name) {
    if (_kxgCfg_param* p = nextSlot())
        p->init(value, group, name);
}

void _kxgConfig::addInit(int value, int min, int max, _kxString8_allSize<100> group,
                         _kxString8_allSize<100> name) {
    if (_kxgCfg_param* p = nextSlot())
        p->init(value, min, max, group, name);
}

void _kxgConfig::addInitF(float value, float min, float max, _kxString8_allSize<100> group,
                          _kxString8_allSize<100> name) {
    if (_kxgCfg_param* p = nextSlot())
        p->initF(value, min, max, group, name);
}

void _kxgConfig::prioAddInit(bool value, _kxString8_allSize<100> group, _kxString8_allSize<100> name) {
    addInit(value, group, name);
}

void _kxgConfig::prioAddInit(_kxString<200> value, _kxString8_allSize<100> group,
                             _kxString8_allSize<100> name) {
    addInit(value, group, name);
}

void _kxgConfig::prioAddInit(const char* value, _kxString8_allSize<100> group, _kxString8_allSize<100> name) {
    addInit(value, group, name);
}

void _kxgConfig::prioAddInit(int value, int min, int max, _kxString8_allSize<100> group,
                             _kxString8_allSize<100> name) {
    addInit(value, min, max, group, name);
}

void _kxgConfig::prioAddInitF(float value, float min, float max, _kxString8_allSize<100> group,
                              _kxString8_allSize<100> name) {
    addInitF(value, min, max, group, name);
}

bool _kxgConfig::setB(_kxString8_allSize<100> name, bool value) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeBool);
    if (p)
        p->valueB = value;
    return p != nullptr;
}

bool _kxgConfig::setI(_kxString8_allSize<100> name, int value) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeInt);
    if (p)
        p->setI(value);
    return p != nullptr;
}

bool _kxgConfig::setF(_kxString8_allSize<100> name, float value) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeFloat);
    if (p)
        p->setF(value);
    return p != nullptr;
}

bool _kxgConfig::setS(_kxString8_allSize<100> name, _kxString<200> value) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeString);
    if (p) {
        p->valueS = value;
        p->valueS.clearUnused();
    }
    return p != nullptr;
}

bool _kxgConfig::setS_coded(_kxString8_allSize<100> name, _kxString8_allSize<200> text) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeString);
    if (p) {
        p->valueS = scramble(text);
        p->valueS.clearUnused();
    }
    return p != nullptr;
}

bool _kxgConfig::getB(_kxString8_allSize<100> name) const {
    const _kxgCfg_param* p = find(name);
    return p && p->type == _kxgCfg_param::typeBool ? p->valueB : fallbackB;
}

qint32 _kxgConfig::getI(const char* name) const {
    const _kxgCfg_param* p = find(name);
    return p && p->type == _kxgCfg_param::typeInt ? p->valueI : fallbackI;
}

float _kxgConfig::getF(const char* name) const {
    const _kxgCfg_param* p = find(name);
    return p && p->type == _kxgCfg_param::typeFloat ? p->valueF : fallbackF;
}

_kxString<200> _kxgConfig::getS(const char* name) const {
    const _kxgCfg_param* p = find(name);
    return p && p->type == _kxgCfg_param::typeString ? p->valueS : fallbackS;
}

_kxString8_allSize<200> _kxgConfig::getS_decoded(const char* name) const {
    const _kxgCfg_param* p = find(name);
    if (!p || p->type != _kxgCfg_param::typeString)
        return lowBytes(fallbackS);
    return unscramble(lowBytes(p->valueS));
}

bool& _kxgConfig::getB(_kxString8_allSize<100> name) {
    _kxgCfg_param* p = findOfType(name, _kxgCfg_param::typeBool);
    return p ? p->valueB : fallbackB;
}

qint32& _kxgConfig::getI(const char* name) {
    _kxgCfg_param* p = const_cast<_kxgCfg_param*>(find(name));
    return p && p->type == _kxgCfg_param::typeInt ? p->valueI : fallbackI;
}

float& _kxgConfig::getF(const char* name) {
    _kxgCfg_param* p = const_cast<_kxgCfg_param*>(find(name));
    return p && p->type == _kxgCfg_param::typeFloat ? p->valueF : fallbackF;
}

_kxString<200>& _kxgConfig::getS(const char* name) {
    _kxgCfg_param* p = const_cast<_kxgCfg_param*>(find(name));
    return p && p->type == _kxgCfg_param::typeString ? p->valueS : fallbackS;
}

bool _kxgConfig::exists(const char* name) const {
    return find(name) != nullptr;
}

void _kxgConfig::removeSetting(_kxString8_allSize<100> name) {
    const _kxgCfg_param* p = find(name);
    if (!p)
        return;
    const int at = int(p - params);
    for (int i = at; i + 1 < count; ++i)
        params[i] = params[i + 1];
    --count;
}

void _kxgConfig::importCfg(const _kxgConfig& other) {
    if (&other == this)
        return;
    reserved_0 = other.reserved_0;
    reserved_8 = other.reserved_8;
    count = other.count;
    std::memcpy(static_cast<void*>(reserved_256504), other.reserved_256504, sizeof reserved_256504);
    reserved_258624 = other.reserved_258624;
    std::memcpy(static_cast<void*>(params), other.params, sizeof params);
    std::memcpy(static_cast<void*>(uncMaps), other.uncMaps, sizeof uncMaps);
    std::memcpy(static_cast<void*>(reserved_290650), other.reserved_290650, sizeof reserved_290650);
}

_kxString8_allSize<200> _kxgConfig::joinVM_ID(const unsigned long long& id, const signed char& number,
                                              const _kxString8_allSize<75>& name) {
    // The number as its byte, so every number keeps the two-digit field and reads back the same.
    QString text = hexField(static_cast<unsigned char>(number), 2) + QLatin1Char('_');
    if (id != 0)
        text += hexField(id, 16) + QLatin1Char('_');
    text += name.toQString();
    return _kxString8_allSize<200>(text);
}

void _kxgConfig::splitVM_ID(_kxString8_allSize<200> text, unsigned long long* id, signed char* number,
                            _kxString8_allSize<75>* name) {
    if (id)
        *id = 0;
    if (number)
        *number = 0;
    if (name)
        name->clear();
    const int length = text.len();
    if (length <= 2 || text.text[2] != '_')
        return;
    if (number)
        *number = static_cast<signed char>(static_cast<unsigned char>(readHex(text.data(), 2)));
    const char* rest = text.data() + 3;
    int restLength = length - 3;
    if (restLength >= 17 && rest[16] == '_') {
        if (id)
            *id = readHex(rest, 16);
        rest += 17;
        restLength -= 17;
    }
    if (name)
        name->set(rest, restLength);
}
