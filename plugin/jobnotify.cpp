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

#include <cstring>

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

    /// Starts loading the name of the client at `position` into the cache.
    void prefetchName(int position) const {
        if (const unsigned char* record = client(position))
            __builtin_prefetch(record + kxClientListOffsets::clientName);
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

/// How many clients ahead the delivery loop asks for a client's name.
constexpr int namePrefetchDistance = 8;

/// A text field of the job, read in place.
template <int N>
QStringView fieldOf(const _kxString<N>& field) {
    return QStringView(field.data(), field.len());
}

/// The parts of the recipient text, split at every ";", in the 8-bit form client names have and cut to
/// their 50 characters. A client receives the message when its name equals any part, so a part listed
/// again (an empty one between two semicolons, a name given twice) is kept once.
class RecipientNames {
public:
    using Name = _kxString8_allSize<50>;

    explicit RecipientNames(QStringView recipients) {
        // One pass over the text: it holds at most 50 characters, and as many parts.
        const char16_t* units = recipients.utf16();
        const qsizetype size = recipients.size();
        qsizetype from = 0;
        for (qsizetype i = 0; i <= size; ++i) {
            if (i == size || units[i] == u';') {
                add(units, from, i - from);
                from = i + 1;
            }
        }
    }

    const Name* begin() const { return names; }
    const Name* end() const { return names + count; }

private:
    /// Adds the part of `size` units at `from` in `units` (which an empty text may leave null).
    void add(const char16_t* units, qsizetype from, qsizetype size) {
        // Latin-1, with '?' for what it cannot hold, as a client name is built from a QString.
        char bytes[Name::capacity];
        const int n = int(size < Name::capacity ? size : Name::capacity);
        for (int i = 0; i < n; ++i) {
            const char16_t unit = units[from + i];
            bytes[i] = unit > 0xFF ? '?' : char(unit);
        }
        // Compared as it stands, before a name is built of it: most parts of a long text are empty
        // ones or names given again.
        for (int i = 0; i < count; ++i)
            if (names[i].len() == n && std::memcmp(names[i].data(), bytes, std::size_t(n)) == 0)
                return;
        if (count < maxParts)
            names[count++].set(bytes, n);
    }

    // The recipient field holds 50 characters, so at most 51 parts.
    static constexpr int maxParts = decltype(kxJ::_JobSend::messageClientNames)::capacity + 1;
    Name names[maxParts];
    int count = 0;
};

/// Queues `text` once on every client of the list whose name equals one of `names`; true when any did.
/// A function of its own, so the walk over the list keeps its few values in registers. The walk costs
/// a few nanoseconds a client, so every instruction in it counts: the count is read and cut to the
/// capacity once per client, and a recipient of another length is passed over on its length alone.
__attribute__((noinline)) bool deliver(const ClientListView& clients, const RecipientNames& names,
                                       const _kxString<2500>& text) {
    bool reached = false;
    const RecipientNames::Name* const first = names.begin();
    const RecipientNames::Name* const last = names.end();
    for (int position = 0;; ++position) {
        // The count is read again for every client: it is the server's, not a copy.
        const int count = clients.usableCount();
        if (position >= count)
            break;
        // Client records are over 100 kB apart, so every name is a cache miss of its own: ask for
        // a name a few clients ahead while this one is compared.
        if (position + namePrefetchDistance < count)
            clients.prefetchName(position + namePrefetchDistance);
        unsigned char* client = clients.client(position);
        if (client == nullptr)
            continue;
        const _kxString8_allSize<50>& clientName = ClientListView::name(client);
        const int length = clientName.len();
        for (const RecipientNames::Name* name = first; name != last; ++name) {
            if (name->len() == length && name->isEqual(clientName)) {
                ClientListView::userMessage(client).add(text);
                reached = true;
                break;
            }
        }
    }
    return reached;
}

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
            job.status, _kxTime(true).asStringDateHourMin(), jobText, fieldOf(job.userName),
            fieldOf(job.sceneName), fieldOf(job.imageDir), fieldOf(job.imageFileName)));
        const QStringView recipients = fieldOf(job.messageClientNames);

        host.log(kxNotifyInfoLevel, kxNotifyComposedLine(jobText, recipients, message));
        // The line must be on disk before delivery starts, so a crash in delivery leaves it readable.
        if (_kxLogfile* log = host.mainLog())
            log->flush();

        const RecipientNames names(recipients);
        const _kxString<2500> text(message);

        const ClientListView clients(host.clientList());
        const bool reached = deliver(clients, names, text);

        if (reached)
            host.log(kxNotifyInfoLevel, kxNotifySentLine(jobText, recipients, clients.storedCount()));
        else
            host.log(kxNotifyWarningLevel, kxNotifyNotSentLine(jobText, recipients, clients.storedCount()));
        return kxPluginOk;
    } catch (...) {
        return kxPluginException;
    }
}
