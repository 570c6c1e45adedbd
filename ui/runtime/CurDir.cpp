#include "CurDir.h"

#include <QDir>

namespace runtime {

QString CurDir()
{
    return QDir::currentPath();
}

} // namespace runtime
