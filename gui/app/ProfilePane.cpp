#include "gui/app/ProfilePane.h"

#include <QHeaderView>

#include "gui/app/AppState.h"
#include "gui/app/ProfileListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/ProfileFile.h"
#include "store/ProfileList.h"

namespace tarnwick {

// The form: 355 x 216 dialog units tall, but no wider than the pane's first
// width, so the list fills the pane without a scroll bar of the pane's own.
ProfilePane::ProfilePane(QWidget* parent) : FormView(QSize(350, 351), parent) {
    setObjectName(QStringLiteral("ProfilePane"));
    m_list = new PaneTableView(Form());
    m_list->setObjectName(QString::number(kListId));
    m_list->setAccessibleName(QStringLiteral("Profiles"));
    m_list->SetEmptyHint(QStringLiteral("Add a profile to begin (Profile > Add..., or Ins)."));
    m_list->setGeometry(0, 0, 350, 351);
    m_pModel = new ProfileListModel(this);
}

ProfilePane::~ProfilePane() {
    if (g_pProfilePane == this) {
        g_pProfilePane = nullptr;
    }
}

void ProfilePane::OnInitialUpdate() {
    AnchorControl(kListId, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    FormView::OnInitialUpdate();
    BuildLayout();
    RepositionControls();
    g_pProfilePane = this;

    m_list->setModel(m_pModel);
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColCheck, 30);
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColProfile, m_list->FontWidth(150));
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColStatus, m_list->FontWidth(175));
    m_list->SetMiddleElidedColumns({ProfileListModel::ColProfile});
    m_list->InitCheckHeader();
    // The last column takes the rest of the pane: no empty space beside it.
    m_list->horizontalHeader()->setStretchLastSection(true);
    // A change of address that a crash cut short is finished or undone
    // before the list is read, so the pane shows one profile, never two.
    try {
        ProfileFile(DataFolder::FromEnvironment()).FinishInterruptedChange();
    } catch (const FileError&) {
        // The note stays; the next start or change of address tries again.
    }
    LoadProfiles();
}

int ProfilePane::ProfileRowCount() const {
    return m_pModel->RowCount();
}

QString ProfilePane::ProfileText(int row) const {
    return ToQ(ProfileText8(row));
}

std::string ProfilePane::ProfileText8(int row) const {
    return row >= 0 && row < m_pModel->RowCount() ? m_pModel->Row(row).m_strText : std::string();
}

bool ProfilePane::IsProfileTicked(int row) const {
    return row >= 0 && row < m_pModel->RowCount() && m_pModel->Row(row).m_bTicked;
}

void ProfilePane::InsertProfileRow(int row, const QString& displayText) {
    ProfileRow value;
    value.m_strText = FromQ(displayText);
    m_pModel->InsertRow(row, std::move(value));
}

void ProfilePane::SetProfileTicked(int row, bool ticked) {
    if (row >= 0 && row < m_pModel->RowCount()) {
        m_list->SetCheck(row, ticked);
    }
}

void ProfilePane::LoadProfiles() {
    m_pModel->Clear();
    const bool tick = !g_bSuppressAutoCheck;
    std::vector<ProfileRow> rows;
    for (const std::string& line : ProfileList(DataFolder::FromEnvironment()).Read()) {
        ProfileRow row;
        row.m_strText = ProfileList::DisplayText(line);
        row.m_bTicked = tick;
        rows.push_back(std::move(row));
    }
    const bool any = !rows.empty();
    m_pModel->AppendRows(std::move(rows));
    // Ticking the rows one by one would run the check-state rule for each;
    // once for all of them ends in the same state.
    if (tick && any) {
        m_list->RunCheckStateRule();
    } else {
        // Rows loaded unticked change no state, but the header's box shows them.
        m_list->RefreshCheckHeader();
    }
}

void ProfilePane::RebuildResults() {
    if (g_pResultsPane != nullptr) {
        g_pResultsPane->RebuildResults();
    }
}

int ProfilePane::SelectedProfileRow() const {
    const QModelIndex current = m_list->currentIndex();
    if (current.isValid() && m_list->selectionModel()->isRowSelected(current.row(), {})) {
        return current.row();
    }
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::string ProfilePane::ProfileStatus(int row) const {
    return row >= 0 && row < m_pModel->RowCount() ? m_pModel->Row(row).m_strStatus : std::string();
}

void ProfilePane::SetProfileStatus(int row, const std::string& status) {
    m_pModel->SetStatus(row, status);
}

std::vector<TickedProfile> ProfilePane::TickedProfiles() const {
    std::vector<TickedProfile> ticked;
    for (int row = 0, rows = m_pModel->RowCount(); row < rows; ++row) {
        if (m_pModel->Row(row).m_bTicked) {
            ticked.push_back({row, m_pModel->Row(row).m_strText});
        }
    }
    return ticked;
}

}  // namespace tarnwick
