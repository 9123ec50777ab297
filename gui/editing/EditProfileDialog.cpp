#include "gui/editing/EditProfileDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <cerrno>
#include <set>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "editing/TypedPages.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/DialogLayout.h"
#include "gui/controls/PageTable.h"
#include "gui/controls/RowTableView.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/MakeButton.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "store/FileError.h"
#include "store/ProfileFile.h"
#include "store/ProfileNames.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

// The notification column's values, as profile files store them: not translated.
constexpr QLatin1String kEnabled("Enabled");
constexpr QLatin1String kDisabled("Disabled");

// Trimmed of blank, tab, CR, LF, vertical tab and form feed at both ends.
QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() < 0x80 &&
           isTrimSpace(char(text.at(begin).unicode()))) {
        ++begin;
    }
    while (end > begin && text.at(end - 1).unicode() < 0x80 &&
           isTrimSpace(char(text.at(end - 1).unicode()))) {
        --end;
    }
    return text.mid(begin, end - begin);
}

}  // namespace

EditProfileDialog::EditProfileDialog(ProfilePaneAccess& panes, QWidget* parent)
    : QDialog(parent), m_panes(panes) {
    setObjectName(QStringLiteral("EditProfileDialog"));
    setWindowTitle(tr("Edit Profile"));

    // Page 0: the profiles and the picked one's address.
    auto* profilesLayout = new QVBoxLayout;
    QWidget* profilesPanel = makePagePanel(this, profilesLayout);
    m_profiles = new RowTableView(profilesPanel);
    m_profiles->setObjectName(kProfilesTable);
    m_profileModel = new QStandardItemModel(0, 1, this);
    m_profileModel->setHeaderData(0, Qt::Horizontal, tr("Advertiser's Link"));
    m_profileModel->setHeaderData(0, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter),
                                  Qt::TextAlignmentRole);
    m_profiles->setModel(m_profileModel);
    m_profiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_profiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_profiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control. Moving along the rows instead
    // would pick another profile whenever the focused list is hidden (Next).
    m_profiles->setTabKeyNavigation(false);
    m_profiles->setShowGrid(true);
    m_profiles->setWordWrap(false);
    m_profiles->verticalHeader()->hide();
    m_profiles->verticalHeader()->setDefaultSectionSize(m_profiles->fontMetrics().height() + 6);
    m_profiles->horizontalHeader()->setHighlightSections(false);
    m_profiles->horizontalHeader()->setSectionsClickable(false);
    m_profiles->setColumnWidth(0, 394);
    m_profiles->setAccessibleName(tr("Profiles"));
    m_profiles->viewport()->installEventFilter(this);

    m_address = new QLineEdit(profilesPanel);
    m_address->setObjectName(kAdvertiserEdit);
    m_address->setAccessibleName(tr("Advertiser's Link"));
    profilesLayout->addWidget(m_profiles, 1);
    profilesLayout->addWidget(m_address);

    // Page 1: the pages of the profile.
    auto* pagesLayout = new QVBoxLayout;
    QWidget* pagesPanel = makePagePanel(this, pagesLayout);
    m_pagesAddress = new QLabel(pagesPanel);
    m_pagesAddress->setObjectName(kPagesHeading);
    m_pagesTable = new PageTable(pagesPanel);
    m_pagesTable->setObjectName(kPagesTable);
    m_pagesTable->setAccessibleName(tr("Publisher's Pages"));
    m_pagesTable->setAccessibleDescription(
        tr("Ctrl+V adds pages copied from a spreadsheet: page, mail address, "
           "Enabled or Disabled"));
    m_pagesTable->installEventFilter(this);
    m_pagesAddress->setBuddy(m_pagesTable);
    m_allDisabledBox =
        new QCheckBox(tr("Disable &all email notifications for this profile."), pagesPanel);
    m_allDisabledBox->setObjectName(kAllDisabledBox);
    pagesLayout->addWidget(m_pagesAddress);
    pagesLayout->addWidget(m_pagesTable, 1);
    pagesLayout->addWidget(m_allDisabledBox);
    m_panels = {profilesPanel, pagesPanel};

    m_delete = makeButton(this, kDeleteButton, tr("&Delete"));
    m_mailSettings = makeButton(this, kMailSettingsButton, tr("&Mail Settings"));
    m_back = makeButton(this, kBackButton, tr("&Back"));
    m_next = makeButton(this, kNextButton, tr("&Next"));
    m_finish = makeButton(this, kFinishButton, tr("&Finish"));
    // Never shown: the window's close box and Escape cancel.
    m_cancel = makeButton(this, kCancelButton, tr("Cancel"));
    m_cancel->hide();
    m_ok = makeButton(this, kOkButton, tr("OK"));
    m_ok->setAutoDefault(false);
    m_ok->hide();
    m_unused = new QLineEdit(this);
    m_unused->setObjectName(kUnusedEdit);
    m_unused->hide();
    m_empty = new QLabel(this);
    m_empty->setObjectName(kEmptyLabel);

    auto* layout = new QVBoxLayout(this);
    auto* place = new QGridLayout;
    place->addWidget(profilesPanel, 0, 0);
    place->addWidget(pagesPanel, 0, 0);
    layout->addLayout(place, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_empty);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_mailSettings);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, &EditProfileDialog::onNext);
    connect(m_finish, &QPushButton::clicked, this, &EditProfileDialog::onFinish);
    connect(m_back, &QPushButton::clicked, this, &EditProfileDialog::onBack);
    connect(m_delete, &QPushButton::clicked, this, &EditProfileDialog::onDelete);
    connect(m_allDisabledBox, &QCheckBox::clicked, this, &EditProfileDialog::onAllDisabled);
    connect(m_mailSettings, &QPushButton::clicked, this, [this] { openMailSettings(this); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pagesTable, &PageTable::getDropDownItems, this,
            &EditProfileDialog::onGetDropDownItems);
    connect(m_profiles->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { onPick(false); });

    // Opening: page 0 with the profiles of the pane.
    fillProfiles();
    m_back->setEnabled(false);
    showPage(0);
    m_address->setEnabled(false);
    m_mailSettings->hide();
    m_finish->setEnabled(false);
    // The profile selected in the main window is the one picked (F2 on a
    // row edits that row), with the focus on the list for the arrow keys.
    const int selected = m_panes.selectedProfileRow();
    if (selected >= 0 && selected < m_profileModel->rowCount()) {
        m_profiles->selectionModel()->setCurrentIndex(
            m_profileModel->index(selected, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_profiles->setFocus(Qt::OtherFocusReason);
    }
    openAtLeast(this, dluSize(352, 254));
}

void EditProfileDialog::showPage(int page) {
    for (QWidget* w : {static_cast<QWidget*>(m_profiles), static_cast<QWidget*>(m_address)}) {
        w->setVisible(page == 0);
    }
    for (QWidget* w : {static_cast<QWidget*>(m_pagesTable), static_cast<QWidget*>(m_pagesAddress),
                       static_cast<QWidget*>(m_allDisabledBox), static_cast<QWidget*>(m_delete)}) {
        w->setVisible(page == 1);
    }
    showPanelsWithContent(m_panels);
    // Enter goes on: Next on the profiles, Finish on the pages.
    (page == 0 ? m_next : m_finish)->setDefault(true);
}

void EditProfileDialog::fillProfiles() {
    m_filling = true;
    m_profileModel->removeRows(0, m_profileModel->rowCount());
    for (int row = 0; row < m_panes.profileRowCount(); ++row) {
        auto* item = new QStandardItem(m_panes.profileText(row));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_profileModel->appendRow(item);
    }
    m_filling = false;
}

bool EditProfileDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_profiles->viewport() && event->type() == QEvent::MouseButtonRelease) {
        onPick(true);
    }
    // Ctrl+V on the list (not in a cell's editor) adds the pasted pages.
    if (watched == m_pagesTable && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        pastePages();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EditProfileDialog::onPick(bool fromClick) {
    if (m_filling) {
        return;
    }
    const QModelIndexList rows = m_profiles->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        // A click beside every row: nothing is picked.
        if (fromClick) {
            m_address->setEnabled(false);
            m_finish->setEnabled(false);
        }
        return;
    }
    m_address->setEnabled(true);
    m_finish->setEnabled(true);
    m_selected = m_profileModel->item(rows.first().row())->text();
    m_edit = m_selected;
    m_address->setText(m_edit);
}

bool EditProfileDialog::changeAddress(const QString& oldText, const QString& newText) {
    const DataFolder folder = DataFolder::fromEnvironment();
    try {
        switch (ProfileFile(folder).changeAddress(fromQ(oldText), fromQ(newText))) {
            case AddressChange::Moved:
            case AddressChange::SameName:
                m_panes.loadProfiles();
                return true;
            case AddressChange::NameTaken:
                AppMessageBox::show(toQ(std::string(texts::kNameTakenBefore) +
                                        profileName(fromQ(newText)) + texts::kNameTakenAfter),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
            case AddressChange::NoIndex:
                AppMessageBox::show(FileError(folder.indexPath(), ENOENT),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
            case AddressChange::FileMissing:
                AppMessageBox::show(FileError(folder.profilePathOfText(fromQ(oldText)), ENOENT),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
        }
    } catch (const FileError& error) {
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, this);
        // Whatever was written stays; the pane shows index.txt as it now is.
        m_panes.loadProfiles();
        m_panes.rebuildResults();
    }
    return false;
}

void EditProfileDialog::onNext() {
    m_edit = trimmed(m_address->text());
    if (m_edit.isEmpty()) {
        AppMessageBox::show(texts::kSelectProfile, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (!isAcceptableAddress(fromQ(m_edit))) {
        AppMessageBox::show(texts::kUrlInvalid, AppMessageBox::Buttons::Ok, this);
    } else {
        m_mailSettings->show();
        const DataFolder folder = DataFolder::fromEnvironment();
        bool open = true;
        if (!fileExists(folder.profilePathOfText(fromQ(m_edit)))) {
            const QString question =
                tr("Do you want to change profile name from <%1> to <%2>").arg(m_selected, m_edit);
            open = AppMessageBox::show(question, AppMessageBox::Buttons::OkCancel, this) ==
                       AppMessageBox::Answer::Ok &&
                   changeAddress(m_selected, m_edit);
            if (open) {
                m_selected = m_edit;
            }
        }
        if (open) {
            showPagesPage();
        }
    }
    m_allDisabledBox->setChecked(m_allDisabled == 1);
}

void EditProfileDialog::showPagesPage() {
    m_back->setEnabled(true);
    m_next->setEnabled(false);
    showPage(1);
    m_pagesTable->deleteAllItems();
    // The three columns are made once; coming back does not add them again.
    if (m_pagesTable->getColumnCount() == 0) {
        m_pagesTable->insertColumn(0, tr("Url"), 164);
        m_pagesTable->insertColumn(1, tr("Mail Address"), 164);
        m_pagesTable->insertColumn(2, tr("Email Notification"), 164);
    }
    m_pagesAddress->setText(m_edit);
    m_pagesTable->setDropDownColumn(2, true);
    loadPages(false);
    m_page = 1;
}

void EditProfileDialog::loadPages(bool afterDelete) {
    const DataFolder folder = DataFolder::fromEnvironment();
    const std::string path = folder.profilePathOfText(fromQ(m_edit));
    const ProfileContents contents =
        afterDelete ? ProfileFile::readAfterDelete(path) : ProfileFile::readForEdit(path);
    m_pagesTable->deleteAllItems();
    m_loaded = contents.m_pages;
    int row = 0;
    for (const ProfilePage& page : contents.m_pages) {
        m_pagesTable->insertItem(row, toQ(page.m_page));
        m_pagesTable->setItemText(row, 1, toQ(page.m_mail));
        m_pagesTable->setItemText(row, 2, toQ(page.m_notify));
        if (!afterDelete) {
            m_allDisabled = page.m_notify == "Enabled" ? 0 : 1;
        }
        ++row;
    }
}

void EditProfileDialog::onFinish() {
    if (m_page == 0) {
        const QString address = trimmed(m_address->text());
        if (address.isEmpty()) {
            m_finish->setEnabled(false);
            m_address->setEnabled(false);
            return;
        }
        if (address == m_selected) {
            accept();
            return;
        }
        if (AppMessageBox::show(texts::kReallyChange, AppMessageBox::Buttons::OkCancel, this) !=
            AppMessageBox::Answer::Ok) {
            return;
        }
        m_edit = m_address->text();
        if (m_edit != m_selected && !changeAddress(m_selected, m_edit)) {
            return;
        }
        accept();
        return;
    }
    // Page 1: an open cell editor gives its text to the list first.
    m_pagesTable->endEdit();
    std::vector<ProfilePage> rows;
    for (int row = 0; row < m_pagesTable->getItemCount(); ++row) {
        rows.push_back({fromQ(m_pagesTable->getItemText(row, 0)),
                        fromQ(m_pagesTable->getItemText(row, 1)),
                        fromQ(m_pagesTable->getItemText(row, 2))});
        // The wizard's rules for what is typed here too; the message names
        // the cell and the dialog stays with that cell current.
        const ProfilePage& page = rows.back();
        const ProfilePage* loaded = static_cast<size_t>(row) < m_loaded.size()
                                        ? &m_loaded[static_cast<size_t>(row)]
                                        : nullptr;
        const bool pageTyped = loaded == nullptr || loaded->m_page != page.m_page;
        const bool mailTyped = loaded == nullptr || loaded->m_mail != page.m_mail;
        const char* message = pageTyped ? checkPage(page.m_page) : nullptr;
        if (message == nullptr && mailTyped) {
            message = checkMail(page.m_mail);
        }
        if (message != nullptr) {
            const bool badPage = std::string_view(message) == texts::kUrlInvalid;
            const int column = badPage ? 0 : 1;
            m_pagesTable->setCurrentIndex(m_pagesTable->model()->index(row, column));
            m_pagesTable->scrollTo(m_pagesTable->currentIndex());
            AppMessageBox::show(
                tr("Row %1, %2: \"%3\"\n\n%4")
                    .arg(QString::number(row + 1), badPage ? tr("Url") : tr("Mail Address"),
                         m_pagesTable->getItemText(row, column),
                         QCoreApplication::translate("AppMessageBox", message)),
                AppMessageBox::Buttons::Ok, this);
            return;
        }
    }
    bool written = false;
    try {
        // The file the pages were loaded from: the address box's text as Next
        // trimmed it (blanks around it would lead to another file name).
        // Only a list the user changed is written, and only what changed.
        written = ProfileFile(DataFolder::fromEnvironment()).rewrite(fromQ(m_edit), rows);
    } catch (const FileError& error) {
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (written) {
        m_panes.rebuildResults();
    }
    accept();
}

void EditProfileDialog::onBack() {
    m_pagesTable->endEdit();
    m_page = 0;
    m_back->setEnabled(false);
    m_mailSettings->hide();
    m_next->setEnabled(true);
    showPage(0);
    fillProfiles();
}

void EditProfileDialog::onDelete() {
    m_pagesTable->endEdit();
    const QList<int> selected = m_pagesTable->getSelectedRows();
    if (selected.isEmpty()) {
        AppMessageBox::show(texts::kSelectRow, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (AppMessageBox::show(texts::kDeleteRows, AppMessageBox::Buttons::OkCancel, this) !=
        AppMessageBox::Answer::Ok) {
        return;
    }
    // The rows that stay are written as the list shows them, so the edits
    // made so far are saved together with the deletion, never dropped.
    const std::set<int> positions(selected.begin(), selected.end());
    std::vector<ProfilePage> rows;
    for (int row = 0; row < m_pagesTable->getItemCount(); ++row) {
        if (positions.count(row) == 0) {
            rows.push_back({fromQ(m_pagesTable->getItemText(row, 0)),
                            fromQ(m_pagesTable->getItemText(row, 1)),
                            fromQ(m_pagesTable->getItemText(row, 2))});
        }
    }
    try {
        ProfileFile(DataFolder::fromEnvironment()).keepPages(fromQ(m_edit), rows);
    } catch (const FileError& error) {
        // Nothing was written: the list keeps every row and every edit.
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, this);
        return;
    }
    // The list shows the file as it now is, edits included.
    loadPages(true);
    m_cancel->setEnabled(false);
    m_back->setEnabled(false);
}

void EditProfileDialog::pastePages() {
    m_pagesTable->endEdit();
    std::vector<std::string> listed;
    listed.reserve(static_cast<std::size_t>(m_pagesTable->getItemCount()));
    for (int row = 0; row < m_pagesTable->getItemCount(); ++row) {
        listed.push_back(fromQ(m_pagesTable->getItemText(row, 0)));
    }
    // New pages follow the "Disable all" box unless the paste says otherwise.
    const PastedPages pasted =
        parsePastedPages(fromQ(QApplication::clipboard()->text()), listed,
                         fromQ(m_allDisabledBox->isChecked() ? kDisabled : kEnabled));
    if (pasted.m_line != 0) {
        AppMessageBox::show(toQ(pasted.m_message), AppMessageBox::Buttons::Ok, this);
        return;
    }
    const int first = m_pagesTable->getItemCount();
    int row = first;
    for (const ProfilePage& page : pasted.m_pages) {
        m_pagesTable->insertItem(row, toQ(page.m_page));
        m_pagesTable->setItemText(row, 1, toQ(page.m_mail));
        m_pagesTable->setItemText(row, 2, toQ(page.m_notify));
        ++row;
    }
    if (row > first) {
        m_pagesTable->setCurrentIndex(m_pagesTable->model()->index(row - 1, 0));
        m_pagesTable->scrollTo(m_pagesTable->currentIndex());
    }
    if (pasted.m_skipped > 0) {
        AppMessageBox::inform(pasted.m_skipped == 1
                                  ? tr("1 pasted page is in the list already; it was "
                                       "left out.")
                                  : tr("%1 pasted pages are in the list already; they "
                                       "were left out.")
                                        .arg(pasted.m_skipped),
                              this);
    }
}

void EditProfileDialog::onAllDisabled() {
    const QString value = m_allDisabledBox->isChecked() ? kDisabled : kEnabled;
    for (int row = 0; row < m_pagesTable->getItemCount(); ++row) {
        m_pagesTable->setItemText(row, 2, value);
    }
}

void EditProfileDialog::onGetDropDownItems(int column, QStringList* items) {
    items->clear();
    // Only for the notification column of the pages list, while it has the focus.
    QWidget* focus = QApplication::focusWidget();
    const bool inList =
        focus == nullptr || focus == m_pagesTable || m_pagesTable->isAncestorOf(focus);
    if (column == 2 && inList) {
        items->append(kEnabled);
        items->append(kDisabled);
    }
}

}  // namespace tarnwick
