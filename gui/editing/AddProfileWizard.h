// The "Add" dialog: the wizard that makes a profile. The user types the
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
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kAdvertiserEdit[] = "advertiserEdit";
    static constexpr char kPagesLabel[] = "pagesLabel";
    static constexpr char kPagesTable[] = "pagesTable";
    static constexpr char kImportHeading[] = "importHeading";
    static constexpr char kTextFileRadio[] = "textFileRadio";
    static constexpr char kCsvFileRadio[] = "csvFileRadio";
    static constexpr char kExcelFileRadio[] = "excelFileRadio";
    static constexpr char kNotifyBox[] = "notifyBox";
    static constexpr char kMailSettingsButton[] = "mailSettingsButton";
    static constexpr char kPathLabel[] = "pathLabel";
    static constexpr char kPathEdit[] = "pathEdit";
    static constexpr char kBrowseButton[] = "browseButton";
    static constexpr char kSemicolonRadio[] = "semicolonRadio";
    static constexpr char kCommaRadio[] = "commaRadio";
    static constexpr char kOtherSymbolRadio[] = "otherSymbolRadio";
    static constexpr char kOtherSymbolEdit[] = "otherSymbolEdit";
    static constexpr char kSeparatorHint[] = "separatorHint";
    static constexpr char kBackButton[] = "backButton";
    static constexpr char kNextButton[] = "nextButton";
    static constexpr char kOkButton[] = "okButton";

    AddProfileWizard(ProfilePaneAccess& panes, QWidget* parent = nullptr);

    // The page counter (1 when the dialog opens, 0 after coming back to the
    // address page, 3 or 4 on the list page after the file or separator page)
    // and the plain-import mark.
    int pageCounter() const;
    bool plainImportMark() const { return m_plainImport; }
    const ImportListModel& listModel() const { return *m_model; }
    // After Append: how many pages the profile had already (left out).
    int skippedPages() const { return m_skipped; }

private:
    enum class Page { Address, FileType, File, Separator, ImportedList, Typed };
    enum class Arrival { Forward, Back };
    struct PageLook {
        QList<QWidget*> m_shown;
        QString m_back;  // caption of the back button
        QString m_main;  // caption of the next button
    };

    void showPage(Page page, Arrival arrival);
    void focusPage(const PageLook& look);
    void onMainButton();
    void onBackButton();
    void onSeparatorClicked(QRadioButton* button);
    void onNotifyClicked();
    void onBrowse();

    void toTypePage();         // "Import..." on the address page
    void toFilePage();         // "Next >" on the type page
    void fromFilePage();       // "Next >" on the file page
    void fromSeparatorPage();  // "Next >" on the separator page
    void fromTypedPage();      // "Next >" on the page of typed or pasted pages
    void saveAndFinish();      // "Save and Finish" on the list page

    // Shows what an import gave; the format message after the rows are in.
    // Shows the imported rows, tidied (scheme added, duplicates left out),
    // and the line that tells what the import brought.
    void showImport(const ImportResult& result, bool withMail);
    void showUnreadable(int error);
    void setColumns(const QStringList& headings);
    // Makes the first two headings "links" and "Mail"; dropFirst removes the
    // first heading before (the separator page's way).
    void putMailColumns(bool dropFirst);
    std::string importPath() const;

    ProfilePaneAccess& m_panes;

    QLabel* m_addressLabel;
    QLineEdit* m_address;
    QFrame* m_lineFrame;
    QLabel* m_listLabel;
    QTableView* m_list;
    ImportListModel* m_model;
    QPushButton* m_backButton;
    QPushButton* m_mainButton;
    QRadioButton* m_typeText;
    QRadioButton* m_typeCsv;
    QRadioButton* m_typeExcel;
    QLabel* m_wizardHeading;
    QCheckBox* m_notifyBox;
    QPushButton* m_mailSettings;
    QLabel* m_pathLabel;
    QLineEdit* m_pathEdit;
    QPushButton* m_browse;
    QRadioButton* m_semicolon;
    QRadioButton* m_comma;
    QRadioButton* m_other;
    QLineEdit* m_otherText;
    QLabel* m_hint;
    QRadioButton* m_typePaste;  // pages typed or pasted instead of a file
    QLabel* m_typedLabel;
    QLabel* m_importSummary;
    QPlainTextEdit* m_typed;
    QPushButton* m_ok;  // 1
    QButtonGroup* m_typeGroup;
    QButtonGroup* m_separatorGroup;

    QString m_fileType;  // "txt" or "csv" after the type page
    QString m_path;
    int m_notify = 0;
    QList<QWidget*> m_pageControls;
    QList<QWidget*> m_panels;         // the import pages' places, shown with their controls
    std::array<PageLook, 6> m_looks;  // indexed by Page
    Page m_page = Page::Address;
    Page m_listAfter = Page::File;  // the page before the list page
    bool m_leftAddressPage = false;
    bool m_headingGone = false;
    bool m_listLeftInView = false;
    bool m_plainImport = false;
    int m_skipped = 0;
};

}  // namespace tarnwick
