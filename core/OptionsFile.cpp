// SPDX-License-Identifier: MIT
#include "OptionsFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace storage {

namespace {

const QString SmoothMotion = QStringLiteral("sign/smooth_motion");
const QString StayOnTop = QStringLiteral("sign/stay_on_top");

bool fail(QString *why, const QString &what)
{
    if (why)
        *why = what;
    return false;
}

// Runs `work` on QSettings over a private file holding `bytes`, and gives
// the file's bytes afterwards.
template <typename Work>
std::optional<QByteArray> withSettings(const QByteArray &bytes, QString *why, Work work)
{
    QTemporaryDir directory;
    if (!directory.isValid()) {
        fail(why, QStringLiteral("cannot make a private directory to read the options in"));
        return std::nullopt;
    }
    const QString path = directory.filePath(QStringLiteral("options.conf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        fail(why, QStringLiteral("cannot copy the options to read them"));
        return std::nullopt;
    }
    file.close();
    {
        QSettings settings(path, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError) {
            fail(why, QStringLiteral("not a well-formed INI file"));
            return std::nullopt;
        }
        if (!work(settings))
            return std::nullopt;
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            fail(why, QStringLiteral("cannot write the options"));
            return std::nullopt;
        }
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(why, QStringLiteral("cannot read the options back"));
        return std::nullopt;
    }
    return file.readAll();
}

bool readFlag(const QSettings &settings, const QString &key, bool &flag, QString *why)
{
    if (!settings.contains(key))
        return true;
    const QString value = settings.value(key).toString();
    if (value == u"true" || value == u"false") {
        flag = value == u"true";
        return true;
    }
    return fail(why, key.section(u'/', 1) + QStringLiteral(" is \"") + value.left(80) +
                         QStringLiteral("\", not true or false"));
}

} // namespace

std::optional<SignOptions> OptionsFile::decode(const QByteArray &bytes, QString *why)
{
    SignOptions options;
    const auto read = withSettings(bytes, why, [&](QSettings &settings) {
        return readFlag(settings, SmoothMotion, options.smoothMotion, why) &&
               readFlag(settings, StayOnTop, options.stayOnTop, why);
    });
    if (!read)
        return std::nullopt;
    return options;
}

std::optional<QByteArray> OptionsFile::encode(const SignOptions &options,
                                              const QByteArray &previous, QString *why)
{
    return withSettings(previous, why, [&](QSettings &settings) {
        settings.setValue(SmoothMotion, options.smoothMotion);
        settings.setValue(StayOnTop, options.stayOnTop);
        return true;
    });
}

} // namespace storage
