// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

// Refuses, as it is typed or pasted, only what the message file can never
// keep: a line break, a NUL, half a surrogate pair, more than the program
// reads back (the line edit then reports inputRejected, and lastRefusal()
// says why). A double quote that the text so far keeps from being stored (a
// comma beside it, a quote or blank first) is let through as intermediate:
// more typing may make it storable, and ＯＫ judges the text as it stands.
// In a code page 932 message file the few characters it stores as another
// (WAVE DASH U+301C is kept as FULLWIDTH TILDE U+FF5E, YEN SIGN U+00A5 as the
// backslash) are shown at once in the form they will come back in, so that
// the box always shows what will be stored, and substituted() tells which
// were changed so the user can be told. Characters code page 932 has no form
// for are kept: the file is then written in UTF-8.
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
