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
int PagesPerTick(int highest) {
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
    {"Link Found", QColor(0, 160, 0), Qt::SolidPattern, &ResultCounts::m_nFound},
    {"Link Not Found", QColor(220, 0, 0), Qt::SolidPattern, &ResultCounts::m_nNotFound},
    {"Page Cannot be Found", QColor(120, 0, 90), Qt::BDiagPattern, &ResultCounts::m_nCannotBeFound},
    {"Page cannot be displayed", QColor(230, 200, 0), Qt::SolidPattern,
     &ResultCounts::m_nCannotBeDisplayed},
};

// A legend entry: the bars' swatch and the result's name, which wraps
// rather than being cut when the window is narrow or the font large.
QWidget* LegendEntry(const ResultSet& set, QWidget* parent) {
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
    auto* name = new QLabel(QString::fromLatin1(set.name), entry);
    name->setObjectName(QStringLiteral("LegendName"));
    name->setWordWrap(true);
    row->addWidget(mark, 0, Qt::AlignTop);
    row->addWidget(name, 1);
    return entry;
}
// The window reads on the GUI thread: a history locked by another program is
// reported after a moment instead of freezing the window while a run holds it.
constexpr int kBusyWaitMs = 200;

QString When(std::int64_t time) {
    return time == 0 ? QString() : QString::fromStdString(LocalMinuteText(time));
}

}  // namespace

HistoryWindow::HistoryWindow(std::string databasePath, QWidget* parent)
    : QDialog(parent), m_strPath(std::move(databasePath)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History"));
    setModal(false);
    resize(900, 640);

    m_pMessage = new QLabel(this);
    m_pMessage->setObjectName(QStringLiteral("HistoryMessage"));
    m_pMessage->hide();

    m_pRuns = new QTreeWidget(this);
    m_pRuns->setObjectName(QStringLiteral("Runs"));
    m_pRuns->setAccessibleName(QStringLiteral("Runs"));
    m_pRuns->setRootIsDecorated(false);
    m_pRuns->setHeaderLabels(
        {QStringLiteral("Run"), QStringLiteral("Started"), QStringLiteral("Ended"),
         QStringLiteral("Source"), QStringLiteral("Outcome"), QStringLiteral("Link Found"),
         QStringLiteral("Link Not Found"), QStringLiteral("Page Cannot be Found"),
         QStringLiteral("Page cannot be displayed")});

    m_pProfiles = new QComboBox(this);
    m_pProfiles->setObjectName(QStringLiteral("Profile"));
    m_pProfiles->setAccessibleName(QStringLiteral("Profile"));
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("Results per run"));
    // The legend is the window's own (a chart's legend cuts its names to a
    // share of the chart's width); the chart's texts in the window's font,
    // which follows the desktop's size (a chart has a small fixed font).
    chart->legend()->hide();
    QFont title = font();
    title.setBold(true);
    chart->setTitleFont(title);
    m_pChart = new QChartView(chart, this);
    m_pChart->setObjectName(QStringLiteral("ProfileChart"));
    m_pChart->setAccessibleName(QStringLiteral("Results per run"));
    m_pChart->setRenderHint(QPainter::Antialiasing);
    m_pChart->setMinimumHeight(std::max(220, fontMetrics().lineSpacing() * 14));

    m_pPages = new QListWidget(this);
    m_pPages->setObjectName(QStringLiteral("Pages"));
    m_pPages->setAccessibleName(QStringLiteral("Pages"));
    m_pTimeline = new QTreeWidget(this);
    m_pTimeline->setObjectName(QStringLiteral("Timeline"));
    m_pTimeline->setAccessibleName(QStringLiteral("Timeline"));
    m_pTimeline->setRootIsDecorated(false);
    m_pTimeline->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Run"),
                                  QStringLiteral("What"), QStringLiteral("Detail")});

    auto* profileColumn = new QWidget(this);
    auto* profileLayout = new QVBoxLayout(profileColumn);
    profileLayout->setContentsMargins(0, 0, 0, 0);
    auto* profileRow = new QHBoxLayout();
    auto* profileLabel = new QLabel(QStringLiteral("&Profile:"), profileColumn);
    profileLabel->setBuddy(m_pProfiles);
    profileRow->addWidget(profileLabel);
    profileRow->addWidget(m_pProfiles, 1);
    profileLayout->addLayout(profileRow);
    profileLayout->addWidget(m_pChart, 1);
    auto* legend = new QGridLayout();
    for (int i = 0; i < 4; ++i) {
        legend->addWidget(LegendEntry(kSets[i], profileColumn), i / 2, i % 2);
    }
    profileLayout->addLayout(legend);

    auto* pageColumn = new QSplitter(Qt::Vertical, this);
    pageColumn->addWidget(m_pPages);
    pageColumn->addWidget(m_pTimeline);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(profileColumn);
    lower->addWidget(pageColumn);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);

    auto* all = new QSplitter(Qt::Vertical, this);
    all->addWidget(m_pRuns);
    all->addWidget(lower);
    all->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pMessage);
    layout->addWidget(all, 1);

    connect(m_pProfiles, &QComboBox::currentIndexChanged, this, &HistoryWindow::ShowProfile);
    connect(m_pPages, &QListWidget::currentRowChanged, this, &HistoryWindow::ShowPage);
}

HistoryWindow::~HistoryWindow() = default;

QString HistoryWindow::Message() const {
    return m_pMessage->isVisibleTo(this) ? m_pMessage->text() : QString();
}

void HistoryWindow::Fail(const QString& what) {
    m_db.reset();
    m_pMessage->setText(what);
    m_pMessage->show();
}

void HistoryWindow::Reload() {
    const QString picked = m_pProfiles->currentText();
    m_pMessage->hide();
    m_pRuns->clear();
    m_db.reset();
    if (!FileExists(m_strPath)) {
        Fail(QStringLiteral("No run recorded yet."));
    } else {
        try {
            m_db = std::make_unique<HistoryDatabase>(m_strPath, false, kBusyWaitMs);
            for (const RunInfo& run : m_db->Runs()) {
                auto* item = new QTreeWidgetItem(m_pRuns);
                item->setText(0, QString::number(run.m_nId));
                item->setText(1, When(run.m_nStarted));
                item->setText(2, When(run.m_nEnded));
                item->setText(3, QString::fromStdString(run.m_strSource));
                item->setText(4, run.m_strOutcome.empty()
                                     ? QStringLiteral("unfinished")
                                     : QString::fromStdString(run.m_strOutcome));
                item->setText(5, QString::number(run.m_counts.m_nFound));
                item->setText(6, QString::number(run.m_counts.m_nNotFound));
                item->setText(7, QString::number(run.m_counts.m_nCannotBeFound));
                item->setText(8, QString::number(run.m_counts.m_nCannotBeDisplayed));
            }
        } catch (const HistoryError& e) {
            Fail(PathToQ(e.what()));
        }
    }
    if (QTreeWidgetItem* last = m_pRuns->topLevelItem(m_pRuns->topLevelItemCount() - 1)) {
        m_pRuns->setCurrentItem(last);
        m_pRuns->scrollToItem(last);
    }
    for (int c = 0; c < m_pRuns->columnCount(); ++c) {
        m_pRuns->resizeColumnToContents(c);
    }

    std::vector<std::string> profiles;
    if (m_db) {
        try {
            profiles = m_db->Profiles();
        } catch (const HistoryError& e) {
            Fail(PathToQ(e.what()));
        }
    }
    {
        const QSignalBlocker quiet(m_pProfiles);
        m_pProfiles->clear();
        for (const std::string& profile : profiles) {
            m_pProfiles->addItem(ToQ(profile));
        }
        const int again = m_pProfiles->findText(picked);
        m_pProfiles->setCurrentIndex(again >= 0 ? again : (profiles.empty() ? -1 : 0));
    }
    ShowProfile(m_pProfiles->currentIndex());
}

void HistoryWindow::ShowProfile(int index) {
    QChart* chart = m_pChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    m_pPages->clear();
    m_pageKeys.clear();
    m_pTimeline->clear();
    if (!m_db || index < 0) {
        return;
    }
    const std::string profile = FromQ(m_pProfiles->itemText(index));
    std::vector<ProfileRunCounts> runs;
    try {
        runs = m_db->CountsOfProfile(profile);
        for (const auto& key : m_db->PagesOfProfile(profile)) {
            m_pageKeys.push_back(key);
            m_pPages->addItem(ToQ(key.second));
        }
    } catch (const HistoryError& e) {
        Fail(PathToQ(e.what()));
        return;
    }
    if (runs.size() > static_cast<size_t>(kChartRuns)) {
        runs.erase(runs.begin(), runs.end() - kChartRuns);
    }
    auto* series = new QStackedBarSeries();
    int highest = 0;
    for (const ResultSet& set : kSets) {
        auto* bars = new QBarSet(QString::fromLatin1(set.name));
        bars->setBrush(QBrush(set.colour, set.pattern));
        bars->setBorderColor(set.colour);
        for (const ProfileRunCounts& run : runs) {
            bars->append(run.m_counts.*set.count);
        }
        series->append(bars);
    }
    QStringList categories;
    for (const ProfileRunCounts& run : runs) {
        categories << QStringLiteral("#%1 %2").arg(run.m_nRunId).arg(When(run.m_nStarted));
        const ResultCounts& c = run.m_counts;
        highest = std::max(
            highest, c.m_nFound + c.m_nNotFound + c.m_nCannotBeFound + c.m_nCannotBeDisplayed);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis();
    x->append(categories);
    x->setLabelsAngle(-60);
    x->setLabelsFont(font());
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis();
    const int step = PagesPerTick(highest);
    const int top = std::max(1, (highest + step - 1) / step) * step;
    y->setRange(0, top);
    y->setTickCount(top / step + 1);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("pages"));
    y->setLabelsFont(font());
    y->setTitleFont(font());
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    if (m_pPages->count() > 0) {
        m_pPages->setCurrentRow(0);
    }
}

void HistoryWindow::ShowPage(int row) {
    m_pTimeline->clear();
    if (!m_db || row < 0 || static_cast<size_t>(row) >= m_pageKeys.size()) {
        return;
    }
    std::vector<TimelineEntry> entries;
    try {
        entries = m_db->Timeline(m_pageKeys[static_cast<size_t>(row)]);
    } catch (const HistoryError& e) {
        Fail(PathToQ(e.what()));
        return;
    }
    for (const TimelineEntry& e : entries) {
        auto* item = new QTreeWidgetItem(m_pTimeline);
        item->setText(0, When(e.m_nTime));
        item->setText(1, e.m_nRunId == 0 ? QString() : QString::number(e.m_nRunId));
        if (e.m_bLetter) {
            item->setText(2, QStringLiteral("Letter: %1").arg(ToQ(e.m_strText)));
            item->setText(3, ToQ(e.m_strDetail));
        } else {
            item->setText(2, ToQ(e.m_strText));
            item->setText(3, ToQ(e.m_strDetail));
        }
    }
    for (int c = 0; c < m_pTimeline->columnCount(); ++c) {
        m_pTimeline->resizeColumnToContents(c);
    }
}

}  // namespace tarnwick
