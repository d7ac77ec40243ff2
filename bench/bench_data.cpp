// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_data.h"

#include "storage/db_connection.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <numeric>

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

bool generateRegistryData(int subjects, int users, QString *problem)
{
    QSqlDatabase db = DbConnection::instance().database();
    if (!db.transaction()) {
        *problem = db.lastError().text();
        return false;
    }
    QList<int> order(subjects);
    std::iota(order.begin(), order.end(), 0);
    QRandomGenerator random(1307);
    std::shuffle(order.begin(), order.end(), random);
    const int userEvery = users > 0 ? qMax(1, subjects / users) : subjects + 1;
    QSqlQuery subject(db);
    subject.prepare(QStringLiteral(
        "INSERT INTO Utente (Soggetto, indirizzo, Comune, pr, cap, Codice, Partita, utente, "
        "email, telefono, Pwd, Annotazione) VALUES (:name, :address, 'MILANO', 'MI', '20121', "
        ":code, :vat, :user, :mail, :phone, :pwd, 'CLIENTE DELLO STUDIO')"));
    int marked = 0;
    for (int i = 0; i < subjects; ++i) {
        const int n = order.at(i);
        const bool user = i % userEvery == 0 && marked < users;
        marked += user ? 1 : 0;
        subject.bindValue(QStringLiteral(":name"),
                          QStringLiteral("COGNOME%1 NOME").arg(n, 6, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":address"), QStringLiteral("VIA ROMA %1").arg(n % 300));
        subject.bindValue(QStringLiteral(":code"),
                          QStringLiteral("CDF%1").arg(n, 13, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":vat"),
                          QStringLiteral("%1").arg(n, 11, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":user"),
                          user ? QStringLiteral("S") : QStringLiteral("N"));
        subject.bindValue(QStringLiteral(":mail"), QStringLiteral("soggetto%1@esempio.it").arg(n));
        subject.bindValue(QStringLiteral(":phone"), QStringLiteral("02 %1").arg(n));
        subject.bindValue(QStringLiteral(":pwd"), user ? QStringLiteral("pw") : QString());
        if (!subject.exec()) {
            *problem = subject.lastError().text();
            return false;
        }
    }
    if (!db.commit()) {
        *problem = db.lastError().text();
        return false;
    }
    return true;
}

bool generateOfficeData(int subjects, int userEvery, int entries, int heavyUserEntries,
                        QString *problem)
{
    QSqlDatabase db = DbConnection::instance().database();
    auto fail = [&](const QSqlQuery &query) {
        *problem = query.lastError().text();
        db.rollback();
        return false;
    };
    if (!db.transaction()) {
        *problem = db.lastError().text();
        return false;
    }
    QSqlQuery subject(db);
    subject.prepare(QStringLiteral("INSERT INTO Utente (Soggetto, Comune, Codice, utente, Pwd) "
                                   "VALUES (:name, 'PADOVA', :code, :flag, 'pw')"));
    QList<qint64> users;
    for (int i = 0; i < subjects; ++i) {
        const bool user = i % qMax(1, userEvery) == 0;
        subject.bindValue(QStringLiteral(":name"),
                          QStringLiteral("SOGGETTO %1").arg(i, 6, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":code"),
                          QStringLiteral("CF%1").arg(i, 14, 10, QLatin1Char('0')));
        subject.bindValue(QStringLiteral(":flag"),
                          user ? QStringLiteral("S") : QStringLiteral("N"));
        if (!subject.exec())
            return fail(subject);
        if (user)
            users.append(subject.lastInsertId().toLongLong());
    }
    QSqlQuery entry(db);
    entry.prepare(QStringLiteral("INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG) "
                                 "VALUES (:data, :scadenza, :oggetto, :ndoc, :utente, :data)"));
    QRandomGenerator random(4821);
    const QDate start(2015, 1, 1);
    for (int n = 0; n < entries; ++n) {
        const qint64 owner =
            n < heavyUserEntries ? users.first() : users.at(1 + n % qMax(1, int(users.size()) - 1));
        const QDate data = start.addDays(random.bounded(4000));
        entry.bindValue(QStringLiteral(":data"), data.toString(Qt::ISODate));
        entry.bindValue(QStringLiteral(":scadenza"),
                        data.addDays(random.bounded(400)).toString(Qt::ISODate));
        entry.bindValue(QStringLiteral(":oggetto"),
                        QStringLiteral("SCADENZA NUMERO %1 DA RICORDARE").arg(n));
        entry.bindValue(QStringLiteral(":ndoc"), QString::number(n));
        entry.bindValue(QStringLiteral(":utente"), owner);
        if (!entry.exec())
            return fail(entry);
    }
    if (!db.commit()) {
        *problem = db.lastError().text();
        return false;
    }
    return true;
}
