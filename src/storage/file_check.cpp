// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_check.h"

#include "storage/backup_files.h"
#include "storage/side_connection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

QString quickCheckFindings(const QString &connectionName)
{
    QSqlQuery query(QSqlDatabase::database(connectionName, false));
    QStringList findings;
    if (query.exec(QStringLiteral("PRAGMA quick_check"))) {
        while (query.next() && findings.size() < 3)
            findings << query.value(0).toString();
    } else {
        findings << query.lastError().text();
    }
    if (findings == QStringList{QStringLiteral("ok")})
        return {};
    return findings.join(QStringLiteral("; "));
}

FileCheck &FileCheck::instance()
{
    static FileCheck check;
    return check;
}

FileCheck::~FileCheck()
{
    if (m_worker.joinable())
        m_worker.join();
}

void FileCheck::expect(const QString &path)
{
    forget();
    const std::lock_guard lock(m_mutex);
    m_path = path;
    m_state = State::Expected;
}

void FileCheck::startInBackground()
{
    const std::lock_guard lock(m_mutex);
    if (m_state != State::Expected)
        return;
    m_state = State::Running;
    m_worker = std::thread([this, path = m_path] { run(path); });
}

void FileCheck::run(const QString &path)
{
    QString findings;
    {
        // With the ITALIAN collation, which orders the registry's index: without it the
        // check would find a sound file unreadable.
        const SideConnection side(ArchivePlace{path, QString()}, nullptr);
        if (side.isOpen())
            findings = quickCheckFindings(side.database().connectionName());
        else if (findings = side.database().lastError().text(); findings.isEmpty())
            findings = QStringLiteral("l'ordine alfabetico italiano non è disponibile");
    }
    {
        const std::lock_guard lock(m_mutex);
        m_findings = findings;
        m_state = findings.isEmpty() ? State::Sound : State::Damaged;
    }
    m_done.notify_all();
    if (!findings.isEmpty())
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QString message = damageMessage();
                if (!message.isEmpty())
                    emit damageFound(message);
            },
            Qt::QueuedConnection);
}

// Made where the verdict is read: naming the latest backup opens the backups on
// connections of the program's thread.
QString FileCheck::damageMessage()
{
    const std::lock_guard lock(m_mutex);
    if (m_state != State::Damaged)
        return {};
    if (m_message.isEmpty())
        m_message = damagedDataFileMessage(m_path, m_findings);
    return m_message;
}

QString FileCheck::waitForVerdict()
{
    startInBackground();
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_state != State::Running; });
    }
    return damageMessage();
}

void FileCheck::forget()
{
    if (m_worker.joinable())
        m_worker.join();
    const std::lock_guard lock(m_mutex);
    m_state = State::None;
    m_path.clear();
    m_findings.clear();
    m_message.clear();
}
