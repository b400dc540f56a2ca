// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect config: the farm's configuration keys with their group, type, default and range, and the
// scrambled form of configuration texts both ways.
#include "cli.h"

#include "config/kxgconfig.h"

#include "samplefarm.h"

#include <QFile>
#include <QJsonArray>

#include <algorithm>
#include <memory>

namespace {

/// The store with the farm's key table, as the server starts it.
std::unique_ptr<_kxgConfig> keyTable() {
    auto config = std::make_unique<_kxgConfig>();
    config->initialize(nullptr);
    return config;
}

/// The first text setting of the table: the scrambling works on a setting's stored text.
const _kxgCfg_param* firstTextSetting(const _kxgConfig& config) {
    for (int i = 0; i < config.count; ++i)
        if (config.params[i].type == _kxgCfg_param::typeString)
            return &config.params[i];
    return nullptr;
}

/// Why a text given to decode comes back as it stands, or an empty text when it was unscrambled.
QString undecodableReason(const QString& text, const QString& output) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890_!/()=abcdefghijklmnopqrstuvwxyz");
    if (!text.startsWith(QLatin1String("kxCA")))
        return QStringLiteral("it does not begin with kxCA");
    if ((text.size() - 4) % 3 != 0 || text.size() < 4 + 3 * 3)
        return QStringLiteral("its %1 letters after kxCA are no whole scrambled form").arg(text.size() - 4);
    for (qsizetype i = 4; i < text.size(); ++i)
        if (!letters.contains(text[i]))
            return QStringLiteral("character %1 '%2' is no letter of the scrambled form")
                .arg(i + 1)
                .arg(text[i]);
    if (output == text)
        return QStringLiteral("its letters do not unscramble (a group or the checksum does not match)");
    return QString();
}

int runScramble(const kxInspectCall& call, kxInspectResult& result, bool encode) {
    // A secret on the command line lands in the shell's history and in the process list: encode reads
    // it from standard input (one line) when it is not given.
    if (call.arguments.size() > 2 || (!encode && call.arguments.size() != 2)) {
        result.fault = QStringLiteral("%1 needs one TEXT").arg(call.arguments.first());
        return kxInspectFault;
    }
    QString text;
    if (call.arguments.size() == 2) {
        text = call.arguments[1];
    } else {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            result.fault = QStringLiteral("encode needs one TEXT, or the text on standard input");
            return kxInspectFault;
        }
        text = QString::fromUtf8(input.readLine());
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
    }
    // The scrambled form takes texts of up to 124 Latin-1 bytes; a longer one would be stored as it is.
    const int capacity = encode ? 124 : 200;
    if (!kxInspectLatin1Text(text, QStringLiteral("TEXT"), capacity, result.fault))
        return kxInspectFault;
    auto config = keyTable();
    const _kxgCfg_param* setting = firstTextSetting(*config);
    if (!setting) {
        result.fault = QStringLiteral("the key table holds no text setting");
        return kxInspectFault;
    }
    const QByteArray key = setting->name.toByteArray();
    QString output;
    if (encode) {
        if (text.startsWith(QLatin1String("kxCA"))) {
            result.fault =
                QStringLiteral("TEXT '%1' begins with kxCA: it would be taken as scrambled already")
                    .arg(text);
            return kxInspectFault;
        }
        config->setS_coded(_kxString8_allSize<100>(key.constData()), _kxString8_allSize<200>(text));
        output = config->getS(key.constData()).toQString();
    } else {
        config->setS(_kxString8_allSize<100>(key.constData()), _kxString<200>(text));
        output = config->getS_decoded(key.constData()).toQString();
    }
    kxInspectLine(result.text, encode ? QStringLiteral("scrambled") : QStringLiteral("text"), output);
    result.json.insert(encode ? QStringLiteral("scrambled") : QStringLiteral("text"), output);
    if (encode)
        return kxInspectOk;
    // The store hands back a text it cannot unscramble as it stands: the farm then uses it so.
    const QString why = undecodableReason(text, output);
    result.json.insert(QStringLiteral("decoded"), why.isEmpty());
    if (why.isEmpty())
        return kxInspectOk;
    kxInspectLine(result.text, QStringLiteral("decoded"),
                  QStringLiteral("no: %1; the farm uses it as it stands").arg(why));
    result.json.insert(QStringLiteral("reason"), why);
    return kxInspectNo;
}

QString bound(const _kxgCfg_param& p, qint64 value) {
    return p.type == _kxgCfg_param::typeFloat ? QString::number(double(value) / 1e6) : QString::number(value);
}

int runConfig(const kxInspectCall& call, kxInspectResult& result) {
    if (!call.arguments.isEmpty() && (call.arguments.first() == QLatin1String("decode") ||
                                      call.arguments.first() == QLatin1String("encode")))
        return runScramble(call, result, call.arguments.first() == QLatin1String("encode"));

    auto config = keyTable();
    QStringList names;
    QStringList groups;
    for (int i = 0; i < config->count; ++i) {
        names << config->params[i].name.toQString();
        if (!groups.contains(config->params[i].group.toQString()))
            groups << config->params[i].group.toQString();
    }
    if (call.has("groups")) {
        if (!call.arguments.isEmpty() || call.has("group")) {
            result.fault = QStringLiteral("--groups lists every group: give no KEY and no --group");
            return kxInspectFault;
        }
        QJsonArray list;
        for (const QString& g : std::as_const(groups)) {
            const int count =
                int(std::count_if(config->params, config->params + config->count,
                                  [&g](const _kxgCfg_param& p) { return p.group.toQString() == g; }));
            result.text += QStringLiteral("%1 %2 keys\n").arg(g.leftJustified(16)).arg(count);
            list.append(QJsonObject{{QStringLiteral("group"), g}, {QStringLiteral("keys"), count}});
        }
        result.json.insert(QStringLiteral("groups"), list);
        return kxInspectOk;
    }
    // Keys and groups are found whatever their letter case; the farm's store finds a key only as it is
    // written, which a warning says.
    QString group;
    if (call.has("group")) {
        const QString wanted = call.value("group");
        for (const QString& g : std::as_const(groups))
            if (g.compare(wanted, Qt::CaseInsensitive) == 0)
                group = g;
        if (group.isEmpty()) {
            const QString nearest = kxNearestName(wanted, groups);
            result.fault =
                QStringLiteral("no group '%1'%2 (kxinspect config --groups lists them)")
                    .arg(wanted,
                         nearest.isEmpty() ? QString() : QStringLiteral(": did you mean '%1'?").arg(nearest));
            return kxInspectFault;
        }
    }
    QStringList wantedKeys;
    for (const QString& key : call.arguments) {
        const qsizetype at = names.indexOf(key);
        if (at >= 0) {
            wantedKeys << key;
            continue;
        }
        QString found;
        for (const QString& name : std::as_const(names))
            if (found.isEmpty() && name.compare(key, Qt::CaseInsensitive) == 0)
                found = name;
        if (found.isEmpty()) {
            const QString nearest = kxNearestName(key, names);
            result.fault =
                QStringLiteral("unknown key '%1'%2")
                    .arg(key,
                         nearest.isEmpty() ? QString() : QStringLiteral(": did you mean '%1'?").arg(nearest));
            return kxInspectFault;
        }
        result.warnings
            << QStringLiteral("the farm finds a key only as it is written: '%1' is '%2'").arg(key, found);
        wantedKeys << found;
    }
    QList<const _kxgCfg_param*> chosen;
    for (int i = 0; i < config->count; ++i) {
        const _kxgCfg_param& p = config->params[i];
        if (!group.isEmpty() && p.group.toQString() != group)
            continue;
        if (!wantedKeys.isEmpty() && !wantedKeys.contains(p.name.toQString()))
            continue;
        chosen << &p;
    }
    for (const QString& key : std::as_const(wantedKeys))
        if (!std::any_of(chosen.cbegin(), chosen.cend(),
                         [&key](const _kxgCfg_param* p) { return p->name.toQString() == key; })) {
            result.fault = QStringLiteral("no key '%1' in group '%2'").arg(key, group);
            return kxInspectFault;
        }

    QJsonArray keys;
    for (const _kxgCfg_param* p : chosen) {
        QJsonObject entry{{QStringLiteral("name"), p->name.toQString()},
                          {QStringLiteral("group"), p->group.toQString()},
                          {QStringLiteral("type"), QLatin1String(_kxgCfg_param::typeName(p->type))}};
        QString defaultText;
        QString range;
        switch (p->type) {
        case _kxgCfg_param::typeBool:
            defaultText = p->valueB ? QStringLiteral("true") : QStringLiteral("false");
            entry.insert(QStringLiteral("default"), p->valueB);
            break;
        case _kxgCfg_param::typeString:
            defaultText = QLatin1Char('"') + p->valueS.toQString() + QLatin1Char('"');
            entry.insert(QStringLiteral("default"), p->valueS.toQString());
            break;
        case _kxgCfg_param::typeInt:
            defaultText = QString::number(p->valueI);
            entry.insert(QStringLiteral("default"), p->valueI);
            break;
        default:
            defaultText = QString::number(double(p->valueF));
            entry.insert(QStringLiteral("default"), double(p->valueF));
            break;
        }
        if (p->type == _kxgCfg_param::typeInt || p->type == _kxgCfg_param::typeFloat) {
            range = QStringLiteral("%1..%2").arg(bound(*p, p->valueMin), bound(*p, p->valueMax));
            entry.insert(QStringLiteral("min"), bound(*p, p->valueMin).toDouble());
            entry.insert(QStringLiteral("max"), bound(*p, p->valueMax).toDouble());
        }
        result.text +=
            QStringLiteral("%1 %2 %3 %4%5\n")
                .arg(p->name.toQString().leftJustified(32), p->group.toQString().leftJustified(16),
                     QString::fromLatin1(_kxgCfg_param::typeName(p->type)).leftJustified(6), defaultText,
                     range.isEmpty() ? QString() : QStringLiteral("  (") + range + QLatin1Char(')'));
        keys.append(entry);
    }
    result.json.insert(QStringLiteral("keys"), keys);
    return kxInspectOk;
}

} // namespace

const kxInspectCommand kxInspectConfigCommand = {
    "config",
    "[KEY...] | decode TEXT | encode TEXT",
    "configuration keys with group, type, default and range; scrambled texts both ways",
    "Without KEY every key of the farm's key table is listed, in table order; --groups lists the groups.\n"
    "Keys and groups are found whatever their letter case (the farm's store finds a key only as it is\n"
    "written: a warning gives the spelling), and an unknown one is answered with the nearest name.\n"
    "decode shows the text a scrambled configuration text (\"kxCA...\") holds; encode scrambles a text\n"
    "of up to 124 characters, read from standard input (its first line) when TEXT is not given, so that\n"
    "a secret stays out of the shell's history and the process list.\n"
    "Exit codes: 0 success, 1 decode was given a text that does not unscramble (the farm uses it as it\n"
    "stands), 2 a fault.\n",
    {{"group", "G", "only the keys of group G"}, {"groups", nullptr, "the groups and their key counts"}},
    0,
    255,
    runConfig,
};
