// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

// Accepts only a message that the message file gives back exactly as typed:
// one line, only characters with a code page 932 form, a double quote only
// where the file can keep one, and not longer than the program reads back.
// Anything else is refused as it is typed or pasted (the line edit then
// reports inputRejected, and lastRefusal() says why). The few characters that
// code page 932 stores as another (WAVE DASH U+301C is kept as FULLWIDTH TILDE
// U+FF5E, YEN SIGN U+00A5 as the backslash) are shown at once in the form they
// will come back in, so that the box always shows what will be stored, and
// substituted() tells which were changed so the user can be told.
class MessageValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;

    // Why the last refused text cannot be stored, in the user's words.
    QString lastRefusal() const { return m_lastRefusal; }

signals:
    // What was typed and what will be stored instead.
    void substituted(const QString &typed, const QString &stored) const;

private:
    mutable QString m_lastRefusal;
};
