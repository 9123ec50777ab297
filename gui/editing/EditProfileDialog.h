// The "Edit Profile" dialog. Page 0: pick a profile by its display text; its
// address can be changed there (which renames the profile). Page 1: the
// profile's pages in an editable list (address, mail address, notification);
// pages can be deleted at once, and "Finish" rewrites the profile file from
// the list.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "store/ProfileFile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace tarnwick {

class PageTable;
class ProfilePaneAccess;

class EditProfileDialog : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kProfilesTable[] = "profilesTable";
    static constexpr char kAdvertiserEdit[] = "advertiserEdit";
    static constexpr char kPagesHeading[] = "pagesHeading";
    static constexpr char kPagesTable[] = "pagesTable";
    static constexpr char kAllDisabledBox[] = "allDisabledBox";
    static constexpr char kDeleteButton[] = "deleteButton";
    static constexpr char kMailSettingsButton[] = "mailSettingsButton";
    static constexpr char kBackButton[] = "backButton";
    static constexpr char kNextButton[] = "nextButton";
    static constexpr char kFinishButton[] = "finishButton";
    static constexpr char kCancelButton[] = "cancelButton";
    static constexpr char kOkButton[] = "okButton";
    static constexpr char kUnusedEdit[] = "unusedEdit";
    static constexpr char kEmptyLabel[] = "emptyLabel";

    EditProfileDialog(ProfilePaneAccess& panes, QWidget* parent = nullptr);

    int page() const { return m_page; }
    const QString& selected() const { return m_selected; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillProfiles();
    void onPick(bool fromClick);
    void onNext();
    void onFinish();
    void onBack();
    void onDelete();
    void onAllDisabled();
    void onGetDropDownItems(int column, QStringList* items);
    // Adds the clipboard's rows (page, mail address, notification) after the
    // last one, checked as typed pages are; a bad line adds nothing.
    void pastePages();

    // Changes the profile's address; false (after a message) when the store
    // refused or failed, nothing changed then.
    bool changeAddress(const QString& oldText, const QString& newText);
    void loadPages(bool afterDelete);
    void showPagesPage();
    // Shows the controls of page 0 or 1 (the buttons' states stay).
    void showPage(int page);

    ProfilePaneAccess& m_panes;

    QTableView* m_profiles;
    QStandardItemModel* m_profileModel;
    QLineEdit* m_address;
    PageTable* m_pagesTable;
    QLabel* m_pagesAddress;
    QCheckBox* m_allDisabledBox;
    QPushButton* m_delete;
    QPushButton* m_mailSettings;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_finish;
    QPushButton* m_cancel;
    QLineEdit* m_unused;
    QLabel* m_empty;
    QPushButton* m_ok;         // 1
    QList<QWidget*> m_panels;  // the places of page 0 and page 1

    int m_page = 0;
    QString m_edit;
    // The pages as read from the file: only what is typed over them is
    // checked at Finish.
    std::vector<ProfilePage> m_loaded;
    QString m_selected;
    int m_allDisabled = 1;
    bool m_filling = false;
};

}  // namespace tarnwick
