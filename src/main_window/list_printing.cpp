// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a list as a paginated table: title and page number on every page, the
// column headers, one line per item with every cell cut to its column, a footer with
// the program's version and the date.
#include "main_window/overview_panel.h"

#include "core/version.h"
#include "widgets/print_surface.h"
#include "widgets/prompt.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDate>
#include <QHeaderView>
#include <QTreeView>

#include <climits>
#include <cmath>

namespace {

constexpr int linesPerPage = 80;

// Whole units, halves to the even neighbour.
double wholeUnits(double x)
{
    return std::nearbyint(x);
}

struct ListColumn
{
    QString header;
    double width = 0; // 0: hidden
};

class ListPrintRun
{
public:
    ListPrintRun(PrintSurface &surface, const QString &title, const QString &subtitle,
                 const QList<ListColumn> &columns, double totalWidth, int pageCount)
        : m_surface(surface), m_title(title), m_subtitle(subtitle), m_columns(columns),
          m_totalWidth(totalWidth), m_pageCount(pageCount)
    {}

    void printItems(const QAbstractItemModel &model)
    {
        startPage();
        int rowsOnPage = 0;
        for (int row = 0; row < model.rowCount(); ++row) {
            const double line = wholeUnits(m_surface.currentY());
            for (int j = 0; j < m_columns.size(); ++j) {
                if (m_columns.at(j).width <= 0)
                    continue;
                m_surface.setBold(false);
                const double letter = m_surface.textWidth(QStringLiteral("A"));
                const int limit = letter > 0 ? int(std::floor(share(j) / letter)) : INT_MAX;
                m_surface.setCurrentX(m_cellStarts.at(j));
                m_surface.setCurrentY(line);
                m_surface.setBold(false);
                m_surface.print(model.index(row, j).data(Qt::DisplayRole).toString().left(limit));
            }
            if (++rowsOnPage == linesPerPage) {
                rowsOnPage = 0;
                printPageFoot();
                m_surface.newPage();
                ++m_page;
                startPage();
            }
        }
        printPageFoot();
    }

private:
    double share(int j) const { return m_columns.at(j).width * 100.0 / m_totalWidth; }

    void startPage()
    {
        printPageHead();
        printColumnHeads();
        m_surface.drawLine(0, 13, 100, 13, Qt::black);
        m_surface.setCurrentY(14);
    }

    void printPageHead()
    {
        m_surface.setBold(true);
        m_surface.setCurrentX(50 - m_surface.textWidth(m_title) / 2);
        m_surface.setCurrentY(3);
        m_surface.print(m_title);
        m_surface.setBold(false);
        m_surface.setCurrentX(90);
        m_surface.setCurrentY(3);
        m_surface.print(QStringLiteral("Page %1/%2").arg(m_page).arg(m_pageCount));
        m_surface.setCurrentX(50 - m_surface.textWidth(m_subtitle) / 2);
        m_surface.setCurrentY(5);
        m_surface.print(m_subtitle);
        m_surface.setCurrentX(0);
    }

    // Each header starts where the shares of the columns before it end; a hidden
    // column takes its share of room all the same. The cells start at the same
    // places, taken to whole units.
    void printColumnHeads()
    {
        m_cellStarts.clear();
        for (int j = 0; j < m_columns.size(); ++j) {
            const double x = m_surface.currentX();
            const double start = wholeUnits(x);
            m_cellStarts.append(start);
            m_surface.setCurrentY(10);
            if (m_columns.at(j).width > 0) {
                m_surface.setBold(true);
                m_surface.setCurrentX(x);
                m_surface.print(m_columns.at(j).header);
            }
            m_surface.setCurrentX(start + share(j));
        }
    }

    void printPageFoot()
    {
        m_surface.drawLine(0, 90, 100, 90, Qt::black);
        m_surface.setCurrentX(5);
        m_surface.setCurrentY(93);
        m_surface.setBold(true);
        m_surface.print(versionCaption());
        m_surface.setCurrentX(85);
        m_surface.setCurrentY(93);
        m_surface.setBold(false);
        m_surface.print(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    }

    PrintSurface &m_surface;
    QString m_title;
    QString m_subtitle;
    QList<ListColumn> m_columns;
    double m_totalWidth;
    int m_pageCount;
    int m_page = 1;
    QList<double> m_cellStarts;
};

QList<ListColumn> columnsOf(const QTreeView &list)
{
    QList<ListColumn> columns;
    const QAbstractItemModel *model = list.model();
    const QHeaderView *header = list.header();
    for (int j = 0; j < model->columnCount(); ++j)
        columns.append({model->headerData(j, Qt::Horizontal).toString(),
                        header->isSectionHidden(j) ? 0.0 : double(header->sectionSize(j))});
    return columns;
}

} // namespace

void OverviewPanel::ImprimerListView(QTreeView *lvwSource, QString &sTitre,
                                     const QString &sSousTitre, const QString &sNomPolice,
                                     qint16 iTaillePolice)
{
    sTitre = sTitre.trimmed().toUpper();
    auto fail = [this](const QString &description, PrintSurface *surface) {
        if (surface)
            surface->abort();
        showPrompt(window(), description, QString(), PromptButtons::Ok, PromptIcon::Critical);
    };
    if (!lvwSource || !lvwSource->model()) {
        fail(QStringLiteral("L'elenco da stampare non ha dati."), nullptr);
        return;
    }
    const QList<ListColumn> columns = columnsOf(*lvwSource);
    double totalWidth = 0;
    for (const ListColumn &column : columns)
        totalWidth = std::nearbyint(totalWidth + column.width);
    const int pageCount = lvwSource->model()->rowCount() / linesPerPage + 1;

    std::unique_ptr<PrintSurface> surface = PrintSurface::createDefault();
    if (!surface || !surface->begin()) {
        fail(surface ? surface->errorString() : QString(), surface.get());
        return;
    }
    surface->setFont(sNomPolice, iTaillePolice);
    surface->setScale(100, 100);
    if (totalWidth <= 0) {
        fail(QStringLiteral("Divisione per zero: le colonne dell'elenco non hanno larghezza."),
             surface.get());
        return;
    }
    ListPrintRun run(*surface, sTitre, sSousTitre, columns, totalWidth, pageCount);
    run.printItems(*lvwSource->model());
    if (!surface->end()) {
        fail(surface->errorString(), surface.get());
        return;
    }
    Check7->setChecked(false);
}
