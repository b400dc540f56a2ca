// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "plugin/jobnotify.h"

#include "plugin/notifymessage.h"

#include "clients/clientcommands.h"
#include "clients/clientlist.h"
#include "clients/clientrecords.h"
#include "jobs/jobid.h"
#include "jobs/jobrecords.h"
#include "platform/kxshared/kxlogfile.h"

#include "kxstring.h"
#include "kxtime.h"

#include <QStringList>

#include <vector>

namespace {

// The server's list is reached through the byte offsets of the contract; the shared record types must
// put their members at the same places.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(kxC::_ClientList, clientCount) == kxClientListOffsets::clientCount);
static_assert(offsetof(kxC::_ClientList, byListNo) == kxClientListOffsets::byListNo);
static_assert(offsetof(kxC::_ClientConstPointerArray_subclass, pointers) == 0);
static_assert(offsetof(kxC::_Client, userMessage) == kxClientListOffsets::userMessage);
static_assert(offsetof(kxC::_Client, status) + offsetof(kxC::_ClientStatusBasic_ALL_base, name) ==
              kxClientListOffsets::clientName);
static_assert(std::is_same_v<decltype(kxC::_ClientStatusBasic_ALL_base::name), _kxString8_allSize<50>>);
static_assert(std::is_same_v<decltype(kxC::_Client::userMessage), kxC::_ClientUserMessage>);
#pragma GCC diagnostic pop

/// The server's client list as the plug-in sees it: a count and a pointer per position.
class ClientListView {
public:
    explicit ClientListView(kxC::_ClientList* list) : base(reinterpret_cast<unsigned char*>(list)) {}

    /// The count as the server keeps it, for the log line.
    int storedCount() const {
        if (base == nullptr)
            return 0;
        qint16 count;
        std::memcpy(&count, base + kxClientListOffsets::clientCount, sizeof(count));
        return count;
    }
    /// The count never taken beyond the list's client capacity.
    int usableCount() const {
        const int count = storedCount();
        return count < kxClientListOffsets::clientCapacity ? count : kxClientListOffsets::clientCapacity;
    }
    unsigned char* client(int position) const {
        unsigned char* record;
        std::memcpy(&record, base + kxClientListOffsets::byListNo + sizeof(void*) * std::size_t(position),
                    sizeof(record));
        return record;
    }

    static const _kxString8_allSize<50>& name(const unsigned char* client) {
        return *reinterpret_cast<const _kxString8_allSize<50>*>(client + kxClientListOffsets::clientName);
    }
    static kxC::_ClientUserMessage& userMessage(unsigned char* client) {
        return *reinterpret_cast<kxC::_ClientUserMessage*>(client + kxClientListOffsets::userMessage);
    }

private:
    unsigned char* base;
};

} // namespace

int kxNotifyJob(const _kxPluginNotify* record) {
    if (record == nullptr || record->hostContext == nullptr || record->job == nullptr)
        return kxPluginInterfaceMismatch;

    // Whatever throws from here on, the server's own log operation included, ends the call with 6;
    // messages queued before that stay where they are.
    try {
        const kxHostContextView host(record->hostContext);
        const auto& job = *static_cast<const kxJ::_JobSend*>(record->job);

        const QString jobText = kxJ::ID2str(job.ID);
        host.log(kxNotifyInfoLevel, kxNotifyStartLine(jobText));

        if (!job.isRightStructVersion() || !host.hasLayoutMarks())
            return kxPluginInterfaceMismatch;

        if (job.messageClientNames.isEmpty()) {
            host.log(kxNotifyWarningLevel, kxNotifyNoRecipientLine());
            return kxPluginNoRecipient;
        }

        const QString message = kxLatin1RoundTrip(kxComposeNotifyMessage(
            job.status, _kxTime(true).asStringDateHourMin(), jobText, job.userName.toQString(),
            job.sceneName.toQString(), job.imageDir.toQString(), job.imageFileName.toQString()));
        const QString recipients = job.messageClientNames.toQString();

        host.log(kxNotifyInfoLevel, kxNotifyComposedLine(jobText, recipients, message));
        // The line must be on disk before delivery starts, so a crash in delivery leaves it readable.
        if (_kxLogfile* log = host.mainLog())
            log->flush();

        // A client receives the message when its name equals any part, so a part listed again (an
        // empty one between two semicolons, a name given twice) need not be compared again.
        std::vector<_kxString8_allSize<50>> names;
        const QStringList parts = recipients.split(QLatin1Char(';'), Qt::KeepEmptyParts);
        names.reserve(std::size_t(parts.size()));
        for (const QString& part : parts) {
            const _kxString8_allSize<50> name(part);
            bool listed = false;
            for (const _kxString8_allSize<50>& earlier : names)
                listed = listed || earlier.isEqual(name);
            if (!listed)
                names.push_back(name);
        }
        const _kxString<2500> text(message);

        const ClientListView clients(host.clientList());
        bool reached = false;
        // The count is read again for every client: it is the server's, not a copy.
        for (int position = 0; position < clients.usableCount(); ++position) {
            unsigned char* client = clients.client(position);
            if (client == nullptr)
                continue;
            const _kxString8_allSize<50>& clientName = ClientListView::name(client);
            for (const _kxString8_allSize<50>& name : names) {
                if (name.isEqual(clientName)) {
                    ClientListView::userMessage(client).add(text);
                    reached = true;
                    break;
                }
            }
        }

        if (reached)
            host.log(kxNotifyInfoLevel, kxNotifySentLine(jobText, recipients, clients.storedCount()));
        else
            host.log(kxNotifyWarningLevel, kxNotifyNotSentLine(jobText, recipients, clients.storedCount()));
        return kxPluginOk;
    } catch (...) {
        return kxPluginException;
    }
}
