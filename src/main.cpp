// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/db_connection.h"
#include "app/startup.h"
#include "main_window/frm_registra.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    std::unique_ptr<frmRegistra> window = Main(DbConnection::locateDataFile());
    if (!window)
        return 1;
    return app.exec();
}
