// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_data.h"

#include "storage/db_connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

namespace {

// Bulk data goes in through one transaction; the program's own statements commit
// each row, which would make a hundred thousand rows take minutes. A failed fill is
// rolled back.
bool fillInOneTransaction(QString *problem, const std::function<bool(QSqlDatabase &)> &fill)
{
    QSqlDatabase db = DbConnection::instance().database();
    if (!db.transaction()) {
        *problem = db.lastError().text();
        return false;
    }
    if (!fill(db)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        *problem = db.lastError().text();
        return false;
    }
    return true;
}

// Runs a prepared insert with these values bound to its placeholders. The new row's ID
// comes back, or 0 with the problem.
qint64 insertRow(QSqlQuery &insert, const QVariantMap &values, QString *problem)
{
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        insert.bindValue(value.key(), value.value());
    if (!insert.exec()) {
        *problem = insert.lastError().text();
        return 0;
    }
    return insert.lastInsertId().toLongLong();
}

// Prepares the insert of a subject with these columns, each bound to its placeholder.
QSqlQuery subjectInsert(QSqlDatabase &db, const QString &columns, const QString &values)
{
    QSqlQuery subject(db);
    subject.prepare(QStringLiteral("INSERT INTO Utente (%1) VALUES (%2)").arg(columns, values));
    return subject;
}

// The diary entries of the generated data: numbered, dated, due or not, closed or not; AGG
// is the entry's date.
class EntryInsert
{
public:
    explicit EntryInsert(QSqlDatabase &db) : m_entry(db)
    {
        m_entry.prepare(QStringLiteral(
            "INSERT INTO Tavelo (data, scadenza, Oggetto, ndoc, Utente, AGG, Chiusa) "
            "VALUES (:data, :scadenza, :oggetto, :ndoc, :utente, :data, :chiusa)"));
    }

    // Entry number n of this user; without a due date when `due` is no date, closed on
    // `closed` when it is a date.
    bool add(qint64 user, int n, const QDate &data, const QDate &due, QString *problem,
             const QDate &closed = QDate())
    {
        const auto stored = [](const QDate &date) {
            return date.isValid() ? QVariant(date.toString(Qt::ISODate))
                                  : QVariant(QMetaType(QMetaType::QString));
        };
        return insertRow(m_entry,
                         {{QStringLiteral(":data"), data.toString(Qt::ISODate)},
                          {QStringLiteral(":scadenza"), stored(due)},
                          {QStringLiteral(":chiusa"), stored(closed)},
                          {QStringLiteral(":oggetto"),
                           QStringLiteral("SCADENZA NUMERO %1 DA RICORDARE").arg(n)},
                          {QStringLiteral(":ndoc"), QString::number(n)},
                          {QStringLiteral(":utente"), user}},
                         problem) != 0;
    }

private:
    QSqlQuery m_entry;
};

// The entries' dates are drawn from one seeded sequence, so that every run writes the
// same data.
const QDate firstEntryDate(2015, 1, 1);
constexpr quint32 entrySeed = 4821;

} // namespace

bool generateDiaryData(int users, int heavyUserEntries, int otherEntries, QString *problem)
{
    return fillInOneTransaction(problem, [&](QSqlDatabase &db) {
        QSqlQuery subject = subjectInsert(db, QStringLiteral("Soggetto, Codice, utente, Pwd"),
                                          QStringLiteral(":name, :code, 'S', 'pw'"));
        QList<qint64> ids;
        for (int i = 0; i < users; ++i) {
            const qint64 id =
                insertRow(subject,
                          {{QStringLiteral(":name"),
                            QStringLiteral("UTENTE %1").arg(i, 5, 10, QLatin1Char('0'))},
                           {QStringLiteral(":code"), QStringLiteral("CODICE%1").arg(i)}},
                          problem);
            if (id == 0)
                return false;
            ids.append(id);
        }
        EntryInsert entry(db);
        QRandomGenerator random(entrySeed);
        // Every fifth entry has no due date.
        auto add = [&](qint64 user, int n) {
            const QDate data = firstEntryDate.addDays(random.bounded(4000));
            const QDate due = n % 5 == 0 ? QDate() : data.addDays(random.bounded(400));
            return entry.add(user, n, data, due, problem);
        };
        for (int n = 0; n < heavyUserEntries; ++n)
            if (!add(ids.first(), n))
                return false;
        for (int n = 0; n < otherEntries; ++n)
            if (!add(ids.at(1 + n % qMax(1, int(ids.size()) - 1)), n))
                return false;
        return true;
    });
}

bool generateRegistryData(int subjects, int users, QString *problem)
{
    return fillInOneTransaction(problem, [&](QSqlDatabase &db) {
        QList<int> order(subjects);
        std::iota(order.begin(), order.end(), 0);
        QRandomGenerator random(1307);
        std::shuffle(order.begin(), order.end(), random);
        const int userEvery = users > 0 ? qMax(1, subjects / users) : subjects + 1;
        QSqlQuery subject = subjectInsert(
            db,
            QStringLiteral("Soggetto, indirizzo, Comune, pr, cap, Codice, Partita, utente, "
                           "email, telefono, Pwd, Annotazione"),
            QStringLiteral(":name, :address, 'MILANO', 'MI', '20121', :code, :vat, :user, "
                           ":mail, :phone, :pwd, 'CLIENTE DELLO STUDIO'"));
        int marked = 0;
        for (int i = 0; i < subjects; ++i) {
            const int n = order.at(i);
            const bool user = i % userEvery == 0 && marked < users;
            marked += user ? 1 : 0;
            const QVariantMap values = {
                {QStringLiteral(":name"),
                 QStringLiteral("COGNOME%1 NOME").arg(n, 6, 10, QLatin1Char('0'))},
                {QStringLiteral(":address"), QStringLiteral("VIA ROMA %1").arg(n % 300)},
                {QStringLiteral(":code"), QStringLiteral("CDF%1").arg(n, 13, 10, QLatin1Char('0'))},
                {QStringLiteral(":vat"), QStringLiteral("%1").arg(n, 11, 10, QLatin1Char('0'))},
                {QStringLiteral(":user"), user ? QStringLiteral("S") : QStringLiteral("N")},
                {QStringLiteral(":mail"), QStringLiteral("soggetto%1@esempio.it").arg(n)},
                {QStringLiteral(":phone"), QStringLiteral("02 %1").arg(n)},
                {QStringLiteral(":pwd"), user ? QStringLiteral("pw") : QString()}};
            if (insertRow(subject, values, problem) == 0)
                return false;
        }
        return true;
    });
}

bool generateOfficeData(int subjects, int userEvery, int entries, int heavyUserEntries,
                        QString *problem, int undatedEvery, const QDate &closedBefore)
{
    return fillInOneTransaction(problem, [&](QSqlDatabase &db) {
        QSqlQuery subject =
            subjectInsert(db, QStringLiteral("Soggetto, Comune, Codice, utente, Pwd"),
                          QStringLiteral(":name, 'PADOVA', :code, :flag, 'pw'"));
        QList<qint64> users;
        for (int i = 0; i < subjects; ++i) {
            const bool user = i % qMax(1, userEvery) == 0;
            const qint64 id = insertRow(
                subject,
                {{QStringLiteral(":name"),
                  QStringLiteral("SOGGETTO %1").arg(i, 6, 10, QLatin1Char('0'))},
                 {QStringLiteral(":code"), QStringLiteral("CF%1").arg(i, 14, 10, QLatin1Char('0'))},
                 {QStringLiteral(":flag"), user ? QStringLiteral("S") : QStringLiteral("N")}},
                problem);
            if (id == 0)
                return false;
            if (user)
                users.append(id);
        }
        EntryInsert entry(db);
        QRandomGenerator random(entrySeed);
        for (int n = 0; n < entries; ++n) {
            const qint64 owner = n < heavyUserEntries
                                     ? users.first()
                                     : users.at(1 + n % qMax(1, int(users.size()) - 1));
            const QDate data = firstEntryDate.addDays(random.bounded(4000));
            const QDate due = undatedEvery > 0 && n % undatedEvery == 0
                                  ? QDate()
                                  : data.addDays(random.bounded(400));
            const bool closed = due.isValid() && due < closedBefore;
            if (!entry.add(owner, n, data, due, problem, closed ? due : QDate()))
                return false;
        }
        return true;
    });
}

QString cachedOfficeArchive(int entries, QString *problem)
{
    const QDir folder(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bench-data")));
    const QString path = folder.filePath(QStringLiteral("office-%1.sqlite").arg(entries));
    if (QFileInfo::exists(path))
        return path;
    if (!QDir().mkpath(folder.path())) {
        *problem = QStringLiteral("cannot make %1").arg(folder.path());
        return {};
    }
    // Made under another name, so that an interrupted run leaves no half archive.
    const QString part = path + QStringLiteral(".part");
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(part + QLatin1String(suffix));
    std::fprintf(stderr, "making %s…\n", qPrintable(path));
    const Check opened = DbConnection::instance().open(part);
    *problem = opened.problem;
    const bool made =
        opened.ok() && generateOfficeData(qMax(1, entries / 10), 10, entries, 0, problem, 5);
    DbConnection::instance().close();
    if (!made || !QFile::rename(part, path))
        return {};
    return path;
}
