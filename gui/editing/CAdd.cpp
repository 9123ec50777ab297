#include "gui/editing/CAdd.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "editing/ImportParsers.h"
#include "editing/ProfileSaver.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/CAbortAppend.h"
#include "gui/editing/DialogUnits.h"
#include "gui/editing/ImportBrowse.h"
#include "gui/editing/ImportListModel.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/MakeButton.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "store/FileError.h"
#include "store/ProfileList.h"

namespace tarnwick {
namespace {

const QString kImport = QStringLiteral("Import...");
const QString kNext = QStringLiteral("Next >");
const QString kSave = QStringLiteral("Save and Finish");
const QString kCancel = QStringLiteral("Cancel");
const QString kBack = QStringLiteral("< Back");

void Say(const char* text, QWidget* parent) {
    AppMessageBox::Show(text, AppMessageBox::Buttons::Ok, parent);
}

template <typename W>
W* Make(QWidget* parent, const char* id, const QRect& rect) {
    auto* widget = new W(parent);
    if (id != nullptr) {
        widget->setObjectName(QString::fromLatin1(id));
    }
    widget->setGeometry(rect);
    return widget;
}

QRadioButton* MakeRadio(QWidget* parent, const char* id, const QString& text, const QRect& rect) {
    auto* radio = Make<QRadioButton>(parent, id, rect);
    radio->setText(text);
    return radio;
}

QLabel* MakeLabel(QWidget* parent, const char* id, const QString& text, const QRect& rect) {
    auto* label = Make<QLabel>(parent, id, rect);
    label->setText(text);
    return label;
}

}  // namespace

CAdd::CAdd(ProfilePaneAccess& panes, QWidget* parent) : QDialog(parent), m_panes(panes) {
    setObjectName(QStringLiteral("145"));
    setWindowTitle(QStringLiteral("Add"));
    setFixedSize(DluSize(269, 206));

    m_pAddressLabel =
        MakeLabel(this, nullptr, QStringLiteral("Enter Advetiser's Site :"), Dlu(7, 9, 100, 10));
    m_pAddress = Make<QLineEdit>(this, "1006", Dlu(110, 7, 152, 13));
    m_pAddressLabel->setBuddy(m_pAddress);
    m_pLine = Make<QFrame>(this, nullptr, Dlu(7, 26, 255, 2));
    m_pLine->setFrameShape(QFrame::HLine);
    m_pLine->setFrameShadow(QFrame::Sunken);

    m_pListLabel =
        MakeLabel(this, "1026", QStringLiteral("Publisher's Site :"), Dlu(7, 32, 120, 10));
    m_pList = Make<QTableView>(this, "1000", Dlu(7, 44, 255, 134));
    m_pModel = new ImportListModel(this);
    m_pList->setModel(m_pModel);
    m_pList->setShowGrid(true);
    m_pList->setWordWrap(false);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->verticalHeader()->hide();
    m_pList->verticalHeader()->setDefaultSectionSize(m_pList->fontMetrics().height() + 6);
    m_pList->horizontalHeader()->setHighlightSections(false);
    m_pListLabel->setBuddy(m_pList);
    m_pList->setAccessibleName(QStringLiteral("Publisher's Site"));
    SetColumns({QStringLiteral("Website")});

    // The file import pages share the list's place; later controls lie on top.
    m_pWizardHeading =
        MakeLabel(this, "1027", QStringLiteral("File Import Wizard :"), Dlu(7, 32, 150, 10));
    m_pTypeText =
        MakeRadio(this, "1010", QStringLiteral("Text File (*.txt)"), Dlu(20, 48, 150, 10));
    m_pTypeCsv = MakeRadio(this, "1011", QStringLiteral("CSV File (*.csv)"), Dlu(20, 62, 150, 10));
    m_pTypeExcel =
        MakeRadio(this, "1012", QStringLiteral("Excel File (*.xls)"), Dlu(20, 76, 150, 10));
    m_pNotify = Make<QCheckBox>(this, "1025", Dlu(20, 100, 235, 10));
    m_pNotify->setText(QStringLiteral("Also send e-mail notifications to link publishers."));
    m_pMailSettings =
        MakeButton(this, "1041", QStringLiteral("Mail Settings..."), Dlu(7, 185, 70, 14));

    m_pPathLabel =
        MakeLabel(this, "1020", QStringLiteral("Import from file :"), Dlu(20, 48, 120, 10));
    m_pPath = Make<QLineEdit>(this, "1018", Dlu(20, 60, 200, 13));
    m_pPathLabel->setBuddy(m_pPath);
    m_pBrowse = MakeButton(this, "1019", QStringLiteral("..."), Dlu(224, 60, 20, 13));
    m_pBrowse->setAccessibleName(QStringLiteral("Browse"));

    m_pSemicolon = MakeRadio(this, "1021", QStringLiteral("Semicolon(;)"), Dlu(20, 48, 100, 10));
    m_pComma = MakeRadio(this, "1022", QStringLiteral("Comma(,)"), Dlu(20, 62, 100, 10));
    m_pOther = MakeRadio(this, "1023", QStringLiteral("Other Symbol"), Dlu(20, 76, 70, 10));
    m_pOtherText = Make<QLineEdit>(this, "1024", Dlu(92, 75, 30, 13));
    m_pOtherText->setAccessibleName(QStringLiteral("Other Symbol"));
    m_pOtherText->setAccessibleDescription(QString::fromLatin1(texts::kSeparatorHint));
    m_pHint =
        MakeLabel(this, "1074", QString::fromLatin1(texts::kSeparatorHint), Dlu(128, 77, 80, 10));

    m_pBack = MakeButton(this, "1008", kCancel, Dlu(130, 185, 55, 14));
    m_pMain = MakeButton(this, "1009", kImport, Dlu(190, 185, 72, 14));
    m_pOk = MakeButton(this, "1", QStringLiteral("OK"), Dlu(0, 0, 1, 1));
    m_pOk->setEnabled(false);
    m_pOk->hide();

    // Each set of radio buttons is its own group; nothing is ticked at first.
    m_pTypeGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_pTypeText, m_pTypeCsv, m_pTypeExcel}) {
        m_pTypeGroup->addButton(radio);
    }
    m_pSeparatorGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_pSemicolon, m_pComma, m_pOther}) {
        m_pSeparatorGroup->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, [this, radio] { OnSeparatorClicked(radio); });
    }
    m_pTypeExcel->setEnabled(false);

    // The controls that come and go with the pages, and what each page shows
    // of them. The separator hint, the mail settings button and what earlier
    // pages left in view are settled by ShowPage() itself.
    const QList<QWidget*> typeControls = {m_pTypeText, m_pTypeCsv, m_pTypeExcel, m_pWizardHeading,
                                          m_pNotify};
    const QList<QWidget*> fileControls = {m_pWizardHeading, m_pPathLabel, m_pPath, m_pBrowse};
    const QList<QWidget*> separatorControls = {m_pWizardHeading, m_pSemicolon, m_pComma, m_pOther,
                                               m_pOtherText};
    m_pageControls = {m_pListLabel,     m_pList,   m_pTypeText,  m_pTypeCsv,  m_pTypeExcel,
                      m_pWizardHeading, m_pNotify, m_pPathLabel, m_pPath,     m_pBrowse,
                      m_pSemicolon,     m_pComma,  m_pOther,     m_pOtherText};
    m_looks = {{
        {{m_pListLabel, m_pList}, kCancel, kImport},  // Page::Address
        {typeControls, kBack, kNext},                 // Page::FileType
        {fileControls, kBack, kNext},                 // Page::File
        {separatorControls, kBack, kNext},            // Page::Separator
        {{m_pList}, kBack, kSave},                    // Page::ImportedList
    }};
    ShowPage(Page::Address, Arrival::Forward);

    connect(m_pMain, &QPushButton::clicked, this, &CAdd::OnMainButton);
    connect(m_pBack, &QPushButton::clicked, this, &CAdd::OnBackButton);
    connect(m_pNotify, &QCheckBox::clicked, this, &CAdd::OnNotifyClicked);
    connect(m_pMailSettings, &QPushButton::clicked, this, [this] { OpenMailSettings(this); });
    connect(m_pBrowse, &QPushButton::clicked, this, &CAdd::OnBrowse);
    m_pAddress->setFocus();
}

void CAdd::SetColumns(const QStringList& headings) {
    m_pModel->SetColumns(headings);
    for (int c = 0; c < headings.size(); ++c) {
        m_pList->setColumnWidth(c, headings.at(c) == QLatin1String("Website") ? 366 : 200);
    }
}

void CAdd::PutMailColumns(bool dropFirst) {
    QStringList headings = m_pModel->Columns();
    const QStringList mailColumns = {QStringLiteral("links"), QStringLiteral("Mail")};
    // Coming back to a page that already set them does not add them again.
    if (headings.mid(0, 2) == mailColumns) {
        return;
    }
    if (dropFirst && !headings.isEmpty()) {
        headings.removeFirst();
    }
    SetColumns(mailColumns + headings);
}

std::string CAdd::ImportPath() const {
    return PathFromQ(m_strPath);
}

void CAdd::ShowUnreadable(int error) {
    AppMessageBox::Show(FileError(ImportPath(), error), AppMessageBox::Buttons::Ok, this);
}

void CAdd::ShowImport(const ImportResult& result) {
    std::vector<ImportRow> rows = result.m_rows;
    m_pModel->SetRows(std::move(rows));
    if (result.m_eEnd == ImportEnd::FormatError) {
        AppMessageBox::Show(result.m_strMessage, AppMessageBox::Buttons::Ok, this);
    } else if (result.m_eEnd == ImportEnd::Unreadable) {
        ShowUnreadable(result.m_nError);
    }
}

void CAdd::OnMainButton() {
    if (m_pAddress->text().isEmpty()) {
        Say(texts::kEnterUrl, this);
        return;
    }
    switch (m_ePage) {
        case Page::Address:
            ToTypePage();
            break;
        case Page::FileType:
            ToFilePage();
            break;
        case Page::File:
            FromFilePage();
            break;
        case Page::Separator:
            FromSeparatorPage();
            break;
        case Page::ImportedList:
            SaveAndFinish();
            break;
    }
}

void CAdd::ShowPage(Page page, Arrival arrival) {
    // What earlier pages left behind, as the wizard has always kept it: the
    // imported list hides the heading until the address page is left again,
    // and going back from a CSV list leaves the list in view until then.
    if (arrival == Arrival::Forward && page == Page::FileType) {
        m_bHeadingGone = false;
        m_bListLeftInView = false;
    } else if (arrival == Arrival::Forward && page == Page::ImportedList) {
        m_bHeadingGone = true;
    } else if (arrival == Arrival::Back && m_ePage == Page::ImportedList) {
        m_bListLeftInView = page == Page::File && !m_bPlainImport;
    }
    if (arrival == Arrival::Back && page == Page::Address) {
        m_bLeftAddressPage = true;
    }
    if (page == Page::ImportedList) {
        m_eListAfter = m_ePage;
    }
    m_ePage = page;

    const PageLook& look = m_looks[static_cast<std::size_t>(page)];
    for (QWidget* w : m_pageControls) {
        w->setVisible(look.m_shown.contains(w));
    }
    if (m_bHeadingGone) {
        m_pWizardHeading->hide();
    }
    if (m_bListLeftInView) {
        m_pList->show();
    }
    // The separator hint shows only when the page is reached from the file page.
    m_pHint->setVisible(page == Page::Separator && arrival == Arrival::Forward);
    m_pMailSettings->setVisible(page != Page::Address && m_pNotify->isChecked());
    m_pAddress->setEnabled(page == Page::Address);
    m_pBack->setText(look.m_strBack);
    m_pMain->setText(look.m_strMain);
}

int CAdd::PageCounter() const {
    switch (m_ePage) {
        case Page::Address:
            return m_bLeftAddressPage ? 0 : 1;
        case Page::FileType:
            return 1;
        case Page::File:
            return 2;
        case Page::Separator:
            return 3;
        case Page::ImportedList:
            return m_eListAfter == Page::Separator ? 4 : 3;
    }
    return 0;
}

void CAdd::ToTypePage() {
    if (!IsAcceptableAddress(FromQ(m_pAddress->text()))) {
        Say(texts::kUrlInvalid, this);
        return;
    }
    ShowPage(Page::FileType, Arrival::Forward);
}

void CAdd::ToFilePage() {
    m_bNotify = m_pNotify->isChecked() ? 1 : 0;
    m_strPath = m_pPath->text();
    if (m_pTypeText->isChecked()) {
        m_strFileType = QStringLiteral("txt");
    } else if (m_pTypeCsv->isChecked()) {
        m_strFileType = QStringLiteral("csv");
    }
    if (m_strFileType.isEmpty()) {
        Say(texts::kSelectFileType, this);
        return;
    }
    ShowPage(Page::File, Arrival::Forward);
}

void CAdd::FromFilePage() {
    m_bNotify = m_pNotify->isChecked() ? 1 : 0;
    m_strPath = m_pPath->text();
    if (m_strPath.isEmpty()) {
        Say(texts::kEnterPath, this);
        return;
    }
    const bool separated = m_strFileType == QLatin1String("txt") && m_bNotify == 1;
    const bool csv = m_strFileType == QLatin1String("csv");
    // A path that names no readable file keeps the wizard on this page.
    ImportResult result;
    if (separated) {
        if (const int error = CheckImportFile(ImportPath()); error != 0) {
            ShowUnreadable(error);
            return;
        }
    } else {
        result = csv ? ImportCsv(ImportPath()) : ImportPlainText(ImportPath());
        if (result.m_eEnd == ImportEnd::Unreadable) {
            ShowUnreadable(result.m_nError);
            return;
        }
    }
    if (separated) {
        m_pOtherText->setEnabled(false);
        ShowPage(Page::Separator, Arrival::Forward);
        return;
    }
    if (!csv) {
        m_bPlainImport = true;
    }
    ShowPage(Page::ImportedList, Arrival::Forward);
    m_pModel->ClearRows();
    if (csv) {
        PutMailColumns(false);
    }
    ShowImport(result);
}

void CAdd::FromSeparatorPage() {
    const QString otherText = m_pOtherText->text();
    SeparatorChoice choice = SeparatorChoice::None;
    if (m_pSemicolon->isChecked()) {
        choice = SeparatorChoice::Semicolon;
    } else if (m_pComma->isChecked()) {
        choice = SeparatorChoice::Comma;
    } else if (m_pOther->isChecked()) {
        choice = SeparatorChoice::Other;
    }
    if (const char* message = CheckSeparator(choice, FromQ(otherText)); message != nullptr) {
        Say(message, this);
        return;
    }
    const ImportResult result =
        ImportSeparatedText(ImportPath(), SeparatorOf(choice, FromQ(otherText)));
    if (result.m_eEnd == ImportEnd::Unreadable) {
        ShowUnreadable(result.m_nError);
        return;
    }
    ShowPage(Page::ImportedList, Arrival::Forward);
    PutMailColumns(true);
    m_pModel->ClearRows();
    ShowImport(result);
}

void CAdd::SaveAndFinish() {
    if (m_pModel->rowCount() == 0) {
        Say(texts::kNoItem, this);
        return;
    }
    const std::string address = FromQ(m_pAddress->text());
    std::vector<ImportRow> rows = m_pModel->Rows();
    if (m_pModel->columnCount() < 2) {
        for (ImportRow& row : rows) {
            row.m_strMail.clear();
        }
    }
    const bool notify = m_bNotify == 1;
    const DataFolder folder = DataFolder::FromEnvironment();
    try {
        const SavePlan plan = PlanSave(folder, address);
        SavedProfile saved;
        if (!plan.AsksAppendOrOverwrite()) {
            saved = SaveNewProfile(folder, plan, address, rows, notify);
        } else {
            CAbortAppend choice(this);
            if (choice.exec() != QDialog::Accepted ||
                (choice.m_nChoice != CAbortAppend::kAppend &&
                 choice.m_nChoice != CAbortAppend::kOverwrite)) {
                return;  // nothing written; the wizard stays on its page
            }
            saved = choice.m_nChoice == CAbortAppend::kAppend
                        ? AppendToProfile(folder, plan, address, rows, notify)
                        : OverwriteProfile(folder, plan, address, rows, notify);
        }
        // The new row goes where its line went in index.txt.
        if (saved.m_nRow >= 0) {
            m_panes.InsertProfileRow(saved.m_nRow, ToQ(saved.m_strDisplayText));
            m_panes.SetProfileTicked(saved.m_nRow, true);
        }
        if (plan.AsksAppendOrOverwrite()) {
            m_panes.RebuildResults();
        }
    } catch (const FileError& error) {
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, this);
        // Keep the pane row for row with index.txt when the list did change.
        if (static_cast<int>(ProfileList(folder).Read().size()) != m_panes.ProfileRowCount()) {
            m_panes.LoadProfiles();
            m_panes.RebuildResults();
        }
        return;
    }
    accept();
}

void CAdd::OnBackButton() {
    switch (m_ePage) {
        case Page::Address:
            reject();
            return;
        case Page::FileType:
            ShowPage(Page::Address, Arrival::Back);
            break;
        case Page::File:
            ShowPage(Page::FileType, Arrival::Back);
            break;
        case Page::Separator:
            ShowPage(Page::File, Arrival::Back);
            break;
        case Page::ImportedList:
            ShowPage(m_eListAfter, Arrival::Back);
            break;
    }
    m_bPlainImport = false;
}

void CAdd::OnSeparatorClicked(QRadioButton* button) {
    m_pOtherText->setEnabled(button == m_pOther);
}

void CAdd::OnNotifyClicked() {
    m_bNotify = m_pNotify->isChecked() ? 1 : 0;
    m_pMailSettings->setVisible(m_pNotify->isChecked());
}

void CAdd::OnBrowse() {
    if (m_strFileType.isEmpty()) {
        return;
    }
    const QString path = RunImportDialog(this, ImportDialogSettingsFor(m_strFileType));
    if (!path.isEmpty()) {
        m_pPath->setText(path);
    }
}

}  // namespace tarnwick
