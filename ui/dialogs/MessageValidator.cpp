// SPDX-License-Identifier: MIT
#include "MessageValidator.h"

#include "Bas_Comm.h"
#include "Cp932.h"
#include "MessageFile.h"

using storage::Cp932;
using storage::MessageFile;
using storage::TextEncoding;

QValidator::State MessageValidator::validate(QString &input, int &) const
{
    const TextEncoding::Kind encoding = Bas_Comm::knownMessageEncoding();
    const MessageFile::Storability check = MessageFile::storability(input, encoding);
    QString stored = check.stored;
    switch (check.obstacle) {
    case MessageFile::Obstacle::DoubleQuote:
        // Shown as it will be stored all the same, should it become storable.
        stored = encoding == TextEncoding::Cp932 ? Cp932::roundTrip(input).value_or(input) : input;
        break;
    case MessageFile::Obstacle::LineBreak:
        m_lastRefusal = tr("表示文字列は一行です。改行は入力できません。");
        return Invalid;
    case MessageFile::Obstacle::Nul:
    case MessageFile::Obstacle::NoForm:
        m_lastRefusal = tr("この文字は保存できないため入力できません。");
        return Invalid;
    case MessageFile::Obstacle::TooLong:
        m_lastRefusal = tr("表示文字列が長すぎるため入力できません。");
        return Invalid;
    case MessageFile::Obstacle::None:
        break;
    }
    // Same length: the cursor stays where it was.
    if (stored != input && stored.size() == input.size()) {
        QString typed, kept;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (input[i] != stored[i] && !typed.contains(input[i])) {
                typed += input[i];
                kept += stored[i];
            }
        }
        input = stored;
        emit substituted(typed, kept);
    }
    return check.obstacle == MessageFile::Obstacle::None ? Acceptable : Intermediate;
}
