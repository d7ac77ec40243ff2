// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench_startup: a bare Qt window that fills a combo box with the
// user list's query, as any Qt program would, and prints how long that took since the
// benchmark launched it.
//
//   bench_startup_bare <data file> <launch time in ns of the steady clock>
#include <QApplication>
#include <QComboBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const qint64 launched = QByteArray(argv[2]).toLongLong();
    QApplication app(argc, argv);
    QWidget window;
    auto *combo = new QComboBox(&window);
    window.show();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open())
        return 1;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(
                QStringLiteral("SELECT * FROM Utente WHERE utente = 'S' ORDER BY Soggetto, ID")))
            return 1;
        while (query.next())
            combo->addItem(query.value(1).toString());
    }
    QTimer::singleShot(0, &app, [launched, combo] {
        const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        std::printf("%d %.3f\n", combo->count(), double(now - launched) / 1e6);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}
