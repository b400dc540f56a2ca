// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplefarm.h"

#include "clients/clientrecords.h"
#include "renderapps/renderapprecords.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int clientNameCapacity = 50;

struct Section {
    enum Kind { None, Client, Job } kind = None;
    int line = 0;
    QStringList keysSeen;
};

bool parseNumber(const QString& text, quint64 maximum, quint64& value) {
    // Only plain decimal digits: "0x10", "+5" or "1e3" in a sample are more likely slips than intent.
    if (text.isEmpty() || text.size() > 20)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    value = text.toULongLong(&ok);
    return ok && value <= maximum;
}

bool isLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

/// Why `text` cannot be the `what` of a render application (empty, not Latin-1, longer than the
/// record's `capacity`), or an empty text when it can.
QString appTextFault(const QString& what, const QString& text, int capacity) {
    if (text.isEmpty())
        return QStringLiteral("the %1 is empty").arg(what);
    if (!isLatin1(text))
        return QStringLiteral("the %1 '%2' is not Latin-1 text").arg(what, text);
    if (text.size() > capacity)
        return QStringLiteral("the %1 '%2' is longer than %3 characters")
            .arg(what, text, QString::number(capacity));
    return QString();
}

/// One entry of an "apps" value, NAME,MAJOR,MINOR,EXECUTABLE[,PARAMETER]; the reason it is refused, or
/// an empty text.
QString parseRenderApp(const QString& entry, kxSampleRenderApp& app) {
    using Record = kxRA::_ClientRenderApp;
    QStringList parts = entry.split(QLatin1Char(','));
    for (QString& part : parts)
        part = part.trimmed();
    if (parts.size() < 4 || parts.size() > 5)
        return QStringLiteral("'%1' is not NAME,MAJOR,MINOR,EXECUTABLE[,PARAMETER]").arg(entry);
    app.name = parts[0];
    app.versionMinor = parts[2];
    app.executable = parts[3];
    app.parameter = parts.value(4);
    QString fault = appTextFault(QStringLiteral("name"), app.name, decltype(Record::name)::capacity);
    if (!fault.isEmpty())
        return fault;
    quint64 major = 0;
    if (!parseNumber(parts[1], 32767, major))
        return QStringLiteral("the major version must be a whole number from 0 to 32767, not '%1'")
            .arg(parts[1]);
    app.versionMajor = qint16(major);
    static const QRegularExpression minor(QStringLiteral("^[0-9.]+$"));
    if (!minor.match(app.versionMinor).hasMatch() ||
        app.versionMinor.size() > decltype(Record::versionMinor)::capacity)
        return QStringLiteral("the minor version must be 1 to %1 digits and dots, not '%2'")
            .arg(QString::number(decltype(Record::versionMinor)::capacity), app.versionMinor);
    fault =
        appTextFault(QStringLiteral("executable"), app.executable, decltype(Record::executable)::capacity);
    if (!fault.isEmpty())
        return fault;
    if (!app.parameter.isEmpty())
        return appTextFault(QStringLiteral("parameter"), app.parameter,
                            decltype(Record::parameter)::capacity);
    return QString();
}

/// ": did you mean 'x'?" for the known name nearest to `key`, or nothing.
QString suggestion(const QString& key, const QStringList& known) {
    const QString nearest = kxNearestName(key, known);
    return nearest.isEmpty() ? QString() : QStringLiteral(": did you mean '%1'?").arg(nearest);
}

class Parser {
public:
    Parser(const QString& fileName, kxSampleFarm& farm, QString& error)
        : fileName(fileName), farm(farm), error(error) {}

    bool parse(const QByteArray& content) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(content);
        if (decoder.hasError())
            return failEncoding(content);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines[i];
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (!parseLine(i + 1, line.trimmed()))
                return false;
        }
        return finishSection();
    }

private:
    bool fail(int line, const QString& what) {
        // One arg() call per text: a file name such as "farm%1.ini" stays as it is.
        error = line > 0 ? QStringLiteral("%1:%2: %3").arg(fileName, QString::number(line), what)
                         : QStringLiteral("%1: %2").arg(fileName, what);
        return false;
    }

    /// Names the first line that is not UTF-8 and the byte where it breaks (a Latin-1 "é" is 0xE9).
    bool failEncoding(const QByteArray& content) {
        int line = 1;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i < content.size();) {
            const qsizetype length = utf8SequenceLength(content, i);
            if (length == 0)
                return fail(line,
                            QStringLiteral("the line is not UTF-8 text (byte 0x%1 at column %2); save the "
                                           "file as UTF-8")
                                .arg(QString::number(quint8(content[i]), 16).toUpper())
                                .arg(i - lineStart + 1));
            if (content[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
            i += length;
        }
        return fail(0, QStringLiteral("the file is not UTF-8 text"));
    }

    /// The length of the well-formed UTF-8 sequence at `at`, or 0 when the byte there starts none.
    static qsizetype utf8SequenceLength(const QByteArray& bytes, qsizetype at) {
        const auto byte = [&bytes](qsizetype i) { return i < bytes.size() ? quint8(bytes[i]) : 0; };
        const quint8 lead = byte(at);
        int count = 0;
        quint8 low = 0x80;
        quint8 high = 0xBF;
        if (lead < 0x80)
            return 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            count = 1;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            count = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            count = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return 0;
        }
        for (int k = 1; k <= count; ++k) {
            const quint8 next = byte(at + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return 0;
        }
        return count + 1;
    }

    bool parseLine(int line, const QString& text) {
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char(';')))
            return true;
        if (text.startsWith(QLatin1Char('[')))
            return startSection(line, text);
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0)
            return fail(line, QStringLiteral("expected a [section] or 'key = value', found '%1'").arg(text));
        const QString key = text.left(equals).trimmed();
        const QString value = text.mid(equals + 1).trimmed();
        if (key.isEmpty())
            return fail(line, QStringLiteral("a key is missing before '='"));
        return setValue(line, key, value);
    }

    bool startSection(int line, const QString& text) {
        if (!finishSection())
            return false;
        if (!text.endsWith(QLatin1Char(']')))
            return fail(line, QStringLiteral("a section header must end with ']'"));
        const QString inner = text.mid(1, text.size() - 2).trimmed();
        const qsizetype blank = inner.indexOf(QLatin1Char(' '));
        const QString kind = blank < 0 ? inner : inner.left(blank);
        const QString name = blank < 0 ? QString() : inner.mid(blank + 1).trimmed();
        section = Section();
        section.line = line;
        if (kind == QLatin1String("client")) {
            if (name.isEmpty())
                return fail(line, QStringLiteral("a client needs a name: [client NAME]"));
            if (!isLatin1(name))
                return fail(line, QStringLiteral("the client name '%1' is not Latin-1 text").arg(name));
            if (name.size() > clientNameCapacity)
                return fail(line, QStringLiteral("the client name '%1' is longer than %2 characters")
                                      .arg(name, QString::number(clientNameCapacity)));
            for (const kxSampleClient& other : std::as_const(farm.clients))
                if (other.name == name)
                    return fail(line, QStringLiteral("the client '%1' is already defined at %2:%3")
                                          .arg(name, other.file, QString::number(other.line)));
            begin(client, Section::Client, line);
            client.name = name;
            return true;
        }
        if (kind == QLatin1String("job")) {
            begin(job, Section::Job, line);
            job.label = name;
            return true;
        }
        return fail(
            line, QStringLiteral("unknown section '[%1]': expected [client NAME] or [job LABEL]").arg(inner));
    }

    /// Starts a fresh record of the section that begins at `line`.
    template <typename Record>
    void begin(Record& record, Section::Kind kind, int line) {
        section.kind = kind;
        record = Record();
        record.file = fileName;
        record.line = line;
    }

    /// Reads the whole number `value` of `key` into `n`; false, with "<key> must be a whole number from
    /// <minimum> to <maximum>, not '<value>'" for the line, when it is none or lies outside the range.
    bool wholeNumber(int line, const QString& key, const QString& value, quint64 minimum, quint64 maximum,
                     quint64& n) {
        if (parseNumber(value, maximum, n) && n >= minimum)
            return true;
        return fail(line, QStringLiteral("%1 must be a whole number from %2 to %3, not '%4'")
                              .arg(key, QString::number(minimum), QString::number(maximum), value));
    }

    bool setValue(int line, const QString& key, const QString& value) {
        if (section.kind == Section::None)
            return fail(line, QStringLiteral("'%1' stands before any [client] or [job] section").arg(key));
        if (section.keysSeen.contains(key))
            return fail(line, QStringLiteral("'%1' is given twice in this section").arg(key));
        section.keysSeen.append(key);
        if (section.kind == Section::Client)
            return setClientValue(line, key, value);
        quint64 n = 0;
        if (key == QLatin1String("number")) {
            if (!wholeNumber(line, key, value, 0, 0xFFFFFFFFu, n))
                return false;
            job.number = quint32(n);
        } else if (key == QLatin1String("member")) {
            if (!wholeNumber(line, key, value, 0, 255, n))
                return false;
            job.member = quint8(n);
        } else if (key == QLatin1String("status")) {
            if (!wholeNumber(line, key, value, 0, 255, n))
                return false;
            job.status = quint8(n);
        } else if (QString* text = jobText(key)) {
            *text = value;
        } else {
            QStringList known = {QStringLiteral("number"), QStringLiteral("member"),
                                 QStringLiteral("status")};
            for (const JobTextKey& k : jobTextKeys)
                known << QLatin1String(k.name);
            return fail(line, QStringLiteral("unknown job key '%1'%2 (known: %3)")
                                  .arg(key, suggestion(key, known), known.join(QStringLiteral(", "))));
        }
        return true;
    }

    /// The job's text keys, in the order the format lists them.
    struct JobTextKey {
        const char* name;
        QString kxSampleJob::*field;
    };
    static constexpr JobTextKey jobTextKeys[] = {
        {"user", &kxSampleJob::user},
        {"scene", &kxSampleJob::scene},
        {"imageDir", &kxSampleJob::imageDir},
        {"imageFile", &kxSampleJob::imageFile},
        {"recipients", &kxSampleJob::recipients},
        {"app", &kxSampleJob::app},
        {"appVersion", &kxSampleJob::appVersion},
        {"layer", &kxSampleJob::layer},
        {"camera", &kxSampleJob::camera},
        {"channel", &kxSampleJob::channel},
        {"database", &kxSampleJob::database},
    };

    /// The text field of the job section that `key` names, or null.
    QString* jobText(const QString& key) {
        for (const JobTextKey& k : jobTextKeys)
            if (key == QLatin1String(k.name))
                return &(job.*k.field);
        return nullptr;
    }

    bool setClientValue(int line, const QString& key, const QString& value) {
        quint64 n = 0;
        if (key == QLatin1String("pending")) {
            client.pending = value;
        } else if (key == QLatin1String("memory")) {
            if (!wholeNumber(line, key, value, 1, 2147483647, n))
                return false;
            client.memory = qint32(n);
        } else if (key == QLatin1String("cores")) {
            if (!wholeNumber(line, key, value, 1, 65535, n))
                return false;
            client.cores = quint16(n);
        } else if (key == QLatin1String("threads")) {
            if (!wholeNumber(line, key, value, 1, kxC::_ClientConfig::threadCapacity, n))
                return false;
            client.threads = quint8(n);
        } else if (key == QLatin1String("preset")) {
            if (!wholeNumber(line, key, value, 0, 255, n))
                return false;
            client.preset = quint8(n);
        } else if (key == QLatin1String("ghz")) {
            static const QRegularExpression ghz(QStringLiteral("^[0-9]{1,3}(\\.[0-9]{1,3})?$"));
            const double clock = value.toDouble();
            if (!ghz.match(value).hasMatch() || clock > 100)
                return fail(line,
                            QStringLiteral("ghz must be a number from 0 to 100 with at most three decimals, "
                                           "not '%1'")
                                .arg(value));
            client.ghz = float(clock);
        } else if (key == QLatin1String("os")) {
            return setOs(line, value);
        } else if (key == QLatin1String("apps")) {
            return setApps(line, value);
        } else {
            const QStringList known = {QStringLiteral("pending"), QStringLiteral("memory"),
                                       QStringLiteral("cores"),   QStringLiteral("ghz"),
                                       QStringLiteral("os"),      QStringLiteral("threads"),
                                       QStringLiteral("preset"),  QStringLiteral("apps")};
            return fail(line, QStringLiteral("unknown client key '%1'%2 (known: %3)")
                                  .arg(key, suggestion(key, known), known.join(QStringLiteral(", "))));
        }
        return true;
    }

    /// "windows", "linux" or "macos", then optionally a version with at most one decimal.
    bool setOs(int line, const QString& value) {
        static const QRegularExpression os(
            QStringLiteral("^(windows|linux|macos)(?:\\s+([0-9]{1,2})(?:\\.([0-9]))?)?$"));
        const QRegularExpressionMatch match = os.match(value);
        const int version = match.hasMatch() ? match.captured(2).toInt() * 10 + match.captured(3).toInt() : 0;
        if (!match.hasMatch() || version > 255)
            return fail(line,
                        QStringLiteral("os must be windows, linux or macos with an optional version from "
                                       "0 to 25.5 (\"linux 6.1\"), not '%1'")
                            .arg(value));
        const QString type = match.captured(1);
        client.osType = type == QLatin1String("windows") ? 1 : type == QLatin1String("linux") ? 2 : 3;
        client.osVersion = quint8(version);
        return true;
    }

    bool setApps(int line, const QString& value) {
        const QStringList entries = value.split(QLatin1Char(';'));
        QList<kxSampleRenderApp> apps;
        for (const QString& entry : entries) {
            if (entry.trimmed().isEmpty())
                continue;
            if (apps.size() == kxC::_Client_configPart::renderAppCapacity)
                return fail(line, QStringLiteral("apps names more than the %1 render applications a client "
                                                 "holds")
                                      .arg(kxC::_Client_configPart::renderAppCapacity));
            kxSampleRenderApp app;
            const QString fault = parseRenderApp(entry.trimmed(), app);
            if (!fault.isEmpty())
                return fail(line,
                            QStringLiteral("render application %1: %2").arg(apps.size() + 1).arg(fault));
            apps.append(app);
        }
        client.apps = apps;
        return true;
    }

    bool finishSection() {
        if (section.kind == Section::Client) {
            farm.clients.append(client);
        } else if (section.kind == Section::Job) {
            for (const char* required : {"number", "status"})
                if (!section.keysSeen.contains(QLatin1String(required)))
                    return fail(section.line,
                                QStringLiteral("the job needs a '%1' line").arg(QLatin1String(required)));
            farm.jobs.append(job);
        }
        section = Section();
        return true;
    }

    const QString fileName;
    kxSampleFarm& farm;
    QString& error;
    Section section;
    kxSampleClient client;
    kxSampleJob job;
};

} // namespace

QString kxNearestName(const QString& word, const QStringList& candidates) {
    const QString a = word.toLower();
    QString best;
    // Short words allow one slip, longer ones two, and long ones three.
    int bestDistance = (a.size() <= 3 ? 1 : a.size() <= 8 ? 2 : 3) + 1;
    for (const QString& candidate : candidates) {
        const QString b = candidate.toLower();
        // Edit distance, one row at a time.
        QList<int> row(b.size() + 1);
        for (int j = 0; j <= b.size(); ++j)
            row[j] = j;
        for (int i = 1; i <= a.size(); ++i) {
            int diagonal = row[0];
            row[0] = i;
            for (int j = 1; j <= b.size(); ++j) {
                const int above = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row[b.size()] < bestDistance) {
            bestDistance = row[b.size()];
            best = candidate;
        }
    }
    return best;
}

bool kxParseSampleFarm(const QByteArray& content, const QString& fileName, kxSampleFarm& farm,
                       QString& error) {
    kxSampleFarm result = farm;
    if (!Parser(fileName, result, error).parse(content))
        return false;
    farm = result;
    return true;
}

bool kxReadSampleFarm(const QString& path, kxSampleFarm& farm, QString& error) {
    QFile file(path);
    // "-" is standard input, as the tools take it.
    const bool input = path == QLatin1String("-");
    if (input ? !file.open(stdin, QIODevice::ReadOnly) : !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot read the file: %2").arg(path, file.errorString());
        return false;
    }
    return kxParseSampleFarm(file.readAll(), input ? QStringLiteral("(standard input)") : path, farm, error);
}
