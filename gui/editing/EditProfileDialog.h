// Dialog 149, "Edit Profile". Page 0: pick a profile by its display text; its
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
    EditProfileDialog(ProfilePaneAccess& panes, QWidget* parent = nullptr);

    int Page() const { return m_nPage; }
    const QString& Selected() const { return m_strSelected; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillProfiles();
    void OnPick(bool fromClick);
    void OnNext();
    void OnFinish();
    void OnBack();
    void OnDelete();
    void OnAllDisabled();
    void OnGetDropDownItems(int column, QStringList* items);
    // Adds the clipboard's rows (page, mail address, notification) after the
    // last one, checked as typed pages are; a bad line adds nothing.
    void PastePages();

    // Changes the profile's address; false (after a message) when the store
    // refused or failed, nothing changed then.
    bool ChangeAddress(const QString& oldText, const QString& newText);
    void LoadPages(bool afterDelete);
    void ShowPagesPage();
    // Shows the controls of page 0 or 1 (the buttons' states stay).
    void ShowPage(int page);

    ProfilePaneAccess& m_panes;

    QTableView* m_pProfiles;  // 1042
    QStandardItemModel* m_pProfileModel;
    QLineEdit* m_pAddress;         // 1043
    PageTable* m_pPages;           // 1048
    QLabel* m_pPagesAddress;       // 1050
    QCheckBox* m_pAllDisabled;     // 1058
    QPushButton* m_pDelete;        // 1051
    QPushButton* m_pMailSettings;  // 1075
    QPushButton* m_pBack;          // 1045
    QPushButton* m_pNext;          // 1008
    QPushButton* m_pFinish;        // 1046
    QPushButton* m_pCancel;        // 1044
    QLineEdit* m_pUnused;          // 1047
    QLabel* m_pEmpty;              // 1059
    QPushButton* m_pOk;            // 1
    QList<QWidget*> m_panels;      // the places of page 0 and page 1

    int m_nPage = 0;
    QString m_strEdit;
    // The pages as read from the file: only what is typed over them is
    // checked at Finish.
    std::vector<ProfilePage> m_loaded;
    QString m_strSelected;
    int m_bAllDisabled = 1;
    bool m_bFilling = false;
};

}  // namespace tarnwick
