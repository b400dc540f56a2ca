// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "hostcontext.h"

#include "clients/clientlist.h"

#include <cstring>

_kxHostBase::~_kxHostBase() = default;

kxFarmHost::kxFarmHost(const QString& logPath) : list(std::make_unique<kxC::_ClientList>(farm)) {
    farm.farmName = QStringLiteral("sample farm");
    std::memset(levels.enabled, 1, sizeof(levels.enabled));
    logFile.open(logPath);
    mainLog = &logFile;
    logLevels = &levels;
    processName.set("kxfarmserver");
    interfaceVersion = kxHostInterfaceVersion;
    interfaceVersion2 = kxHostInterfaceVersion;
    layoutMark = kxHostLayoutMark;
    endMark = kxHostEndMark;
    clientList = list.get();
}

kxFarmHost::~kxFarmHost() {
    logFile.flush();
}

void kxFarmHost::setLevelEnabled(int level, bool enabled) {
    if (level >= 0 && level < _kxLogLevels::levelCount)
        levels.enabled[level] = enabled ? 1 : 0;
}

QString kxFarmHost::serverName() const {
    return QStringLiteral("kxfarmserver");
}

QString kxFarmHost::logFilePath() const {
    return logFile.path();
}

bool kxFarmHost::flushLog() {
    return logFile.flush();
}

int kxFarmHost::clientCount() const {
    return list->usedClientCount();
}

int kxFarmHost::findClient(const QString& name) const {
    return list->findClient(name, -1);
}

int kxFarmHost::addClient(const QString& name) {
    const _kxString8_allSize<50> clientName(name);
    if (list->findClient(clientName, -1) >= 0)
        return -1;
    kxC::_Client_WithoutStatus config;
    config.clear_wos();
    if (list->addClient(clientName, -1, config, true) < 0)
        return -1;
    list->sort_ID_Load(false);
    return list->findClient(clientName, -1);
}

QString kxFarmHost::userMessages(int position) const {
    if (position < 0 || position >= list->usedCount())
        return QString();
    const kxC::_Client* client = list->byListNo.pointers[position];
    return client ? client->userMessage.text.toQString() : QString();
}

bool kxFarmHost::addUserMessage(int position, const QString& text) {
    if (position < 0 || position >= list->usedCount())
        return false;
    kxC::_Client* client = list->byListNo.pointers[position];
    if (client == nullptr)
        return false;
    client->userMessage.add(_kxString<kxC::_ClientUserMessage::capacity>(text));
    return true;
}

void kxFarmHost::clearUserMessages(int position) {
    if (position < 0 || position >= list->usedCount())
        return;
    if (kxC::_Client* client = list->byListNo.pointers[position])
        client->userMessage.clear();
}

void kxFarmHost::writeLog(int level, int flags, const QString& text) {
    __KXSDK::writeLog(level, flags, text);
}
