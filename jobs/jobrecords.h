// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The job record family. The server, its tools and the plug-in hand these records to each other in
// memory and read them at fixed byte offsets, so every member keeps its place: the layout is the
// contract, and the static_asserts beside each record pin it. Members named reserved_<offset> hold
// the places of settings this library does not read; they are never reordered or removed.
//
// All levels are laid out with 4-byte packing: 64-bit members (identifiers, times, doubles) sit on
// 4-byte boundaries, as the server lays them out. Every level fills its own tail with explicit
// members, so a derived level starts exactly at the size of its base.

#include "runtime/kxexport.h"

#include "kxstring.h"
#include "kxtime.h"
#include "kxvarvallist.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <type_traits>

class __KXSDK;

namespace kxJ {

/// The 16-byte hash of a job's command password.
using _passHash = _kxString8_allSize<16>;

/// Structure identifiers and versions of the four record levels, as the stamp at the start of every
/// job record holds them.
enum _JobStructureStamp : quint16 {
    structureIDBasics = 1033,
    structureIDSubmitter = 1292,
    structureIDSave = 1555,
    structureIDSend = 1804,
    structureVersionCurrent = 1,
};

/// How a custom value is stored: two bytes per character (type byte 'u') or one ('c').
enum CUSTOMData_Modes : int {
    CUSTOMData_Unicode = 0,
    CUSTOMData_Char = 1,
};

/// Capacities of the channel table and the custom data store.
constexpr int channelMaxCount = 100;
constexpr int channelFileNameMax = 500;
constexpr int channelExtensionMax = 25;
constexpr int channelBufferSize = 8000;
constexpr int channelBufferMaxUsed = 7999;
constexpr int customDataSize = 4000;
/// Budget of the custom store: names plus values plus 5 bytes per entry, in characters.
constexpr int customDataBudget = 3990;
constexpr int waitForPreIDMax = 30;
constexpr int waitForJobIDsMax = 30;
constexpr int jobClientDataCount = 1500;
constexpr int jobErrorsMax = 50;
constexpr int jobLogsMax = 1500;
/// Bytes of a job record that calcCRC covers: the whole save level.
constexpr int jobCRCSize = 77776;

// --------------------------------------------------------------------------------------------------
// History entries and errors, held in arrays by the save level.

/// A job history event code (0 to 85 are named), as `_Log::message` stores it.
using _LogMessage = quint32;

#pragma pack(push, 4)
/// One history entry of a job: an event code with its frame segment or the job it concerns.
struct KX_EXPORT _Log {
    quint32 reserved_0;
    quint8 message; ///< event code (_LogMessage value)
    quint8 reserved_5[2];
    quint8 step;        ///< frame step of the segment; 0: the entry has no frame segment
    quint16 frameStart; ///< first frame; with step 0, the low half of a job's 32-bit short identifier
    quint16 frameEnd;   ///< last frame, a count or a status; with step 0 the high half of the identifier
    quint16 reserved_12;
    quint16 userRef; ///< 65535 when no user is recorded

    /// Frames of the entry's segment: 0 without segment or with frameEnd below frameStart.
    qint32 segmentLength() const {
        if (step == 0 || frameEnd < frameStart)
            return 0;
        return (qint32(frameEnd) - qint32(frameStart)) / step + 1;
    }
};

/// One stored error of a job.
struct KX_EXPORT _Error {
    quint16 reserved_0;
    quint8 code; ///< error code
    quint8 reserved_3[13];
};
#pragma pack(pop)

static_assert(sizeof(_Log) == 16);
static_assert(offsetof(_Log, message) == 4);
static_assert(offsetof(_Log, step) == 7);
static_assert(offsetof(_Log, frameStart) == 8);
static_assert(offsetof(_Log, frameEnd) == 10);
static_assert(offsetof(_Log, userRef) == 14);
static_assert(sizeof(_Error) == 16);
static_assert(offsetof(_Error, code) == 2);

// --------------------------------------------------------------------------------------------------
// Per-client data and compact forms.

#pragma pack(push, 4)
/// One client's entry in a job: small per-client values, a 16-bit and a 32-bit value.
struct KX_EXPORT _JobClientData {
    quint8 reserved_0;
    quint8 smallValues[4]; ///< bytes 1 to 4
    quint8 reserved_5;
    quint16 value16; ///< bytes 6-7
    quint32 value32; ///< bytes 8-11
};
#pragma pack(pop)
static_assert(sizeof(_JobClientData) == 12);
static_assert(offsetof(_JobClientData, smallValues) == 1);
static_assert(offsetof(_JobClientData, value16) == 6);
static_assert(offsetof(_JobClientData, value32) == 8);

/// The frame segment a client currently renders, kept in the 32-bit values of client entries 0 to 3.
struct KX_EXPORT _clientCurrentSegment {
    qint32 firstSlot;
    qint32 lastSlot;
    qint32 count;
    quint16 value;
};

// Job lists carry this record in arrays; its 298 bytes leave no room for 4-byte packing.
#pragma pack(push, 2)
/// The compact form of a job for job lists.
struct KX_EXPORT _JobMinInfo {
    quint64 ID;
    _kxTime infoChangedTime;
    qint32 framesLeft;  ///< the send level's frames still to render
    quint16 filterMask; ///< _JobSend::filterMask at the time of the export
    quint8 basicsFlag;  ///< the basics level's one-byte setting
    quint8 markFlag;    ///< the send level's mark flag
    _kxString<25> userName;
    _kxString<50> projectName;
    _kxString<25> renderApp;
    _kxString<25> renderer;
};
#pragma pack(pop)
static_assert(sizeof(_JobMinInfo) == 298);
static_assert(offsetof(_JobMinInfo, infoChangedTime) == 8);
static_assert(offsetof(_JobMinInfo, framesLeft) == 16);
static_assert(offsetof(_JobMinInfo, filterMask) == 20);
static_assert(offsetof(_JobMinInfo, userName) == 24);
static_assert(offsetof(_JobMinInfo, projectName) == 80);
static_assert(offsetof(_JobMinInfo, renderApp) == 186);
static_assert(offsetof(_JobMinInfo, renderer) == 242);

} // namespace kxJ

#pragma pack(push, 4)
/// The server's short status record. Only the job part is declared: this library fills it and reads
/// nothing else of it.
struct KX_EXPORT _KXN_TCP_InANutshell {
    quint8 reserved_0[96];
    quint64 jobID;
    qint16 jobStatus;
    quint8 reserved_106[6];
    qint64 segmentFirstFileNumber;
    qint64 segmentLastFileNumber;
    qint64 segmentFrames; ///< the job's frame step times the segment's frame count
};
#pragma pack(pop)
static_assert(offsetof(_KXN_TCP_InANutshell, jobID) == 96);
static_assert(offsetof(_KXN_TCP_InANutshell, jobStatus) == 104);
static_assert(offsetof(_KXN_TCP_InANutshell, segmentFirstFileNumber) == 112);
static_assert(offsetof(_KXN_TCP_InANutshell, segmentLastFileNumber) == 120);
static_assert(offsetof(_KXN_TCP_InANutshell, segmentFrames) == 128);

namespace kxJ {

// --------------------------------------------------------------------------------------------------
// The basics levels. Offsets in member names and comments count from the start of the record.

#pragma pack(push, 4)
/// Basics level 1: the job's identity and render settings.
struct KX_EXPORT _JobBasics_noSettings_noPaths {
    /// Four (structure identifier, version) pairs, one per record level, then two zero words.
    quint16 structureIDs[10];
    quint8 basicsFlag; ///< cleared to 2
    quint8 sceneOS;    ///< operating system the scene was prepared on
    qint16 appVersionMajor;
    quint8 reserved_24[4];
    _kxString<25> renderApp;
    _kxString<25> renderer;
    _kxString<25> renderAppText3;
    _kxString<15> appType;
    _kxString<15> rendererVersion;
    _kxString8_allSize<15> appVersionMinor;
    _kxString<150> camera;
    _kxString<150> layer;
    _kxString<100> channel;
    _kxString<100> sceneState;
    _kxString<100> text100b;
    _kxString<100> colorSpace;
    _kxString<200> text200a;
    _kxString<200> requiredLicenses;
    _passHash commandPasswordHash;
    quint16 imageWidth;
    quint16 imageHeight;
    quint8 reserved_2558;
    bool imageSingleOutputFile; ///< one file for all frames (a movie or container)
    _kxString<15> imageFormatOverride;
    qint8 imageMulti; ///< tiles or image parts per frame; below 2 one image
    quint8 reserved_2597;
    _kxString<10> shortTexts30[30];
    _kxString<10> imageStereoL;
    _kxString<10> imageStereoM;
    _kxString<10> imageStereoR;
    quint8 reserved_3456[4];
    quint64 ID; ///< the job identifier
    quint8 waitForPreIDCount;
    quint8 waitForPreID[waitForPreIDMax];
    quint8 reserved_3499;
    _kxString8_allSize<50> shotgunID;
    _kxString8_allSize<20> text20a;
    char imagePreNumberLetter; ///< written between image name and frame number; 0 when none
    quint8 imagePadding;       ///< frame-number digits; cleared to 4
    _kxString8_allSize<20> text20b;
    quint8 reserved_3604[88];

    /// Writes the basics pair (1033, 1) and zeroes the other eight stamp words.
    void setStructureIDs();
    /// Appends `id` while fewer than 29 entries are held; otherwise does nothing.
    void addWaitForPreID(const unsigned char& id);
    /// Stores `id` at `index` (clamped to 0..29); the list then ends behind it.
    void setWaitForPreID(int index, const unsigned char& id);
    /// Entries of the wait-for list in use, never more than its capacity.
    int waitForPreIDCountClamped() const {
        return waitForPreIDCount > waitForPreIDMax ? waitForPreIDMax : waitForPreIDCount;
    }
    /// Stores the 16-byte hash of `password`; the password itself is not kept.
    void setCommandPassword(const _kxString8_allSize<40>& password);
    /// True when the job has no command password (empty hash) or `hash` equals the stored one; the
    /// bytes are compared in constant time.
    bool isRightCommandPW(const _passHash& hash) const;
};

/// Basics level 2: paths and the channel table.
struct KX_EXPORT _JobBasics_noSettings : _JobBasics_noSettings_noPaths {
    _kxString<500> sceneName;
    _kxString<500> sceneDatabaseDir;
    _kxString<500> path500c;
    _kxString<500> imageDir;
    _kxString<250> imageFileName; ///< without frame number and extension; may hold variables
    _kxString<250> path250b;
    _kxString<25> imageExtension; ///< with its dot
    // Channel table: every entry is its file name directly followed by its extension, packed in
    // channelBuffer; starts and lengths count UTF-16 units.
    quint8 channelCount;
    quint8 reserved_8785;
    qint16 channelStart[channelMaxCount];
    qint16 channelFileNameLength[channelMaxCount];
    qint16 channelExtensionLength[channelMaxCount];
    char16_t channelBuffer[channelBufferSize];
    quint16 channelBufferUsed;

    /// Channels in use, never more than the table holds.
    int channelCountClamped() const {
        return channelCount > channelMaxCount ? channelMaxCount : channelCount;
    }
    void channelClear();
    /// Zeroes the buffer behind its used part.
    void channelClearUnusedBuffer();
    /// The stored texts of channel `i`; empty when `i` or the stored lengths are out of bounds.
    _kxString<500> channelFileName(int i) const;
    _kxString<25> channelExtension(int i) const;
    /// Appends a channel; ignored for an empty file name, a full table or a full buffer.
    void channelAdd(const _kxString<500>& fileName, const _kxString<25>& extension);
    /// Replace one part of an existing channel, moving the later channels; ignored for an empty text,
    /// a channel that does not exist or a full buffer.
    void channelSetFileName(int i, const _kxString<500>& fileName);
    void channelSetExtension(int i, const _kxString<25>& extension);
    void channelSet(int i, const _kxString<500>& fileName, const _kxString<25>& extension);
    /// Removes an existing channel; later channels move one place down.
    void channelRemove(int i);

protected:
    bool channelEntryValid(int i) const;
    void channelReplacePart(int i, bool extension, const char16_t* units, int count);
};

/// The scene settings block that ends every basics record: frame range and the custom data store.
/// Member offsets in names count from the start of the block.
struct KX_EXPORT _JobSettingsScene {
    quint8 reserved_0[4];
    double seqStart;      ///< first frame; 1.0
    double seqEnd;        ///< last frame; 1.0
    double seqFileOffset; ///< added to a frame number to give the number in the image file name
    _kxString8_allSize<150> seqFrameSet;
    quint16 seqStep; ///< 1
    quint8 reserved_184[28];
    qint32 customDataCount;
    qint32 customDataValuesEnd;
    qint32 customDataNamesEnd;
    /// Name index from byte 0 (type byte 'u' or 'c', 16-bit big-endian start and length, 8-bit name,
    /// zero byte), then the values ('c': one byte per character; 'u': two, high byte first).
    quint8 customData[customDataSize];
    _kxString<50> customScene;
    _kxString<50> customSeq;
    _kxString<50> customShot;
    _kxString<50> customVersion;
    _kxString<50> customJobType;
    _kxString<100> division;

    int customData_maxIDs() const;
    /// Forgets every entry; the buffer bytes stay as they are.
    void customData_ClearAll();
    /// Lookups compare names ignoring letter case; the first match wins.
    bool customData_Contains(const QString& name) const;
    bool customData_ContainCommentInfo() const;
    QString customData_NameByID(const int& id) const;
    QString customData_StrByID(const int& id) const;
    QString customData_Str(const QString& name) const;
    QString customData_UserInfo() const;
    QString customData_CommentInfo() const;
    void customData_All(QStringList& names, QStringList& values) const;
    void customData_All(_varValList& list) const;
    /// The raw value area upper-cased; empty when the store is empty or the area exceeds 4999 bytes.
    _kxString8_allSize<5000> customData_allValuesAsBlock_Uppercase() const;
    /// "|name: 'value' " for every entry but "UserInfo" and "Comment".
    QString customData_AllAsString() const;
    bool customData_isEqual(const _JobSettingsScene* other) const;

    /// Rebuilds the store from the pairs; pairs beyond the 3990-character budget are dropped.
    void customDataSet_All(const QStringList& names, const QStringList& values);
    void customDataSet_All(const _varValList& list);
    /// Sets, replaces (every match) or, with an empty value, deletes an entry. A leading "Custom" of the
    /// name is dropped.
    void customDataSet_Str(QString name, const QString& value);
    void customDataSet_StrByID(const int& id, const QString& value);
    void customDataSet_UserInfo(const QString& value);
    void customDataSet_CommentInfo(const QString& value);
    /// Appends `text` to the entry's value, creating the entry when it is missing.
    void customDataAppend_Str(const QString& name, const QString& text);

    /// Decodes one stored value; the range is kept inside the buffer.
    QString customData_sub(int start, int length, CUSTOMData_Modes mode) const;

private:
    /// Walks the name index; calls `visit(name, value)` per entry until it returns false. `name` and
    /// `value` are callables that decode the entry's texts.
    template <typename Visit>
    void customDataWalk(Visit visit) const;
    /// Name and value of entry `id`; the outputs stay untouched for an id outside 0..count-1.
    void customDataEntryByID(int id, QString* name, QString* value) const;
};

/// Basics level 3: the full basics record.
struct KX_EXPORT _JobBasics : _JobBasics_noSettings, _JobSettingsScene {
    _JobBasics();

    /// Zeroes the record but its stamp and sets the defaults.
    void kxClearBasics();
    /// setStructureIDs() then kxClearBasics().
    void initialize();

    /// Short display form of the scene path: "...", then the last two folders and the file base, each
    /// "/" followed by four blanks.
    QString getSceneDisplayName() const;
    /// "auth" + ID2strFull(CRC-64 of sceneName's UTF-16 bytes XOR ID) + "auth".
    QString authStr() const;

    QString IDstr() const;
    QString IDstrFull() const;
    QString ID2str() const { return IDstr(); }
    QString ID2strFull() const { return IDstrFull(); }
    /// The identifier of the family's main job.
    quint64 IDmain() const;
    quint8 IDpre() const;

    // Defined with the job variables and image-name modules.
    _varValList exportJobVarList_Basic(const bool& ignored) const;
    void splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding);
    void splitImageFileInto_DirFileExt_Channel(const bool& acceptPrintfPadding);
};

/// One channel slot of the large-path record.
struct KX_EXPORT _JobBasics_largePathChannel {
    _kxString<1000> fileName;
    _kxString<25> extension;
};

/// The paths of the large-path record: as level 2, with wider paths and fixed channel slots.
struct KX_EXPORT _JobBasics_largePath_noSettings : _JobBasics_noSettings_noPaths {
    _kxString<1000> sceneName;
    _kxString<1000> sceneDatabaseDir;
    _kxString<1000> path500c;
    _kxString<1000> imageDir;
    _kxString<1000> imageFileName;
    _kxString<1000> path250b;
    _kxString<25> imageExtension;
    _JobBasics_largePathChannel channels[channelMaxCount];
};

/// The basics record with paths longer than _JobBasics allows, as submitters hold them.
struct KX_EXPORT _JobBasics_largePath : _JobBasics_largePath_noSettings, _JobSettingsScene {
    _JobBasics_largePath();

    /// As _JobBasics::kxClearBasics, but the three custom names stay empty.
    void kxClearBasics();
    void initialize();
    /// Copies the record into `target`, cutting each path and channel to the target's capacity.
    void toJobsBasic(_JobBasics& target) const;

    // Defined with the job variables and image-name modules.
    void replaceSquareBracketVariables();
    void splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding);
    void splitImageFileInto_DirFileExt_Channel(const bool& acceptPrintfPadding);
};
#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(_JobBasics_noSettings_noPaths, basicsFlag) == 20);
static_assert(offsetof(_JobBasics_noSettings_noPaths, renderApp) == 28);
static_assert(offsetof(_JobBasics_noSettings_noPaths, appVersionMinor) == 268);
static_assert(offsetof(_JobBasics_noSettings_noPaths, camera) == 286);
static_assert(offsetof(_JobBasics_noSettings_noPaths, commandPasswordHash) == 2534);
static_assert(offsetof(_JobBasics_noSettings_noPaths, imageWidth) == 2554);
static_assert(offsetof(_JobBasics_noSettings_noPaths, imageSingleOutputFile) == 2559);
static_assert(offsetof(_JobBasics_noSettings_noPaths, imageMulti) == 2596);
static_assert(offsetof(_JobBasics_noSettings_noPaths, shortTexts30) == 2598);
static_assert(offsetof(_JobBasics_noSettings_noPaths, imageStereoL) == 3378);
static_assert(offsetof(_JobBasics_noSettings_noPaths, ID) == 3460);
static_assert(offsetof(_JobBasics_noSettings_noPaths, waitForPreID) == 3469);
static_assert(offsetof(_JobBasics_noSettings_noPaths, shotgunID) == 3500);
static_assert(offsetof(_JobBasics_noSettings_noPaths, imagePadding) == 3579);
static_assert(offsetof(_JobBasics_noSettings_noPaths, text20b) == 3580);
static_assert(sizeof(_JobBasics_noSettings_noPaths) == 3692);
static_assert(offsetof(_JobBasics_noSettings, sceneName) == 3692);
static_assert(offsetof(_JobBasics_noSettings, imageDir) == 6710);
static_assert(offsetof(_JobBasics_noSettings, imageFileName) == 7716);
static_assert(offsetof(_JobBasics_noSettings, imageExtension) == 8728);
static_assert(offsetof(_JobBasics_noSettings, channelCount) == 8784);
static_assert(offsetof(_JobBasics_noSettings, channelStart) == 8786);
static_assert(offsetof(_JobBasics_noSettings, channelFileNameLength) == 8986);
static_assert(offsetof(_JobBasics_noSettings, channelExtensionLength) == 9186);
static_assert(offsetof(_JobBasics_noSettings, channelBuffer) == 9386);
static_assert(offsetof(_JobBasics_noSettings, channelBufferUsed) == 25386);
static_assert(sizeof(_JobBasics_noSettings) == 25388);
static_assert(sizeof(_JobBasics_noSettings::channelStart) / sizeof(qint16) == channelMaxCount);
static_assert(sizeof(_JobBasics_noSettings::channelBuffer) / sizeof(char16_t) == channelBufferSize);
static_assert(offsetof(_JobSettingsScene, seqStart) == 4);
static_assert(offsetof(_JobSettingsScene, seqFrameSet) == 28);
static_assert(offsetof(_JobSettingsScene, seqStep) == 182);
static_assert(offsetof(_JobSettingsScene, customDataCount) == 212);
static_assert(offsetof(_JobSettingsScene, customData) == 224);
static_assert(offsetof(_JobSettingsScene, customScene) == 4224);
static_assert(offsetof(_JobSettingsScene, division) == 4754);
static_assert(sizeof(_JobSettingsScene) == 4960);
static_assert(sizeof(_JobBasics) == 25388 + 4960);
static_assert(sizeof(_JobBasics_largePath_noSettings) == 221984);
static_assert(sizeof(_JobBasics_largePath) == 221984 + 4960);
static_assert(std::is_trivially_copyable_v<_JobBasics> && std::is_trivially_copyable_v<_JobBasics_largePath>);
#pragma GCC diagnostic pop

/// An owned, growable array of large-path records handed between the farm's components. The stamp and
/// recordSize guard against a partner built with another layout. The array owns its block, so it is
/// not copied.
struct KX_EXPORT _JobBasicsArray {
    quint16 structureID;      ///< 1033
    quint16 structureVersion; ///< 1
    _kxString<1000> name;
    quint8 reserved_2010[2]; // the natural alignment of recordSize, spelled out
    qint32 recordSize;       ///< sizeof(_JobBasics_largePath) as built
    qint32 usedCount;
    qint32 allocatedCount;
    _JobBasics_largePath* records;

    _JobBasicsArray();
    ~_JobBasicsArray();
    _JobBasicsArray(const _JobBasicsArray&) = delete;
    _JobBasicsArray& operator=(const _JobBasicsArray&) = delete;

    /// usedCount 0 and the name cleared; the records stay allocated.
    void clear();
    /// Grows the block to `count` initialised records; true when it holds at least `count` records
    /// afterwards, false when memory is exhausted (the old block stays).
    bool setArraySize(const int& count);
    /// The record at `index`, or null outside 0..allocatedCount-1.
    _JobBasics_largePath* at(const int& index);
    /// True for stamp 1033, a version of at least `version` and this build's record size.
    bool isVersionSupported(unsigned char version) const;
    /// Adds one record to the used ones and hands it out cleared; false (and nothing added) when the
    /// array cannot grow.
    bool getNewJob(_JobBasics_largePath*& job);
};
// The farm's components read the array's head at these places before they trust its records.
static_assert(offsetof(_JobBasicsArray, structureVersion) == 2);
static_assert(offsetof(_JobBasicsArray, name) == 4);
static_assert(offsetof(_JobBasicsArray, recordSize) == 2012);
static_assert(offsetof(_JobBasicsArray, usedCount) == 2016);
static_assert(offsetof(_JobBasicsArray, allocatedCount) == 2020);
static_assert(offsetof(_JobBasicsArray, records) == 2024);
static_assert(sizeof(_JobBasicsArray) == 2032);

// --------------------------------------------------------------------------------------------------
// Submitter, save and send levels.

struct _jobFilter_Contains;

#pragma pack(push, 4)
/// What the submitter and the farm know about a job: user, project, waiting, per-client data.
struct KX_EXPORT _JobSubmitter : _JobBasics {
    _JobSubmitter();

    quint8 reserved_30348[32];
    _kxString<25> userName; ///< "none"
    _kxString<50> projectName;
    quint8 reserved_30542[56];
    _kxString<50> messageClientNames; ///< clients that receive notification messages, ";" between
    // The group texts stand behind the recipients: the server reads messageClientNames 162 bytes
    // after userName, which leaves room for the project name and one short text only.
    _kxString<50> jobGroupTexts[3];
    quint8 reserved_31022[2];
    _kxTime waitUntil; ///< the job does not start before this time
    bool previewSpread;
    quint8 reserved_31033[3];
    qint32 previewCount;
    quint32 colorMode; ///< 0 to 10 a chosen colour; 11 to 14 colour by scene, project, user, application
    quint64 waitForJobIDs[waitForJobIDsMax]; ///< 0 marks an empty slot
    bool hasPreview;
    qint8 jobFilesFolderMode;
    _kxString<500> jobFilesFolder; ///< "none"
    bool disabled;
    quint8 reserved_32293[3];
    _kxTime submitterTime;
    _JobClientData clientData[jobClientDataCount];

    /// Zeroes the submitter level, sets its defaults and its stamp pair (1292, 1).
    void kxClearSubmitter();
    /// A value of client entry `client` (the first entry for an index outside 0..1499): types 0, 1, 2
    /// and 5 the small values 1 to 4, types 3 and 8 the 16-bit value, 4 and 10 the 32-bit value,
    /// any other type 0.
    qint64 clientValue_Get(int const& client, int const& valueType) const;
    /// Turns colour modes 11 to 14 into a stable colour 1 to 7; other values above 10 become 0.
    void setRandomColor();
    /// The project root folder by `mode` (1 none, 2 the database folder, 3 from the scene, others
    /// from the image folder), cut after the folder of `level`.
    QString companyProjectRootFolder_noKX(unsigned char const& mode, unsigned char const& level) const;
    /// jobFilesFolder followed by the path separator.
    QString jobFilesFolderName_Resolved(__KXSDK const* sdk) const;
    /// The job's line in the farm's logs, completed to 55 characters with the scene.
    QString getJobLogString(bool preview, int lowCpuMinutes) const;
    QString getJobLogStringShort(bool preview, int lowCpuMinutes) const;
    /// The 32-bit short form of the identifier.
    quint32 ID2ShortID() const;

    /// True when the job passes `filter` (defined with the job filter module).
    bool filterJobList_Fits_Contains(const _jobFilter_Contains& filter) const;

    // Defined with the job variables module.
    QString replaceJobVariables(QString text, bool keepAppVariables, QString* seqName, QString* shotName,
                                QString* versionName);
};

/// What the server keeps about a job's progress: status, errors, log, times.
struct KX_EXPORT _JobSave : _JobSubmitter {
    _JobSave();

    qint8 errorMarked; ///< above 0: the job is marked as failed
    qint8 errorCount;
    _Error errors[jobErrorsMax];
    qint16 logCount;
    _Log logs[jobLogsMax];
    _kxTime infoChangedTime;
    qint32 framesDone;
    quint8 reserved_75120[1209];
    quint8 status;
    bool stateFlags[4];
    quint8 reserved_76334[2];
    qint32 previewStart;                   ///< first preview frame index when previews are taken in a row; -1
    qint32 previewStep;                    ///< 1
    qint8 waitForStates[waitForJobIDsMax]; ///< per waitForJobIDs slot: 0 or less unseen, 1 waiting
    quint8 reserved_76374[1402];

    /// CRC-64 of the first 77776 bytes of the record: the whole save level.
    quint64 calcCRC() const;
    /// The i-th stored record; the first one for an index outside the stored count.
    const _Error& getError(int const& i) const;
    const _Log& getLog(int const& i) const;
    const _JobClientData& getClient(int const& i) const;
    int errorCountClamped() const;
    int logCountClamped() const;
    /// Whole days since infoChangedTime.
    qint64 getAgeDays() const;
    /// Whole hours between now and infoChangedTime, never negative.
    qint64 getAgeHours() const;
    bool isDisabled(_kxTime now, bool const& ignoreFirstCheck, bool const& onlyFlags) const;
    bool isWaitFor(_kxTime now) const;
    /// Sets infoChangedTime to `t`, or to now when `t` is null.
    void jobSave_infoChanged(_kxTime* t);
    /// Zeroes the save level and sets its defaults, its stamp pair (1555, 1) and infoChangedTime.
    void kxClearSave();
    static _kxString8_allSize<250> statusAsStringStatic(unsigned char const& status);
    /// The status text of `status`, or of the job's own status (with "Disabled - " in front for a
    /// disabled job) when `status` is null; the waiting states count the waited-for jobs.
    _kxString8_allSize<250> statusAsString(unsigned char const* status) const;
    bool isJobMarkedAsError() const;
};

/// What is sent to clients and plug-ins: frame bookkeeping and the next check time. The server hands
/// this record to the plug-in.
struct KX_EXPORT _JobSend : _JobSave {
    _JobSend();

    qint32 framesLeft;
    qint32 framesTotal; ///< frameCount times imageMulti when that is 1 or more
    qint32 frameCount;  ///< frames of one sequence pass
    _kxTime nextCheckTime;
    bool markFlag;
    quint8 reserved_77797[3];

    /// The frame slot of an image file number, rounded half away from zero; -1 below the sequence,
    /// framesTotal - 1 beyond the last slot.
    qint64 fn2F(double fileNumber, signed char part) const;
    /// The image file number of frame slot F; `part` (when not null) receives the slot's part.
    double F2fn(long long F, signed char* part) const;
    double F2fnNoOffset(long long F, signed char* part) const;
    /// Sets nextCheckTime to (`from` or now) + seconds when forced or earlier; 0 seconds clears it.
    void setNextCheckTime(int const& seconds, bool const& force, _kxTime* from);
    /// Computes the frame counts, writes the stamp pair (1804, 1) and schedules the first check.
    void kxClearSend();
    /// The frame slot of preview `previewIndex`.
    qint64 previewID2FrameNr(int const& previewIndex) const;
    /// "p" and the file number of a preview, at least 5 digits: -1 the quarter, -3 three quarters,
    /// other negative values the middle preview.
    QString previewFilename_Base_number(int previewIndex) const;
    /// True when all four stamp pairs are those of this build.
    bool isRightStructVersion() const;
    quint16 filterMask(_kxTime const& now) const;
    bool filterMask_Fits(unsigned short const& mask, _kxTime const& now) const;
    void exportMinInfo(_JobMinInfo& mi, _kxTime const& now) const;
    _JobMinInfo toMinInfo(_kxTime const& now) const;
    _clientCurrentSegment getClientCurrentSegment() const;
    void setClientCurrentSegment(_clientCurrentSegment const& segment);
    void toTCP_NutShell(_KXN_TCP_InANutshell& n) const;

    /// Frame slots used by the arithmetic: frameCount, or 1 for a record that holds 0 or less.
    qint64 frameSlotsPerPart() const { return frameCount > 0 ? frameCount : 1; }
    /// The frame step to divide by: seqStep, or 1 for a record that holds 0.
    int frameStep() const { return seqStep == 0 ? 1 : seqStep; }
};
#pragma pack(pop)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(_JobSubmitter, userName) == 30380);
static_assert(offsetof(_JobSubmitter, projectName) == 30436);
static_assert(offsetof(_JobSubmitter, messageClientNames) == 30598);
static_assert(offsetof(_JobSubmitter, waitUntil) == 31024);
static_assert(offsetof(_JobSubmitter, previewCount) == 31036);
static_assert(offsetof(_JobSubmitter, waitForJobIDs) == 31044);
static_assert(offsetof(_JobSubmitter, jobFilesFolder) == 31286);
static_assert(offsetof(_JobSubmitter, submitterTime) == 32296);
static_assert(offsetof(_JobSubmitter, clientData) == 32304);
static_assert(sizeof(_JobSubmitter) == 50304);
static_assert(offsetof(_JobSave, errorMarked) == 50304);
static_assert(offsetof(_JobSave, errors) == 50306);
static_assert(offsetof(_JobSave, logs) == 51108);
static_assert(offsetof(_JobSave, infoChangedTime) == 75108);
static_assert(offsetof(_JobSave, status) == 76329);
static_assert(offsetof(_JobSave, previewStart) == 76336);
static_assert(offsetof(_JobSave, waitForStates) == 76344);
static_assert(sizeof(_JobSave) == jobCRCSize);
static_assert(offsetof(_JobSend, framesLeft) == 77776);
static_assert(offsetof(_JobSend, nextCheckTime) == 77788);
static_assert(offsetof(_JobSend, markFlag) == 77796);
static_assert(sizeof(_JobSend) == 77800);

// The offsets the server and the plug-in read.
static_assert(offsetof(_JobSend, structureIDs) == 0);
static_assert(offsetof(_JobSend, ID) == 3460);
static_assert(offsetof(_JobSend, sceneName) == 3692);
static_assert(offsetof(_JobSend, imageDir) == 6710);
static_assert(offsetof(_JobSend, imageFileName) == 7716);
static_assert(offsetof(_JobSend, userName) == 30380);
static_assert(offsetof(_JobSend, messageClientNames) == 30598);
static_assert(offsetof(_JobSend, status) == 76329);
static_assert(sizeof(_JobSend) >= jobCRCSize);
static_assert(std::is_trivially_copyable_v<_JobSend>);
#pragma GCC diagnostic pop

} // namespace kxJ
