// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Sample farms for the stand-in server: the clients of the list and the job events to notify, read
// from a small ini-style text file (UTF-8):
//
//     # a comment; so is a line starting with ';'
//     [client render01]          a client of the list, by name (at most 50 Latin-1 characters)
//     pending = Welcome back     optional: a user message already waiting on the client
//     memory = 65536             optional hardware: installed memory in MB (1 to 2147483647),
//     cores = 32                 CPU cores (1 to 65535), CPU clock in GHz (0 to 100, at most three
//     ghz = 3.5                  decimals), operating system windows, linux or macos with an optional
//     os = linux 6.1             version of at most one decimal (0 to 25.5); clients are 64-bit
//     threads = 2                optional: render threads, 1 to 8 (default 1)
//     preset = 0                 optional: the configuration preset the client follows, 0 to 255
//                                (default 2); 0 means the client has settings of its own
//     apps = Maya,2024,5,/usr/autodesk/maya2024/bin/Render; Blender,4,1,/usr/bin/blender,-b
//                                optional: the installed render applications, at most 100, separated
//                                by ';', each NAME,MAJOR,MINOR,EXECUTABLE[,PARAMETER]: the name (1 to
//                                25 Latin-1 characters), the major version (0 to 32767), the minor
//                                version (1 to 15 digits and dots), the executable (1 to 150) and its
//                                parameter (at most 50); blanks around the parts are dropped and an
//                                empty entry is skipped, so a part cannot hold ',' or ';'
//
//     [job shot010 preview]      a job event; the text after "job" is a label for the output
//     number = 123456789         the job identifier's main number, 0 to 4294967295 (required)
//     member = 0                 the job family member, 0 to 255 (default 0)
//     status = 100               the job status, 0 to 255 (required): up to 120 preview frames done,
//                                121 to 179 frames done, 180 and above finished
//     user = anna                the user, the scene, the output folder and file name
//     scene = /projects/shot010/shot010.ma
//     imageDir = /renders/shot010/
//     imageFile = beauty.####.exr
//     recipients = render01;render02   client names separated by ';' (empty: the job names nobody)
//     app = Maya                 optional: render application and its version, render layer, camera,
//     appVersion = 2024.2        channel (AOV) and the scene's project folder; they fill the job
//     layer = beauty             variables ("<Layer>", "<Camera>", "<Database>") of output names
//     camera = shotCam
//     channel = diffuse
//     database = /projects/shot010/
//
// Values are taken literally from after the first '=' with the blanks around them removed; a value
// longer than its job field is cut when the job record is built, as the server's records cut it; a
// client value that the client record could not hold whole (a render application's text, a 101st
// application) is refused instead, as is a value out of its range. Anything else (an unknown section
// or key, a key given twice, a malformed number, a line that is neither) is refused with the file and
// line named.

#include <QList>
#include <QString>

/// One render application installed on a sample client.
struct kxSampleRenderApp {
    QString name;
    qint16 versionMajor = 0;
    QString versionMinor; ///< digits and dots, as given
    QString executable;
    QString parameter; ///< empty for none
};

/// One client of a sample farm. The hardware fields not given stay 0 (not reported).
struct kxSampleClient {
    QString name;
    QString pending; ///< a user message already waiting, empty for none
    QString file;
    int line = 0;      ///< line of the section header
    qint32 memory = 0; ///< installed memory in MB
    quint16 cores = 0;
    float ghz = 0;
    quint8 osType = 0;    ///< 1 Windows, 2 Linux, 3 macOS
    quint8 osVersion = 0; ///< version times ten: 61 is 6.1
    quint8 threads = 1;   ///< render threads, 1 to 8
    quint8 preset = 2;    ///< 0: settings of its own; otherwise the preset the client follows
    // Every member after `line` has a default, so {name, pending, file, line} stays a complete brace list.
    QList<kxSampleRenderApp> apps = {};
};

/// One job event of a sample farm.
struct kxSampleJob {
    QString label;
    quint32 number = 0;
    quint8 member = 0;
    quint8 status = 0;
    QString user;
    QString scene;
    QString imageDir;
    QString imageFile;
    QString recipients;
    QString app;        ///< the render application, "Maya"
    QString appVersion; ///< its version, "2024.2": major before the first dot, minor after it
    QString layer;
    QString camera;
    QString channel;
    QString database; ///< the project folder of the scene
    QString file;
    int line = 0; ///< line of the section header
};

/// The clients and job events read from one or more sample files, in file order.
struct kxSampleFarm {
    QList<kxSampleClient> clients;
    QList<kxSampleJob> jobs;
};

/// Reads the sample file `path` ("-" for standard input, named "(standard input)" in messages) and appends
/// its clients and jobs to `farm`. On any fault returns false with "<file>:<line>: <what>" (or "<file>:
/// <what>" when the file cannot be read) in `error`; `farm` is then unchanged.
bool kxReadSampleFarm(const QString& path, kxSampleFarm& farm, QString& error);

/// The candidate closest to `word` in spelling (letter case aside), or an empty text when none is
/// close enough to be a likely slip (one edit for a word of up to 3 letters, two up to 8, else three).
QString kxNearestName(const QString& word, const QStringList& candidates);

/// Parses sample text as if read from a file named `fileName`; same rules and results as kxReadSampleFarm.
bool kxParseSampleFarm(const QByteArray& content, const QString& fileName, kxSampleFarm& farm,
                       QString& error);
