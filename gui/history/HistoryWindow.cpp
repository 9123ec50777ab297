#include "gui/history/HistoryWindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "gui/controls/TextCodec.h"
#include "history/ChangeLetter.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryError.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

// The newest runs a chart shows; older ones stay in the list.
constexpr int kChartRuns = 60;

// The pages between two ticks of the chart's axis: 1, 2, 5, 10, 20, 50...,
// the least that keeps to ten ticks. Each tick is then a whole number of
// pages, as its label says.
int pagesPerTick(int highest) {
    for (int base = 1;; base *= 10) {
        for (const int factor : {1, 2, 5}) {
            if (highest <= base * factor * 10) {
                return base * factor;
            }
        }
    }
}

// The results of the chart, bottom up. The two in red are told apart by more
// than their shade: a missing page is hatched, and of a purple red.
struct ResultSet {
    const char* name;
    QColor colour;
    Qt::BrushStyle pattern;
    int ResultCounts::*count;
};
const ResultSet kSets[] = {
    {QT_TRANSLATE_NOOP("HistoryWindow", "Link Found"), QColor(0, 160, 0), Qt::SolidPattern,
     &ResultCounts::m_found},
    {QT_TRANSLATE_NOOP("HistoryWindow", "Link Not Found"), QColor(220, 0, 0), Qt::SolidPattern,
     &ResultCounts::m_notFound},
    {QT_TRANSLATE_NOOP("HistoryWindow", "Page Cannot be Found"), QColor(120, 0, 90),
     Qt::BDiagPattern, &ResultCounts::m_cannotBeFound},
    {QT_TRANSLATE_NOOP("HistoryWindow", "Page cannot be displayed"), QColor(230, 200, 0),
     Qt::SolidPattern, &ResultCounts::m_cannotBeDisplayed},
};

// A legend entry: the bars' swatch and the result's name, which wraps
// rather than being cut when the window is narrow or the font large.
QWidget* legendEntry(const ResultSet& set, QWidget* parent) {
    auto* entry = new QWidget(parent);
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    const int side = entry->fontMetrics().height();
    QPixmap swatch(side, side);
    swatch.fill(Qt::white);
    {
        QPainter painter(&swatch);
        painter.fillRect(swatch.rect(), QBrush(set.colour, set.pattern));
        painter.setPen(set.colour);
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    auto* mark = new QLabel(entry);
    mark->setPixmap(swatch);
    auto* name = new QLabel(HistoryWindow::tr(set.name), entry);
    name->setObjectName(QStringLiteral("LegendName"));
    name->setWordWrap(true);
    row->addWidget(mark, 0, Qt::AlignTop);
    row->addWidget(name, 1);
    return entry;
}
// The window reads on the GUI thread: a history locked by another program is
// reported after a moment instead of freezing the window while a run holds it.
constexpr int kBusyWaitMs = 200;

QString when(std::int64_t time) {
    return time == 0 ? QString() : QString::fromStdString(localMinuteText(time));
}

}  // namespace

HistoryWindow::HistoryWindow(std::string databasePath, QWidget* parent)
    : QDialog(parent), m_path(std::move(databasePath)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("History"));
    setModal(false);
    resize(900, 640);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("HistoryMessage"));
    m_message->hide();

    m_runs = new QTreeWidget(this);
    m_runs->setObjectName(QStringLiteral("Runs"));
    m_runs->setAccessibleName(tr("Runs"));
    m_runs->setRootIsDecorated(false);
    m_runs->setHeaderLabels({tr("Run"), tr("Started"), tr("Ended"), tr("Source"), tr("Outcome"),
                             tr("Link Found"), tr("Link Not Found"), tr("Page Cannot be Found"),
                             tr("Page cannot be displayed")});

    m_profiles = new QComboBox(this);
    m_profiles->setObjectName(QStringLiteral("Profile"));
    m_profiles->setAccessibleName(tr("Profile"));
    auto* chart = new QChart();
    chart->setTitle(tr("Results per run"));
    // The legend is the window's own (a chart's legend cuts its names to a
    // share of the chart's width); the chart's texts in the window's font,
    // which follows the desktop's size (a chart has a small fixed font).
    chart->legend()->hide();
    QFont title = font();
    title.setBold(true);
    chart->setTitleFont(title);
    m_chart = new QChartView(chart, this);
    m_chart->setObjectName(QStringLiteral("ProfileChart"));
    m_chart->setAccessibleName(tr("Results per run"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(std::max(220, fontMetrics().lineSpacing() * 14));

    m_pages = new QListWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->setAccessibleName(tr("Pages"));
    m_timeline = new QTreeWidget(this);
    m_timeline->setObjectName(QStringLiteral("Timeline"));
    m_timeline->setAccessibleName(tr("Timeline"));
    m_timeline->setRootIsDecorated(false);
    m_timeline->setHeaderLabels({tr("When"), tr("Run"), tr("What"), tr("Detail")});

    auto* profileColumn = new QWidget(this);
    auto* profileLayout = new QVBoxLayout(profileColumn);
    profileLayout->setContentsMargins(0, 0, 0, 0);
    auto* profileRow = new QHBoxLayout();
    auto* profileLabel = new QLabel(tr("&Profile:"), profileColumn);
    profileLabel->setBuddy(m_profiles);
    profileRow->addWidget(profileLabel);
    profileRow->addWidget(m_profiles, 1);
    profileLayout->addLayout(profileRow);
    profileLayout->addWidget(m_chart, 1);
    auto* legend = new QGridLayout();
    for (int i = 0; i < 4; ++i) {
        legend->addWidget(legendEntry(kSets[i], profileColumn), i / 2, i % 2);
    }
    profileLayout->addLayout(legend);

    auto* pageColumn = new QSplitter(Qt::Vertical, this);
    pageColumn->addWidget(m_pages);
    pageColumn->addWidget(m_timeline);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(profileColumn);
    lower->addWidget(pageColumn);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);

    auto* all = new QSplitter(Qt::Vertical, this);
    all->addWidget(m_runs);
    all->addWidget(lower);
    all->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(all, 1);

    connect(m_profiles, &QComboBox::currentIndexChanged, this, &HistoryWindow::showProfile);
    connect(m_pages, &QListWidget::currentRowChanged, this, &HistoryWindow::showPage);
}

HistoryWindow::~HistoryWindow() = default;

QString HistoryWindow::message() const {
    return m_message->isVisibleTo(this) ? m_message->text() : QString();
}

void HistoryWindow::fail(const QString& what) {
    m_db.reset();
    m_message->setText(what);
    m_message->show();
}

void HistoryWindow::reload() {
    const QString picked = m_profiles->currentText();
    m_message->hide();
    m_runs->clear();
    m_db.reset();
    if (!fileExists(m_path)) {
        fail(tr("No run recorded yet."));
    } else {
        try {
            m_db = std::make_unique<HistoryDatabase>(m_path, false, kBusyWaitMs);
            for (const RunInfo& run : m_db->runs()) {
                auto* item = new QTreeWidgetItem(m_runs);
                item->setText(0, QString::number(run.m_id));
                item->setText(1, when(run.m_started));
                item->setText(2, when(run.m_ended));
                item->setText(3, QString::fromStdString(run.m_source));
                item->setText(4, run.m_outcome.empty() ? tr("unfinished")
                                                       : QString::fromStdString(run.m_outcome));
                item->setText(5, QString::number(run.m_counts.m_found));
                item->setText(6, QString::number(run.m_counts.m_notFound));
                item->setText(7, QString::number(run.m_counts.m_cannotBeFound));
                item->setText(8, QString::number(run.m_counts.m_cannotBeDisplayed));
            }
        } catch (const HistoryError& e) {
            fail(pathToQ(e.what()));
        }
    }
    if (QTreeWidgetItem* last = m_runs->topLevelItem(m_runs->topLevelItemCount() - 1)) {
        m_runs->setCurrentItem(last);
        m_runs->scrollToItem(last);
    }
    for (int c = 0; c < m_runs->columnCount(); ++c) {
        m_runs->resizeColumnToContents(c);
    }

    std::vector<std::string> profiles;
    if (m_db) {
        try {
            profiles = m_db->profiles();
        } catch (const HistoryError& e) {
            fail(pathToQ(e.what()));
        }
    }
    {
        const QSignalBlocker quiet(m_profiles);
        m_profiles->clear();
        for (const std::string& profile : profiles) {
            m_profiles->addItem(toQ(profile));
        }
        const int again = m_profiles->findText(picked);
        m_profiles->setCurrentIndex(again >= 0 ? again : (profiles.empty() ? -1 : 0));
    }
    showProfile(m_profiles->currentIndex());
}

void HistoryWindow::showProfile(int index) {
    QChart* chart = m_chart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    m_pages->clear();
    m_pageKeys.clear();
    m_timeline->clear();
    if (!m_db || index < 0) {
        return;
    }
    const std::string profile = fromQ(m_profiles->itemText(index));
    std::vector<ProfileRunCounts> runs;
    try {
        runs = m_db->countsOfProfile(profile);
        for (const auto& key : m_db->pagesOfProfile(profile)) {
            m_pageKeys.push_back(key);
            m_pages->addItem(toQ(key.second));
        }
    } catch (const HistoryError& e) {
        fail(pathToQ(e.what()));
        return;
    }
    if (runs.size() > static_cast<size_t>(kChartRuns)) {
        runs.erase(runs.begin(), runs.end() - kChartRuns);
    }
    auto* series = new QStackedBarSeries();
    int highest = 0;
    for (const ResultSet& set : kSets) {
        auto* bars = new QBarSet(tr(set.name));
        bars->setBrush(QBrush(set.colour, set.pattern));
        bars->setBorderColor(set.colour);
        for (const ProfileRunCounts& run : runs) {
            bars->append(run.m_counts.*set.count);
        }
        series->append(bars);
    }
    QStringList categories;
    for (const ProfileRunCounts& run : runs) {
        categories << QStringLiteral("#%1 %2").arg(run.m_runId).arg(when(run.m_started));
        const ResultCounts& c = run.m_counts;
        highest =
            std::max(highest, c.m_found + c.m_notFound + c.m_cannotBeFound + c.m_cannotBeDisplayed);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis();
    x->append(categories);
    x->setLabelsAngle(-60);
    x->setLabelsFont(font());
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis();
    const int step = pagesPerTick(highest);
    const int top = std::max(1, (highest + step - 1) / step) * step;
    y->setRange(0, top);
    y->setTickCount(top / step + 1);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(tr("pages"));
    y->setLabelsFont(font());
    y->setTitleFont(font());
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    if (m_pages->count() > 0) {
        m_pages->setCurrentRow(0);
    }
}

void HistoryWindow::showPage(int row) {
    m_timeline->clear();
    if (!m_db || row < 0 || static_cast<size_t>(row) >= m_pageKeys.size()) {
        return;
    }
    std::vector<TimelineEntry> entries;
    try {
        entries = m_db->timeline(m_pageKeys[static_cast<size_t>(row)]);
    } catch (const HistoryError& e) {
        fail(pathToQ(e.what()));
        return;
    }
    for (const TimelineEntry& e : entries) {
        auto* item = new QTreeWidgetItem(m_timeline);
        item->setText(0, when(e.m_time));
        item->setText(1, e.m_runId == 0 ? QString() : QString::number(e.m_runId));
        if (e.m_letter) {
            item->setText(2, tr("Letter: %1").arg(toQ(e.m_text)));
            item->setText(3, toQ(e.m_detail));
        } else {
            item->setText(2, toQ(e.m_text));
            item->setText(3, toQ(e.m_detail));
        }
    }
    for (int c = 0; c < m_timeline->columnCount(); ++c) {
        m_timeline->resizeColumnToContents(c);
    }
}

}  // namespace tarnwick
