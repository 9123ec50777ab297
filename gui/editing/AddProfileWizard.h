// Dialog 145, "Add": the wizard that makes a profile. The user types the
// advertiser's address, picks the import type, the file and (for a text file
// with notification) the separator, sees the imported pages and saves them as
// a new, numbered, appended or overwritten profile. The pages are one dialog
// whose controls are shown and hidden page by page.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace tarnwick {

class ImportListModel;
class ProfilePaneAccess;
struct ImportResult;

class AddProfileWizard : public QDialog {
    Q_OBJECT
public:
    AddProfileWizard(ProfilePaneAccess& panes, QWidget* parent = nullptr);

    // The page counter (1 when the dialog opens, 0 after coming back to the
    // address page, 3 or 4 on the list page after the file or separator page)
    // and the plain-import mark.
    int PageCounter() const;
    bool PlainImportMark() const { return m_bPlainImport; }
    const ImportListModel& ListModel() const { return *m_pModel; }
    // After Append: how many pages the profile had already (left out).
    int SkippedPages() const { return m_nSkipped; }

private:
    enum class Page { Address, FileType, File, Separator, ImportedList, Typed };
    enum class Arrival { Forward, Back };
    struct PageLook {
        QList<QWidget*> m_shown;
        QString m_strBack;  // caption of 1008
        QString m_strMain;  // caption of 1009
    };

    void ShowPage(Page page, Arrival arrival);
    void FocusPage(const PageLook& look);
    void OnMainButton();
    void OnBackButton();
    void OnSeparatorClicked(QRadioButton* button);
    void OnNotifyClicked();
    void OnBrowse();

    void ToTypePage();         // "Import..." on the address page
    void ToFilePage();         // "Next >" on the type page
    void FromFilePage();       // "Next >" on the file page
    void FromSeparatorPage();  // "Next >" on the separator page
    void FromTypedPage();      // "Next >" on the page of typed or pasted pages
    void SaveAndFinish();      // "Save and Finish" on the list page

    // Shows what an import gave; the format message after the rows are in.
    // Shows the imported rows, tidied (scheme added, duplicates left out),
    // and the line that tells what the import brought.
    void ShowImport(const ImportResult& result, bool withMail);
    void ShowUnreadable(int error);
    void SetColumns(const QStringList& headings);
    // Makes the first two headings "links" and "Mail"; dropFirst removes the
    // first heading before (the separator page's way).
    void PutMailColumns(bool dropFirst);
    std::string ImportPath() const;

    ProfilePaneAccess& m_panes;

    QLabel* m_pAddressLabel;
    QLineEdit* m_pAddress;  // 1006
    QFrame* m_pLine;
    QLabel* m_pListLabel;  // 1026
    QTableView* m_pList;   // 1000
    ImportListModel* m_pModel;
    QPushButton* m_pBack;          // 1008
    QPushButton* m_pMain;          // 1009
    QRadioButton* m_pTypeText;     // 1010
    QRadioButton* m_pTypeCsv;      // 1011
    QRadioButton* m_pTypeExcel;    // 1012
    QLabel* m_pWizardHeading;      // 1027
    QCheckBox* m_pNotify;          // 1025
    QPushButton* m_pMailSettings;  // 1041
    QLabel* m_pPathLabel;          // 1020
    QLineEdit* m_pPath;            // 1018
    QPushButton* m_pBrowse;        // 1019
    QRadioButton* m_pSemicolon;    // 1021
    QRadioButton* m_pComma;        // 1022
    QRadioButton* m_pOther;        // 1023
    QLineEdit* m_pOtherText;       // 1024
    QLabel* m_pHint;               // 1074
    QRadioButton* m_pTypePaste;    // pages typed or pasted instead of a file
    QLabel* m_pTypedLabel;
    QLabel* m_pImportSummary;
    QPlainTextEdit* m_pTyped;
    QPushButton* m_pOk;  // 1
    QButtonGroup* m_pTypeGroup;
    QButtonGroup* m_pSeparatorGroup;

    QString m_strFileType;  // "txt" or "csv" after the type page
    QString m_strPath;
    int m_bNotify = 0;
    QList<QWidget*> m_pageControls;
    QList<QWidget*> m_panels;         // the import pages' places, shown with their controls
    std::array<PageLook, 6> m_looks;  // indexed by Page
    Page m_ePage = Page::Address;
    Page m_eListAfter = Page::File;  // the page before the list page
    bool m_bLeftAddressPage = false;
    bool m_bHeadingGone = false;
    bool m_bListLeftInView = false;
    bool m_bPlainImport = false;
    int m_nSkipped = 0;
};

}  // namespace tarnwick
