// SPDX-License-Identifier: MIT
// Ini_Read, Ini_Write, Data_Read and Data_Write: the settings file in the
// current directory and the message file in the data directory.

#include "Bas_Comm.h"

#include "CurDir.h"
#include "MessageFile.h"
#include "RuntimeError.h"
#include "SettingsFile.h"
#include "StoredFile.h"
#include "Twips.h"

#include <QStringBuilder>

namespace Bas_Comm {

namespace {

QString lastError;
// What each file held, as far as reading needs, when the program last read or
// wrote it: a change seen from outside that leaves this as it is, such as the
// echo of the program's own save, changes nothing.
QByteArray knownSettings;
QByteArray knownMessage;

QByteArray asRead(const QByteArray &bytes, qsizetype (*neededLength)(QByteArrayView, qsizetype))
{
    const qsizetype length = neededLength(bytes, 0);
    return length < 0 ? bytes : bytes.left(length);
}

bool failed(const QString &path, const QString &what)
{
    lastError = storage::shownPath(path) % QStringLiteral(": ") % what;
    return false;
}

// Each file read as start-up reads it: bounded, and only as far as its items.
std::optional<QByteArray> loadSettings(const QString &path, QString *why)
{
    return storage::StoredFile::load(path, storage::SettingsFile::MaxBytes,
                                     storage::SettingsFile::neededLength, why);
}

std::optional<QByteArray> loadMessage(const QString &path, QString *why)
{
    return storage::StoredFile::load(path, storage::MessageFile::MaxBytes,
                                     storage::MessageFile::neededLength, why);
}

// The encoding of the message file in `directory` as it is now: a save keeps
// it. Code page 932 when there is no file to tell.
storage::TextEncoding::Kind messageEncoding(const QString &directory)
{
    const auto bytes = loadMessage(messagePath(directory), nullptr);
    storage::TextEncoding::Kind kind = storage::TextEncoding::Cp932;
    if (bytes)
        storage::MessageFile::decode(*bytes, nullptr, &kind);
    return kind;
}

} // namespace

QString refusal(const storage::MessageFile::Storability &check, QStringView text)
{
    using O = storage::MessageFile::Obstacle;
    QString why;
    switch (check.obstacle) {
    case O::DoubleQuote:
        why = QStringLiteral("a message holding a double quote cannot also hold a comma, start "
                             "with a quote or start with a blank");
        break;
    case O::LineBreak:
        why = QStringLiteral("the message is one line: it cannot hold a line break");
        break;
    case O::Nul:
        why = QStringLiteral("the message cannot hold a NUL character");
        break;
    case O::NoForm:
        why = QStringLiteral("half of a surrogate pair is no character");
        break;
    case O::TooLong:
        why = QStringLiteral("it is longer than the program reads back");
        break;
    case O::None:
        break;
    }
    if (check.at < 0 || check.at >= text.size())
        return why;
    // The character as the user would find it: counted in characters, not
    // UTF-16 units, and shown with its code point.
    const QStringView before = text.first(check.at);
    const qsizetype position =
        check.at -
        std::count_if(before.begin(), before.end(), [](QChar c) { return c.isLowSurrogate(); }) + 1;
    const char32_t code =
        QChar::isHighSurrogate(text[check.at].unicode()) && check.at + 1 < text.size()
            ? QChar::surrogateToUcs4(text[check.at], text[check.at + 1])
            : text[check.at].unicode();
    const QString shown = QChar::isPrint(code)
                              ? u'\'' + QString::fromUcs4(&code, 1) + QStringLiteral("' ")
                              : QString();
    return QStringLiteral("character %1 %2(U+%3): %4")
        .arg(QString::number(position), shown,
             QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'), why);
}

QString lastFileError()
{
    return lastError;
}

bool Ini_Read()
{
    const QString path = settingsPath();
    QString why;
    const auto bytes = loadSettings(path, &why);
    if (!bytes || !storage::SettingsFile::decode(*bytes, SignSettings, storage::CurDir(), &why))
        return failed(path, why);
    knownSettings = *bytes;
    return true;
}

bool Ini_Write()
{
    const QString path = settingsPath();
    const SignWindow *window = signWindow();
    if (!window)
        return failed(path, QStringLiteral("there is no sign window to take the geometry from"));

    // Everything is gathered before the file is touched; the record itself
    // keeps its geometry, the file gets the live window's.
    storage::SignSettingsRecord stored = SignSettings;
    try {
        stored.Top = runtime::toInt16(window->Top());
        stored.Left = runtime::toInt16(window->Left());
        stored.Height = runtime::toInt16(window->Height());
        stored.Width = runtime::toInt16(window->Width());
    } catch (const runtime::RuntimeError &) {
        return failed(path,
                      QStringLiteral("the window's position or size does not fit in 16 bits"));
    }
    QString why;
    const auto bytes = storage::SettingsFile::encode(stored, storage::CurDir(), &why,
                                                     storage::TextEncoding::detect(knownSettings));
    if (!bytes || !storage::StoredFile::save(path, *bytes, &why))
        return failed(path, why);
    knownSettings = asRead(*bytes, storage::SettingsFile::neededLength);
    return true;
}

bool Data_Read()
{
    const QString path = messagePath(SignSettings.DataDir);
    QString why;
    const auto bytes = loadMessage(path, &why);
    const auto message = bytes ? storage::MessageFile::decode(*bytes, &why) : std::nullopt;
    if (!message)
        return failed(path, why);
    SignSettings.DataText = *message;
    knownMessage = *bytes;
    return true;
}

bool Data_Write()
{
    QString why;
    if (!storeMessage(SignSettings.DataText, &why)) {
        lastError = why;
        return false;
    }
    return true;
}

bool storeMessage(const QString &text, QString *why)
{
    const QString path = messagePath(SignSettings.DataDir);
    const auto fail = [&](const QString &what) {
        if (why)
            *why = storage::shownPath(path) % QStringLiteral(": ") % what;
        return false;
    };
    QString reason;
    const storage::TextEncoding::Kind encoding = messageEncoding(SignSettings.DataDir);
    const auto check = storage::MessageFile::storability(text, encoding);
    if (check.obstacle != storage::MessageFile::Obstacle::None) {
        if (why)
            *why = refusal(check, text);
        return false;
    }
    const auto bytes = storage::MessageFile::encode(check.stored, &reason, encoding);
    if (!bytes || !storage::StoredFile::save(path, *bytes, &reason))
        return fail(reason);
    knownMessage = asRead(*bytes, storage::MessageFile::neededLength);
    return true;
}

QString settingsPath()
{
    return storage::joinPath(storage::CurDir(), storage::SettingsFile::FileName);
}

QString messagePath(const QString &directory)
{
    return storage::joinPath(directory, storage::MessageFile::FileName);
}

std::optional<QByteArray> readSettings(QString *why)
{
    const QString path = settingsPath();
    auto bytes = loadSettings(path, why);
    if (!bytes && why)
        *why = storage::shownPath(path) % QStringLiteral(": ") % *why;
    return bytes;
}

std::optional<QByteArray> readMessage(const QString &directory, QString *why)
{
    const QString path = messagePath(directory);
    auto bytes = loadMessage(path, why);
    if (!bytes && why)
        *why = storage::shownPath(path) % QStringLiteral(": ") % *why;
    return bytes;
}

QByteArray knownSettingsBytes()
{
    return knownSettings;
}

QByteArray knownMessageBytes()
{
    return knownMessage;
}

storage::TextEncoding::Kind knownMessageEncoding()
{
    return storage::TextEncoding::detect(knownMessage);
}

void setKnownBytes(const QByteArray &settings, const QByteArray &message)
{
    knownSettings = settings;
    knownMessage = message;
}

} // namespace Bas_Comm
