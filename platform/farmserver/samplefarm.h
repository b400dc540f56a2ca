// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Sample farms for the stand-in server: the clients of the list and the job events to notify, read
// from a small ini-style text file (UTF-8):
//
//     # a comment; so is a line starting with ';'
//     [client render01]          a client of the list, by name (at most 50 Latin-1 characters)
//     pending = Welcome back     optional: a user message already waiting on the client
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
// longer than its job field is cut when the job record is built, as the server's records cut it.
// Anything else (an unknown section or key, a key given twice, a malformed number, a line that is
// neither) is refused with the file and line named.

#include <QList>
#include <QString>

/// One client of a sample farm.
struct kxSampleClient {
    QString name;
    QString pending; ///< a user message already waiting, empty for none
    QString file;
    int line = 0; ///< line of the section header
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

/// Reads the sample file `path` and appends its clients and jobs to `farm`. On any fault returns false
/// with "<file>:<line>: <what>" (or "<file>: <what>" when the file cannot be read) in `error`; `farm` is
/// then unchanged.
bool kxReadSampleFarm(const QString& path, kxSampleFarm& farm, QString& error);

/// Parses sample text as if read from a file named `fileName`; same rules and results as kxReadSampleFarm.
bool kxParseSampleFarm(const QByteArray& content, const QString& fileName, kxSampleFarm& farm,
                       QString& error);
