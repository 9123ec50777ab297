#include "gui/app/ProfilePane.h"

#include <QHeaderView>

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
    m_list = new PaneTableView(form());
    m_list->setObjectName(kProfileList);
    m_list->setAccessibleName(tr("Profiles"));
    m_list->setEmptyHint(tr("Add a profile to begin (Profile > Add..., or Ins)."));
    m_list->setGeometry(0, 0, 350, 351);
    m_model = new ProfileListModel(this);
}

ProfilePane::~ProfilePane() = default;

void ProfilePane::setResultsPane(ResultsPane* results) {
    m_resultsPane = results;
}

ResultsPane* ProfilePane::resultsPane() const {
    return m_resultsPane;
}

void ProfilePane::onInitialUpdate() {
    anchorControl(m_list, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    FormView::onInitialUpdate();
    buildLayout();
    repositionControls();

    m_list->setModel(m_model);
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColCheck, 30);
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColProfile, m_list->fontWidth(150));
    m_list->horizontalHeader()->resizeSection(ProfileListModel::ColStatus, m_list->fontWidth(175));
    m_list->setMiddleElidedColumns({ProfileListModel::ColProfile});
    m_list->initCheckHeader();
    // The last column takes the rest of the pane: no empty space beside it.
    m_list->horizontalHeader()->setStretchLastSection(true);
    // A change of address that a crash cut short is finished or undone
    // before the list is read, so the pane shows one profile, never two.
    try {
        ProfileFile(DataFolder::fromEnvironment()).finishInterruptedChange();
    } catch (const FileError&) {
        // The note stays; the next start or change of address tries again.
    }
    loadProfiles();
}

int ProfilePane::profileRowCount() const {
    return m_model->rowCount();
}

QString ProfilePane::profileText(int row) const {
    return toQ(profileText8(row));
}

std::string ProfilePane::profileText8(int row) const {
    return row >= 0 && row < m_model->rowCount() ? m_model->rowAt(row).m_text : std::string();
}

bool ProfilePane::isProfileTicked(int row) const {
    return row >= 0 && row < m_model->rowCount() && m_model->rowAt(row).m_ticked;
}

void ProfilePane::insertProfileRow(int row, const QString& displayText) {
    ProfileRow value;
    value.m_text = fromQ(displayText);
    m_model->insertRow(row, std::move(value));
}

void ProfilePane::setProfileTicked(int row, bool ticked) {
    if (row >= 0 && row < m_model->rowCount()) {
        m_list->setCheck(row, ticked);
    }
}

void ProfilePane::loadProfiles() {
    m_model->clear();
    const bool tick = !m_tickSuppressed;
    std::vector<ProfileRow> rows;
    for (const std::string& line : ProfileList(DataFolder::fromEnvironment()).read()) {
        ProfileRow row;
        row.m_text = ProfileList::displayText(line);
        row.m_ticked = tick;
        rows.push_back(std::move(row));
    }
    const bool any = !rows.empty();
    m_model->appendRows(std::move(rows));
    // Ticking the rows one by one would run the check-state rule for each;
    // once for all of them ends in the same state.
    if (tick && any) {
        m_list->runCheckStateRule();
    } else {
        // Rows loaded unticked change no state, but the header's box shows them.
        m_list->refreshCheckHeader();
    }
}

void ProfilePane::rebuildResults() {
    if (m_resultsPane != nullptr) {
        m_resultsPane->rebuildResults();
    }
}

int ProfilePane::selectedProfileRow() const {
    const QModelIndex current = m_list->currentIndex();
    if (current.isValid() && m_list->selectionModel()->isRowSelected(current.row(), {})) {
        return current.row();
    }
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::string ProfilePane::profileStatus(int row) const {
    return row >= 0 && row < m_model->rowCount() ? m_model->rowAt(row).m_status : std::string();
}

void ProfilePane::setProfileStatus(int row, const std::string& status) {
    m_model->setStatus(row, status);
}

std::vector<TickedProfile> ProfilePane::tickedProfiles() const {
    std::vector<TickedProfile> ticked;
    for (int row = 0, rows = m_model->rowCount(); row < rows; ++row) {
        if (m_model->rowAt(row).m_ticked) {
            ticked.push_back({row, m_model->rowAt(row).m_text});
        }
    }
    return ticked;
}

}  // namespace tarnwick
