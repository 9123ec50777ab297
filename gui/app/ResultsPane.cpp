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

#include "gui/app/AppState.h"
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
    m_list = new PaneTableView(Form());
    m_list->setObjectName(QString::number(kListId));
    m_list->setAccessibleName(QStringLiteral("Results"));
    m_list->setGeometry(0, 0, 385, 257);
    m_pModel = new ResultListModel(this);
    m_pProxy = new ResultFilterProxy(m_pModel, this);

    // The filter sits above the form, outside the part that scrolls.
    m_pFilterBar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_pFilterBar);
    bar->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("Sho&w:"), m_pFilterBar);
    m_pFilter = new QComboBox(m_pFilterBar);
    m_pFilter->setObjectName(QStringLiteral("ResultFilter"));
    m_pFilter->setAccessibleName(QStringLiteral("Show"));
    m_pFilter->addItems({QStringLiteral("All"), QStringLiteral("Problems only"),
                         QStringLiteral("Not mailed"), QStringLiteral("Link quality problems")});
    label->setBuddy(m_pFilter);
    bar->addWidget(label);
    bar->addWidget(m_pFilter);
    // Ctrl+F comes here: any text of a row (a page, an address, a reason).
    auto* searchLabel = new QLabel(QStringLiteral("Fin&d:"), m_pFilterBar);
    m_pSearch = new QLineEdit(m_pFilterBar);
    m_pSearch->setObjectName(QStringLiteral("ResultSearch"));
    m_pSearch->setAccessibleName(QStringLiteral("Find"));
    m_pSearch->setClearButtonEnabled(true);
    m_pSearch->setPlaceholderText(QStringLiteral("page, address or reason"));
    searchLabel->setBuddy(m_pSearch);
    bar->addSpacing(12);
    bar->addWidget(searchLabel);
    bar->addWidget(m_pSearch, 1);
    connect(m_pFilter, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_pProxy->SetFilter(static_cast<ResultFilter>(index)); });
    connect(m_pSearch, &QLineEdit::textChanged, m_pProxy, &ResultFilterProxy::SetSearchText);
    setViewportMargins(0, m_pFilterBar->sizeHint().height(), 0, 0);

    connect(m_list, &PaneTableView::rowActivated, this,
            [this](int shownRow) { OpenPage(m_pProxy->SourceRow(shownRow)); });
    connect(m_list, &PaneTableView::rowMenuRequested, this, &ResultsPane::ShowRowMenu);

    // Enter on a row shows what its check saw.
    auto* details = new QAction(QStringLiteral("Page &Details..."), m_list);
    details->setObjectName(QStringLiteral("PageDetailsAction"));
    details->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    details->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(details);
    connect(details, &QAction::triggered, this, [this] { ShowPageDetails(CurrentRow()); });
}

void ResultsPane::resizeEvent(QResizeEvent* event) {
    FormView::resizeEvent(event);
    const int height = m_pFilterBar->sizeHint().height();
    if (viewportMargins().top() != height) {
        setViewportMargins(0, height, 0, 0);
    }
    m_pFilterBar->setGeometry(frameWidth(), frameWidth(), width() - 2 * frameWidth(), height);
}

void ResultsPane::ScrollToRow(int row) {
    const QModelIndex shown = m_pProxy->ShownIndex(row);
    if (shown.isValid()) {
        m_list->scrollTo(shown, QAbstractItemView::EnsureVisible);
    }
}

void ResultsPane::OpenPage(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    const QUrl url = QUrl::fromUserInput(ToQ(m_pModel->Row(row).m_strPage).trimmed());
    if (!url.isValid()) {
        return;
    }
    QDesktopServices::openUrl(url);
}

void ResultsPane::CopyAddress(int row) const {
    if (row >= 0 && row < RowCount()) {
        QApplication::clipboard()->setText(ToQ(m_pModel->Row(row).m_strPage));
    }
}

void ResultsPane::CopyRow(int row) const {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    const QHeaderView* header = m_list->horizontalHeader();
    QStringList cells;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column)) {
            cells.append(m_pModel->index(row, column).data().toString());
        }
    }
    QApplication::clipboard()->setText(cells.join(QLatin1Char('\t')));
}

void ResultsPane::ShowRowMenu(int shownRow, const QPoint& globalPos) {
    const int row = m_pProxy->SourceRow(shownRow);
    if (row < 0) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ResultRowMenu"));
    menu.addAction(QStringLiteral("&Open Page"), this, [this, row] { OpenPage(row); });
    menu.addAction(QStringLiteral("Copy &Address"), this, [this, row] { CopyAddress(row); });
    menu.addAction(QStringLiteral("Copy &Row"), this, [this, row] { CopyRow(row); });
    menu.addAction(QStringLiteral("Page &Details..."), this, [this, row] { ShowPageDetails(row); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Check This Page Now"), this,
                   [this, row] { emit checkPageNowRequested(row); });
    menu.exec(globalPos);
}

void ResultsPane::SortBy(int column, Qt::SortOrder order) {
    m_list->horizontalHeader()->setSortIndicator(column, order);
}

int ResultsPane::CurrentRow() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? m_pProxy->SourceRow(current.row()) : -1;
}

void ResultsPane::ShowPageDetails(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    PageDetailsDialog dialog(m_pModel->Row(row), this);
    dialog.exec();
}

ResultsPane::~ResultsPane() {
    if (g_pResultsPane == this) {
        g_pResultsPane = nullptr;
    }
}

void ResultsPane::OnInitialUpdate() {
    AnchorControl(kListId, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    FormView::OnInitialUpdate();
    BuildLayout();
    RepositionControls();
    g_pResultsPane = this;

    m_list->setModel(m_pProxy);
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
        header->resizeSection(w.column, m_list->FontWidth(w.width));
    }
    m_list->SetMiddleElidedColumns(
        {ResultListModel::ColAdvertiser, ResultListModel::ColPublisher, ResultListModel::ColMail});
    header->setStretchLastSection(true);
    // A click on a heading sorts the view (never the rows the run uses); a
    // third click goes back to the run's order.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionsClickable(true);
    m_list->setSortingEnabled(true);
}

void ResultsPane::RebuildResults() {
    Rebuild(true);
}

void ResultsPane::RebuildForRun() {
    Rebuild(false);
}

void ResultsPane::Rebuild(bool recorded) {
    ++m_nRebuilds;
    std::vector<TickedProfile> ticked;
    if (g_pProfilePane != nullptr) {
        ticked = g_pProfilePane->TickedProfiles();
    }
    if (ticked.empty()) {
        m_pModel->Clear();
        return;
    }
    const DataFolder folder = DataFolder::FromEnvironment();
    std::vector<std::string> missing;
    std::vector<ResultRow> rows = BuildResultRows(folder, ticked, &missing);
    if (recorded) {
        if (m_fnBeforeReadingHistory) {
            m_fnBeforeReadingHistory();
        }
        ShowRecordedResults(rows, LastRecordedResults(folder));
    }
    m_pModel->SetRows(std::move(rows));
    TellUnreadable(folder, ticked, missing);
}

std::map<PageKey, PageRecord> ResultsPane::LastRecordedResults(const DataFolder& folder) {
    // No history yet, or one that cannot be read now (another program's
    // lock, damage): the rows are shown without results, as on a first
    // start; the run itself tells what is wrong with the history.
    const std::string path = HistoryDatabase::PathIn(folder.Folder());
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    try {
        HistoryDatabase history(path, false, 200);
        return history.LastResults();
    } catch (const HistoryError&) {
        return {};
    }
}

void ResultsPane::TellUnreadable(const DataFolder& folder, const std::vector<TickedProfile>& ticked,
                                 const std::vector<std::string>& missing) {
    // Each unreadable profile is named once, not at every rebuild; one that
    // has been read again is named again when it next fails.
    if (missing.empty() && m_toldUnreadable.empty()) {
        return;
    }
    QStringList fresh;
    for (const TickedProfile& profile : ticked) {
        const std::string& text = profile.m_strText;
        const std::string path = folder.ProfilePathOfText(text);
        const bool failed = std::find(missing.begin(), missing.end(), path) != missing.end();
        if (!failed) {
            m_toldUnreadable.erase(text);
        } else if (m_toldUnreadable.insert(text).second) {
            fresh.append(ToQ(text));
        }
    }
    if (fresh.isEmpty()) {
        return;
    }
    QString message;
    if (fresh.size() == 1) {
        message = QStringLiteral(
                      "The profile %1 could not be read: its file is missing or cannot "
                      "be opened. Its pages are not listed.")
                      .arg(fresh.front());
    } else {
        message = QStringLiteral(
                      "These profiles could not be read: their files are missing or "
                      "cannot be opened. Their pages are not listed.\n\n") +
                  fresh.join(QLatin1Char('\n'));
    }
    // Told once the rebuild is over, so a rebuild in the middle of a click or
    // of start-up is not held up by the box.
    QTimer::singleShot(0, this, [this, message] {
        AppMessageBox::Show(message, AppMessageBox::Buttons::Ok, window());
    });
}

void ResultsPane::DeleteAllRows() {
    m_pModel->Clear();
}

int ResultsPane::RowCount() const {
    return m_pModel->RowCount();
}

ResultRow ResultsPane::RowAt(int row) const {
    return row >= 0 && row < m_pModel->RowCount() ? m_pModel->Row(row) : ResultRow{};
}

void ResultsPane::SetStatus(int row, const std::string& status) {
    m_pModel->SetStatus(row, status);
}

void ResultsPane::SetResult(int row, const PageResult& result) {
    m_pModel->SetResult(row, result);
}

void ResultsPane::SetMail(int row, const std::string& text) {
    m_pModel->SetMail(row, text);
}

void ResultsPane::SetLetter(int row, LetterMark mark, const std::string& note,
                            const std::string& to) {
    m_pModel->SetLetter(row, mark, note, to);
}

void ResultsPane::SetChange(int row, const std::string& text) {
    m_pModel->SetChange(row, text);
}

void ResultsPane::SetEvidence(int row, const PageEvidence& evidence) {
    m_pModel->SetEvidence(row, evidence);
}

}  // namespace tarnwick
