// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "runtime/kxsdk.h"

const char kxFrameworkVersion[] = " 8.4.03";

QString kxConvertFileError_localSDK(QFile::FileError error) {
    switch (int(error)) {
    case 0: return QStringLiteral("No error occurred");
    case 1: return QStringLiteral("An error occurred when reading from the file.");
    case 2: return QStringLiteral("An error occurred when writing to the file.");
    case 3: return QStringLiteral("A fatal error occurred.");
    case 4: return QStringLiteral("Resource error.");
    case 5: return QStringLiteral("The file could not be opened.");
    case 6: return QStringLiteral("The operation was aborted.");
    case 7: return QStringLiteral("A timeout occurred.");
    case 8: return QStringLiteral("An unspecified error occurred.");
    case 9: return QStringLiteral("The file could not be removed.");
    case 10: return QStringLiteral("The file could not be renamed.");
    case 11: return QStringLiteral("The position in the file could not be changed.");
    case 12: return QStringLiteral("The file could not be resized.");
    case 13: return QStringLiteral("The file could not be accessed.");
    case 14: return QStringLiteral("The file could not be copied.");
    default: return QStringLiteral("Unknown Error %1").arg(int(error));
    }
}
