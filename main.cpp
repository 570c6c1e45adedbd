// SPDX-License-Identifier: MIT
#include "DesignedProperties.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "Program.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    runtime::preferPlacableWindows();
    QApplication app(argc, argv);
    runtime::prepareApplication();
    QApplication::setWindowIcon(designed::programIcon());

    Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
    if (runtime::hasEnded())
        return 1;
    sign.Show();
    return QApplication::exec();
}
