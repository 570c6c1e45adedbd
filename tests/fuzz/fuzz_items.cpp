// SPDX-License-Identifier: MIT
// The item reader over any bytes. The first byte chooses the reads, two bits
// each, repeated until the bytes are used up; the rest is the file. Every read
// must move forward while bytes remain, fail once they have run out, keep a
// number within the range asked for, and give back what the item writer then
// stores for it.
#include "FuzzCheck.h"

#include "ItemReader.h"
#include "ItemWriter.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <limits>

using namespace storage;

namespace {

enum Read
{
    SmallInteger,
    WideInteger,
    String,
    Skip
};

// A read that succeeded must have the same value once written and read again.
void checkWrittenBack(std::int64_t value, std::int64_t min, std::int64_t max)
{
    ItemWriter writer;
    writer.writeInteger(value);
    ItemReader again(writer.bytes());
    FUZZ_CHECK(again.readInteger(min, max) == value);
    FUZZ_CHECK(again.position() == writer.bytes().size());
}

void checkWrittenBack(const QString &text)
{
    ItemWriter writer;
    if (!writer.writeString(text))
        return;
    ItemReader again(writer.bytes());
    FUZZ_CHECK(again.readString() == text);
    FUZZ_CHECK(again.position() == writer.bytes().size());
}

// One read; false when it failed.
bool read(ItemReader &reader, Read what)
{
    switch (what) {
    case SmallInteger:
    case WideInteger: {
        const std::int64_t min = what == SmallInteger ? std::numeric_limits<std::int16_t>::min()
                                                      : std::numeric_limits<std::int64_t>::min();
        const std::int64_t max = what == SmallInteger ? std::numeric_limits<std::int16_t>::max()
                                                      : std::numeric_limits<std::int64_t>::max();
        const auto value = reader.readInteger(min, max);
        if (value) {
            FUZZ_CHECK(*value >= min && *value <= max);
            checkWrittenBack(*value, min, max);
        }
        return bool(value);
    }
    case String: {
        const auto text = reader.readString();
        if (text)
            checkWrittenBack(*text);
        return bool(text);
    }
    case Skip:
        return reader.skipItem();
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned program = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);

    ItemReader reader(bytes);
    for (unsigned step = 0;; ++step) {
        const auto what = Read((program >> (2 * (step % 4))) & 3);
        const qsizetype before = reader.position();
        const bool ok = read(reader, what);
        const qsizetype after = reader.position();
        FUZZ_CHECK(after <= bytes.size());
        if (before == bytes.size()) {
            // Past the end every read fails, and nothing moves.
            FUZZ_CHECK(!ok && after == before);
            break;
        }
        FUZZ_CHECK(after > before);
        if (!ok && what != Skip)
            FUZZ_CHECK(reader.errorString().startsWith(QStringLiteral("line ")));
        // A skip only fails where the bytes end before the item's separator.
        if (!ok && what == Skip)
            FUZZ_CHECK(after == bytes.size());
    }
    return 0;
}
