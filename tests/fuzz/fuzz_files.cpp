// SPDX-License-Identifier: MIT
// The settings file and the message file read from any bytes. What reads must
// read back the same once written; the length that loading asks for stays
// within the bytes it was given, and reading only that much gives the same
// result, failure and its reason included, as reading them all.
#include "FuzzCheck.h"

#include "MessageFile.h"
#include "SettingsFile.h"
#include "SignSettingsRecord.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

using namespace storage;

namespace {

const QString CurrentDir = QStringLiteral("/home/sign/messages");

struct SettingsRead
{
    bool ok = false;
    SignSettingsRecord record;
    QString why;

    explicit SettingsRead(const QByteArray &bytes)
    {
        ok = SettingsFile::decode(bytes, record, CurrentDir, &why);
    }
    bool operator==(const SettingsRead &) const = default;
};

struct MessageRead
{
    std::optional<QString> message;
    QString why;

    explicit MessageRead(const QByteArray &bytes) { message = MessageFile::decode(bytes, &why); }
    bool operator==(const MessageRead &) const = default;
};

void checkSettings(const QByteArray &bytes)
{
    const SettingsRead read(bytes);
    if (read.ok) {
        if (const auto written = SettingsFile::encode(read.record, CurrentDir)) {
            const SettingsRead again(*written);
            FUZZ_CHECK(again.ok);
            FUZZ_CHECK(again.record == read.record);
        }
    }

    const qsizetype needed = SettingsFile::neededLength(bytes, 0);
    FUZZ_CHECK(needed >= -1 && needed <= bytes.size());
    if (needed >= 0)
        FUZZ_CHECK(SettingsRead(bytes.first(needed)) == read);
}

void checkMessage(const QByteArray &bytes)
{
    const MessageRead read(bytes);
    if (read.message) {
        if (const auto written = MessageFile::encode(*read.message)) {
            FUZZ_CHECK(MessageFile::decode(*written) == read.message);
        }
    }

    const qsizetype needed = MessageFile::neededLength(bytes, 0);
    FUZZ_CHECK(needed >= -1 && needed <= bytes.size());
    if (needed >= 0)
        FUZZ_CHECK(MessageRead(bytes.first(needed)) == read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkSettings(bytes);
    checkMessage(bytes);
    return 0;
}
