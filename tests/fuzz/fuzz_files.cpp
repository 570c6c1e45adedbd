// SPDX-License-Identifier: MIT
// The settings file and the message file read from any bytes, in code page
// 932 or UTF-8. What reads must read back the same once written, in the
// encoding it was read in (or UTF-8, where code page 932 cannot hold it); the
// length that loading asks for stays within the bytes it was given, and
// reading only that much gives the same result, failure, reason and encoding
// included, as reading them all.
#include "FuzzCheck.h"

#include "MessageFile.h"
#include "SettingsFile.h"
#include "SignSettingsRecord.h"
#include "TextEncoding.h"

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
    TextEncoding::Kind encoding = TextEncoding::Cp932;

    explicit SettingsRead(const QByteArray &bytes)
    {
        ok = SettingsFile::decode(bytes, record, CurrentDir, &why, &encoding);
    }
    bool operator==(const SettingsRead &) const = default;
};

struct MessageRead
{
    std::optional<QString> message;
    QString why;
    TextEncoding::Kind encoding = TextEncoding::Cp932;

    explicit MessageRead(const QByteArray &bytes)
    {
        message = MessageFile::decode(bytes, &why, &encoding);
    }
    bool operator==(const MessageRead &) const = default;
};

void checkSettings(const QByteArray &bytes)
{
    const SettingsRead read(bytes);
    if (read.ok) {
        if (const auto written =
                SettingsFile::encode(read.record, CurrentDir, nullptr, read.encoding)) {
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
        TextEncoding::Kind used = read.encoding;
        if (const auto written =
                MessageFile::encode(*read.message, nullptr, read.encoding, &used)) {
            TextEncoding::Kind again = used;
            FUZZ_CHECK(MessageFile::decode(*written, nullptr, &again) == read.message);
            // An ASCII text written as UTF-8 without the mark reads as code
            // page 932, which is the same text.
            FUZZ_CHECK(again == used ||
                       (used == TextEncoding::Utf8 && again == TextEncoding::Cp932));
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
