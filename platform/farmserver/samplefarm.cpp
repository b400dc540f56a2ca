// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "samplefarm.h"

#include <QFile>
#include <QStringConverter>
#include <QStringList>

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

class Parser {
public:
    Parser(const QString& fileName, kxSampleFarm& farm, QString& error)
        : fileName(fileName), farm(farm), error(error) {}

    bool parse(const QByteArray& content) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(content);
        if (decoder.hasError())
            return fail(0, QStringLiteral("the file is not UTF-8 text"));
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
            if (QString::fromLatin1(name.toLatin1()) != name)
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

    bool setValue(int line, const QString& key, const QString& value) {
        if (section.kind == Section::None)
            return fail(line, QStringLiteral("'%1' stands before any [client] or [job] section").arg(key));
        if (section.keysSeen.contains(key))
            return fail(line, QStringLiteral("'%1' is given twice in this section").arg(key));
        section.keysSeen.append(key);
        if (section.kind == Section::Client) {
            if (key == QLatin1String("pending")) {
                client.pending = value;
                return true;
            }
            return fail(line, QStringLiteral("unknown client key '%1' (known: pending)").arg(key));
        }
        quint64 n = 0;
        if (key == QLatin1String("number")) {
            if (!parseNumber(value, 0xFFFFFFFFu, n))
                return fail(line,
                            QStringLiteral("number must be a whole number from 0 to 4294967295, not '%1'")
                                .arg(value));
            job.number = quint32(n);
        } else if (key == QLatin1String("member")) {
            if (!parseNumber(value, 255, n))
                return fail(
                    line, QStringLiteral("member must be a whole number from 0 to 255, not '%1'").arg(value));
            job.member = quint8(n);
        } else if (key == QLatin1String("status")) {
            if (!parseNumber(value, 255, n))
                return fail(
                    line, QStringLiteral("status must be a whole number from 0 to 255, not '%1'").arg(value));
            job.status = quint8(n);
        } else if (QString* text = jobText(key)) {
            *text = value;
        } else {
            QStringList known = {QStringLiteral("number"), QStringLiteral("member"),
                                 QStringLiteral("status")};
            for (const JobTextKey& k : jobTextKeys)
                known << QLatin1String(k.name);
            return fail(line, QStringLiteral("unknown job key '%1' (known: %2)")
                                  .arg(key, known.join(QStringLiteral(", "))));
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
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot read the file: %2").arg(path, file.errorString());
        return false;
    }
    return kxParseSampleFarm(file.readAll(), path, farm, error);
}
