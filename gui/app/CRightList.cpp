#include "gui/app/CRightList.h"

#include <QAction>
#include <QHeaderView>
#include <QKeySequence>
#include <QTimer>
#include <algorithm>

#include "gui/app/AppState.h"
#include "gui/app/CLeftList.h"
#include "gui/app/PageDetailsDialog.h"
#include "gui/app/ResultListModel.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/CColoredListCtrl.h"
#include "gui/controls/TextCodec.h"
#include "scan/BuildResultRows.h"
#include "store/DataFolder.h"

namespace tarnwick {

// The form: 257 x 159 dialog units.
CRightList::CRightList(QWidget* parent) : CResizableFormView(QSize(385, 258), parent) {
    setObjectName(QStringLiteral("CRightList"));
    m_list = new CColoredListCtrl(Form());
    m_list->setObjectName(QString::number(kListId));
    m_list->setAccessibleName(QStringLiteral("Results"));
    m_list->setGeometry(0, 0, 385, 257);
    m_pModel = new ResultListModel(this);

    // Enter on a row shows what its check saw.
    auto* details = new QAction(QStringLiteral("Page &Details..."), m_list);
    details->setObjectName(QStringLiteral("PageDetailsAction"));
    details->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    details->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(details);
    connect(details, &QAction::triggered, this, [this] { ShowPageDetails(CurrentRow()); });
}

int CRightList::CurrentRow() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CRightList::ShowPageDetails(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    PageDetailsDialog dialog(m_pModel->Row(row), this);
    dialog.exec();
}

CRightList::~CRightList() {
    if (g_pResultsPane == this) {
        g_pResultsPane = nullptr;
    }
}

void CRightList::OnInitialUpdate() {
    AnchorControl(kListId, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    CResizableFormView::OnInitialUpdate();
    BuildLayout();
    RepositionControls();
    g_pResultsPane = this;

    m_list->setModel(m_pModel);
    QHeaderView* header = m_list->horizontalHeader();
    header->resizeSection(ResultListModel::ColAdvertiser, 125);
    header->resizeSection(ResultListModel::ColPublisher, 200);
    header->resizeSection(ResultListModel::ColMail, 125);
    header->resizeSection(ResultListModel::ColNotify, 100);
    header->resizeSection(ResultListModel::ColStatus, 125);
    header->resizeSection(ResultListModel::ColChange, 100);
    header->resizeSection(ResultListModel::ColDetails, 110);
}

void CRightList::RebuildResults() {
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
    m_pModel->SetRows(BuildResultRows(folder, ticked, &missing));
    TellUnreadable(folder, ticked, missing);
}

void CRightList::TellUnreadable(const DataFolder& folder, const std::vector<TickedProfile>& ticked,
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

void CRightList::DeleteAllRows() {
    m_pModel->Clear();
}

int CRightList::RowCount() const {
    return m_pModel->RowCount();
}

ResultRow CRightList::RowAt(int row) const {
    return row >= 0 && row < m_pModel->RowCount() ? m_pModel->Row(row) : ResultRow{};
}

void CRightList::SetStatus(int row, const std::string& status) {
    m_pModel->SetStatus(row, status);
}

void CRightList::SetResult(int row, const PageResult& result) {
    m_pModel->SetResult(row, result);
}

void CRightList::SetMail(int row, const std::string& text) {
    m_pModel->SetMail(row, text);
}

void CRightList::SetChange(int row, const std::string& text) {
    m_pModel->SetChange(row, text);
}

void CRightList::SetEvidence(int row, const PageEvidence& evidence) {
    m_pModel->SetEvidence(row, evidence);
}

}  // namespace tarnwick
