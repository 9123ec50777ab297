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

const QString kEnabled = QStringLiteral("Enabled");
const QString kDisabled = QStringLiteral("Disabled");

// Trimmed of blank, tab, CR, LF, vertical tab and form feed at both ends.
QString Trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() < 0x80 &&
           IsTrimSpace(char(text.at(begin).unicode()))) {
        ++begin;
    }
    while (end > begin && text.at(end - 1).unicode() < 0x80 &&
           IsTrimSpace(char(text.at(end - 1).unicode()))) {
        --end;
    }
    return text.mid(begin, end - begin);
}

}  // namespace

EditProfileDialog::EditProfileDialog(ProfilePaneAccess& panes, QWidget* parent)
    : QDialog(parent), m_panes(panes) {
    setObjectName(QStringLiteral("149"));
    setWindowTitle(QStringLiteral("Edit Profile"));

    // Page 0: the profiles and the picked one's address.
    auto* profilesLayout = new QVBoxLayout;
    QWidget* profilesPanel = MakePagePanel(this, profilesLayout);
    m_pProfiles = new RowTableView(profilesPanel);
    m_pProfiles->setObjectName(QStringLiteral("1042"));
    m_pProfileModel = new QStandardItemModel(0, 1, this);
    m_pProfileModel->setHeaderData(0, Qt::Horizontal, QStringLiteral("Advertiser's Link"));
    m_pProfileModel->setHeaderData(0, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter),
                                   Qt::TextAlignmentRole);
    m_pProfiles->setModel(m_pProfileModel);
    m_pProfiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pProfiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pProfiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control. Moving along the rows instead
    // would pick another profile whenever the focused list is hidden (Next).
    m_pProfiles->setTabKeyNavigation(false);
    m_pProfiles->setShowGrid(true);
    m_pProfiles->setWordWrap(false);
    m_pProfiles->verticalHeader()->hide();
    m_pProfiles->verticalHeader()->setDefaultSectionSize(m_pProfiles->fontMetrics().height() + 6);
    m_pProfiles->horizontalHeader()->setHighlightSections(false);
    m_pProfiles->horizontalHeader()->setSectionsClickable(false);
    m_pProfiles->setColumnWidth(0, 394);
    m_pProfiles->setAccessibleName(QStringLiteral("Profiles"));
    m_pProfiles->viewport()->installEventFilter(this);

    m_pAddress = new QLineEdit(profilesPanel);
    m_pAddress->setObjectName(QStringLiteral("1043"));
    m_pAddress->setAccessibleName(QStringLiteral("Advertiser's Link"));
    profilesLayout->addWidget(m_pProfiles, 1);
    profilesLayout->addWidget(m_pAddress);

    // Page 1: the pages of the profile.
    auto* pagesLayout = new QVBoxLayout;
    QWidget* pagesPanel = MakePagePanel(this, pagesLayout);
    m_pPagesAddress = new QLabel(pagesPanel);
    m_pPagesAddress->setObjectName(QStringLiteral("1050"));
    m_pPages = new PageTable(pagesPanel);
    m_pPages->setObjectName(QStringLiteral("1048"));
    m_pPages->setAccessibleName(QStringLiteral("Publisher's Pages"));
    m_pPages->setAccessibleDescription(
        QStringLiteral("Ctrl+V adds pages copied from a spreadsheet: page, mail address, "
                       "Enabled or Disabled"));
    m_pPages->installEventFilter(this);
    m_pPagesAddress->setBuddy(m_pPages);
    m_pAllDisabled = new QCheckBox(
        QStringLiteral("Disable &all email notifications for this profile."), pagesPanel);
    m_pAllDisabled->setObjectName(QStringLiteral("1058"));
    pagesLayout->addWidget(m_pPagesAddress);
    pagesLayout->addWidget(m_pPages, 1);
    pagesLayout->addWidget(m_pAllDisabled);
    m_panels = {profilesPanel, pagesPanel};

    m_pDelete = MakeButton(this, "1051", QStringLiteral("&Delete"));
    m_pMailSettings = MakeButton(this, "1075", QStringLiteral("&Mail Settings"));
    m_pBack = MakeButton(this, "1045", QStringLiteral("&Back"));
    m_pNext = MakeButton(this, "1008", QStringLiteral("&Next"));
    m_pFinish = MakeButton(this, "1046", QStringLiteral("&Finish"));
    // Never shown: the window's close box and Escape cancel.
    m_pCancel = MakeButton(this, "1044", QStringLiteral("Cancel"));
    m_pCancel->hide();
    m_pOk = MakeButton(this, "1", QStringLiteral("OK"));
    m_pOk->setAutoDefault(false);
    m_pOk->hide();
    m_pUnused = new QLineEdit(this);
    m_pUnused->setObjectName(QStringLiteral("1047"));
    m_pUnused->hide();
    m_pEmpty = new QLabel(this);
    m_pEmpty->setObjectName(QStringLiteral("1059"));

    auto* layout = new QVBoxLayout(this);
    auto* place = new QGridLayout;
    place->addWidget(profilesPanel, 0, 0);
    place->addWidget(pagesPanel, 0, 0);
    layout->addLayout(place, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pEmpty);
    buttons->addWidget(m_pDelete);
    buttons->addWidget(m_pMailSettings);
    buttons->addStretch(1);
    buttons->addWidget(m_pBack);
    buttons->addWidget(m_pNext);
    buttons->addWidget(m_pFinish);
    layout->addLayout(buttons);

    connect(m_pNext, &QPushButton::clicked, this, &EditProfileDialog::OnNext);
    connect(m_pFinish, &QPushButton::clicked, this, &EditProfileDialog::OnFinish);
    connect(m_pBack, &QPushButton::clicked, this, &EditProfileDialog::OnBack);
    connect(m_pDelete, &QPushButton::clicked, this, &EditProfileDialog::OnDelete);
    connect(m_pAllDisabled, &QCheckBox::clicked, this, &EditProfileDialog::OnAllDisabled);
    connect(m_pMailSettings, &QPushButton::clicked, this, [this] { OpenMailSettings(this); });
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pPages, &PageTable::getDropDownItems, this, &EditProfileDialog::OnGetDropDownItems);
    connect(m_pProfiles->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { OnPick(false); });

    // Opening: page 0 with the profiles of the pane.
    FillProfiles();
    m_pBack->setEnabled(false);
    ShowPage(0);
    m_pAddress->setEnabled(false);
    m_pMailSettings->hide();
    m_pFinish->setEnabled(false);
    // The profile selected in the main window is the one picked (F2 on a
    // row edits that row), with the focus on the list for the arrow keys.
    const int selected = m_panes.SelectedProfileRow();
    if (selected >= 0 && selected < m_pProfileModel->rowCount()) {
        m_pProfiles->selectionModel()->setCurrentIndex(
            m_pProfileModel->index(selected, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_pProfiles->setFocus(Qt::OtherFocusReason);
    }
    OpenAtLeast(this, DluSize(352, 254));
}

void EditProfileDialog::ShowPage(int page) {
    for (QWidget* w : {static_cast<QWidget*>(m_pProfiles), static_cast<QWidget*>(m_pAddress)}) {
        w->setVisible(page == 0);
    }
    for (QWidget* w : {static_cast<QWidget*>(m_pPages), static_cast<QWidget*>(m_pPagesAddress),
                       static_cast<QWidget*>(m_pAllDisabled), static_cast<QWidget*>(m_pDelete)}) {
        w->setVisible(page == 1);
    }
    ShowPanelsWithContent(m_panels);
    // Enter goes on: Next on the profiles, Finish on the pages.
    (page == 0 ? m_pNext : m_pFinish)->setDefault(true);
}

void EditProfileDialog::FillProfiles() {
    m_bFilling = true;
    m_pProfileModel->removeRows(0, m_pProfileModel->rowCount());
    for (int row = 0; row < m_panes.ProfileRowCount(); ++row) {
        auto* item = new QStandardItem(m_panes.ProfileText(row));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_pProfileModel->appendRow(item);
    }
    m_bFilling = false;
}

bool EditProfileDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pProfiles->viewport() && event->type() == QEvent::MouseButtonRelease) {
        OnPick(true);
    }
    // Ctrl+V on the list (not in a cell's editor) adds the pasted pages.
    if (watched == m_pPages && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        PastePages();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EditProfileDialog::OnPick(bool fromClick) {
    if (m_bFilling) {
        return;
    }
    const QModelIndexList rows = m_pProfiles->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        // A click beside every row: nothing is picked.
        if (fromClick) {
            m_pAddress->setEnabled(false);
            m_pFinish->setEnabled(false);
        }
        return;
    }
    m_pAddress->setEnabled(true);
    m_pFinish->setEnabled(true);
    m_strSelected = m_pProfileModel->item(rows.first().row())->text();
    m_strEdit = m_strSelected;
    m_pAddress->setText(m_strEdit);
}

bool EditProfileDialog::ChangeAddress(const QString& oldText, const QString& newText) {
    const DataFolder folder = DataFolder::FromEnvironment();
    try {
        switch (ProfileFile(folder).ChangeAddress(FromQ(oldText), FromQ(newText))) {
            case AddressChange::Moved:
            case AddressChange::SameName:
                m_panes.LoadProfiles();
                return true;
            case AddressChange::NameTaken:
                AppMessageBox::Show(ToQ(std::string(texts::kNameTakenBefore) +
                                        ProfileName(FromQ(newText)) + texts::kNameTakenAfter),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
            case AddressChange::NoIndex:
                AppMessageBox::Show(FileError(folder.IndexPath(), ENOENT),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
            case AddressChange::FileMissing:
                AppMessageBox::Show(FileError(folder.ProfilePathOfText(FromQ(oldText)), ENOENT),
                                    AppMessageBox::Buttons::Ok, this);
                return false;
        }
    } catch (const FileError& error) {
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, this);
        // Whatever was written stays; the pane shows index.txt as it now is.
        m_panes.LoadProfiles();
        m_panes.RebuildResults();
    }
    return false;
}

void EditProfileDialog::OnNext() {
    m_strEdit = Trimmed(m_pAddress->text());
    if (m_strEdit.isEmpty()) {
        AppMessageBox::Show(texts::kSelectProfile, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (!IsAcceptableAddress(FromQ(m_strEdit))) {
        AppMessageBox::Show(texts::kUrlInvalid, AppMessageBox::Buttons::Ok, this);
    } else {
        m_pMailSettings->show();
        const DataFolder folder = DataFolder::FromEnvironment();
        bool open = true;
        if (!FileExists(folder.ProfilePathOfText(FromQ(m_strEdit)))) {
            const QString question = QStringLiteral("Do you want to change profile name from <") +
                                     m_strSelected + QStringLiteral("> to <") + m_strEdit +
                                     QStringLiteral(">");
            open = AppMessageBox::Show(question, AppMessageBox::Buttons::OkCancel, this) ==
                       AppMessageBox::Answer::Ok &&
                   ChangeAddress(m_strSelected, m_strEdit);
            if (open) {
                m_strSelected = m_strEdit;
            }
        }
        if (open) {
            ShowPagesPage();
        }
    }
    m_pAllDisabled->setChecked(m_bAllDisabled == 1);
}

void EditProfileDialog::ShowPagesPage() {
    m_pBack->setEnabled(true);
    m_pNext->setEnabled(false);
    ShowPage(1);
    m_pPages->DeleteAllItems();
    // The three columns are made once; coming back does not add them again.
    if (m_pPages->GetColumnCount() == 0) {
        m_pPages->InsertColumn(0, QStringLiteral("Url"), 164);
        m_pPages->InsertColumn(1, QStringLiteral("Mail Address"), 164);
        m_pPages->InsertColumn(2, QStringLiteral("Email Notification"), 164);
    }
    m_pPagesAddress->setText(m_strEdit);
    m_pPages->SetDropDownColumn(2, true);
    LoadPages(false);
    m_nPage = 1;
}

void EditProfileDialog::LoadPages(bool afterDelete) {
    const DataFolder folder = DataFolder::FromEnvironment();
    const std::string path = folder.ProfilePathOfText(FromQ(m_strEdit));
    const ProfileContents contents =
        afterDelete ? ProfileFile::ReadAfterDelete(path) : ProfileFile::ReadForEdit(path);
    m_pPages->DeleteAllItems();
    m_loaded = contents.m_pages;
    int row = 0;
    for (const ProfilePage& page : contents.m_pages) {
        m_pPages->InsertItem(row, ToQ(page.m_strPage));
        m_pPages->SetItemText(row, 1, ToQ(page.m_strMail));
        m_pPages->SetItemText(row, 2, ToQ(page.m_strNotify));
        if (!afterDelete) {
            m_bAllDisabled = page.m_strNotify == "Enabled" ? 0 : 1;
        }
        ++row;
    }
}

void EditProfileDialog::OnFinish() {
    if (m_nPage == 0) {
        const QString trimmed = Trimmed(m_pAddress->text());
        if (trimmed.isEmpty()) {
            m_pFinish->setEnabled(false);
            m_pAddress->setEnabled(false);
            return;
        }
        if (trimmed == m_strSelected) {
            accept();
            return;
        }
        if (AppMessageBox::Show(texts::kReallyChange, AppMessageBox::Buttons::OkCancel, this) !=
            AppMessageBox::Answer::Ok) {
            return;
        }
        m_strEdit = m_pAddress->text();
        if (m_strEdit != m_strSelected && !ChangeAddress(m_strSelected, m_strEdit)) {
            return;
        }
        accept();
        return;
    }
    // Page 1: an open cell editor gives its text to the list first.
    m_pPages->EndEdit();
    std::vector<ProfilePage> rows;
    for (int row = 0; row < m_pPages->GetItemCount(); ++row) {
        rows.push_back({FromQ(m_pPages->GetItemText(row, 0)), FromQ(m_pPages->GetItemText(row, 1)),
                        FromQ(m_pPages->GetItemText(row, 2))});
        // The wizard's rules for what is typed here too; the message names
        // the cell and the dialog stays with that cell current.
        const ProfilePage& page = rows.back();
        const ProfilePage* loaded = static_cast<size_t>(row) < m_loaded.size()
                                        ? &m_loaded[static_cast<size_t>(row)]
                                        : nullptr;
        const bool pageTyped = loaded == nullptr || loaded->m_strPage != page.m_strPage;
        const bool mailTyped = loaded == nullptr || loaded->m_strMail != page.m_strMail;
        const char* message = pageTyped ? CheckPage(page.m_strPage) : nullptr;
        if (message == nullptr && mailTyped) {
            message = CheckMail(page.m_strMail);
        }
        if (message != nullptr) {
            const bool badPage = std::string_view(message) == texts::kUrlInvalid;
            const int column = badPage ? 0 : 1;
            m_pPages->setCurrentIndex(m_pPages->model()->index(row, column));
            m_pPages->scrollTo(m_pPages->currentIndex());
            AppMessageBox::Show(
                QStringLiteral("Row %1, %2: \"%3\"\n\n%4")
                    .arg(row + 1)
                    .arg(badPage ? QStringLiteral("Url") : QStringLiteral("Mail Address"))
                    .arg(m_pPages->GetItemText(row, column))
                    .arg(QString::fromLatin1(message)),
                AppMessageBox::Buttons::Ok, this);
            return;
        }
    }
    bool written = false;
    try {
        // The file the pages were loaded from: the address box's text as Next
        // trimmed it (blanks around it would lead to another file name).
        // Only a list the user changed is written, and only what changed.
        written = ProfileFile(DataFolder::FromEnvironment()).Rewrite(FromQ(m_strEdit), rows);
    } catch (const FileError& error) {
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (written) {
        m_panes.RebuildResults();
    }
    accept();
}

void EditProfileDialog::OnBack() {
    m_pPages->EndEdit();
    m_nPage = 0;
    m_pBack->setEnabled(false);
    m_pMailSettings->hide();
    m_pNext->setEnabled(true);
    ShowPage(0);
    FillProfiles();
}

void EditProfileDialog::OnDelete() {
    m_pPages->EndEdit();
    const QList<int> selected = m_pPages->GetSelectedRows();
    if (selected.isEmpty()) {
        AppMessageBox::Show(texts::kSelectRow, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (AppMessageBox::Show(texts::kDeleteRows, AppMessageBox::Buttons::OkCancel, this) !=
        AppMessageBox::Answer::Ok) {
        return;
    }
    // The rows that stay are written as the list shows them, so the edits
    // made so far are saved together with the deletion, never dropped.
    const std::set<int> positions(selected.begin(), selected.end());
    std::vector<ProfilePage> rows;
    for (int row = 0; row < m_pPages->GetItemCount(); ++row) {
        if (positions.count(row) == 0) {
            rows.push_back({FromQ(m_pPages->GetItemText(row, 0)),
                            FromQ(m_pPages->GetItemText(row, 1)),
                            FromQ(m_pPages->GetItemText(row, 2))});
        }
    }
    try {
        ProfileFile(DataFolder::FromEnvironment()).KeepPages(FromQ(m_strEdit), rows);
    } catch (const FileError& error) {
        // Nothing was written: the list keeps every row and every edit.
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, this);
        return;
    }
    // The list shows the file as it now is, edits included.
    LoadPages(true);
    m_pCancel->setEnabled(false);
    m_pBack->setEnabled(false);
}

void EditProfileDialog::PastePages() {
    m_pPages->EndEdit();
    std::vector<std::string> listed;
    for (int row = 0; row < m_pPages->GetItemCount(); ++row) {
        listed.push_back(FromQ(m_pPages->GetItemText(row, 0)));
    }
    // New pages follow the "Disable all" box unless the paste says otherwise.
    const PastedPages pasted =
        ParsePastedPages(FromQ(QApplication::clipboard()->text()), listed,
                         FromQ(m_pAllDisabled->isChecked() ? kDisabled : kEnabled));
    if (pasted.m_nLine != 0) {
        AppMessageBox::Show(ToQ(pasted.m_strMessage), AppMessageBox::Buttons::Ok, this);
        return;
    }
    const int first = m_pPages->GetItemCount();
    int row = first;
    for (const ProfilePage& page : pasted.m_pages) {
        m_pPages->InsertItem(row, ToQ(page.m_strPage));
        m_pPages->SetItemText(row, 1, ToQ(page.m_strMail));
        m_pPages->SetItemText(row, 2, ToQ(page.m_strNotify));
        ++row;
    }
    if (row > first) {
        m_pPages->setCurrentIndex(m_pPages->model()->index(row - 1, 0));
        m_pPages->scrollTo(m_pPages->currentIndex());
    }
    if (pasted.m_nSkipped > 0) {
        AppMessageBox::Inform(pasted.m_nSkipped == 1
                                  ? QStringLiteral("1 pasted page is in the list already; it was "
                                                   "left out.")
                                  : QStringLiteral("%1 pasted pages are in the list already; they "
                                                   "were left out.")
                                        .arg(pasted.m_nSkipped),
                              this);
    }
}

void EditProfileDialog::OnAllDisabled() {
    const QString value = m_pAllDisabled->isChecked() ? kDisabled : kEnabled;
    for (int row = 0; row < m_pPages->GetItemCount(); ++row) {
        m_pPages->SetItemText(row, 2, value);
    }
}

void EditProfileDialog::OnGetDropDownItems(int column, QStringList* items) {
    items->clear();
    // Only for the notification column of the pages list, while it has the focus.
    QWidget* focus = QApplication::focusWidget();
    const bool inList = focus == nullptr || focus == m_pPages || m_pPages->isAncestorOf(focus);
    if (column == 2 && inList) {
        items->append(kEnabled);
        items->append(kDisabled);
    }
}

}  // namespace tarnwick
