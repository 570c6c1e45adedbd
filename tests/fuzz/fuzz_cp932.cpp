// SPDX-License-Identifier: MIT
// Code page 932 both ways. The bytes as code page 932: what decodes must
// encode, and decode again to the same text. The same bytes as UTF-16 text:
// what encodes must decode, and the text it decodes to is stored as itself.
#include "FuzzCheck.h"

#include "Cp932.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace storage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    if (const auto text = Cp932::decode(bytes)) {
        const auto encoded = Cp932::encode(*text);
        FUZZ_CHECK(encoded);
        FUZZ_CHECK(Cp932::decode(*encoded) == *text);
    }

    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * sizeof(char16_t));
    if (const auto encoded = Cp932::encode(utf16)) {
        const auto stored = Cp932::decode(*encoded);
        FUZZ_CHECK(stored);
        FUZZ_CHECK(Cp932::roundTrip(*stored) == *stored);
    }
    return 0;
}
