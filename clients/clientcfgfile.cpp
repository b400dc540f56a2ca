// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// Writes a client record into its group of the farm's client configuration file.
#include "clients/clientrecords.h"

#include "runtime/kxnumber.h"

#include "kxinisettings.h"

#include <QSet>

#include <cmath>

namespace kxC {

namespace {

/// "%1" with field width 2 and fill "0": the numbers of numbered keys and sub-groups.
QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

/// True when `entry` is `prefix` followed by the two digits of a number from `from` to 99, as
/// twoDigits writes it.
bool isNumberedEntry(const QString& entry, QStringView prefix, int from) {
    static_assert(_Client_ALL::renderAppCapacity == 100, "application groups are numbered with two digits");
    if (entry.size() != prefix.size() + 2 || !entry.startsWith(prefix))
        return false;
    const QChar tens = entry.at(prefix.size());
    const QChar ones = entry.at(prefix.size() + 1);
    if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9')
        return false;
    return (tens.unicode() - u'0') * 10 + (ones.unicode() - u'0') >= from;
}

QString flagChar(quint8 flag) {
    return flag != 0 ? QStringLiteral("1") : QStringLiteral("0");
}

/// `value` × 1000 to the nearest integer, halves away from zero. Not a number gives 0; infinities and
/// products beyond 32 bits give the nearest 32-bit bound, where a plain conversion is undefined.
qint32 thousandths(float value) {
    return kxTruncToInt32(std::round(double(value) * 1000.0));
}

/// The first `count` names of a list (a stored count cut into 0..capacity), the empty ones left out.
template <size_t N>
QStringList nonEmptyNames(const _kxString<50> (&names)[N], int count) {
    QStringList list;
    count = usedCount(count, int(N));
    for (int i = 0; i < count; ++i)
        if (!names[i].isEmpty())
            list << names[i].toQString();
    return list;
}

/// "Reserved", "AcceptWH" and the job types: names joined by "; ", lower-cased unless kept as typed.
QString joinNames(const QStringList& names, quint8 keepCase) {
    const QString joined = names.join(QStringLiteral("; "));
    return keepCase != 0 ? joined : joined.toLower();
}

void writeNameList(_iniSettings& ini, const QString& key, const _kxString<50> (&names)[10], int count,
                   quint8 keepCase) {
    if (count == 0)
        ini.remove(key);
    else
        ini.setValue(key, joinNames(nonEmptyNames(names, count), keepCase));
}

void setOrRemove(_iniSettings& ini, const QString& key, const QString& value) {
    if (value.isEmpty())
        ini.remove(key);
    else
        ini.setValue(key, value);
}

/// The code of one thread in the "Thr" key: the mask as unsigned 16-bit times 10, plus 1 when the
/// thread is disabled in working hours; a mask of exactly 255 that is disabled has no code.
QString threadCode(const _ClientConfig_threadSettings& thread) {
    const quint16 mask = quint16(thread.gpuMask);
    if (mask == 255 && thread.whDisable != 0)
        return QString();
    return QString::number(quint32(mask) * 10 + (thread.whDisable != 0 ? 1 : 0));
}

/// The version text of an application entry: the minor version without "." and without trailing "0"
/// characters, keeping at least one character.
QString versionText(const kxRA::_ClientRenderApp& app) {
    QString v = app.versionMinor.toQString();
    v.remove(QLatin1Char('.'));
    while (v.size() > 1 && v.endsWith(QLatin1Char('0')))
        v.chop(1);
    return v;
}

/// The client's group name: the status name, for a cloud connector the part before its last "-".
QString groupNameOf(const _Client_ALL& client) {
    QString name = client.status.name.toQString();
    if (client.status.cloudConnectorIndex >= 0) {
        const qsizetype dash = name.lastIndexOf(QLatin1Char('-'));
        if (dash >= 0)
            name.truncate(dash);
    }
    return name;
}

} // namespace

bool _Client_ALL::writeClientCfg(_iniSettings& ini, bool forceListNo, bool compactApps) {
    QString group = groupNameOf(*this);
    // An empty group name would put the keys into the file's general section, and "/" or "\" would open
    // a group below another one: such a record has no group of its own to write.
    if (group.isEmpty() || group.contains(QLatin1Char('/')) || group.contains(QLatin1Char('\\')))
        return false;
    group = ini.findNameSpelling(group);
    ini.beginGroup(group);
    writeClientCfg_cfg(ini, forceListNo);
    writeClientCfg_hw(ini);
    writeClientCfg_renderapps(ini, compactApps);
    ini.endGroup(false);
    return true;
}

void _Client_ALL::writeClientCfg_cfg(_iniSettings& ini, bool forceListNo) {
    checkInvalidValues();

    const QString listNoKey = QStringLiteral("listNo");
    if (forceListNo || ini.value(listNoKey).isNull())
        ini.setValue(listNoKey, QString::number(listNo));
    ini.setValue(QStringLiteral("CPreset"), QString::number(config.configPreset));
    ini.setValue(QStringLiteral("UNCP"), QString::number(config.uncPreset));

    // Keys of older versions.
    ini.remove(QStringLiteral("WOLSchedule"));
    ini.remove(QStringLiteral("WorkingHours"));
    for (int i = 0; i < 10; ++i) {
        ini.remove(QStringLiteral("Reserved") + twoDigits(i));
        ini.remove(QStringLiteral("AcceptWH") + twoDigits(i));
    }
    for (char letter = 'A'; letter <= 'F'; ++letter)
        ini.remove(QStringLiteral("cfg.acceptThreadJobs") + QLatin1Char(letter));

    const int threadCount = config.configThreadCount; // 1 to 8 after the repair
    for (int t = threadCount; t < _ClientConfig::threadCapacity; ++t)
        config.threads[t].clear(t);

    QString thr;
    if (threadCount > 1)
        thr = QString::number(threadCount) + QLatin1Char(':');
    for (int t = 0; t < threadCount; ++t)
        thr += threadCode(config.threads[t]) + QLatin1Char(';');
    while (thr.endsWith(QLatin1Char(';')))
        thr.chop(1);
    ini.setValue(QStringLiteral("Thr"), thr);

    for (int t = 0; t < _ClientConfig::threadCapacity; ++t) {
        const _ClientConfig_threadSettings& thread = config.threads[t];
        const QString key = QStringLiteral("Jobs") + jThreadIDasString(t, true);
        const QStringList types = nonEmptyNames(thread.jobTypes, thread.jobTypeCount);
        QStringList defaults = _ClientConfig_threadSettings::getDefaultJobThreadApps(t);
        defaults.removeAll(QString());
        const QSet<QString> typeSet(types.cbegin(), types.cend());
        const QSet<QString> defaultSet(defaults.cbegin(), defaults.cend());
        if (thread.jobTypeCount == 0 || typeSet == defaultSet)
            ini.remove(key);
        else
            ini.setValue(key, joinNames(types, thread.jobTypesKeepCase));
    }

    if (config.configPreset != 0) {
        // A preset client keeps only what the preset does not give; the hardware writer adds "WOL".
        ini.remove(QStringLiteral("cfgB"));
        ini.remove(QStringLiteral("cfgV"));
        ini.remove(QStringLiteral("Reserved"));
        ini.remove(QStringLiteral("AcceptWH"));
        for (int i = 0; i < 10; ++i)
            ini.remove(QStringLiteral("AbortProcess") + twoDigits(i));
        ini.remove(QStringLiteral("GPUUser"));
        ini.remove(QStringLiteral("NoArtistLogin"));
        return;
    }

    config.cfgB[18] = 0;
    QString cfgB;
    const int bCount = usedCount(config.cfgBCount, _ClientConfig::cfgBCapacity);
    for (int i = 0; i < bCount; ++i)
        cfgB += config.cfgB[i] != 0 ? QLatin1Char('1') : QLatin1Char('0');
    ini.setValue(QStringLiteral("cfgB"), cfgB);

    QString cfgV;
    const int vCount = usedCount(config.cfgVCount, _ClientConfig::cfgVCapacity);
    for (int i = 0; i < vCount; ++i)
        cfgV += QString::number(config.cfgV[i]) + QLatin1Char(';');
    ini.setValue(QStringLiteral("cfgV"), cfgV);

    if (status.cloudConnectorIndex >= 0)
        hardware.flag_18 = 0;
    QString wol = hardware.wolText1.toQString() + QLatin1Char(';') + hardware.wolText2.toQString() +
                  QLatin1Char(';') + flagChar(hardware.flag_18);
    for (quint8 flag : config.wolFlags)
        wol += flagChar(flag);
    ini.setValue(QStringLiteral("WOL"), wol);

    writeNameList(ini, QStringLiteral("Reserved"), config.reservedFor, config.reservedForCount,
                  config.reservedForKeepCase);
    writeNameList(ini, QStringLiteral("AcceptWH"), config.acceptInWorkingHours,
                  config.acceptInWorkingHoursCount, config.acceptInWorkingHoursKeepCase);

    for (int i = 0; i < _ClientConfig::nameListCapacity; ++i)
        setOrRemove(ini, QStringLiteral("AbortProcess") + twoDigits(i), config.abortProcesses[i].toQString());
    config.abortProcessCount = _ClientConfig::nameListCapacity;

    setOrRemove(ini, QStringLiteral("GPUUser"), config.gpuUser.toQString());
    setOrRemove(ini, QStringLiteral("NoArtistLogin"), config.noArtistLogin.toQString());
}

void _Client_ALL::writeClientCfg_hw(_iniSettings& ini) {
    if (status.cloudConnectorIndex >= 0)
        hardware.isCloudVM = 1;

    const _ClientHardware& hw = hardware;
    QString text;
    const auto field = [&text](const QString& value) {
        text += value;
        text += QLatin1Char(';');
    };
    field(QString::number(hw.memory));
    field(QString::number(hw.cores));
    field(QString::number(hw.osType));
    field(flagChar(hw.is64bit));
    field(QString::number(hw.performanceScore));
    field(QString::number(hw.osVersion));
    field(QString::number(thousandths(hw.cpuGhz)));
    field(QString::number(hw.gpuCount));
    int lastSlot = 7;
    for (int i = _ClientHardware::gpuSlotCount - 1; i > lastSlot; --i) {
        if (hw.gpuSlotBytes[i] != 0 || hw.gpuSlotValues[i] != 0) {
            lastSlot = i;
            break;
        }
    }
    for (int i = 0; i <= lastSlot; ++i)
        field(QString::number(hw.gpuSlotBytes[i]) + QLatin1Char('-') + QString::number(hw.gpuSlotValues[i]));
    field(hw.isCloudVM != 0 ? QStringLiteral("c") : QStringLiteral("d"));
    field(QString::number(thousandths(hw.value_480)));
    field(QString::number(hw.value_12));
    field(QString::number(hw.value_484));
    ini.setValue(QStringLiteral("Hardware"), text);

    if (config.configPreset != 0)
        ini.setValue(QStringLiteral("WOL"), hw.wolText1.toQString() + QLatin1Char(';') +
                                                hw.wolText2.toQString() + QLatin1Char(';') +
                                                flagChar(hw.flag_18));

    setOrRemove(ini, QStringLiteral("customClientInfo"), hw.customClientInfo.toQString());
    const QString location1 = hw.location[0].toQString();
    const QString location2 = hw.location[1].toQString();
    if (location1.isEmpty() && location2.isEmpty())
        ini.remove(QStringLiteral("Location"));
    else
        ini.setValue(QStringLiteral("Location"), location1 + QLatin1Char(';') + location2);
}

void _Client_ALL::writeClientCfg_renderapps(_iniSettings& ini, bool compactApps) {
    const int count = usedRenderAppCount();
    for (int i = 0; i < count; ++i) {
        const kxRA::_ClientRenderApp& app = renderApps[i];
        ini.beginGroup(QStringLiteral("app") + twoDigits(i));
        const QString version = versionText(app);
        const QString name = app.name.toQString();
        const QString major = QString::number(app.versionMajor);
        if (!compactApps) {
            ini.setValue(QStringLiteral("Name"), name + QStringLiteral("_-") + major + QStringLiteral("_-") +
                                                     version + QStringLiteral("_-_-_-64"));
            QString exe = app.executable.toQString();
            ini.commonDataReduction().addnReplaceData(exe);
            ini.setValue(QStringLiteral("Exe"), exe);
        } else {
            QString rest = major.rightJustified(4, QLatin1Char(' ')) + QStringLiteral("~~") +
                           version.rightJustified(4, QLatin1Char(' ')) + QStringLiteral("~~") +
                           app.executable.toQString();
            ini.commonDataReduction().addnReplaceData(rest);
            ini.setValue(QStringLiteral("AE"), name + QStringLiteral("~~") + rest);
            ini.remove(QStringLiteral("Name"));
            ini.remove(QStringLiteral("Exe"));
        }
        ini.remove(QStringLiteral("Executable"));
        setOrRemove(ini, QStringLiteral("Param"), app.parameter.toQString());
        ini.remove(QStringLiteral("Parameter"));
        ini.endGroup(false);
    }
    // What is left of "app<count>" to "app99" and every "renderapp00" to "renderapp99" goes. Removing
    // a name that is not there changes nothing, but QSettings keeps each removal until the next sync,
    // and these are 200 names per client: only those the group holds are removed, found in one listing.
    QStringList present = ini.childGroups();
    present += ini.childKeys();
    for (const QString& entry : std::as_const(present))
        if (isNumberedEntry(entry, u"app", count) || isNumberedEntry(entry, u"renderapp", 0))
            ini.remove(entry);
}

} // namespace kxC
