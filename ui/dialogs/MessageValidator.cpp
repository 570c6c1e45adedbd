#include "MessageValidator.h"

#include "Cp932.h"

QValidator::State MessageValidator::validate(QString &input, int &) const
{
    if (input.contains(u'"')) {
        m_lastRefusal = QStringLiteral("「\"」は保存できないため入力できません。");
        return Invalid;
    }
    if (input.contains(u'\r') || input.contains(u'\n')) {
        m_lastRefusal = QStringLiteral("表示文字列は一行です。改行は入力できません。");
        return Invalid;
    }
    const auto stored = runtime::Cp932::roundTrip(input);
    if (!stored) {
        m_lastRefusal = QStringLiteral("Shift-JIS にない文字は保存できないため入力できません。");
        return Invalid;
    }
    // Same length: the cursor stays where it was.
    if (stored->size() == input.size())
        input = *stored;
    return Acceptable;
}
