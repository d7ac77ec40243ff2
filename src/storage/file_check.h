// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// The engine's check of every page of the data file, which grows with the file: it runs on
// a connection of its own beside the open program, so that the first window never waits
// for it. Until it has found the file sound, no write reaches the file: a write started
// meanwhile waits for the verdict, and a damaged file refuses every write.
class FileCheck : public QObject
{
    Q_OBJECT

public:
    static FileCheck &instance();
    ~FileCheck() override;

    // The file just opened is to be checked before its first write.
    void expect(const QString &path);
    // Starts the check now, in the background; the verdict comes as damageFound, if any.
    void startInBackground();
    // Waits for the verdict: the operator's message for a damaged file (naming the latest
    // sound backup), or empty when the file is sound or nothing is to be checked.
    QString waitForVerdict();
    // Forgets the file (closed): a running check is waited for.
    void forget();

signals:
    // Queued to the thread that started the check, with the operator's message.
    void damageFound(const QString &message);

private:
    enum class State { None, Expected, Running, Sound, Damaged };
    FileCheck() = default;
    void run(const QString &path);
    QString damageMessage();

    std::mutex m_mutex;
    std::condition_variable m_done;
    std::thread m_worker;
    State m_state = State::None;
    QString m_path;
    QString m_findings;
    QString m_message;
};

// The engine's quick check on an open SQLite connection: "" when the file is sound, or
// up to three of its findings.
QString quickCheckFindings(const QString &connectionName);
