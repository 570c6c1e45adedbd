// SPDX-License-Identifier: MIT
#include "MessageValidator.h"

#include "MessageFile.h"

using storage::MessageFile;

QValidator::State MessageValidator::validate(QString &input, int &) const
{
    const MessageFile::Storability check = MessageFile::storability(input);
    switch (check.obstacle) {
    case MessageFile::Obstacle::DoubleQuote:
        m_lastRefusal = QStringLiteral("「\"」を含む表示文字列は、先頭の「\"」、「,」、"
                                       "前後の空白と一緒には保存できないため入力できません。");
        return Invalid;
    case MessageFile::Obstacle::LineBreak:
        m_lastRefusal = QStringLiteral("表示文字列は一行です。改行は入力できません。");
        return Invalid;
    case MessageFile::Obstacle::NoCp932Form:
        m_lastRefusal = QStringLiteral("Shift-JIS にない文字は保存できないため入力できません。");
        return Invalid;
    case MessageFile::Obstacle::TooLong:
        m_lastRefusal = QStringLiteral("表示文字列が長すぎるため入力できません。");
        return Invalid;
    case MessageFile::Obstacle::None:
        break;
    }
    const QString &stored = check.stored;
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
    return Acceptable;
}
