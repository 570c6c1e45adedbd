// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>

namespace storage {

// Everything the sign needs between events: where the sign window stood and
// how large it was (outer frame, twips), the speed (hundredths of a twip per
// tick), the two colours (0x00BBGGRR or a system colour reference 0x800000nn),
// the directory of the message file and the message. A plain record with no
// behaviour of its own: the files' codecs fill and read it, and the windows
// assign its fields directly.
struct SignSettingsRecord
{
    std::int16_t Speed = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    std::int16_t Top = 0;
    std::int16_t Left = 0;
    QString DataDir;
    QString DataText;
    std::int32_t ForeColor = 0;
    std::int32_t BackColor = 0;

    bool operator==(const SignSettingsRecord &) const = default;
};

} // namespace storage
