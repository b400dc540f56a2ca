// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobrecords.h"

#include "jobconstants.h"
#include "jobid.h"

#include "kxcrc.h"
#include "kxhash.h"

#include <QtEndian>

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

namespace kxJ {

// ---- level 1 ---------------------------------------------------------------------------------------

void _JobBasics_noSettings_noPaths::setStructureIDs() {
    std::memset(structureIDs, 0, sizeof structureIDs);
    structureIDs[0] = structureIDBasics;
    structureIDs[1] = structureVersionCurrent;
}

void _JobBasics_noSettings_noPaths::addWaitForPreID(const unsigned char& id) {
    if (waitForPreIDCount < waitForPreIDMax - 1)
        waitForPreID[waitForPreIDCount++] = id;
}

void _JobBasics_noSettings_noPaths::setWaitForPreID(int index, const unsigned char& id) {
    index = index < 0 ? 0 : (index > waitForPreIDMax - 1 ? waitForPreIDMax - 1 : index);
    waitForPreID[index] = id;
    waitForPreIDCount = quint8(index + 1);
}

void _JobBasics_noSettings_noPaths::setCommandPassword(const _kxString8_allSize<40>& password) {
    commandPasswordHash.clear();
    quint8 hash[kxHash16Size];
    kxCRC_ARG2_16B_fast(password.data(), password.len(), hash);
    commandPasswordHash.set(reinterpret_cast<const char*>(hash), kxHash16Size);
}

bool _JobBasics_noSettings_noPaths::isRightCommandPW(const _passHash& hash) const {
    if (commandPasswordHash.isEmpty())
        return true;
    // Every byte is compared whatever the earlier ones gave, so the time an answer takes tells nothing
    // about how many leading bytes of a guessed hash were right. The lengths are no secret.
    const int n = commandPasswordHash.len();
    if (hash.len() != n)
        return false;
    unsigned difference = 0;
    for (int i = 0; i < n; ++i)
        difference |= unsigned(quint8(commandPasswordHash.text[i]) ^ quint8(hash.text[i]));
    return difference == 0;
}

// ---- level 3 ---------------------------------------------------------------------------------------

_JobBasics::_JobBasics() {
    initialize();
}

void _JobBasics::initialize() {
    setStructureIDs();
    kxClearBasics();
}

namespace {

// Zeroes a basics record but its ten stamp words and sets the defaults both basics records share.
template <typename Record>
void clearBasicsRecord(Record& r) {
    quint16 stamp[10];
    std::memcpy(stamp, r.structureIDs, sizeof stamp);
    std::memset(static_cast<void*>(&r), 0, sizeof(Record));
    std::memcpy(r.structureIDs, stamp, sizeof stamp);
    r.basicsFlag = 2;
    r.imagePadding = 4;
    r.seqStart = 1.0;
    r.seqEnd = 1.0;
    r.seqStep = 1;
}

} // namespace

void _JobBasics::kxClearBasics() {
    clearBasicsRecord(*this);
    // "<auto>" asks the variable resolution to derive the names from the scene.
    customSeq.set("<auto>");
    customShot.set("<auto>");
    customVersion.set("<auto>");
}

QString _JobBasics::IDstr() const {
    return kxJ::ID2str(ID);
}
QString _JobBasics::IDstrFull() const {
    return kxJ::ID2strFull(ID);
}
quint64 _JobBasics::IDmain() const {
    return kxJ::IDmain(ID);
}
quint8 _JobBasics::IDpre() const {
    return kxJ::IDpre(ID);
}

QString _JobBasics::authStr() const {
    const quint64 crc = kxCRCCalc64(sceneName.data(), qint64(sceneName.len()) * 2);
    return QStringLiteral("auth") + kxJ::ID2strFull(crc ^ ID) + QStringLiteral("auth");
}

// ---- large-path record -----------------------------------------------------------------------------

_JobBasics_largePath::_JobBasics_largePath() {
    initialize();
}

void _JobBasics_largePath::initialize() {
    setStructureIDs();
    kxClearBasics();
}

void _JobBasics_largePath::kxClearBasics() {
    clearBasicsRecord(*this);
}

// ---- level 2: channel table ------------------------------------------------------------------------

void _JobBasics_noSettings::channelClear() {
    channelCount = 0;
    channelBufferUsed = 0;
    std::memset(channelStart, 0, sizeof channelStart);
    std::memset(channelFileNameLength, 0, sizeof channelFileNameLength);
    std::memset(channelExtensionLength, 0, sizeof channelExtensionLength);
    std::memset(channelBuffer, 0, sizeof channelBuffer);
}

void _JobBasics_noSettings::channelClearUnusedBuffer() {
    const int used = channelBufferUsed > channelBufferSize ? channelBufferSize : channelBufferUsed;
    std::memset(channelBuffer + used, 0, sizeof(char16_t) * size_t(channelBufferSize - used));
}

// A table that came from elsewhere may hold anything: an entry is used only when its place lies
// inside the used part of the buffer and its lengths inside the limits.
bool _JobBasics_noSettings::channelEntryValid(int i) const {
    if (i < 0 || i >= channelCountClamped() || channelBufferUsed > channelBufferMaxUsed)
        return false;
    const int start = channelStart[i];
    const int fileLength = channelFileNameLength[i];
    const int extLength = channelExtensionLength[i];
    return start >= 0 && fileLength >= 1 && fileLength <= channelFileNameMax && extLength >= 0 &&
           extLength <= channelExtensionMax && start + fileLength + extLength <= channelBufferUsed;
}

_kxString<500> _JobBasics_noSettings::channelFileName(int i) const {
    _kxString<500> r;
    if (channelEntryValid(i))
        r.set(channelBuffer + channelStart[i], channelFileNameLength[i]);
    return r;
}

_kxString<25> _JobBasics_noSettings::channelExtension(int i) const {
    _kxString<25> r;
    if (channelEntryValid(i))
        r.set(channelBuffer + channelStart[i] + channelFileNameLength[i], channelExtensionLength[i]);
    return r;
}

void _JobBasics_noSettings::channelAdd(const _kxString<500>& fileName, const _kxString<25>& extension) {
    const int fileLength = fileName.len();
    const int extLength = extension.len();
    const int used = channelBufferUsed;
    if (fileLength == 0 || channelCount >= channelMaxCount || used > channelBufferMaxUsed ||
        used + fileLength + extLength > channelBufferMaxUsed)
        return;
    const int i = channelCount;
    std::memcpy(channelBuffer + used, fileName.data(), sizeof(char16_t) * size_t(fileLength));
    std::memcpy(channelBuffer + used + fileLength, extension.data(), sizeof(char16_t) * size_t(extLength));
    channelStart[i] = qint16(used);
    channelFileNameLength[i] = qint16(fileLength);
    channelExtensionLength[i] = qint16(extLength);
    channelBufferUsed = quint16(used + fileLength + extLength);
    channelCount = quint8(i + 1);
}

void _JobBasics_noSettings::channelReplacePart(int i, bool extension, const char16_t* units, int count) {
    if (!channelEntryValid(i))
        return;
    const int partStart = channelStart[i] + (extension ? channelFileNameLength[i] : 0);
    const int oldLength = extension ? channelExtensionLength[i] : channelFileNameLength[i];
    const int diff = count - oldLength;
    const int used = channelBufferUsed;
    if (used + diff > channelBufferMaxUsed)
        return;
    if (diff != 0) {
        for (int j = i + 1; j < channelCountClamped(); ++j)
            channelStart[j] = qint16(channelStart[j] + diff);
        const int tailStart = partStart + oldLength;
        std::memmove(channelBuffer + tailStart + diff, channelBuffer + tailStart,
                     sizeof(char16_t) * size_t(used - tailStart));
        channelBufferUsed = quint16(used + diff);
    }
    if (extension)
        channelExtensionLength[i] = qint16(count);
    else
        channelFileNameLength[i] = qint16(count);
    std::memcpy(channelBuffer + partStart, units, sizeof(char16_t) * size_t(count));
}

void _JobBasics_noSettings::channelSetFileName(int i, const _kxString<500>& fileName) {
    if (!fileName.isEmpty())
        channelReplacePart(i, false, fileName.data(), fileName.len());
}

void _JobBasics_noSettings::channelSetExtension(int i, const _kxString<25>& extension) {
    if (!extension.isEmpty())
        channelReplacePart(i, true, extension.data(), extension.len());
}

void _JobBasics_noSettings::channelSet(int i, const _kxString<500>& fileName,
                                       const _kxString<25>& extension) {
    channelSetFileName(i, fileName);
    channelSetExtension(i, extension);
}

// The removed entry's text is taken out of the buffer and the later entries close up behind it. Moving
// them one by one through the setters instead would lose empty extensions (the setters ignore empty
// texts) and could overrun the buffer budget while the last entry is held twice.
void _JobBasics_noSettings::channelRemove(int i) {
    if (!channelEntryValid(i))
        return;
    const int count = channelCountClamped();
    const int start = channelStart[i];
    const int length = channelFileNameLength[i] + channelExtensionLength[i];
    const int used = channelBufferUsed;
    std::memmove(channelBuffer + start, channelBuffer + start + length,
                 sizeof(char16_t) * size_t(used - start - length));
    std::memset(channelBuffer + used - length, 0, sizeof(char16_t) * size_t(length));
    for (int j = i; j + 1 < count; ++j) {
        channelStart[j] = qint16(channelStart[j + 1] - length);
        channelFileNameLength[j] = channelFileNameLength[j + 1];
        channelExtensionLength[j] = channelExtensionLength[j + 1];
    }
    channelStart[count - 1] = 0;
    channelFileNameLength[count - 1] = 0;
    channelExtensionLength[count - 1] = 0;
    channelBufferUsed = quint16(used - length);
    channelCount = quint8(count - 1);
}

// ---- custom data store -----------------------------------------------------------------------------

namespace {

constexpr quint8 customTypeUnicode = 'u';
constexpr quint8 customTypeChar = 'c';

int clampToBuffer(qint32 v) {
    return v < 0 ? 0 : (v > customDataSize ? customDataSize : v);
}

QString stripCustomPrefix(QString name) {
    if (name.startsWith(QLatin1String("Custom"), Qt::CaseInsensitive))
        name.remove(0, 6);
    return name;
}

bool needsUnicode(const QString& value) {
    for (const QChar c : value)
        if (c.unicode() >= 256)
            return true;
    return false;
}

} // namespace

// The visitor receives two callables that decode the entry's name and value when called: a lookup by
// position or by name then decodes only what it reads, not every value it walks past.
template <typename Visit>
void _JobSettingsScene::customDataWalk(Visit visit) const {
    const int namesEnd = clampToBuffer(customDataNamesEnd);
    int off = 0;
    while (off < namesEnd) {
        const quint8 type = customData[off];
        if (type != customTypeUnicode && type != customTypeChar)
            return;
        if (off + 5 > namesEnd)
            return;
        const int start = (customData[off + 1] << 8) | customData[off + 2];
        const int length = (customData[off + 3] << 8) | customData[off + 4];
        const int nameStart = off + 5;
        const void* zero = std::memchr(customData + nameStart, 0, std::size_t(namesEnd - nameStart));
        const int nameEnd = zero ? int(static_cast<const quint8*>(zero) - customData) : namesEnd;
        off = nameEnd + 1;
        // Names are stored one byte per character, which is Latin-1.
        const auto name = [&] {
            return QString::fromLatin1(reinterpret_cast<const char*>(customData + nameStart),
                                       nameEnd - nameStart);
        };
        const auto value = [&] {
            return customData_sub(start, length,
                                  type == customTypeUnicode ? CUSTOMData_Unicode : CUSTOMData_Char);
        };
        if (!visit(name, value))
            return;
    }
}

QString _JobSettingsScene::customData_sub(int start, int length, CUSTOMData_Modes mode) const {
    QString r;
    if (start < 0 || length <= 0 || start >= customDataSize)
        return r;
    const int width = mode == CUSTOMData_Unicode ? 2 : 1;
    const int available = (customDataSize - start) / width;
    const int n = length < available ? length : available;
    // 8-bit values are Latin-1; 16-bit ones are stored high byte first.
    if (mode != CUSTOMData_Unicode)
        return QString::fromLatin1(reinterpret_cast<const char*>(customData + start), n);
    r.resize(n);
    qFromBigEndian<char16_t>(customData + start, n, r.data());
    return r;
}

int _JobSettingsScene::customData_maxIDs() const {
    // Every index entry takes at least six bytes (type, start, length, the name's zero byte), so a
    // stored count above what the buffer can index came from a damaged record.
    constexpr int maxEntries = customDataSize / 6;
    return customDataCount < 0 ? 0 : (customDataCount > maxEntries ? maxEntries : customDataCount);
}

void _JobSettingsScene::customData_ClearAll() {
    customDataCount = 0;
    customDataValuesEnd = 0;
    customDataNamesEnd = 0;
}

bool _JobSettingsScene::customData_Contains(const QString& name) const {
    bool found = false;
    customDataWalk([&](const auto& n, const auto&) {
        found = n().compare(name, Qt::CaseInsensitive) == 0;
        return !found;
    });
    return found;
}

bool _JobSettingsScene::customData_ContainCommentInfo() const {
    return customData_Contains(CUSTOMCommentInfoName);
}

void _JobSettingsScene::customDataEntryByID(int id, QString* name, QString* value) const {
    if (id < 0 || id >= customData_maxIDs())
        return;
    int i = 0;
    customDataWalk([&](const auto& n, const auto& v) {
        if (i++ != id)
            return true;
        if (name)
            *name = n();
        if (value)
            *value = v();
        return false;
    });
}

QString _JobSettingsScene::customData_NameByID(const int& id) const {
    QString r;
    customDataEntryByID(id, &r, nullptr);
    return r;
}

QString _JobSettingsScene::customData_StrByID(const int& id) const {
    QString r;
    customDataEntryByID(id, nullptr, &r);
    return r;
}

QString _JobSettingsScene::customData_Str(const QString& name) const {
    QString r;
    customDataWalk([&](const auto& n, const auto& v) {
        if (n().compare(name, Qt::CaseInsensitive) == 0) {
            r = v();
            return false;
        }
        return true;
    });
    return r;
}

QString _JobSettingsScene::customData_UserInfo() const {
    return customData_Str(CUSTOMUserInfoName);
}

QString _JobSettingsScene::customData_CommentInfo() const {
    return customData_Str(CUSTOMCommentInfoName);
}

void _JobSettingsScene::customData_All(QStringList& names, QStringList& values) const {
    names.clear();
    values.clear();
    customDataWalk([&](const auto& n, const auto& v) {
        names.append(n());
        values.append(v());
        return true;
    });
}

void _JobSettingsScene::customData_All(_varValList& list) const {
    customDataWalk([&](const auto& n, const auto& v) {
        list.add(n(), v());
        return true;
    });
}

_kxString8_allSize<5000> _JobSettingsScene::customData_allValuesAsBlock_Uppercase() const {
    _kxString8_allSize<5000> r;
    const int from = clampToBuffer(customDataNamesEnd);
    const int to = clampToBuffer(customDataValuesEnd);
    if (customData_maxIDs() == 0 || to <= from || to - from > 4999)
        return r;
    // A byte whose upper case lies outside Latin-1 (the y with diaeresis, the micro sign) stays as it is.
    static const auto upperOf = [] {
        std::array<char, 256> table{};
        for (int c = 0; c < 256; ++c) {
            const char16_t upper = QChar(char16_t(c)).toUpper().unicode();
            table[std::size_t(c)] = char(upper < 256 ? upper : c);
        }
        return table;
    }();
    char block[customDataSize];
    for (int i = from; i < to; ++i)
        block[i - from] = upperOf[customData[i]];
    r.set(block, to - from);
    return r;
}

QString _JobSettingsScene::customData_AllAsString() const {
    QString r;
    customDataWalk([&](const auto& entryName, const auto& v) {
        const QString n = entryName();
        if (n != CUSTOMUserInfoName && n != CUSTOMCommentInfoName)
            r += QStringLiteral("|%1: '%2' ").arg(n, v());
        return true;
    });
    return r;
}

bool _JobSettingsScene::customData_isEqual(const _JobSettingsScene* other) const {
    return other && std::memcmp(customData, other->customData, sizeof customData) == 0;
}

void _JobSettingsScene::customDataSet_All(const QStringList& names, const QStringList& values) {
    std::memset(customData, 0, sizeof customData);
    const int pairs = int(names.size() < values.size() ? names.size() : values.size());

    // The budget counts characters (name + value + 5 per entry). A value of 16-bit characters takes two
    // bytes per character and every index entry one byte more than the budget counts, so the bytes an
    // entry really takes are counted as well: no entry is kept that would not fit the buffer.
    int kept = 0;
    int budget = 0;
    int bytes = 0;
    for (; kept < pairs; ++kept) {
        const int nameLength = int(names.at(kept).size());
        const int valueLength = int(values.at(kept).size());
        budget += nameLength + valueLength + 5;
        bytes += nameLength + 6 + valueLength * (needsUnicode(values.at(kept)) ? 2 : 1);
        if (budget > customDataBudget || bytes > customDataSize)
            break;
    }

    int off = 0;
    int startPlaces[customDataSize / 6 + 1];
    for (int i = 0; i < kept; ++i) {
        const QString& name = names.at(i);
        const QString& value = values.at(i);
        customData[off] = needsUnicode(value) ? customTypeUnicode : customTypeChar;
        startPlaces[i] = off + 1;
        customData[off + 3] = quint8(value.size() >> 8);
        customData[off + 4] = quint8(value.size() & 0xFF);
        off += 5;
        for (const QChar c : name)
            customData[off++] = quint8(c.unicode() & 0xFF);
        customData[off++] = 0;
    }
    customDataNamesEnd = off;
    for (int i = 0; i < kept; ++i) {
        const QString& value = values.at(i);
        customData[startPlaces[i]] = quint8(off >> 8);
        customData[startPlaces[i] + 1] = quint8(off & 0xFF);
        const bool wide = customData[startPlaces[i] - 1] == customTypeUnicode;
        for (const QChar c : value) {
            if (wide) {
                customData[off++] = quint8(c.unicode() >> 8);
                customData[off++] = quint8(c.unicode() & 0xFF);
            } else {
                customData[off++] = quint8(c.unicode() & 0xFF);
            }
        }
    }
    customDataValuesEnd = off;
    customDataCount = kept;
}

void _JobSettingsScene::customDataSet_All(const _varValList& list) {
    customDataSet_All(QStringList(list.allNames()), QStringList(list.allValues()));
}

void _JobSettingsScene::customDataSet_Str(QString name, const QString& value) {
    name = stripCustomPrefix(name);
    QStringList names, values;
    customData_All(names, values);
    bool matched = false;
    for (int i = 0; i < names.size();) {
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            matched = true;
            if (value.isEmpty()) {
                names.removeAt(i);
                values.removeAt(i);
                continue;
            }
            values[i] = value;
        }
        ++i;
    }
    if (!matched && !value.isEmpty()) {
        names.append(name);
        values.append(value);
    }
    customDataSet_All(names, values);
}

void _JobSettingsScene::customDataSet_StrByID(const int& id, const QString& value) {
    QStringList names, values;
    customData_All(names, values);
    if (id < 0 || id >= customData_maxIDs() || id >= names.size())
        return;
    if (value.isEmpty()) {
        names.removeAt(id);
        values.removeAt(id);
    } else {
        values[id] = value;
    }
    customDataSet_All(names, values);
}

void _JobSettingsScene::customDataSet_UserInfo(const QString& value) {
    customDataSet_Str(CUSTOMUserInfoName, value);
}

void _JobSettingsScene::customDataSet_CommentInfo(const QString& value) {
    customDataSet_Str(CUSTOMCommentInfoName, value);
}

void _JobSettingsScene::customDataAppend_Str(const QString& name, const QString& text) {
    const QString plain = stripCustomPrefix(name);
    customDataSet_Str(plain, customData_Str(plain) + text);
}

// ---- scene display name ----------------------------------------------------------------------------

namespace {

// Leaves out every whole folder `folder` (ignoring case) with the "/" before it. A name that only
// starts so ("scenesetup.ma", "render_pictures_old") is a different folder or file and stays.
void removeFolder(QString& path, QLatin1String folder) {
    const QString needle = QLatin1Char('/') + folder + QLatin1Char('/');
    qsizetype at = 0;
    while ((at = path.indexOf(needle, at, Qt::CaseInsensitive)) >= 0)
        path.remove(at, needle.size() - 1);
}

} // namespace

QString _JobBasics::getSceneDisplayName() const {
    QString s = sceneName.toQString();
    if (s.startsWith(QLatin1Char('!')))
        return s;
    const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
    if (dot > 3)
        s.truncate(dot);
    removeFolder(s, QLatin1String("RENDER_PICTURES"));
    removeFolder(s, QLatin1String("Scenes"));
    s.remove(QLatin1String("/<FN4>"), Qt::CaseInsensitive);
    s.remove(QLatin1String("<FN4>"), Qt::CaseInsensitive);
    s.remove(QLatin1String("<FN"));
    s.remove(QLatin1Char('<'));
    s.remove(QLatin1Char('>'));
    s.remove(QLatin1String("//"));
    const qsizetype last = s.lastIndexOf(QLatin1Char('/'));
    if (last > 0) {
        const qsizetype before = s.lastIndexOf(QLatin1Char('/'), last - 1);
        if (before > 0)
            s = QStringLiteral("...") + s.mid(before);
    }
    const QString marker = QStringLiteral("\x01\x02\x01");
    s.replace(QLatin1String(":/"), marker);
    s.replace(QLatin1String("/"), QLatin1String("/    "));
    s.replace(marker, QLatin1String(":/"));
    return s;
}

// ---- large-path record to basics -------------------------------------------------------------------

void _JobBasics_largePath::toJobsBasic(_JobBasics& target) const {
    // The target keeps its own stamp: the stamp describes the record's layout, and the target may be
    // a higher level whose pairs must stay valid.
    quint16 stamp[10];
    std::memcpy(stamp, target.structureIDs, sizeof stamp);
    std::memcpy(static_cast<void*>(static_cast<_JobBasics_noSettings_noPaths*>(&target)),
                static_cast<const _JobBasics_noSettings_noPaths*>(this),
                sizeof(_JobBasics_noSettings_noPaths));
    std::memcpy(target.structureIDs, stamp, sizeof stamp);
    std::memcpy(static_cast<void*>(static_cast<_JobSettingsScene*>(&target)),
                static_cast<const _JobSettingsScene*>(this), sizeof(_JobSettingsScene));

    target.sceneName.set(sceneName);
    target.sceneDatabaseDir.set(sceneDatabaseDir);
    target.path500c.set(path500c);
    target.imageDir.set(imageDir);
    target.imageFileName.set(imageFileName);
    target.path250b.set(path250b);
    target.imageExtension.set(imageExtension);
    target.channelClear();
    for (const _JobBasics_largePathChannel& slot : channels)
        target.channelAdd(_kxString<500>(slot.fileName), _kxString<25>(slot.extension));
}

// ---- array of large-path records -------------------------------------------------------------------

namespace {
// The largest block the array asks for; a count beyond it is answered as exhausted memory instead of
// being handed to the allocator.
constexpr size_t arrayMaxBytes = size_t(1) << 39;
} // namespace

_JobBasicsArray::_JobBasicsArray()
    : structureID(structureIDBasics), structureVersion(structureVersionCurrent), reserved_2010{},
      recordSize(qint32(sizeof(_JobBasics_largePath))), usedCount(0), allocatedCount(0), records(nullptr) {}

_JobBasicsArray::~_JobBasicsArray() {
    std::free(records);
}

void _JobBasicsArray::clear() {
    usedCount = 0;
    name.clear();
}

bool _JobBasicsArray::setArraySize(const int& count) {
    if (count <= allocatedCount)
        return true;
    if (size_t(count) > arrayMaxBytes / sizeof(_JobBasics_largePath))
        return false;
    const size_t bytes = size_t(count) * sizeof(_JobBasics_largePath);
    void* block =
        records ? std::realloc(records, bytes) : std::calloc(size_t(count), sizeof(_JobBasics_largePath));
    if (!block)
        return false;
    records = static_cast<_JobBasics_largePath*>(block);
    for (int i = allocatedCount < 0 ? 0 : allocatedCount; i < count; ++i)
        new (&records[i]) _JobBasics_largePath();
    allocatedCount = count;
    return true;
}

_JobBasics_largePath* _JobBasicsArray::at(const int& index) {
    return (records && index >= 0 && index < allocatedCount) ? &records[index] : nullptr;
}

bool _JobBasicsArray::isVersionSupported(unsigned char version) const {
    return structureID == structureIDBasics && structureVersion >= version &&
           recordSize == qint32(sizeof(_JobBasics_largePath));
}

bool _JobBasicsArray::getNewJob(_JobBasics_largePath*& job) {
    const int wanted = (usedCount < 0 ? 0 : usedCount) + 1;
    if (!setArraySize(wanted))
        return false;
    usedCount = wanted;
    job = &records[wanted - 1];
    job->kxClearBasics();
    return true;
}

} // namespace kxJ
