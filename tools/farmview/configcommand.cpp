// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect config: the farm's configuration keys with their group, type, default and range, and the
// scrambled form of configuration texts both ways.
#include "cli.h"

#include "config/kxgconfig.h"

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

int runScramble(const kxInspectCall& call, kxInspectResult& result, bool encode) {
    if (call.arguments.size() != 2) {
        result.fault = QStringLiteral("%1 needs one TEXT").arg(call.arguments.first());
        return kxInspectFault;
    }
    const QString text = call.arguments[1];
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
    return kxInspectOk;
}

QString bound(const _kxgCfg_param& p, qint64 value) {
    return p.type == _kxgCfg_param::typeFloat ? QString::number(double(value) / 1e6) : QString::number(value);
}

int runConfig(const kxInspectCall& call, kxInspectResult& result) {
    if (!call.arguments.isEmpty() && (call.arguments.first() == QLatin1String("decode") ||
                                      call.arguments.first() == QLatin1String("encode")))
        return runScramble(call, result, call.arguments.first() == QLatin1String("encode"));

    auto config = keyTable();
    QList<const _kxgCfg_param*> chosen;
    const QString group = call.value("group");
    for (int i = 0; i < config->count; ++i) {
        const _kxgCfg_param& p = config->params[i];
        if (call.has("group") && p.group.toQString() != group)
            continue;
        if (!call.arguments.isEmpty() && !call.arguments.contains(p.name.toQString()))
            continue;
        chosen << &p;
    }
    for (const QString& key : call.arguments)
        if (!std::any_of(chosen.cbegin(), chosen.cend(),
                         [&key](const _kxgCfg_param* p) { return p->name.toQString() == key; })) {
            result.fault = call.has("group") ? QStringLiteral("no key '%1' in group '%2'").arg(key, group)
                                             : QStringLiteral("unknown key '%1'").arg(key);
            return kxInspectFault;
        }
    if (chosen.isEmpty()) {
        result.fault = QStringLiteral("no key in group '%1'").arg(group);
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
    "Without KEY every key of the farm's key table is listed, in table order. decode shows the text a\n"
    "scrambled configuration text (\"kxCA...\") holds; encode scrambles a text of up to 124 characters.\n",
    {{"group", "G", "only the keys of group G"}},
    0,
    255,
    runConfig,
};
