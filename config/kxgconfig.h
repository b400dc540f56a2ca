// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "config/kxguncmap.h"
#include "runtime/kxexport.h"

#include "kxstring.h"
#include "kxtime.h"

#include <cstddef>
#include <type_traits>

class __KXSDK;

/// The 68 letters of a scrambled setting after its "kxCA" marker; index 0 is 'A', index 67 'z'.
extern KX_EXPORT const char kxLetters[69];

/// One named, typed setting of the farm configuration. Members sit at their natural alignment in this
/// order: the store holding it is the server's own object.
struct KX_EXPORT _kxgCfg_param {
    /// The kinds of value a setting holds (`type`).
    enum Type : quint8 { typeBool = 0, typeString = 1, typeInt = 2, typeFloat = 3 };

    /// Lower bound: for an int setting the bound itself, for a float setting the bound in millionths,
    /// truncated.
    qint64 valueMin;
    qint64 valueMax; ///< upper bound, as valueMin
    quint8 type;
    bool valueB;
    _kxString<200> valueS;
    qint32 valueI;
    float valueF;
    _kxString8_allSize<100> group;
    _kxString8_allSize<100> name; ///< the lookup key

    /// A bool setting with value false, no text, no name and no group; every other byte 0 as well.
    _kxgCfg_param();

    void init(bool value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    /// A string setting; Unihex notations ("<UNIhex20ac>") in the text are decoded.
    void init(_kxString<200> value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    /// A string setting from 8-bit text read as Latin-1; Unihex notations are decoded.
    void init(const char* value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    /// An int setting; the default is stored as given, not clamped.
    void init(int value, int min, int max, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    /// A float setting. The bounds are kept in millionths, computed in single precision and truncated
    /// (a bound of 0.000001 is kept as 1); the default is stored as given.
    void initF(float value, float min, float max, _kxString8_allSize<100> group,
               _kxString8_allSize<100> name);

    /// The name of a setting type: "bool", "string", "int", "float", or "unknown".
    static const char* typeName(quint8 type) {
        switch (type) {
        case typeBool:
            return "bool";
        case typeString:
            return "string";
        case typeInt:
            return "int";
        case typeFloat:
            return "float";
        }
        return "unknown";
    }

    /// Stores `value` clamped into the bounds, read as 32-bit integers.
    void setI(int value);
    /// Stores `value` clamped into the bounds; NaN stores the lower bound.
    void setF(float value);

private:
    void setKey(quint8 type, const _kxString8_allSize<100>& group, const _kxString8_allSize<100>& name);
};

static_assert(offsetof(_kxgCfg_param, valueMax) == 8);
static_assert(offsetof(_kxgCfg_param, type) == 16);
static_assert(offsetof(_kxgCfg_param, valueB) == 17);
static_assert(offsetof(_kxgCfg_param, valueS) == 18);
static_assert(offsetof(_kxgCfg_param, valueI) == 424);
static_assert(offsetof(_kxgCfg_param, valueF) == 428);
static_assert(offsetof(_kxgCfg_param, group) == 432);
static_assert(offsetof(_kxgCfg_param, name) == 536);
static_assert(sizeof(_kxgCfg_param) == 640 && alignof(_kxgCfg_param) == 8);
static_assert(std::is_trivially_copyable_v<_kxgCfg_param>);

/// The farm configuration: a fixed table of named, typed settings read and written by key, and members
/// the server keeps in the same object. The server hands its own object to the plug-in, so the members,
/// their order and their starting values are fixed; members sit at their natural alignment.
///
/// Lookups by key are exact (every byte counts, letter case included) and the first registered match
/// wins. An unknown key or a setting of another type gives the fall-back value and never an error.
struct KX_EXPORT _kxgConfig {
    static constexpr int paramCapacity = 400;
    /// `count` is one byte: no more settings than this can be registered.
    static constexpr int registrationLimit = 255;

    _kxTime reserved_0;
    quint8 reserved_8; ///< copied by importCfg
    quint8 count;      ///< settings in use: params[0] to params[count - 1]
    bool fallbackB;
    qint32 fallbackI;
    float fallbackF;
    _kxString<200> fallbackS;
    _kxgCfg_param params[paramCapacity];
    quint8 reserved_256432[26]; ///< 1 in entries 0 to 4 after construction
    quint8 reserved_256458[26]; ///< 1 in entries 0 to 4 after construction
    quint8 reserved_256484[20]; ///< 1 in entries 0 and 1 after construction
    _kxString<50> reserved_256504[20];
    quint32 reserved_258624;
    quint8 reserved_258628;
    _kxgUNC_map uncMaps[5];
    _kxString8_allSize<200> reserved_290650[60][4];
    _kxTime reserved_339616; ///< at its natural 8-byte place, as the server's compiler puts it
    __KXSDK* sdk;            ///< the server's SDK context; kept, never called here

    /// An empty table (count 0), fall-backs false, 0, 0.0 and empty, cleared UNC maps, the flag arrays
    /// at their starting values and every other byte 0.
    _kxgConfig();

    /// Keeps `sdk` and registers the farm's key table after whatever is registered already; called
    /// once, on a freshly constructed store.
    void initialize(__KXSDK* sdk);

    /// Registration: the setting takes the next slot. Once 255 settings are registered a registration
    /// changes nothing. A second registration of a name is kept but never found.
    void addInit(bool value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void addInit(_kxString<200> value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void addInit(const char* value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void addInit(int value, int min, int max, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void addInitF(float value, float min, float max, _kxString8_allSize<100> group,
                  _kxString8_allSize<100> name);
    /// The same as addInit; the key table registers its last block through these.
    void prioAddInit(bool value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void prioAddInit(_kxString<200> value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void prioAddInit(const char* value, _kxString8_allSize<100> group, _kxString8_allSize<100> name);
    void prioAddInit(int value, int min, int max, _kxString8_allSize<100> group,
                     _kxString8_allSize<100> name);
    void prioAddInitF(float value, float min, float max, _kxString8_allSize<100> group,
                      _kxString8_allSize<100> name);

    /// Setters: false, and nothing changes, for an unknown key or a setting of another type. Numbers
    /// are clamped into the setting's range.
    bool setB(_kxString8_allSize<100> name, bool value);
    bool setI(_kxString8_allSize<100> name, int value);
    bool setF(_kxString8_allSize<100> name, float value);
    bool setS(_kxString8_allSize<100> name, _kxString<200> value);
    /// Stores `text` scrambled: "kxCA" and letters of kxLetters, 49 to 199 characters by the text's
    /// length. A text that begins with "kxCA", or of more than 124 bytes, is stored as it is.
    bool setS_coded(_kxString8_allSize<100> name, _kxString8_allSize<200> text);

    bool getB(_kxString8_allSize<100> name) const;
    qint32 getI(const char* name) const;
    float getF(const char* name) const;
    _kxString<200> getS(const char* name) const;
    /// The text a scrambled setting holds; a setting that is not a well-formed scrambled text with a
    /// matching checksum comes back as stored (low byte of each unit). Unknown keys give fallbackS.
    _kxString8_allSize<200> getS_decoded(const char* name) const;
    /// References to the setting's value, or to the fall-back member for an unknown key or a setting
    /// of another type.
    bool& getB(_kxString8_allSize<100> name);
    qint32& getI(const char* name);
    float& getF(const char* name);
    _kxString<200>& getS(const char* name);

    /// True if a setting of that name is registered, whatever its type.
    bool exists(const char* name) const;
    /// Removes the setting and moves every later one a slot down; an unknown key changes nothing.
    void removeSetting(_kxString8_allSize<100> name);
    /// Takes over `other`'s settings and the members the server keeps with them (first time value
    /// and the byte after it, count, the 20 texts, the 32-bit value, all 400 slots, the UNC maps and
    /// the 60 text groups); fall-backs, flag arrays, the byte after the 32-bit value, the second time
    /// value and sdk stay.
    void importCfg(const _kxgConfig& other);

    /// The text form of a virtual machine: "03_vm", or with an id "03_00000000000000ff_vm" (number as
    /// its byte in 2 hexadecimal digits, id in 16, lower case; the name as Latin-1).
    _kxString8_allSize<200> joinVM_ID(const unsigned long long& id, const signed char& number,
                                      const _kxString8_allSize<75>& name);
    /// Reads the text joinVM_ID writes; numbers are hexadecimal and end at the first other character.
    /// Each output may be null; requested outputs are 0, 0 and empty unless the text has the form.
    void splitVM_ID(_kxString8_allSize<200> text, unsigned long long* id, signed char* number,
                    _kxString8_allSize<75>* name);

private:
    /// The slot whose name equals the `length` bytes at `key`, or null.
    const _kxgCfg_param* find(const char* key, int length) const;
    const _kxgCfg_param* find(const char* key) const;
    const _kxgCfg_param* find(const _kxString8_allSize<100>& key) const {
        return find(key.data(), key.len());
    }
    _kxgCfg_param* findOfType(const _kxString8_allSize<100>& key, quint8 type);
    /// The next free slot, counted in; null once the table holds 255 settings.
    _kxgCfg_param* nextSlot();
};

static_assert(offsetof(_kxgConfig, reserved_8) == 8);
static_assert(offsetof(_kxgConfig, count) == 9);
static_assert(offsetof(_kxgConfig, fallbackB) == 10);
static_assert(offsetof(_kxgConfig, fallbackI) == 12);
static_assert(offsetof(_kxgConfig, fallbackF) == 16);
static_assert(offsetof(_kxgConfig, fallbackS) == 20);
static_assert(offsetof(_kxgConfig, params) == 432);
static_assert(offsetof(_kxgConfig, reserved_256432) == 256432);
static_assert(offsetof(_kxgConfig, reserved_256458) == 256458);
static_assert(offsetof(_kxgConfig, reserved_256484) == 256484);
static_assert(offsetof(_kxgConfig, reserved_256504) == 256504);
static_assert(offsetof(_kxgConfig, reserved_258624) == 258624);
static_assert(offsetof(_kxgConfig, reserved_258628) == 258628);
static_assert(offsetof(_kxgConfig, uncMaps) == 258630);
static_assert(offsetof(_kxgConfig, reserved_290650) == 290650);
static_assert(offsetof(_kxgConfig, reserved_339616) == 339616);
static_assert(offsetof(_kxgConfig, sdk) == 339624);
static_assert(sizeof(_kxgConfig) == 339632);
static_assert(std::is_trivially_copyable_v<_kxgConfig>);
