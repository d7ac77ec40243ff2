// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/outcome.h"
#include "reports/report_document.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryFile>

#include <vector>

// Laid-out pages kept in a temporary file until they can be printed: a long report
// is laid out once, its page count learnt at the end, and then read back a page at a
// time, so that memory holds one page whatever the length. Names and fonts, the same
// on every page, are written once. The file is this run's own: it is written and read
// by the same program on the same machine, in its memory layout.
class ReportPageSpool
{
public:
    // A step that fails names the temporary file and what went wrong with it.
    Check open();
    Check write(const ReportPage &page);
    // Ends writing and goes back to the first page.
    Check rewind();
    // The next page, after rewind().
    Outcome<ReportPage> read();

private:
    QString errorString() const;
    bool readPage(ReportPage &page);
    template <typename T> void put(const T &value);
    void putText(const QString &text);
    void putName(const QString &name);
    void putFont(const ReportFont &font);
    template <typename T> bool get(T &value);
    bool getText(QString &text);
    bool getName(QString &name);
    bool getFont(ReportFont &font);

    QTemporaryFile m_file;
    QByteArray m_buffer;          // one page, reused
    const char *m_data = nullptr; // the page being read
    qsizetype m_size = 0;
    qsizetype m_at = 0; // where reading has got to
    QHash<QString, qint32> m_nameIds;
    std::vector<ReportFont> m_fontsWritten;
    QStringList m_names;
    std::vector<ReportFont> m_fontsRead;
};
