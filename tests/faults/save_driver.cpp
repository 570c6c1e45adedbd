// SPDX-License-Identifier: MIT
// Runs StoredFile::save in a process of its own, so that the tests can
// preload a failing system call into it, run it as another user, or kill it.
//
//   save_driver save PATH CONTENT_FILE       one save; exit 0 when it succeeded
//   save_driver loop PATH A_FILE B_FILE      saves A, B, A, B, ... until killed
//   save_driver loopn PATH A_FILE B_FILE N   saves A, B, A, B, ... N times; exit 1
//                                            at the first save that fails

#include "StoredFile.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

using storage::StoredFile;

namespace {

std::optional<QByteArray> contents(const char *name)
{
    QFile file(QFile::decodeName(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool save(const QString &path, const QByteArray &bytes)
{
    QString why;
    if (StoredFile::save(path, bytes, &why))
        return true;
    std::fprintf(stderr, "save_driver: %s\n", qPrintable(why));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (!((mode == "save" && argc == 4) || (mode == "loop" && argc == 5) ||
          (mode == "loopn" && argc == 6))) {
        std::fprintf(stderr, "usage: save_driver save PATH CONTENT_FILE\n"
                             "       save_driver loop PATH A_FILE B_FILE\n"
                             "       save_driver loopn PATH A_FILE B_FILE N\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[2]);
    const std::optional<QByteArray> a = contents(argv[3]);
    const std::optional<QByteArray> b = mode == "save" ? a : contents(argv[4]);
    if (!a || !b) {
        std::fprintf(stderr, "save_driver: cannot read the content files\n");
        return 2;
    }
    if (mode == "save")
        return save(path, *a) ? 0 : 1;
    if (mode == "loopn") {
        const int saves = std::atoi(argv[5]);
        for (int i = 0; i < saves; ++i) {
            if (!save(path, i % 2 ? *b : *a)) {
                std::fprintf(stderr, "save_driver: save %d of %d failed\n", i + 1, saves);
                return 1;
            }
        }
        return 0;
    }

    // Tells the test that saving begins, so that its kill lands in the loop.
    std::puts("saving");
    std::fflush(stdout);
    for (;;) {
        if (!save(path, *a) || !save(path, *b))
            return 1;
    }
}
