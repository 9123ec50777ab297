#include "gui/editing/AddProfileWizard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "editing/ImportParsers.h"
#include "editing/ProfileSaver.h"
#include "editing/TypedPages.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/DialogLayout.h"
#include "gui/controls/RadioArrowKeys.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/ImportBrowse.h"
#include "gui/editing/ImportListModel.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/MakeButton.h"
#include "gui/editing/OverwriteOrAppendQuestion.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "store/FileError.h"
#include "store/ProfileList.h"

namespace tarnwick {
namespace {

// The captions of 1008 and 1009; the marked letters are for Alt.
const QString kImport = QStringLiteral("&Import...");
const QString kNext = QStringLiteral("&Next >");
const QString kSave = QStringLiteral("&Save and Finish");
const QString kCancel = QStringLiteral("Cancel");
const QString kBack = QStringLiteral("< &Back");
const QString kTypedHint = QStringLiteral(
    "One page per line; its webmaster's mail address may follow after a tab, "
    "\";\", \",\" or a blank.");

void Say(const char* text, QWidget* parent) {
    AppMessageBox::Show(text, AppMessageBox::Buttons::Ok, parent);
}

template <typename W>
W* Make(QWidget* parent, const char* id) {
    auto* widget = new W(parent);
    if (id != nullptr) {
        widget->setObjectName(QString::fromLatin1(id));
    }
    return widget;
}

QRadioButton* MakeRadio(QWidget* parent, const char* id, const QString& text) {
    auto* radio = Make<QRadioButton>(parent, id);
    radio->setText(text);
    return radio;
}

QLabel* MakeLabel(QWidget* parent, const char* id, const QString& text) {
    auto* label = Make<QLabel>(parent, id);
    label->setText(text);
    return label;
}

// The indent of the import pages' controls under their heading.
int Indent() {
    return DluSize(13, 0).width();
}

}  // namespace

AddProfileWizard::AddProfileWizard(ProfilePaneAccess& panes, QWidget* parent)
    : QDialog(parent), m_panes(panes) {
    setObjectName(QStringLiteral("145"));
    setWindowTitle(QStringLiteral("Add"));

    m_pAddressLabel = MakeLabel(this, nullptr, QStringLiteral("&Enter Advetiser's Site :"));
    m_pAddress = Make<QLineEdit>(this, "1006");
    m_pAddressLabel->setBuddy(m_pAddress);
    m_pLine = Make<QFrame>(this, nullptr);
    m_pLine->setFrameShape(QFrame::HLine);
    m_pLine->setFrameShadow(QFrame::Sunken);

    m_pListLabel = MakeLabel(this, "1026", QStringLiteral("&Publisher's Site :"));
    m_pList = Make<QTableView>(this, "1000");
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

    // The file import pages share the list's place and lie on top of it.
    m_pWizardHeading = MakeLabel(this, "1027", QStringLiteral("File Import Wizard :"));
    auto* typeLayout = new QVBoxLayout;
    QWidget* typePanel = MakePagePanel(this, typeLayout);
    m_pTypeText = MakeRadio(typePanel, "1010", QStringLiteral("Text &File (*.txt)"));
    m_pTypeCsv = MakeRadio(typePanel, "1011", QStringLiteral("&CSV File (*.csv)"));
    m_pTypeExcel = MakeRadio(typePanel, "1012", QStringLiteral("E&xcel File (*.xls)"));
    // Pages by hand: typed or pasted, one per line.
    m_pTypePaste = MakeRadio(typePanel, "TypedChoice", QStringLiteral("&Type or paste the pages"));
    m_pNotify = Make<QCheckBox>(typePanel, "1025");
    m_pNotify->setText(QStringLiteral("&Also send e-mail notifications to link publishers."));
    typeLayout->setContentsMargins(Indent(), DluSize(0, 4).height(), 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(m_pTypeText), static_cast<QWidget*>(m_pTypeCsv),
                       static_cast<QWidget*>(m_pTypeExcel), static_cast<QWidget*>(m_pTypePaste),
                       static_cast<QWidget*>(m_pNotify)}) {
        typeLayout->addWidget(w);
    }
    m_pMailSettings = MakeButton(this, "1041", QStringLiteral("&Mail Settings..."));

    auto* fileLayout = new QVBoxLayout;
    QWidget* filePanel = MakePagePanel(this, fileLayout);
    m_pPathLabel = MakeLabel(filePanel, "1020", QStringLiteral("Import from fi&le :"));
    m_pPath = Make<QLineEdit>(filePanel, "1018");
    m_pPathLabel->setBuddy(m_pPath);
    m_pBrowse = MakeButton(filePanel, "1019", QStringLiteral("..."));
    m_pBrowse->setAccessibleName(QStringLiteral("Browse"));
    auto* pathLine = new QHBoxLayout;
    pathLine->addWidget(m_pPath, 1);
    pathLine->addWidget(m_pBrowse);
    fileLayout->setContentsMargins(Indent(), DluSize(0, 4).height(), Indent(), 0);
    fileLayout->addWidget(m_pPathLabel);
    fileLayout->addLayout(pathLine);

    auto* separatorLayout = new QVBoxLayout;
    QWidget* separatorPanel = MakePagePanel(this, separatorLayout);
    m_pSemicolon = MakeRadio(separatorPanel, "1021", QStringLiteral("&Semicolon(;)"));
    m_pComma = MakeRadio(separatorPanel, "1022", QStringLiteral("C&omma(,)"));
    m_pOther = MakeRadio(separatorPanel, "1023", QStringLiteral("Other S&ymbol"));
    m_pOtherText = Make<QLineEdit>(separatorPanel, "1024");
    m_pOtherText->setAccessibleName(QStringLiteral("Other Symbol"));
    m_pOtherText->setAccessibleDescription(QString::fromLatin1(texts::kSeparatorHint));
    m_pOtherText->setMaximumWidth(DluSize(30, 0).width());
    m_pHint = MakeLabel(separatorPanel, "1074", QString::fromLatin1(texts::kSeparatorHint));
    // The hint comes and goes without moving the box beside it.
    QSizePolicy hintPolicy = m_pHint->sizePolicy();
    hintPolicy.setRetainSizeWhenHidden(true);
    m_pHint->setSizePolicy(hintPolicy);
    auto* otherLine = new QHBoxLayout;
    otherLine->addWidget(m_pOther);
    otherLine->addWidget(m_pOtherText);
    otherLine->addWidget(m_pHint);
    otherLine->addStretch(1);
    separatorLayout->setContentsMargins(Indent(), DluSize(0, 4).height(), 0, 0);
    separatorLayout->addWidget(m_pSemicolon);
    separatorLayout->addWidget(m_pComma);
    separatorLayout->addLayout(otherLine);

    auto* typedLayout = new QVBoxLayout;
    QWidget* typedPanel = MakePagePanel(this, typedLayout);
    m_pTypedLabel = MakeLabel(typedPanel, "TypedLabel", kTypedHint);
    m_pTypedLabel->setWordWrap(true);
    m_pTyped = Make<QPlainTextEdit>(typedPanel, "TypedPages");
    m_pTyped->setAccessibleName(QStringLiteral("Pages"));
    m_pTyped->setTabChangesFocus(true);
    m_pTyped->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pTypedLabel->setBuddy(m_pTyped);
    typedLayout->addWidget(m_pTypedLabel);
    typedLayout->addWidget(m_pTyped, 1);
    m_panels = {typePanel, filePanel, separatorPanel, typedPanel};

    m_pBack = MakeButton(this, "1008", kCancel);
    m_pMain = MakeButton(this, "1009", kImport);
    // Enter advances the wizard (the typed pages' box keeps Enter for lines).
    m_pMain->setDefault(true);
    m_pOk = MakeButton(this, "1", QStringLiteral("OK"));
    m_pOk->setAutoDefault(false);
    m_pOk->setEnabled(false);
    m_pOk->hide();

    // The address line, the etched line, the pages' place, the buttons.
    auto* layout = new QVBoxLayout(this);
    auto* addressLine = new QHBoxLayout;
    addressLine->addWidget(m_pAddressLabel);
    addressLine->addWidget(m_pAddress, 1);
    layout->addLayout(addressLine);
    layout->addWidget(m_pLine);
    auto* place = new QGridLayout;
    // The list's label and the wizard's heading share their line.
    for (QLabel* heading : {m_pListLabel, m_pWizardHeading}) {
        QSizePolicy policy = heading->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        heading->setSizePolicy(policy);
        place->addWidget(heading, 0, 0);
    }
    place->addWidget(m_pList, 1, 0);
    for (QWidget* panel : {typePanel, filePanel, separatorPanel}) {
        place->addWidget(panel, 1, 0, Qt::AlignTop);
        panel->raise();
    }
    place->addWidget(typedPanel, 0, 0, 2, 1);
    // What the import brought, under the list it filled.
    m_pImportSummary = MakeLabel(this, "ImportSummary", QString());
    m_pImportSummary->setWordWrap(true);
    m_pImportSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    place->addWidget(m_pImportSummary, 2, 0);
    place->setRowStretch(1, 1);
    layout->addLayout(place, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pMailSettings);
    buttons->addStretch(1);
    buttons->addWidget(m_pBack);
    buttons->addWidget(m_pMain);
    layout->addLayout(buttons);
    // The buttons keep their width from page to page, whatever they read.
    for (QPushButton* button : {m_pBack, m_pMain}) {
        int widest = 0;
        for (const QString& caption : {kImport, kNext, kSave, kCancel, kBack}) {
            button->setText(caption);
            widest = std::max(widest, button->sizeHint().width());
        }
        button->setMinimumWidth(widest);
    }

    // Each set of radio buttons is its own group, chosen with the arrow keys.
    // A text file is the type chosen at first, so that Enter alone goes on;
    // no separator is, since a wrong one would split the pages wrongly.
    m_pTypeGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_pTypeText, m_pTypeCsv, m_pTypeExcel, m_pTypePaste}) {
        m_pTypeGroup->addButton(radio);
    }
    m_pSeparatorGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_pSemicolon, m_pComma, m_pOther}) {
        m_pSeparatorGroup->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, [this, radio] { OnSeparatorClicked(radio); });
    }
    m_pTypeExcel->setEnabled(false);
    m_pTypeText->setChecked(true);
    new RadioArrowKeys(m_pTypeGroup);
    new RadioArrowKeys(m_pSeparatorGroup);

    // The controls that come and go with the pages, and what each page shows
    // of them. The separator hint, the mail settings button and what earlier
    // pages left in view are settled by ShowPage() itself.
    const QList<QWidget*> typeControls = {m_pTypeText,      m_pTypeCsv, m_pTypeExcel,
                                          m_pWizardHeading, m_pNotify,  m_pTypePaste};
    const QList<QWidget*> fileControls = {m_pWizardHeading, m_pPathLabel, m_pPath, m_pBrowse};
    const QList<QWidget*> separatorControls = {m_pWizardHeading, m_pSemicolon, m_pComma, m_pOther,
                                               m_pOtherText};
    m_pageControls = {m_pListLabel,     m_pList,   m_pTypeText,     m_pTypeCsv,   m_pTypeExcel,
                      m_pWizardHeading, m_pNotify, m_pPathLabel,    m_pPath,      m_pBrowse,
                      m_pSemicolon,     m_pComma,  m_pOther,        m_pOtherText, m_pTypePaste,
                      m_pTypedLabel,    m_pTyped,  m_pImportSummary};
    m_looks = {{
        {{m_pListLabel, m_pList}, kCancel, kImport},  // Page::Address
        {typeControls, kBack, kNext},                 // Page::FileType
        {fileControls, kBack, kNext},                 // Page::File
        {separatorControls, kBack, kNext},            // Page::Separator
        {{m_pList, m_pImportSummary}, kBack, kSave},  // Page::ImportedList
        {{m_pTypedLabel, m_pTyped}, kBack, kNext},    // Page::Typed
    }};
    ShowPage(Page::Address, Arrival::Forward);

    connect(m_pMain, &QPushButton::clicked, this, &AddProfileWizard::OnMainButton);
    connect(m_pBack, &QPushButton::clicked, this, &AddProfileWizard::OnBackButton);
    connect(m_pNotify, &QCheckBox::clicked, this, &AddProfileWizard::OnNotifyClicked);
    connect(m_pMailSettings, &QPushButton::clicked, this, [this] { OpenMailSettings(this); });
    connect(m_pBrowse, &QPushButton::clicked, this, &AddProfileWizard::OnBrowse);
    m_pAddress->setFocus();
    OpenAtLeast(this, DluSize(269, 206));
}

void AddProfileWizard::SetColumns(const QStringList& headings) {
    m_pModel->SetColumns(headings);
    for (int c = 0; c < headings.size(); ++c) {
        m_pList->setColumnWidth(c, headings.at(c) == QLatin1String("Website") ? 366 : 200);
    }
}

void AddProfileWizard::PutMailColumns(bool dropFirst) {
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

std::string AddProfileWizard::ImportPath() const {
    return PathFromQ(m_strPath);
}

void AddProfileWizard::ShowUnreadable(int error) {
    AppMessageBox::Show(FileError(ImportPath(), error), AppMessageBox::Buttons::Ok, this);
}

void AddProfileWizard::ShowImport(const ImportResult& result, bool withMail) {
    std::vector<ImportRow> rows = result.m_rows;
    const ImportSummary summary = TidyImport(rows);
    m_pModel->SetRows(std::move(rows));
    m_pImportSummary->setText(ToQ(summary.Text(withMail)));
    if (result.m_eEnd == ImportEnd::FormatError) {
        AppMessageBox::Show(result.m_strMessage, AppMessageBox::Buttons::Ok, this);
    } else if (result.m_eEnd == ImportEnd::Unreadable) {
        ShowUnreadable(result.m_nError);
    }
}

void AddProfileWizard::OnMainButton() {
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
        case Page::Typed:
            FromTypedPage();
            break;
    }
}

void AddProfileWizard::ShowPage(Page page, Arrival arrival) {
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
    ShowPanelsWithContent(m_panels);
    FocusPage(look);
}

void AddProfileWizard::FocusPage(const PageLook& look) {
    // The focus goes to the page's first control, never to a button: a
    // focused button takes Enter, and Enter is for going on (the page's
    // default button, Next or Finish). In a group of radio buttons the one
    // ticked gets it.
    QWidget* first = nullptr;
    for (QWidget* w : look.m_shown) {
        if (!w->isVisibleTo(this) || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            if (QAbstractButton* ticked =
                    radio->group() ? radio->group()->checkedButton() : nullptr) {
                w = ticked;
            }
        }
        first = w;
        break;
    }
    if (m_ePage == Page::Address) {
        first = m_pAddress;
    }
    if (first != nullptr) {
        first->setFocus(Qt::TabFocusReason);
    }
}

int AddProfileWizard::PageCounter() const {
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
        case Page::Typed:
            return 2;
    }
    return 0;
}

void AddProfileWizard::ToTypePage() {
    if (!IsAcceptableAddress(FromQ(m_pAddress->text()))) {
        Say(texts::kUrlInvalid, this);
        return;
    }
    ShowPage(Page::FileType, Arrival::Forward);
}

void AddProfileWizard::ToFilePage() {
    m_bNotify = m_pNotify->isChecked() ? 1 : 0;
    m_strPath = m_pPath->text();
    if (m_pTypePaste->isChecked()) {
        ShowPage(Page::Typed, Arrival::Forward);
        m_pTyped->setFocus();
        return;
    }
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

void AddProfileWizard::FromFilePage() {
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
    ShowImport(result, csv);
}

void AddProfileWizard::FromSeparatorPage() {
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
    ShowImport(result, true);
}

void AddProfileWizard::FromTypedPage() {
    const TypedPages typed = ParseTypedPages(FromQ(m_pTyped->toPlainText()));
    if (typed.m_nLine != 0) {
        AppMessageBox::Show(ToQ(typed.m_strMessage), AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (typed.m_rows.empty()) {
        Say(texts::kNoItem, this);
        return;
    }
    ShowPage(Page::ImportedList, Arrival::Forward);
    SetColumns({QStringLiteral("links"), QStringLiteral("Mail")});
    m_pImportSummary->clear();
    m_pModel->ClearRows();
    m_pModel->SetRows(std::vector<ImportRow>(typed.m_rows));
}

void AddProfileWizard::SaveAndFinish() {
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
            OverwriteOrAppendQuestion choice(this);
            if (choice.exec() != QDialog::Accepted ||
                (choice.m_nChoice != OverwriteOrAppendQuestion::kAppend &&
                 choice.m_nChoice != OverwriteOrAppendQuestion::kOverwrite)) {
                return;  // nothing written; the wizard stays on its page
            }
            saved = choice.m_nChoice == OverwriteOrAppendQuestion::kAppend
                        ? AppendToProfile(folder, plan, address, rows, notify)
                        : OverwriteProfile(folder, plan, address, rows, notify);
        }
        m_nSkipped = saved.m_nSkipped;
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

void AddProfileWizard::OnBackButton() {
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
        case Page::Typed:
            ShowPage(Page::FileType, Arrival::Back);
            break;
    }
    m_bPlainImport = false;
}

void AddProfileWizard::OnSeparatorClicked(QRadioButton* button) {
    m_pOtherText->setEnabled(button == m_pOther);
}

void AddProfileWizard::OnNotifyClicked() {
    m_bNotify = m_pNotify->isChecked() ? 1 : 0;
    m_pMailSettings->setVisible(m_pNotify->isChecked());
}

void AddProfileWizard::OnBrowse() {
    if (m_strFileType.isEmpty()) {
        return;
    }
    const QString path = RunImportDialog(this, ImportDialogSettingsFor(m_strFileType));
    if (!path.isEmpty()) {
        m_pPath->setText(path);
    }
}

}  // namespace tarnwick
