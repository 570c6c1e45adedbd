// SPDX-License-Identifier: MIT
#pragma once

// The files the tests start from and compare with, kept once under
// tests/data: Velmora.ini (the 48-byte sample), Velmora.txt ("Hello, world",
// 16 bytes) and a few others. Settings and Message build any variant of the
// two files from those samples, changing only the items asked for, so that no
// test spells out the file format itself.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <optional>

namespace golden {

inline QString path(const QString &name)
{
    return QStringLiteral(VELMORA_TEST_DATA "/") + name;
}

// The bytes of tests/data/`name`; the test fails loudly if it is missing.
inline QByteArray bytes(const QString &name)
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("golden file %s is missing", qPrintable(path(name)));
    return file.readAll();
}

// The settings file: the sample's eight lines with the given items replaced.
// Numbers are written in decimal; `directory` is the item exactly as it
// stands on line 8 (quotes included, code page 932 bytes).
struct Settings
{
    std::optional<qint64> top = {}, left = {}, width = {}, height = {}, speed = {}, fore = {},
                          back = {};
    std::optional<QByteArray> directory = {};

    QByteArray bytes() const
    {
        QList<QByteArray> lines = golden::bytes(QStringLiteral("Velmora.ini")).split('\n');
        lines.removeLast(); // after the last line end
        const std::optional<qint64> numbers[] = {top, left, width, height, speed, fore, back};
        for (int i = 0; i < 7; ++i) {
            if (numbers[i])
                lines[i] = QByteArray::number(*numbers[i]) + '\r';
        }
        if (directory)
            lines[7] = *directory + '\r';
        return lines.join('\n') + '\n';
    }

    // The same file with the directory item quoted around `cp932`.
    Settings &inDirectory(const QByteArray &cp932)
    {
        directory = '"' + cp932 + '"';
        return *this;
    }
};

// The message file: the sample's one line with the text between the quotes
// replaced by `cp932`.
inline QByteArray message(const QByteArray &cp932)
{
    QByteArray sample = golden::bytes(QStringLiteral("Velmora.txt"));
    const qsizetype open = sample.indexOf('"'), close = sample.lastIndexOf('"');
    return sample.replace(open + 1, close - open - 1, cp932);
}

} // namespace golden
