#include "gui/app/ResultsPane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "gui/app/PageDetailsDialog.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultFilterProxy.h"
#include "gui/app/ResultListModel.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "history/HistoryError.h"
#include "scan/BuildResultRows.h"
#include "store/DataFolder.h"
#include "viewrules/ResultsView.h"

namespace tarnwick {

// The form: 257 x 159 dialog units.
ResultsPane::ResultsPane(QWidget* parent) : FormView(QSize(385, 258), parent) {
    setObjectName(QStringLiteral("ResultsPane"));
    m_list = new PaneTableView(form());
    m_list->setObjectName(kResultList);
    m_list->setAccessibleName(tr("Results"));
    m_list->setGeometry(0, 0, 385, 257);
    m_model = new ResultListModel(this);
    m_proxy = new ResultFilterProxy(m_model, this);

    // The filter sits above the form, outside the part that scrolls.
    m_filterBar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_filterBar);
    bar->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(tr("Sho&w:"), m_filterBar);
    m_filter = new QComboBox(m_filterBar);
    m_filter->setObjectName(QStringLiteral("ResultFilter"));
    m_filter->setAccessibleName(tr("Show"));
    m_filter->addItems(
        {tr("All"), tr("Problems only"), tr("Not mailed"), tr("Link quality problems")});
    label->setBuddy(m_filter);
    bar->addWidget(label);
    bar->addWidget(m_filter);
    // Ctrl+F comes here: any text of a row (a page, an address, a reason).
    auto* searchLabel = new QLabel(tr("Fin&d:"), m_filterBar);
    m_search = new QLineEdit(m_filterBar);
    m_search->setObjectName(QStringLiteral("ResultSearch"));
    m_search->setAccessibleName(tr("Find"));
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(tr("page, address or reason"));
    searchLabel->setBuddy(m_search);
    bar->addSpacing(12);
    bar->addWidget(searchLabel);
    bar->addWidget(m_search, 1);
    connect(m_filter, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_proxy->setFilter(static_cast<ResultFilter>(index)); });
    connect(m_search, &QLineEdit::textChanged, m_proxy, &ResultFilterProxy::setSearchText);
    setViewportMargins(0, m_filterBar->sizeHint().height(), 0, 0);

    connect(m_list, &PaneTableView::rowActivated, this,
            [this](int shownRow) { openPage(m_proxy->sourceRow(shownRow)); });
    connect(m_list, &PaneTableView::rowMenuRequested, this, &ResultsPane::showRowMenu);

    // Enter on a row shows what its check saw.
    auto* details = new QAction(tr("Page &Details..."), m_list);
    details->setObjectName(QStringLiteral("PageDetailsAction"));
    details->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    details->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(details);
    connect(details, &QAction::triggered, this, [this] { showPageDetails(currentRow()); });
}

void ResultsPane::resizeEvent(QResizeEvent* event) {
    FormView::resizeEvent(event);
    const int height = m_filterBar->sizeHint().height();
    if (viewportMargins().top() != height) {
        setViewportMargins(0, height, 0, 0);
    }
    m_filterBar->setGeometry(frameWidth(), frameWidth(), width() - 2 * frameWidth(), height);
}

void ResultsPane::scrollToRow(int row) {
    const QModelIndex shown = m_proxy->shownIndex(row);
    if (shown.isValid()) {
        m_list->scrollTo(shown, QAbstractItemView::EnsureVisible);
    }
}

void ResultsPane::openPage(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    const QUrl url = QUrl::fromUserInput(toQ(m_model->rowAt(row).m_page).trimmed());
    if (!url.isValid()) {
        return;
    }
    QDesktopServices::openUrl(url);
}

void ResultsPane::copyAddress(int row) const {
    if (row >= 0 && row < rowCount()) {
        QApplication::clipboard()->setText(toQ(m_model->rowAt(row).m_page));
    }
}

void ResultsPane::copyRow(int row) const {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    const QHeaderView* header = m_list->horizontalHeader();
    QStringList cells;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column)) {
            cells.append(m_model->index(row, column).data().toString());
        }
    }
    QApplication::clipboard()->setText(cells.join(QLatin1Char('\t')));
}

void ResultsPane::showRowMenu(int shownRow, const QPoint& globalPos) {
    const int row = m_proxy->sourceRow(shownRow);
    if (row < 0) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ResultRowMenu"));
    menu.addAction(tr("&Open Page"), this, [this, row] { openPage(row); });
    menu.addAction(tr("Copy &Address"), this, [this, row] { copyAddress(row); });
    menu.addAction(tr("Copy &Row"), this, [this, row] { copyRow(row); });
    menu.addAction(tr("Page &Details..."), this, [this, row] { showPageDetails(row); });
    menu.addSeparator();
    menu.addAction(tr("&Check This Page Now"), this,
                   [this, row] { emit checkPageNowRequested(row); });
    menu.exec(globalPos);
}

void ResultsPane::sortBy(int column, Qt::SortOrder order) {
    m_list->horizontalHeader()->setSortIndicator(column, order);
}

int ResultsPane::currentRow() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? m_proxy->sourceRow(current.row()) : -1;
}

void ResultsPane::showPageDetails(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    PageDetailsDialog dialog(m_model->rowAt(row), this);
    dialog.exec();
}

ResultsPane::~ResultsPane() = default;

void ResultsPane::setProfilePane(ProfilePane* profiles) {
    m_profilePane = profiles;
}

ProfilePane* ResultsPane::profilePane() const {
    return m_profilePane;
}

void ResultsPane::onInitialUpdate() {
    anchorControl(m_list, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    FormView::onInitialUpdate();
    buildLayout();
    repositionControls();

    m_list->setModel(m_proxy);
    QHeaderView* header = m_list->horizontalHeader();
    // The widths follow the font; those the user set come back from the
    // layout file over them (MainWindow::RestoreLayout).
    const struct {
        int column;
        int width;
    } widths[] = {{ResultListModel::ColAdvertiser, 125}, {ResultListModel::ColPublisher, 200},
                  {ResultListModel::ColMail, 125},       {ResultListModel::ColNotify, 100},
                  {ResultListModel::ColStatus, 125},     {ResultListModel::ColChange, 100},
                  {ResultListModel::ColDetails, 110}};
    for (const auto& w : widths) {
        header->resizeSection(w.column, m_list->fontWidth(w.width));
    }
    m_list->setMiddleElidedColumns(
        {ResultListModel::ColAdvertiser, ResultListModel::ColPublisher, ResultListModel::ColMail});
    header->setStretchLastSection(true);
    // A click on a heading sorts the view (never the rows the run uses); a
    // third click goes back to the run's order.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionsClickable(true);
    m_list->setSortingEnabled(true);
}

void ResultsPane::rebuildResults() {
    rebuild(true);
}

void ResultsPane::rebuildForRun() {
    rebuild(false);
}

void ResultsPane::rebuild(bool recorded) {
    ++m_rebuilds;
    std::vector<TickedProfile> ticked;
    if (m_profilePane != nullptr) {
        ticked = m_profilePane->tickedProfiles();
    }
    if (ticked.empty()) {
        m_model->clear();
        return;
    }
    const DataFolder folder = DataFolder::fromEnvironment();
    std::vector<std::string> missing;
    std::vector<ResultRow> rows = buildResultRows(folder, ticked, &missing);
    if (recorded) {
        if (m_beforeReadingHistory) {
            m_beforeReadingHistory();
        }
        showRecordedResults(rows, lastRecordedResults(folder));
    }
    m_model->setRows(std::move(rows));
    tellUnreadable(folder, ticked, missing);
}

std::map<PageKey, PageRecord> ResultsPane::lastRecordedResults(const DataFolder& folder) {
    // No history yet, or one that cannot be read now (another program's
    // lock, damage): the rows are shown without results, as on a first
    // start; the run itself tells what is wrong with the history.
    const std::string path = HistoryDatabase::pathIn(folder.folder());
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    try {
        HistoryDatabase history(path, false, 200);
        return history.lastResults();
    } catch (const HistoryError&) {
        return {};
    }
}

void ResultsPane::tellUnreadable(const DataFolder& folder, const std::vector<TickedProfile>& ticked,
                                 const std::vector<std::string>& missing) {
    // Each unreadable profile is named once, not at every rebuild; one that
    // has been read again is named again when it next fails.
    if (missing.empty() && m_toldUnreadable.empty()) {
        return;
    }
    QStringList fresh;
    for (const TickedProfile& profile : ticked) {
        const std::string& text = profile.m_text;
        const std::string path = folder.profilePathOfText(text);
        const bool failed = std::find(missing.begin(), missing.end(), path) != missing.end();
        if (!failed) {
            m_toldUnreadable.erase(text);
        } else if (m_toldUnreadable.insert(text).second) {
            fresh.append(toQ(text));
        }
    }
    if (fresh.isEmpty()) {
        return;
    }
    QString message;
    if (fresh.size() == 1) {
        message = tr("The profile %1 could not be read: its file is missing or cannot "
                     "be opened. Its pages are not listed.")
                      .arg(fresh.front());
    } else {
        message = tr("These profiles could not be read: their files are missing or "
                     "cannot be opened. Their pages are not listed.\n\n") +
                  fresh.join(QLatin1Char('\n'));
    }
    // Told once the rebuild is over, so a rebuild in the middle of a click or
    // of start-up is not held up by the box.
    QTimer::singleShot(0, this, [this, message] {
        AppMessageBox::show(message, AppMessageBox::Buttons::Ok, window());
    });
}

void ResultsPane::deleteAllRows() {
    m_model->clear();
}

int ResultsPane::rowCount() const {
    return m_model->rowCount();
}

ResultRow ResultsPane::rowAt(int row) const {
    return row >= 0 && row < m_model->rowCount() ? m_model->rowAt(row) : ResultRow{};
}

void ResultsPane::setStopped(int row) {
    m_model->setStopped(row);
}

void ResultsPane::setResult(int row, const PageResult& result) {
    m_model->setResult(row, result);
}

void ResultsPane::setMail(int row, const std::string& text) {
    m_model->setMail(row, text);
}

void ResultsPane::setLetter(int row, LetterMark mark, const std::string& note,
                            const std::string& to) {
    m_model->setLetter(row, mark, note, to);
}

void ResultsPane::setChange(int row, const std::string& text) {
    m_model->setChange(row, text);
}

void ResultsPane::setEvidence(int row, const PageEvidence& evidence) {
    m_model->setEvidence(row, evidence);
}

}  // namespace tarnwick
