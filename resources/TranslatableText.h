// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

namespace designed {

// A designed text of the windows, kept as its Japanese source and marked for
// lupdate with QT_TRANSLATE_NOOP in the context "designed". The designed
// properties are constants built before main, before any translator is
// installed, so the text is translated where it is read: wherever a QString
// is wanted it reads as the translation the application has installed, or as
// the designed text itself when none has one.
class TranslatableText
{
public:
    static constexpr const char *Context = "designed";

    explicit constexpr TranslatableText(const char *source) : m_source(source) {}

    // The designed text, untranslated.
    QString source() const { return QString::fromUtf8(m_source); }
    QString text() const { return QCoreApplication::translate(Context, m_source); }
    operator QString() const { return text(); }

private:
    const char *m_source;
};

} // namespace designed
