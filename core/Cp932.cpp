// SPDX-License-Identifier: MIT
#include "Cp932.h"

#include <QSysInfo>

#include <cerrno>
#include <iconv.h>

namespace storage {

namespace {

// Runs iconv over the whole input; empty when any byte or character fails.
std::optional<QByteArray> convert(const char *to, const char *from, QByteArrayView input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;

    QByteArray output;
    output.resize(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());

    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1))
            continue;
        if (errno != E2BIG) {
            ok = false; // EILSEQ or EINVAL: not convertible, or cut short
            break;
        }
        const qsizetype used = out - output.data();
        output.resize(output.size() * 2);
        out = output.data() + used;
        outLeft = size_t(output.size() - used);
    }
    // Flush any shift state; CP932 has none, but a failure here is a failure.
    if (ok && iconv(cd, nullptr, nullptr, &out, &outLeft) == size_t(-1))
        ok = false;
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    output.resize(out - output.data());
    return output;
}

} // namespace

std::optional<QByteArray> Cp932::encode(QStringView text)
{
    if (!text.isValidUtf16())
        return std::nullopt;
    return convert("CP932", "UTF-8", text.toUtf8());
}

std::optional<QString> Cp932::decode(QByteArrayView bytes)
{
    // Straight to UTF-16 in this machine's byte order: every code page 932
    // character is in the Basic Multilingual Plane, and a long message is
    // then decoded once instead of twice.
    const char *const utf16 =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
    const auto units = convert(utf16, "CP932", bytes);
    if (!units)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar *>(units->constData()), units->size() / 2);
}

std::optional<QString> Cp932::roundTrip(QStringView text)
{
    const auto bytes = encode(text);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes);
}

} // namespace storage
