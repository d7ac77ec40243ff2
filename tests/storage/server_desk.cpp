// SPDX-License-Identifier: GPL-3.0-or-later
// One more desk for the concurrency tests: opens the archive on the server given as the
// first argument and inserts a subject with the fiscal code given as the second, as the
// registry window does. Prints what came of it: "inserito", "doppio" or "errore: …".
#include "storage/db_connection.h"
#include "storage/statements.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    if (const Check opened = DbConnection::instance().openServer(arguments.at(1)); !opened.ok()) {
        std::printf("errore: %s\n", qPrintable(opened.problem));
        return 1;
    }
    Subject subject;
    subject.soggetto = QStringLiteral("SPORTELLO %1").arg(QCoreApplication::applicationPid());
    subject.codice = arguments.at(2);
    subject.utente = QStringLiteral("N");
    const SubjectWriteResult written = insertSubjectWithFreeCode(subject);
    if (!written.ok())
        std::printf("errore: %s\n", qPrintable(written.error.text()));
    else
        std::printf("%s\n", written.duplicateCode ? "doppio" : "inserito");
    std::fflush(stdout);
    DbConnection::instance().close();
    return written.ok() ? 0 : 1;
}
