// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_data.h"

#include "storage/db_connection.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

// Bulk data goes in through one transaction; the program's own statements commit
// each row, which would make a hundred thousand rows take minutes.
bool generateDiaryData(int users, int heavyUserEntries, int otherEntries, QString *problem)
{
    QSqlDatabase db = DbConnection::instance().database();
    if (!db.transaction()) {
        *problem = db.lastError().text();
        return false;
    }
    QSqlQuery subject(db);
    subject.prepare(QStringLiteral("INSERT INTO Utente (Soggetto, Codice, utente, Pwd) "
                                   "VALUES (:name, :code, 'S', 'pw')"));
    QList<qint64> ids;
    for (int i = 0; i < users; ++i) {
        subject.bindValue(QStringLiteral(":name"),
                          QStringLiteral("UTENTE %1").arg(i, 5, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":code"), QStringLiteral("CODICE%1").arg(i));
        if (!subject.exec()) {
            *problem = subject.lastError().text();
            return false;
        }
        ids.append(subject.lastInsertId().toLongLong());
    }
    QSqlQuery entry(db);
    entry.prepare(QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG) "
                                 "VALUES (:data, :scadenza, :oggetto, :ndoc, :utente, :data)"));
    QRandomGenerator random(4821);
    const QDate start(2015, 1, 1);
    auto add = [&](qint64 user, int n) {
        const QDate data = start.addDays(random.bounded(4000));
        entry.bindValue(QStringLiteral(":data"), data.toString(Qt::ISODate));
        entry.bindValue(QStringLiteral(":scadenza"),
                        n % 5 == 0
                            ? QVariant(QMetaType(QMetaType::QString))
                            : QVariant(data.addDays(random.bounded(400)).toString(Qt::ISODate)));
        entry.bindValue(QStringLiteral(":oggetto"),
                        QStringLiteral("SCADENZA NUMERO %1 DA RICORDARE").arg(n));
        entry.bindValue(QStringLiteral(":ndoc"), QString::number(n));
        entry.bindValue(QStringLiteral(":utente"), user);
        return entry.exec();
    };
    for (int n = 0; n < heavyUserEntries; ++n)
        if (!add(ids.first(), n)) {
            *problem = entry.lastError().text();
            return false;
        }
    for (int n = 0; n < otherEntries; ++n)
        if (!add(ids.at(1 + n % qMax(1, int(ids.size()) - 1)), n)) {
            *problem = entry.lastError().text();
            return false;
        }
    if (!db.commit()) {
        *problem = db.lastError().text();
        return false;
    }
    return true;
}
