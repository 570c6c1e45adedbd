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
    if (*stored != input && stored->size() == input.size()) {
        QString typed, kept;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (input[i] != stored->at(i) && !typed.contains(input[i])) {
                typed += input[i];
                kept += stored->at(i);
            }
        }
        input = *stored;
        if (Substituted)
            Substituted(typed, kept);
    }
    return Acceptable;
}
