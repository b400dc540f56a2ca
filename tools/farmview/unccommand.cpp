// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxinspect unc and vmid: the automatic mount point of a share or export, and virtual-machine
// identifiers both ways.
#include "cli.h"

#include "config/kxgconfig.h"
#include "config/kxguncmap.h"

#include <QRegularExpression>

#include <memory>

namespace {

/// The system folder a mount point would cover, or an empty text: the root itself, anything in or at a
/// folder the system lives in, and a folder that holds other mounts or homes taken whole.
QString coveredSystemFolder(const QString& mountPoint) {
    static const QStringList system = {
        QStringLiteral("bin"),  QStringLiteral("boot"),  QStringLiteral("dev"),   QStringLiteral("etc"),
        QStringLiteral("lib"),  QStringLiteral("lib32"), QStringLiteral("lib64"), QStringLiteral("libx32"),
        QStringLiteral("proc"), QStringLiteral("root"),  QStringLiteral("run"),   QStringLiteral("sbin"),
        QStringLiteral("sys"),  QStringLiteral("tmp"),   QStringLiteral("usr"),   QStringLiteral("var")};
    static const QStringList wholeOnly = {QStringLiteral("home"), QStringLiteral("media"),
                                          QStringLiteral("mnt"), QStringLiteral("opt"),
                                          QStringLiteral("srv")};
    const QStringList levels = mountPoint.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (levels.isEmpty())
        return QStringLiteral("/");
    if (system.contains(levels.first()) || (levels.size() == 1 && wholeOnly.contains(levels.first())))
        return QLatin1Char('/') + levels.first();
    return QString();
}

/// The ".local" texts the mapping removes beyond the end of the server's name, where it is meant.
QStringList strayLocalParts(const QString& path, bool share) {
    const QString separators = share ? QStringLiteral("\\/") : QStringLiteral(":/");
    QStringList parts;
    const QString marker = QStringLiteral(".local");
    for (qsizetype at = path.indexOf(marker); at >= 0; at = path.indexOf(marker, at + 1)) {
        const qsizetype end = at + marker.size();
        // Where the server's name ends: the first separator after the leading ones.
        qsizetype nameStart = 0;
        while (nameStart < path.size() && separators.contains(path[nameStart]))
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < path.size() && !separators.contains(path[nameEnd]))
            ++nameEnd;
        if (end == nameEnd)
            continue;
        qsizetype from = at;
        while (from > 0 && !separators.contains(path[from - 1]))
            --from;
        qsizetype to = end;
        while (to < path.size() && !separators.contains(path[to]))
            ++to;
        parts << path.mid(from, to - from);
    }
    return parts;
}

int runUnc(const kxInspectCall& call, kxInspectResult& result) {
    const QString path = call.arguments.first();
    if (!kxInspectLatin1Text(path, QStringLiteral("PATH"), 100, result.fault))
        return kxInspectFault;
    const bool share = path.startsWith(QLatin1String("\\\\"));
    const bool nfs = !share && path.indexOf(QLatin1String(":/")) > 0;
    if (!share && !nfs) {
        result.fault = QStringLiteral("PATH '%1' is neither a share (\\\\server\\share) nor an NFS export "
                                      "(server:/export)")
                           .arg(path);
        return kxInspectFault;
    }
    _kxgUNC_map map;
    const _kxString8_allSize<100> text(path);
    const QString mountPoint =
        (share ? map.calcAutoMountPointUNC(text) : map.calcAutoMountPointNFS(text)).toQString();

    // The mapping removes ".local" wherever it stands, not only from the server's name; a folder that
    // reaches the mount point so changed is named.
    const QStringList mountLevels = mountPoint.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList stray = strayLocalParts(path, share);
    for (const QString& part : stray) {
        QString kept = part;
        kept.remove(QStringLiteral(".local"));
        if (mountLevels.contains(kept))
            result.warnings << QStringLiteral("'.local' is removed wherever it stands: '%1' becomes '%2'")
                                   .arg(part, kept);
    }
    const QString covered = mountPoint.isEmpty() ? QString() : coveredSystemFolder(mountPoint);
    kxInspectLine(result.text, QStringLiteral("path"), path);
    kxInspectLine(result.text, QStringLiteral("kind"),
                  share ? QStringLiteral("share") : QStringLiteral("NFS export"));
    kxInspectLine(result.text, QStringLiteral("mount point"),
                  mountPoint.isEmpty() ? QStringLiteral("(none: it would cover the root or a system folder)")
                                       : mountPoint);
    if (!covered.isEmpty())
        kxInspectLine(result.text, QStringLiteral("refused"),
                      covered == QLatin1String("/")
                          ? QStringLiteral("it would cover the root")
                          : QStringLiteral("it would cover the system folder %1").arg(covered));
    result.json.insert(QStringLiteral("path"), path);
    result.json.insert(QStringLiteral("kind"), share ? QStringLiteral("share") : QStringLiteral("nfs"));
    result.json.insert(QStringLiteral("mountPoint"), mountPoint);
    if (!covered.isEmpty())
        result.json.insert(QStringLiteral("covers"), covered);
    return mountPoint.isEmpty() || !covered.isEmpty() ? kxInspectNo : kxInspectOk;
}

QString hexId(unsigned long long id) {
    return QStringLiteral("0x") + QString::number(id, 16).rightJustified(16, QLatin1Char('0'));
}

int runVmid(const kxInspectCall& call, kxInspectResult& result) {
    const QString action = call.arguments.first();
    // About 340 KB: kept off the stack.
    auto config = std::make_unique<_kxgConfig>();
    if (action == QLatin1String("join")) {
        if (call.arguments.size() != 3) {
            result.fault =
                QStringLiteral("join needs NUMBER and NAME (usage: kxinspect vmid join NUMBER NAME "
                               "[--id ID])");
            return kxInspectFault;
        }
        qint64 number = 0;
        qint64 id = 0;
        if (!kxInspectInteger(call.arguments[1], QStringLiteral("NUMBER"), -128, 127, number, result.fault))
            return kxInspectFault;
        if (call.has("id") &&
            !kxInspectInteger(call.value("id"), QStringLiteral("--id"), 0, INT64_MAX, id, result.fault))
            return kxInspectFault;
        const QString name = call.arguments[2];
        if (!kxInspectLatin1Text(name, QStringLiteral("NAME"), 75, result.fault))
            return kxInspectFault;
        const unsigned long long idValue = quint64(id);
        const signed char numberValue = static_cast<signed char>(number);
        const QString joined =
            config->joinVM_ID(idValue, numberValue, _kxString8_allSize<75>(name)).toQString();
        kxInspectLine(result.text, QStringLiteral("text"), joined);
        result.json.insert(QStringLiteral("text"), joined);
        return kxInspectOk;
    }
    if (action == QLatin1String("split")) {
        if (call.arguments.size() != 2) {
            result.fault = QStringLiteral("split needs one TEXT (usage: kxinspect vmid split TEXT)");
            return kxInspectFault;
        }
        const QString text = call.arguments[1];
        if (!kxInspectLatin1Text(text, QStringLiteral("TEXT"), 200, result.fault))
            return kxInspectFault;
        // The reader takes a text without "NN_" as all zero and stops each number at its first
        // character that is no hexadecimal digit; an inspector names the text instead.
        static const QRegularExpression numberField(QStringLiteral("^[0-9A-Fa-f]{2}_"));
        static const QRegularExpression idField(QStringLiteral("^[0-9A-Fa-f]{16}_"));
        if (!numberField.match(text).hasMatch()) {
            result.fault =
                QStringLiteral("TEXT '%1' does not begin with a number of two hexadecimal digits and "
                               "'_' (NN_NAME or NN_ID_NAME, as join writes it)")
                    .arg(text);
            return kxInspectFault;
        }
        const QString rest = text.mid(3);
        if (rest.size() >= 17 && rest[16] == QLatin1Char('_') && !idField.match(rest).hasMatch()) {
            result.fault = QStringLiteral("TEXT '%1': the identifier '%2' is not 16 hexadecimal digits")
                               .arg(text, rest.left(16));
            return kxInspectFault;
        }
        unsigned long long id = 0;
        signed char number = 0;
        _kxString8_allSize<75> name;
        config->splitVM_ID(_kxString8_allSize<200>(text), &id, &number, &name);
        kxInspectLine(result.text, QStringLiteral("number"), QString::number(int(number)));
        kxInspectLine(result.text, QStringLiteral("id"), hexId(id));
        kxInspectLine(result.text, QStringLiteral("name"), name.toQString());
        result.json.insert(QStringLiteral("number"), int(number));
        result.json.insert(QStringLiteral("id"), hexId(id));
        result.json.insert(QStringLiteral("name"), name.toQString());
        return kxInspectOk;
    }
    result.fault = QStringLiteral("'%1' is neither join nor split").arg(action);
    return kxInspectFault;
}

} // namespace

const kxInspectCommand kxInspectUncCommand = {
    "unc",
    "PATH",
    "the automatic mount point of a Windows share or an NFS export",
    "PATH is a share (\\\\server\\share\\...) or an NFS export (server:/export/...), at most 100\n"
    "characters. Exit codes: 0 a mount point; 1 none, or one that would cover the root or a system\n"
    "folder (/usr, /etc, /bin and the like, or /home, /mnt, /opt, /srv or /media whole); 2 a fault.\n"
    "The mapping removes \".local\" wherever it stands in the path, not only from the server's name:\n"
    "a warning names each other place.\n",
    {},
    1,
    1,
    runUnc,
};

const kxInspectCommand kxInspectVmidCommand = {
    "vmid",
    "join NUMBER NAME | split TEXT",
    "virtual-machine identifier texts, joined from their parts or split into them",
    "join: NUMBER -128 to 127, NAME at most 75 Latin-1 characters, --id the machine's identifier\n"
    "(decimal or 0x...). split: TEXT as join writes it, NN_NAME or NN_ID_NAME with NN two and ID\n"
    "sixteen hexadecimal digits; another text is refused.\n"
    "Exit codes: 0 success, 2 a fault.\n",
    {{"id", "ID", "with join: the virtual machine's identifier"}},
    1,
    3,
    runVmid,
};
