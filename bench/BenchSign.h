// SPDX-License-Identifier: MIT
#pragma once
// What the benchmarks share: the message they scroll and the sign's files.

#include "CurDir.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "MessageFile.h"
#include "Program.h"
#include "SettingsFile.h"
#include "SignSettingsRecord.h"
#include "Startup.h"
#include "StoredFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

namespace bench {

// A message of exactly `length` characters, Japanese and ASCII mixed, every
// character storable in the message file. The same length always gives the
// same text, and a short message is the start of a long one.
inline QString mixedMessage(int length)
{
    static const char16_t *const pieces[] = {
        u"本日は晴天なり。",
        u"Velmora ",
        u"お知らせ：",
        u"SALE 50% OFF ",
        u"東京駅 12:45 発 ",
        u"新製品のご案内 ",
        u"Open 10:00-19:00 ",
        u"ありがとうございます。",
        u"No.7 ",
        u"ニュース速報 ",
        u"Weather: fine ",
        u"営業時間のお知らせ ",
    };
    const std::size_t count = std::size(pieces);
    QString text;
    text.reserve(length + 32);
    std::uint32_t state = 20240601u;
    // The first two pieces are fixed so that even a short message mixes both.
    text.append(QStringView(pieces[0]));
    text.append(QStringView(pieces[1]));
    while (text.size() < length) {
        state = state * 1664525u + 1013904223u;
        text.append(QStringView(pieces[(state >> 16) % count]));
    }
    text.truncate(length);
    return text;
}

// Velmora.ini and Velmora.txt in the current directory, written by the
// program's own codecs: outer size in twips, the speed, green on black, the
// message.
inline bool writeSignFiles(int width, int height, int speed, const QString &message)
{
    const double tpp = 15.0; // the files are written for 96 dpi; the window is sized later
    storage::SignSettingsRecord settings;
    settings.Top = 1200;
    settings.Left = 600;
    settings.Width = std::int16_t(std::lround(width * tpp));
    settings.Height = std::int16_t(std::lround(height * tpp));
    settings.Speed = std::int16_t(speed);
    settings.ForeColor = 0x00FF00;
    settings.DataDir = storage::CurDir();
    const auto ini = storage::SettingsFile::encode(settings, storage::CurDir());
    const auto txt = storage::MessageFile::encode(message);
    return ini && txt && storage::StoredFile::save(storage::SettingsFile::FileName, *ini) &&
           storage::StoredFile::save(storage::MessageFile::FileName, *txt);
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Makes `scratch` the current directory and writes the sign's files there;
// false, with a line on stderr, when either fails.
inline bool enterScratch(const QTemporaryDir &scratch, int width, int height, int speed,
                         const QString &message, const char *who)
{
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path())) {
        std::fprintf(stderr, "%s: no scratch directory\n", who);
        return false;
    }
    if (!writeSignFiles(width, height, speed, message)) {
        std::fprintf(stderr, "%s: cannot write the settings files\n", who);
        return false;
    }
    return true;
}

// The application prepared as the program prepares it, and the sign started
// by the program's own start-up from the files in the
// current directory, shown, with its client area given `client` as a user
// resizing it would (Form_Resize lays it out again); null, with a line on
// stderr, when any of that fails. The timer is stopped, so that the message
// stands where the layout put it.
inline Frm_Main *showSign(QSize client, const char *who)
{
    runtime::prepareApplication();
    runtime::setQuitOnEnd(false);
    Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
    if (runtime::hasEnded()) {
        std::fprintf(stderr, "%s: the sign did not start\n", who);
        return nullptr;
    }
    sign.Tim_Shift.setEnabled(false);
    sign.Show();
    if (!QTest::qWaitForWindowExposed(&sign)) {
        std::fprintf(stderr, "%s: the sign was never exposed\n", who);
        return nullptr;
    }
    // Let the late frame checks after showing run first.
    QTest::qWait(1200);
    if (sign.size() != client) {
        sign.resize(client);
        QTest::qWait(50);
    }
    if (sign.size() != client || runtime::hasEnded()) {
        std::fprintf(stderr, "%s: client area is %dx%d, not %dx%d\n", who, sign.width(),
                     sign.height(), client.width(), client.height());
        return nullptr;
    }
    return &sign;
}

} // namespace bench
