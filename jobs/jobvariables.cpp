// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobvariables.h"

#include "jobconstants.h"
#include "jobrecords.h"
#include "kxfilename.h"
#include "kxpath.h"
#include "kxtime.h"
#include "kxvariable.h"

#include <cmath>

namespace kxJ {

namespace {

// How many leading characters of a path are not folder levels when counting starts at `at`: one
// leading "/", then a drive prefix of letter, ":" and "/".
qsizetype rootPrefixEnd(const QString& path, qsizetype at) {
    if (at < path.size() && path.at(at) == QLatin1Char('/'))
        ++at;
    if (at + 2 < path.size() && path.at(at).isLetter() && path.at(at + 1) == QLatin1Char(':') &&
        path.at(at + 2) == QLatin1Char('/'))
        at += 3;
    return at;
}

// The same from the start of the path, after a UNC prefix (two characters when the second is "/").
qsizetype rootPrefixLength(const QString& path) {
    return rootPrefixEnd(path, (path.size() >= 2 && path.at(1) == QLatin1Char('/')) ? 2 : 0);
}

} // namespace

QString getDirectoryUntilNo(QString path, int level) {
    if (path.size() <= 4)
        return path;
    if (level < 1)
        level = 1;
    qsizetype at = rootPrefixLength(path) - 1;
    for (int i = 0; i < level; ++i) {
        at = path.indexOf(QLatin1Char('/'), at + 1);
        if (at < 0)
            return path;
    }
    return path.left(at + 1);
}

QString getDirectoryUntilNo(QString path, int level, int count) {
    if (path.size() <= 4)
        return path;
    if (level < 0)
        level = 0;
    qsizetype at = 0;
    if (path.at(1) == QLatin1Char('/')) {
        // A UNC path: the server name is not a folder level.
        const qsizetype serverEnd = path.indexOf(QLatin1Char('/'), 2);
        if (serverEnd < 0)
            return path;
        at = serverEnd + 1;
        --level;
    }
    at = rootPrefixEnd(path, at);
    for (int l = 1; l < level; ++l) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'), at);
        if (slash < 0)
            return path;
        at = slash + 1;
    }
    qsizetype search = at + 1; // the folder's own "/" stands above the start of the rest
    for (int c = 1; c < count; ++c) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'), search);
        if (slash < 0)
            return path;
        search = slash + 1;
    }
    const qsizetype end = path.indexOf(QLatin1Char('/'), search);
    return end < 0 ? path : path.left(end + 1);
}

QString getDirectoryNo(QString path, int level, int count) {
    if (path.size() <= 4)
        return path;
    if (level < 0)
        level = 0;
    QString rest = path.mid(rootPrefixLength(path));
    for (int l = 1; l < level; ++l) {
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        if (slash < 0)
            return rest;
        rest.remove(0, slash + 1);
    }
    for (int c = 1; c < count; ++c) {
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        if (slash < 0)
            return rest;
        rest[slash] = QLatin1Char('_');
    }
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash > 0)
        rest.truncate(slash);
    return rest;
}

void getSSV(QString name, _kxString<50>& seq, _kxString<50>& shot, _kxString<50>& version,
            QString seqStartMarker, QString shotStartMarker, QString versionStartMarker, QString seqEndMarker,
            QString shotEndMarker, QString versionEndMarker, int seqLength, int shotLength) {
    enum Kind { Sequence, Shot, Version };
    // One part: false when the call ends here.
    auto part = [&name](_kxString<50>& out, const QString& startMarker, const QString& endMarker, int length,
                        Kind kind) {
        if (startMarker == QLatin1String("none"))
            return true;
        out.clear();
        if (!startMarker.isEmpty()) {
            const qsizetype at = name.indexOf(startMarker, 0, Qt::CaseInsensitive);
            if (at < 0)
                return kind != Version;
            name.remove(0, at + startMarker.size());
        }
        qsizetype end = -1;
        if (kind != Version && length >= 1)
            end = length;
        if (end < 0 && !endMarker.isEmpty())
            end = name.indexOf(endMarker, 0, Qt::CaseInsensitive);
        if (end < 0 && name.indexOf(QLatin1Char('_')) > 0)
            end = name.indexOf(QLatin1Char('_'));
        if (end < 0 && kind == Shot && name.indexOf(QLatin1Char('<')) > 0)
            end = name.indexOf(QLatin1Char('<'));
        if (end < 0 && name.indexOf(QLatin1Char('.')) > 0)
            end = name.indexOf(QLatin1Char('.'));
        QString taken = end < 0 ? name : name.left(end);
        taken.truncate(_kxString<50>::capacity);
        out.set(taken);
        name.remove(0, taken.size());
        return true;
    };
    if (part(seq, seqStartMarker, seqEndMarker, seqLength, Sequence) &&
        part(shot, shotStartMarker, shotEndMarker, shotLength, Shot))
        part(version, versionStartMarker, versionEndMarker, 0, Version);
}

void replaceSquareBracketVariablesSub(_kxString<1000>& text) {
    const int open = text.indexOf(u'[');
    if (open < 0 || text.indexOf(u']', open + 1) < 0)
        return;
    static const char* const names[] = {"User",        "LocalHost", "CompanyProject", "Layer",
                                        "Channel",     "Camera",    "Camera_no.",     "Scene",
                                        "SceneFolder", "Database",  "DatabaseName"};
    for (const char* name : names) {
        const QString plain = QLatin1String(name);
        text.replace(QLatin1Char('[') + plain + QLatin1Char(']'), QLatin1Char('<') + plain + QLatin1Char('>'),
                     Qt::CaseInsensitive);
    }
}

bool log_IsClientSegmentClosed(const _LogMessage& message) {
    switch (message) {
    case 14:
    case 15:
    case 34:
    case 35:
    case 36:
    case 38:
    case 39:
    case 44:
    case 45:
    case 46:
    case 47:
    case 48:
    case 49:
    case 50:
    case 51:
    case 61:
    case 66:
    case 71:
        return true;
    default:
        return false;
    }
}

bool log_hasFrameSegment(const _LogMessage& message) {
    return log_IsClientSegmentClosed(message) || message == 21 || message == 41 || message == 72;
}

} // namespace kxJ

// ---- the variables of a job ------------------------------------------------------------------------

using namespace kxJ;

namespace {

const QString cleanNothing;

/// Frame-number variables that stand for the frame in scene names and file names.
const QLatin1String frameVariables[] = {
    QLatin1String("<FN>"),  QLatin1String("<FN1>"), QLatin1String("<FN2>"),
    QLatin1String("<FN3>"), QLatin1String("<FN4>"), QLatin1String("<FN5>"),
    QLatin1String("<FN6>"), QLatin1String("<FN7>"), QLatin1String("<FN8>"),
};

/// Variables that a full resolution leaves in place for the per-frame naming of output files.
const QLatin1String protectedVariables[] = {
    QLatin1String("<FN>"),   QLatin1String("<FN1>"), QLatin1String("<FN2>"),    QLatin1String("<FN3>"),
    QLatin1String("<FN4>"),  QLatin1String("<FN5>"), QLatin1String("<FN6>"),    QLatin1String("<FN7>"),
    QLatin1String("<auto>"), QLatin1String("<IMS>"), QLatin1String("<Stereo>"),
};

QString cleanForFile(const QString& value) {
    return kxRemoveIllegalCharFromFile(value, true, false);
}

/// `dir` without one trailing "/", then without everything up to and including its last "/" unless
/// that "/" is its first character.
QString databaseName(QString dir) {
    if (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    const qsizetype slash = dir.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        dir.remove(0, slash + 1);
    return dir;
}

/// `text` with trailing "0" removed while more than `keep` characters remain.
QString chopZeros(QString text, int keep) {
    while (text.size() > keep && text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

/// A frame number to the nearest integer, halves away from zero ("-0" never appears).
QString roundedNumber(double v) {
    if (!std::isfinite(v))
        return QStringLiteral("0");
    return QString::number(std::round(v) + 0.0, 'f', 0);
}

/// `text` with every frame-number variable of `count` first entries of the table removed (exact case).
void removeFrameVariables(QString& text, int count) {
    if (!text.contains(QLatin1String("<FN")))
        return;
    for (int i = 0; i < count; ++i)
        text.remove(frameVariables[i], Qt::CaseSensitive);
}

/// Removes every "<" and ">" that is not part of a protected variable.
void stripBrackets(QString& text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at) != QLatin1Char('<') && text.at(at) != QLatin1Char('>'))
        ++at;
    if (at == text.size())
        return;
    // Written in place: the text only shrinks.
    QChar* d = text.data();
    const qsizetype n = text.size();
    qsizetype w = at;
    for (qsizetype i = at; i < n; ++i) {
        const QChar c = d[i];
        if (c == QLatin1Char('<')) {
            const QStringView rest(d + i, n - i);
            for (const QLatin1String& p : protectedVariables) {
                if (rest.startsWith(p, Qt::CaseSensitive)) {
                    for (qsizetype k = 0; k < p.size(); ++k)
                        d[w++] = d[i + k];
                    i += p.size() - 1;
                    break;
                }
            }
        } else if (c != QLatin1Char('>')) {
            d[w++] = c;
        }
    }
    text.truncate(w);
}

void replaceVar(QString& text, QLatin1String variable, const QString& value) {
    text.replace(variable, value, Qt::CaseInsensitive);
}

/// FNV-1a over a variable's text with ASCII letters folded to lower case.
constexpr quint32 foldedHash(const char* s) {
    quint32 h = 2166136261u;
    for (; *s; ++s) {
        char c = *s;
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
        h = (h ^ quint8(c)) * 16777619u;
    }
    return h;
}

/// A variable ("<Layer>") and the hash of its folded text.
struct Var {
    const char* text;
    quint32 hash;
    QLatin1String latin1() const { return QLatin1String(text); }
};
constexpr Var var(const char* text) {
    return Var{text, foldedHash(text)};
}

/// The variables a text holds, found in one pass over its brackets, so each step asks here instead
/// of searching the whole text for its names ignoring case. When the text's brackets nest or it
/// holds characters beyond ASCII inside them (case folding could then match other forms), or more
/// variables than are kept, every answer is "maybe" and the steps search as usual.
class PresentVariables {
public:
    explicit PresentVariables(const QString& text) { scan(text); }

    void scan(const QString& text) {
        count = 0;
        exact = true;
        blank = false;
        qsizetype at = text.indexOf(QLatin1Char('<'));
        while (at >= 0) {
            quint32 h = 2166136261u;
            qsizetype i = at;
            for (; i < text.size(); ++i) {
                char16_t u = text.at(i).unicode();
                if (u >= 0x80 || (u == u'<' && i > at)) {
                    exact = false;
                    return;
                }
                if (u >= u'A' && u <= u'Z')
                    u = char16_t(u + 32);
                else if (u == u' ')
                    blank = true;
                h = (h ^ quint32(u)) * 16777619u;
                if (u == u'>')
                    break;
            }
            if (i >= text.size())
                return; // an open bracket at the end: nothing can complete it
            if (count == capacity) {
                exact = false;
                return;
            }
            hashes[count++] = h;
            at = text.indexOf(QLatin1Char('<'), i + 1);
        }
    }
    /// A bracket holds a blank, as the modifier and option forms do ("<removeVar x>").
    bool blankInside() const { return blank || !exact; }
    bool has(const Var& v) const {
        if (!exact)
            return true;
        for (int i = 0; i < count; ++i)
            if (hashes[i] == v.hash)
                return true;
        return false;
    }

private:
    static constexpr int capacity = 32;
    quint32 hashes[capacity];
    int count = 0;
    bool exact = true;
    bool blank = false;
};

/// Replaces `v` (ignoring case) when the text may hold it. A value with brackets may bring new
/// variables, so the text is scanned again.
void put(QString& text, PresentVariables& present, const Var& v, const QString& value) {
    if (!present.has(v))
        return;
    text.replace(v.latin1(), value, Qt::CaseInsensitive);
    if (value.contains(QLatin1Char('<')) || value.contains(QLatin1Char('>')))
        present.scan(text);
}

/// Each `prefix` X ">" becomes `replacement`, or X when `replacement` is null: the prefix goes
/// together with the first ">" after it. A form without that ">" is left alone.
void replaceModifierForms(QString& text, QLatin1String prefix, const QString* replacement) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(prefix, from, Qt::CaseSensitive);
        if (at < 0)
            return;
        const qsizetype close = text.indexOf(QLatin1Char('>'), at + prefix.size());
        if (close < 0)
            return;
        if (replacement) {
            text.replace(at, close + 1 - at, *replacement);
            from = at + replacement->size();
        } else {
            text.remove(close, 1);
            text.remove(at, prefix.size());
            from = at;
        }
    }
}

/// Each variable that starts with `prefix` becomes what `pick` makes of its inner text. A pass that
/// finds no complete variable ends the loop.
template <typename Pick>
void replaceInnerForms(QString& text, const QString& prefix, Pick pick) {
    int position = 0;
    QString inner;
    const bool ignoreCase = false;
    while (findNextVariable2Replace(text, prefix, position, ignoreCase, &inner))
        text.insert(position, pick(inner));
}

/// The channel or AOV option forms ("<Channel " options ">") that the render application does not
/// understand: with an empty `value` they go, else they become the plain variable.
void reduceOptionForms(QString& text, const QString& name, const QString& value) {
    const QString open = QLatin1Char('<') + name + QLatin1Char(' ');
    const QString understood[] = {
        QLatin1Char('<') + name + QLatin1String(" .<") + name + QLatin1String(">.>"),
        QLatin1Char('<') + name + QLatin1String(" <") + name + QLatin1String(">.>"),
        QLatin1Char('<') + name + QLatin1String(" <") + name + QLatin1String(">>"),
    };
    const QString bare = QLatin1Char('<') + name;
    const QString empty = QLatin1Char('<') + name + QLatin1String(" >");
    const bool f = false, t = true;
    for (;;) {
        if (!text.contains(open, Qt::CaseInsensitive))
            return;
        for (const QString& u : understood)
            if (text.contains(u, Qt::CaseInsensitive))
                return;
        const QString before = text;
        if (value.isEmpty()) {
            LineReplaceWithBool2(text, empty, cleanNothing, f, t);
            const qsizetype close = text.indexOf(QLatin1Char('>'));
            if (close <= 0)
                LineReplaceWithBool2(text, bare, cleanNothing, f, t);
        } else {
            const qsizetype at = text.indexOf(open, 0, Qt::CaseInsensitive);
            const qsizetype close = text.indexOf(QLatin1Char('>'), at);
            if (close > at)
                text.remove(at + bare.size(), close - at - bare.size());
        }
        if (text == before) // a form without ">" stays as it is
            return;
    }
}

/// Which of the two recursive variables are being resolved: inside its own value a variable is not
/// resolved again, so a folder that names itself ends.
enum Inside : unsigned { insideNone = 0, insideImageDir = 1, insideImageFileName = 2 };

QString resolveJobVariables(const _JobSubmitter& job, QString text, bool keepAppVariables, QString* seqName,
                            QString* shotName, QString* versionName, unsigned inside) {
    const bool f = false, t = true;
    // 1, 2: marks of the submitter's lists, then dates.
    if (text.contains(QLatin1Char('-')))
        text.remove(QLatin1String(" -default- "), Qt::CaseSensitive);
    if (text.contains(QLatin1Char('*')))
        text.remove(QLatin1String("** All **"), Qt::CaseSensitive);
    if (!text.contains(QLatin1Char('<'))) {
        if (!keepAppVariables)
            text.remove(QLatin1Char('>'));
        return kxPathResolve(text);
    }
    PresentVariables present(text);
    static constexpr Var dates[] = {var("<Date>"), var("<Time>"), var("<Year>"),   var("<Month>"),
                                    var("<Day>"),  var("<Hour>"), var("<Minute>"), var("<Second>")};
    for (const Var& d : dates) {
        if (present.has(d)) {
            _kxTime().replaceDateVariable(text);
            present.scan(text);
            break;
        }
    }

    // 3, 4: the output folder and file name, themselves templates.
    constexpr Var imageDirVar = var("<ImageDir>"), imageFileNameVar = var("<ImageFilename>");
    if (!(inside & insideImageDir) && present.has(imageDirVar)) {
        const QString value = resolveJobVariables(job, job.imageDir.toQString(), false, seqName, shotName,
                                                  versionName, inside | insideImageDir);
        put(text, present, imageDirVar, kxRemoveIllegalCharFromDir(value, false, f, false));
    }
    if (!(inside & insideImageFileName) && present.has(imageFileNameVar)) {
        const QString value = resolveJobVariables(job, job.imageFileName.toQString(), false, seqName,
                                                  shotName, versionName, inside | insideImageFileName);
        put(text, present, imageFileNameVar, kxRemoveIllegalCharFromFile(value, false, f));
    }
    // 5: the server name of a UNC scene path.
    constexpr Var networkShareVar = var("<NetworkShare>");
    if (present.has(networkShareVar)) {
        QString share = job.sceneName.toQString().mid(1);
        qsizetype slash = share.indexOf(QLatin1Char('/'));
        if (slash >= 0) {
            share.remove(0, slash + 1);
            slash = share.indexOf(QLatin1Char('/'));
            if (slash >= 0)
                share.truncate(slash);
        }
        put(text, present, networkShareVar, kxRemoveIllegalCharFromFile(share, false, f));
    }
    // 6, 7
    if (present.has(var("<IDstr>")) && text.contains(QLatin1String("<IDstr>"))) {
        QString id = job.ID2str();
        id.remove(QLatin1Char('{'));
        id.remove(QLatin1Char('}'));
        id.remove(QLatin1Char(' '));
        text.replace(QLatin1String("<IDstr>"), id, Qt::CaseSensitive);
    }
    if (job.imageMulti < 2 && present.has(var("<IMS>"))) {
        const qsizetype before = text.size();
        text.remove(QLatin1String("<IMS>"), Qt::CaseSensitive);
        if (text.size() != before)
            present.scan(text);
    }

    const bool modifierForms = present.blankInside() && text.contains(QLatin1String("Var "));
    if (!keepAppVariables) {
        // 8a: everything for the farm.
        put(text, present, var("<StereoLR>"), QStringLiteral("L"));
        put(text, present, var("<StereoRL>"), QStringLiteral("R"));
        constexpr Var layerVar = var("<Layer>");
        if (present.has(layerVar)) {
            QString layer = job.layer.toQString();
            layer.remove(QLatin1String(" -default- "));
            layer.remove(QLatin1String("** All **"));
            put(text, present, layerVar, cleanForFile(layer));
        }
        constexpr Var channelVars[] = {var("<Channel-removeVar>"), var("<AOV-removeVar>"), var("<Channel>"),
                                       var("<AOV>")};
        if (present.has(channelVars[0]) || present.has(channelVars[1]) || present.has(channelVars[2]) ||
            present.has(channelVars[3])) {
            const QString channel = cleanForFile(job.channel.toQString());
            put(text, present, channelVars[0], channel);
            put(text, present, channelVars[1], channel);
            if (present.has(channelVars[2]))
                LineReplaceWithBool2(text, QStringLiteral("<Channel>"), channel, f, t);
            if (present.has(channelVars[3]))
                LineReplaceWithBool2(text, QStringLiteral("<AOV>"), channel, f, t);
            if (channel.contains(QLatin1Char('<')) || channel.contains(QLatin1Char('>')))
                present.scan(text);
        }
        constexpr Var cameraVars[] = {var("<CameraKeepVBar>"), var("<Camera>"), var("<Camera_no.>")};
        if (present.has(cameraVars[0]) || present.has(cameraVars[1]) || present.has(cameraVars[2])) {
            QString camera = job.camera.toQString();
            camera.remove(QLatin1String("ClearAtSubmit"));
            camera = camera.trimmed();
            camera.remove(QLatin1String("MultiCam"));
            camera = camera.trimmed();
            const QString cleaned = cleanForFile(camera);
            if (present.has(cameraVars[0]) && text.contains(QLatin1String("<CameraKeepVBar>"))) {
                const QString bars = QString(cleaned).replace(QLatin1Char('|'), QLatin1Char('_'));
                text.replace(QLatin1String("<CameraKeepVBar>"), bars, Qt::CaseSensitive);
                if (bars.contains(QLatin1Char('<')) || bars.contains(QLatin1Char('>')))
                    present.scan(text);
            }
            put(text, present, cameraVars[1], cleaned);
            if (present.has(cameraVars[2])) {
                const qsizetype dot = camera.lastIndexOf(QLatin1Char('.'));
                if (dot >= 0)
                    camera.remove(0, dot + 1);
                put(text, present, cameraVars[2], cleanForFile(camera));
            }
        }
        if (modifierForms) {
            replaceModifierForms(text, QLatin1String("<Layer-replaceVar "), nullptr);
            replaceModifierForms(text, QLatin1String("<Channel-replaceVar "), nullptr);
            replaceModifierForms(text, QLatin1String("<AOV-replaceVar "), nullptr);
            replaceInnerForms(text, QStringLiteral("<removeVar "),
                              [](const QString& inner) { return inner; });
            replaceInnerForms(text, QStringLiteral("<ValueVar "), [](const QString& inner) {
                const qsizetype at = inner.indexOf(QLatin1Char('@'));
                return at < 0 ? inner : inner.left(at);
            });
        }
    } else {
        // 8b: what the render application fills itself stays a variable.
        for (const QLatin1String name : {QLatin1String("Channel"), QLatin1String("AOV")}) {
            const QString removeVar = QLatin1Char('<') + name + QLatin1String("-removeVar>");
            if (!text.contains(removeVar, Qt::CaseInsensitive))
                continue;
            if (text.startsWith(removeVar + QLatin1Char('/'), Qt::CaseInsensitive))
                text.remove(removeVar + QLatin1Char('/'), Qt::CaseInsensitive);
            text.remove(QLatin1Char('_') + removeVar, Qt::CaseInsensitive);
            text.remove(QLatin1Char('.') + removeVar, Qt::CaseInsensitive);
            text.remove(removeVar, Qt::CaseInsensitive);
        }
        if (job.renderApp.isEqual(QStringLiteral("Maya"))) {
            replaceVar(text, QLatin1String("<Channel>"), QStringLiteral("<RenderPass>"));
            replaceVar(text, QLatin1String("<AOV>"), QStringLiteral("<RenderPass>"));
        }
        reduceOptionForms(text, QStringLiteral("Channel"), job.channel.toQString());
        reduceOptionForms(text, QStringLiteral("AOV"), job.channel.toQString());
        if (modifierForms) {
            const QString layer = QStringLiteral("<Layer>"), channel = QStringLiteral("<Channel>"),
                          aov = QStringLiteral("<AOV>");
            replaceModifierForms(text, QLatin1String("<Layer-replaceVar "), &layer);
            replaceModifierForms(text, QLatin1String("<Channel-replaceVar "), &channel);
            replaceModifierForms(text, QLatin1String("<AOV-replaceVar "), &aov);
            replaceInnerForms(text, QStringLiteral("<removeVar "), [](const QString&) { return QString(); });
            replaceInnerForms(text, QStringLiteral("<ValueVar "), [](const QString& inner) {
                const qsizetype at = inner.indexOf(QLatin1Char('@'));
                return at < 0 ? QString() : inner.mid(at + 1);
            });
        }
    }
    if (modifierForms || keepAppVariables)
        present.scan(text);

    // 9: sequence, shot and version names.
    static constexpr Var seqVars[] = {var("<CustomSeQName>"), var("<CustomScene>"), var("<CScene>")};
    static constexpr Var shotVars[] = {var("<CustomSHotName>"), var("<CustomShot>"), var("<CShot>")};
    static constexpr Var versionVars[] = {var("<CustomVersionName>"), var("<CustomVersion>"),
                                          var("<CVersion>")};
    auto putName = [&](const Var(&vars)[3], const QString* given, const _kxString<50>& own) {
        if (!present.has(vars[0]) && !present.has(vars[1]) && !present.has(vars[2]))
            return;
        const QString value = cleanForFile(given ? *given : own.toQString());
        for (const Var& v : vars)
            put(text, present, v, value);
    };
    putName(seqVars, seqName, job.customSeq);
    putName(shotVars, shotName, job.customShot);
    putName(versionVars, versionName, job.customVersion);

    // 10, 11: the scene.
    constexpr Var sceneFolderVar = var("<SceneFolder>");
    if (present.has(sceneFolderVar)) {
        QString folder = kxGetDirName(job.sceneName.toQString());
        if (folder.isEmpty())
            folder = QStringLiteral("sf");
        put(text, present, sceneFolderVar, kxRemoveIllegalCharFromDir(folder, true, f, true));
    }
    constexpr Var sceneVars[] = {var("<SceneFile>"), var("<Scene>"), var("<SceneName>"),
                                 var("<SceneFileNameBase>")};
    if (present.has(sceneVars[0]) || present.has(sceneVars[1]) || present.has(sceneVars[2]) ||
        present.has(sceneVars[3])) {
        QString scene = job.sceneName.toQString();
        const qsizetype slash = scene.lastIndexOf(QLatin1Char('/'));
        if (slash >= 0)
            scene.remove(0, slash + 1);
        const qsizetype dot = scene.lastIndexOf(QLatin1Char('.'));
        if (dot > 2)
            scene.truncate(dot);
        removeFrameVariables(scene, 9);
        scene = cleanForFile(scene);
        put(text, present, sceneVars[0], scene);
        put(text, present, sceneVars[1], scene);
        put(text, present, sceneVars[2], scene);
        if (present.has(sceneVars[3]))
            put(text, present, sceneVars[3], cleanForFile(kxGetFileNameBase(scene)));
    }
    // 12, 13: the project folder.
    constexpr Var databaseVar = var("<Database>"), databaseNameVar = var("<DatabaseName>");
    if (present.has(databaseVar)) {
        QString database = kxRemoveIllegalCharFromDir(job.sceneDatabaseDir.toQString(), true, f, false);
        if (database.startsWith(QLatin1Char('/')) && !database.endsWith(QLatin1Char('/')))
            database += QLatin1Char('/');
        put(text, present, databaseVar, database);
    }
    if (present.has(databaseNameVar))
        put(text, present, databaseNameVar, databaseName(job.sceneDatabaseDir.toQString()));
    // 14: whatever is left in brackets goes, but for the per-frame names.
    if (!keepAppVariables)
        stripBrackets(text);
    return kxPathResolve(text);
}

} // namespace

QString _JobSubmitter::replaceJobVariables(QString text, bool keepAppVariables, QString* seqName,
                                           QString* shotName, QString* versionName) {
    return resolveJobVariables(*this, std::move(text), keepAppVariables, seqName, shotName, versionName,
                               insideNone);
}

_varValList _JobBasics::exportJobVarList_Basic(const bool& /*ignored*/) const {
    _varValList list;
    list.flag = false;
    auto add = [&list](const char* name, const QString& value) { list.add(QLatin1String(name), value); };

    const QString dir = imageDir.toQString();
    if (!dir.isEmpty()) {
        const QString complete = kxGetDirName(dir + imageFileName.toQString());
        add("ImageDirComplete", complete);
        add("ImageDirComplete><../", kxGetDirName(complete));
        add("ImageDirComplete><../><../", kxGetDirName(kxGetDirName(complete)));
        add("ImageDir", dir);
        add("ImageDir><../", kxGetDirName(dir));
        add("ImageDir><../><../", kxGetDirName(kxGetDirName(dir)));
        add("MainImageDir", dir);
    }
    auto addIfSet = [&add](const char* name, const QString& value) {
        if (!value.isEmpty())
            add(name, value);
    };
    addIfSet("ImageStereoL", imageStereoL.toQString());
    addIfSet("ImageStereoR", imageStereoR.toQString());
    addIfSet("ImageStereoM", imageStereoM.toQString());
    addIfSet("ColorSpace", colorSpace.toQString());

    const QString scene = sceneName.toQString();
    const QString sceneFolder = kxGetDirName(scene);
    add("SceneFolder><../><../", kxGetDirName(kxGetDirName(sceneFolder)));
    add("SceneFolder><../", kxGetDirName(sceneFolder));
    add("SceneFolder", sceneFolder);
    QString sceneBase = scene;
    removeFrameVariables(sceneBase, 8);
    add("SceneFileNameBase", kxGetFileNameBase(sceneBase, QLatin1Char('/')));

    const QString database = sceneDatabaseDir.toQString();
    addIfSet("Database", database);
    addIfSet("SceneDatabaseDir", database);
    addIfSet("D", database);
    add("DatabaseName", databaseName(database));

    const QString app = renderApp.toQString();
    const QString rend = renderer.toQString();
    const QString minor = appVersionMinor.toQString();
    const QString minorNoDots = chopZeros(QString(minor).remove(QLatin1Char('.')), 1);
    const QString minorFull = chopZeros(minor, 1);
    const QString major = QString::number(appVersionMajor);
    const QString rendVersion = rendererVersion.toQString();
    const QString licenses = requiredLicenses.toQString();
    add("App", app);
    add("AppRenderer", rend);
    add("AppLow", app.toLower());
    add("AppRendererLow", rend.toLower());
    add("AppVer", major);
    add("AppVerMinor", minorNoDots);
    add("AppVerMinorFull", minorFull);
    add("AppRendererVersion", rendVersion);
    add("renderLicenses", licenses);
    add("requiredLicenses", licenses);
    add("kxJobVersion", major + QLatin1Char('.') + minorFull);
    add("kxJobVersionMajor", major);
    add("kxJobVersionMinor", minorNoDots);
    add("kxJobVersionMinorFull", minorFull);
    add("kxJobVersionMinorTwoDigits", chopZeros(minor, 2));
    add("kxJobRendererVersion", rendVersion);
    add("kxJobRendererVersionMajor", rendVersion.left(rendVersion.indexOf(QLatin1Char('.'))));
    add("kxJobRendererLcase", rend.toLower());
    add("kxJobRendererUcase", rend.toUpper());
    add("kxJobRenderer", rend);
    add("kxJobApp", app);
    add("kxJobAppLcase", app.toLower());
    add("AppType", appType.toQString().toLower());
    add("OS", OS2String(kxThisOS()));

    const QString layerText = layer.toQString();
    add("Layer", layerText);
    add("LayerAsFileName", kxRemoveIllegalCharFromHtmlFile(layerText));
    add("Pass", layerText);
    add("P", layerText);
    const QString cameraText = camera.toQString();
    add("Camera", cameraText);
    add("Camera_no.", cameraText);
    const QString channelText = channel.toQString();
    add("Channel", channelText);
    add("AOVChannel", channelText);
    add("AOV", channelText);
    const QString state = sceneState.toQString();
    add("State", state);
    add("SceneState", state);
    add("JobType", customJobType.toQString());
    add("Division", division.toQString());
    add("MainImageExtension", imageExtension.toQString());
    add("PNL", imagePreNumberLetter == 0
                   ? QStringLiteral(" ")
                   : QString(QChar(char16_t(static_cast<unsigned char>(imagePreNumberLetter)))));
    const QString formatOverride = imageFormatOverride.toQString();
    add("ImageFormatOverride", formatOverride);
    add("OverrideImageFormat", formatOverride);
    add("ImageSingleOutputFile", bool2str(imageSingleOutputFile, false));
    const QString step = QString::number(seqStep);
    add("TotalStep", step);
    add("TotalEnd", roundedNumber(seqEnd));
    add("TotalStart", QString::asprintf("%g", seqStart));
    add("TotalSeqStep", step);
    add("TotalSeqEnd", roundedNumber(seqEnd));
    add("TotalSeqStart", roundedNumber(seqStart));
    const QString frameSet = seqFrameSet.toQString();
    add("SeqFrameSet", frameSet);
    add("FrameSet", frameSet);
    add("sceneOS", QString::number(sceneOS));
    add("sceneOSstr", OS2String(sceneOS));
    const QString shotgun = shotgunID.toQString();
    add("ShutgunID", shotgun);
    add("ShotgunID", shotgun);
    add("Padding", QString::number(imagePadding));
    const QString multi = QString::number(imageMulti);
    add("TotalTiles", multi);
    add("ImageMulti", multi);
    add("ImageHeight", QString::number(imageHeight));
    add("ImageWidth", QString::number(imageWidth));
    add("Height", QString::number(imageHeight));
    add("Width", QString::number(imageWidth));
    add("AdditionalCommandlineParam", customData_Str(CUSTOMAdditionalCommandlineFlags));
    const QString seq = customSeq.toQString();
    const QString shot = customShot.toQString();
    const QString version = customVersion.toQString();
    add("CustomSeq", seq);
    add("CustomShot", shot);
    add("CustomVersion", version);
    add("CustomScene", seq);
    add("CustomJobType", customJobType.toQString());
    add("CustomSeQName", seq);
    add("CustomSHotName", shot);
    add("CustomVersionName", version);
    add("CSequence", seq);
    add("CScene", seq);
    add("CShot", shot);
    add("CVersion", version);
    return list;
}

void _JobBasics_largePath::replaceSquareBracketVariables() {
    replaceSquareBracketVariablesSub(imageFileName);
    replaceSquareBracketVariablesSub(imageDir);
    for (_JobBasics_largePathChannel& slot : channels)
        replaceSquareBracketVariablesSub(slot.fileName);
}
