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

// The captions of the back and next buttons; the marked letters are for Alt.
// Marked here, translated where the wizard shows them.
constexpr const char* kImport = QT_TRANSLATE_NOOP("AddProfileWizard", "&Import...");
constexpr const char* kNext = QT_TRANSLATE_NOOP("AddProfileWizard", "&Next >");
constexpr const char* kSave = QT_TRANSLATE_NOOP("AddProfileWizard", "&Save and Finish");
constexpr const char* kCancel = QT_TRANSLATE_NOOP("AddProfileWizard", "Cancel");
constexpr const char* kBack = QT_TRANSLATE_NOOP("AddProfileWizard", "< &Back");

// text: a fixed text, translated by the message box.
void say(const char* text, QWidget* parent) {
    AppMessageBox::show(text, AppMessageBox::Buttons::Ok, parent);
}

template <typename W>
W* make(QWidget* parent, const char* id) {
    auto* widget = new W(parent);
    if (id != nullptr) {
        widget->setObjectName(QString::fromLatin1(id));
    }
    return widget;
}

QRadioButton* makeRadio(QWidget* parent, const char* id, const QString& text) {
    auto* radio = make<QRadioButton>(parent, id);
    radio->setText(text);
    return radio;
}

QLabel* makeLabel(QWidget* parent, const char* id, const QString& text) {
    auto* label = make<QLabel>(parent, id);
    label->setText(text);
    return label;
}

// The indent of the import pages' controls under their heading.
int indent() {
    return dluSize(13, 0).width();
}

}  // namespace

AddProfileWizard::AddProfileWizard(ProfilePaneAccess& panes, QWidget* parent)
    : QDialog(parent), m_panes(panes) {
    setObjectName(QStringLiteral("AddProfileWizard"));
    setWindowTitle(tr("Add"));

    m_addressLabel = makeLabel(this, nullptr, tr("&Enter Advetiser's Site :"));
    m_address = make<QLineEdit>(this, kAdvertiserEdit);
    m_addressLabel->setBuddy(m_address);
    m_lineFrame = make<QFrame>(this, nullptr);
    m_lineFrame->setFrameShape(QFrame::HLine);
    m_lineFrame->setFrameShadow(QFrame::Sunken);

    m_listLabel = makeLabel(this, kPagesLabel, tr("&Publisher's Site :"));
    m_list = make<QTableView>(this, kPagesTable);
    m_model = new ImportListModel(this);
    m_list->setModel(m_model);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_listLabel->setBuddy(m_list);
    m_list->setAccessibleName(tr("Publisher's Site"));
    setColumns({tr("Website")});

    // The file import pages share the list's place and lie on top of it.
    m_wizardHeading = makeLabel(this, kImportHeading, tr("File Import Wizard :"));
    auto* typeLayout = new QVBoxLayout;
    QWidget* typePanel = makePagePanel(this, typeLayout);
    m_typeText = makeRadio(typePanel, kTextFileRadio, tr("Text &File (*.txt)"));
    m_typeCsv = makeRadio(typePanel, kCsvFileRadio, tr("&CSV File (*.csv)"));
    m_typeExcel = makeRadio(typePanel, kExcelFileRadio, tr("E&xcel File (*.xls)"));
    // Pages by hand: typed or pasted, one per line.
    m_typePaste = makeRadio(typePanel, "TypedChoice", tr("&Type or paste the pages"));
    m_notifyBox = make<QCheckBox>(typePanel, kNotifyBox);
    m_notifyBox->setText(tr("&Also send e-mail notifications to link publishers."));
    typeLayout->setContentsMargins(indent(), dluSize(0, 4).height(), 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(m_typeText), static_cast<QWidget*>(m_typeCsv),
                       static_cast<QWidget*>(m_typeExcel), static_cast<QWidget*>(m_typePaste),
                       static_cast<QWidget*>(m_notifyBox)}) {
        typeLayout->addWidget(w);
    }
    m_mailSettings = makeButton(this, kMailSettingsButton, tr("&Mail Settings..."));

    auto* fileLayout = new QVBoxLayout;
    QWidget* filePanel = makePagePanel(this, fileLayout);
    m_pathLabel = makeLabel(filePanel, kPathLabel, tr("Import from fi&le :"));
    m_pathEdit = make<QLineEdit>(filePanel, kPathEdit);
    m_pathLabel->setBuddy(m_pathEdit);
    m_browse = makeButton(filePanel, kBrowseButton, QStringLiteral("..."));
    m_browse->setAccessibleName(tr("Browse"));
    auto* pathLine = new QHBoxLayout;
    pathLine->addWidget(m_pathEdit, 1);
    pathLine->addWidget(m_browse);
    fileLayout->setContentsMargins(indent(), dluSize(0, 4).height(), indent(), 0);
    fileLayout->addWidget(m_pathLabel);
    fileLayout->addLayout(pathLine);

    auto* separatorLayout = new QVBoxLayout;
    QWidget* separatorPanel = makePagePanel(this, separatorLayout);
    m_semicolon = makeRadio(separatorPanel, kSemicolonRadio, tr("&Semicolon(;)"));
    m_comma = makeRadio(separatorPanel, kCommaRadio, tr("C&omma(,)"));
    m_other = makeRadio(separatorPanel, kOtherSymbolRadio, tr("Other S&ymbol"));
    m_otherText = make<QLineEdit>(separatorPanel, kOtherSymbolEdit);
    m_otherText->setAccessibleName(tr("Other Symbol"));
    m_otherText->setAccessibleDescription(tr(texts::kSeparatorHint));
    m_otherText->setMaximumWidth(dluSize(30, 0).width());
    m_hint = makeLabel(separatorPanel, kSeparatorHint, tr(texts::kSeparatorHint));
    // The hint comes and goes without moving the box beside it.
    QSizePolicy hintPolicy = m_hint->sizePolicy();
    hintPolicy.setRetainSizeWhenHidden(true);
    m_hint->setSizePolicy(hintPolicy);
    auto* otherLine = new QHBoxLayout;
    otherLine->addWidget(m_other);
    otherLine->addWidget(m_otherText);
    otherLine->addWidget(m_hint);
    otherLine->addStretch(1);
    separatorLayout->setContentsMargins(indent(), dluSize(0, 4).height(), 0, 0);
    separatorLayout->addWidget(m_semicolon);
    separatorLayout->addWidget(m_comma);
    separatorLayout->addLayout(otherLine);

    auto* typedLayout = new QVBoxLayout;
    QWidget* typedPanel = makePagePanel(this, typedLayout);
    m_typedLabel = makeLabel(typedPanel, "TypedLabel",
                             tr("One page per line; its webmaster's mail address may follow "
                                "after a tab, \";\", \",\" or a blank."));
    m_typedLabel->setWordWrap(true);
    m_typed = make<QPlainTextEdit>(typedPanel, "TypedPages");
    m_typed->setAccessibleName(tr("Pages"));
    m_typed->setTabChangesFocus(true);
    m_typed->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_typedLabel->setBuddy(m_typed);
    typedLayout->addWidget(m_typedLabel);
    typedLayout->addWidget(m_typed, 1);
    m_panels = {typePanel, filePanel, separatorPanel, typedPanel};

    m_backButton = makeButton(this, kBackButton, tr(kCancel));
    m_mainButton = makeButton(this, kNextButton, tr(kImport));
    // Enter advances the wizard (the typed pages' box keeps Enter for lines).
    m_mainButton->setDefault(true);
    m_ok = makeButton(this, kOkButton, tr("OK"));
    m_ok->setAutoDefault(false);
    m_ok->setEnabled(false);
    m_ok->hide();

    // The address line, the etched line, the pages' place, the buttons.
    auto* layout = new QVBoxLayout(this);
    auto* addressLine = new QHBoxLayout;
    addressLine->addWidget(m_addressLabel);
    addressLine->addWidget(m_address, 1);
    layout->addLayout(addressLine);
    layout->addWidget(m_lineFrame);
    auto* place = new QGridLayout;
    // The list's label and the wizard's heading share their line.
    for (QLabel* heading : {m_listLabel, m_wizardHeading}) {
        QSizePolicy policy = heading->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        heading->setSizePolicy(policy);
        place->addWidget(heading, 0, 0);
    }
    place->addWidget(m_list, 1, 0);
    for (QWidget* panel : {typePanel, filePanel, separatorPanel}) {
        place->addWidget(panel, 1, 0, Qt::AlignTop);
        panel->raise();
    }
    place->addWidget(typedPanel, 0, 0, 2, 1);
    // What the import brought, under the list it filled.
    m_importSummary = makeLabel(this, "ImportSummary", QString());
    m_importSummary->setWordWrap(true);
    m_importSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    place->addWidget(m_importSummary, 2, 0);
    place->setRowStretch(1, 1);
    layout->addLayout(place, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_mailSettings);
    buttons->addStretch(1);
    buttons->addWidget(m_backButton);
    buttons->addWidget(m_mainButton);
    layout->addLayout(buttons);
    // The buttons keep their width from page to page, whatever they read.
    for (QPushButton* button : {m_backButton, m_mainButton}) {
        int widest = 0;
        for (const char* caption : {kImport, kNext, kSave, kCancel, kBack}) {
            button->setText(tr(caption));
            widest = std::max(widest, button->sizeHint().width());
        }
        button->setMinimumWidth(widest);
    }

    // Each set of radio buttons is its own group, chosen with the arrow keys.
    // A text file is the type chosen at first, so that Enter alone goes on;
    // no separator is, since a wrong one would split the pages wrongly.
    m_typeGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_typeText, m_typeCsv, m_typeExcel, m_typePaste}) {
        m_typeGroup->addButton(radio);
    }
    m_separatorGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {m_semicolon, m_comma, m_other}) {
        m_separatorGroup->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, [this, radio] { onSeparatorClicked(radio); });
    }
    m_typeExcel->setEnabled(false);
    m_typeText->setChecked(true);
    new RadioArrowKeys(m_typeGroup);
    new RadioArrowKeys(m_separatorGroup);

    // The controls that come and go with the pages, and what each page shows
    // of them. The separator hint, the mail settings button and what earlier
    // pages left in view are settled by ShowPage() itself.
    const QList<QWidget*> typeControls = {m_typeText,      m_typeCsv,   m_typeExcel,
                                          m_wizardHeading, m_notifyBox, m_typePaste};
    const QList<QWidget*> fileControls = {m_wizardHeading, m_pathLabel, m_pathEdit, m_browse};
    const QList<QWidget*> separatorControls = {m_wizardHeading, m_semicolon, m_comma, m_other,
                                               m_otherText};
    m_pageControls = {m_listLabel,     m_list,      m_typeText,     m_typeCsv,   m_typeExcel,
                      m_wizardHeading, m_notifyBox, m_pathLabel,    m_pathEdit,  m_browse,
                      m_semicolon,     m_comma,     m_other,        m_otherText, m_typePaste,
                      m_typedLabel,    m_typed,     m_importSummary};
    m_looks = {{
        {{m_listLabel, m_list}, tr(kCancel), tr(kImport)},  // Page::Address
        {typeControls, tr(kBack), tr(kNext)},               // Page::FileType
        {fileControls, tr(kBack), tr(kNext)},               // Page::File
        {separatorControls, tr(kBack), tr(kNext)},          // Page::Separator
        {{m_list, m_importSummary}, tr(kBack), tr(kSave)},  // Page::ImportedList
        {{m_typedLabel, m_typed}, tr(kBack), tr(kNext)},    // Page::Typed
    }};
    showPage(Page::Address, Arrival::Forward);

    connect(m_mainButton, &QPushButton::clicked, this, &AddProfileWizard::onMainButton);
    connect(m_backButton, &QPushButton::clicked, this, &AddProfileWizard::onBackButton);
    connect(m_notifyBox, &QCheckBox::clicked, this, &AddProfileWizard::onNotifyClicked);
    connect(m_mailSettings, &QPushButton::clicked, this, [this] { openMailSettings(this); });
    connect(m_browse, &QPushButton::clicked, this, &AddProfileWizard::onBrowse);
    m_address->setFocus();
    openAtLeast(this, dluSize(269, 206));
}

void AddProfileWizard::setColumns(const QStringList& headings) {
    m_model->setColumns(headings);
    for (int c = 0; c < headings.size(); ++c) {
        m_list->setColumnWidth(c, headings.at(c) == tr("Website") ? 366 : 200);
    }
}

void AddProfileWizard::putMailColumns(bool dropFirst) {
    QStringList headings = m_model->columns();
    const QStringList mailColumns = {tr("links"), tr("Mail")};
    // Coming back to a page that already set them does not add them again.
    if (headings.mid(0, 2) == mailColumns) {
        return;
    }
    if (dropFirst && !headings.isEmpty()) {
        headings.removeFirst();
    }
    setColumns(mailColumns + headings);
}

std::string AddProfileWizard::importPath() const {
    return pathFromQ(m_path);
}

void AddProfileWizard::showUnreadable(int error) {
    AppMessageBox::show(FileError(importPath(), error), AppMessageBox::Buttons::Ok, this);
}

void AddProfileWizard::showImport(const ImportResult& result, bool withMail) {
    std::vector<ImportRow> rows = result.m_rows;
    const ImportSummary summary = tidyImport(rows);
    m_model->setRows(std::move(rows));
    m_importSummary->setText(toQ(summary.text(withMail)));
    if (result.m_end == ImportEnd::FormatError) {
        AppMessageBox::show(result.m_message, AppMessageBox::Buttons::Ok, this);
    } else if (result.m_end == ImportEnd::Unreadable) {
        showUnreadable(result.m_error);
    }
}

void AddProfileWizard::onMainButton() {
    if (m_address->text().isEmpty()) {
        say(texts::kEnterUrl, this);
        return;
    }
    switch (m_page) {
        case Page::Address:
            toTypePage();
            break;
        case Page::FileType:
            toFilePage();
            break;
        case Page::File:
            fromFilePage();
            break;
        case Page::Separator:
            fromSeparatorPage();
            break;
        case Page::ImportedList:
            saveAndFinish();
            break;
        case Page::Typed:
            fromTypedPage();
            break;
    }
}

void AddProfileWizard::showPage(Page page, Arrival arrival) {
    // What earlier pages left behind, as the wizard has always kept it: the
    // imported list hides the heading until the address page is left again,
    // and going back from a CSV list leaves the list in view until then.
    if (arrival == Arrival::Forward && page == Page::FileType) {
        m_headingGone = false;
        m_listLeftInView = false;
    } else if (arrival == Arrival::Forward && page == Page::ImportedList) {
        m_headingGone = true;
    } else if (arrival == Arrival::Back && m_page == Page::ImportedList) {
        m_listLeftInView = page == Page::File && !m_plainImport;
    }
    if (arrival == Arrival::Back && page == Page::Address) {
        m_leftAddressPage = true;
    }
    if (page == Page::ImportedList) {
        m_listAfter = m_page;
    }
    m_page = page;

    const PageLook& look = m_looks[static_cast<std::size_t>(page)];
    for (QWidget* w : m_pageControls) {
        w->setVisible(look.m_shown.contains(w));
    }
    if (m_headingGone) {
        m_wizardHeading->hide();
    }
    if (m_listLeftInView) {
        m_list->show();
    }
    // The separator hint shows only when the page is reached from the file page.
    m_hint->setVisible(page == Page::Separator && arrival == Arrival::Forward);
    m_mailSettings->setVisible(page != Page::Address && m_notifyBox->isChecked());
    m_address->setEnabled(page == Page::Address);
    m_backButton->setText(look.m_back);
    m_mainButton->setText(look.m_main);
    showPanelsWithContent(m_panels);
    focusPage(look);
}

void AddProfileWizard::focusPage(const PageLook& look) {
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
    if (m_page == Page::Address) {
        first = m_address;
    }
    if (first != nullptr) {
        first->setFocus(Qt::TabFocusReason);
    }
}

int AddProfileWizard::pageCounter() const {
    switch (m_page) {
        case Page::Address:
            return m_leftAddressPage ? 0 : 1;
        case Page::FileType:
            return 1;
        case Page::File:
            return 2;
        case Page::Separator:
            return 3;
        case Page::ImportedList:
            return m_listAfter == Page::Separator ? 4 : 3;
        case Page::Typed:
            return 2;
    }
    return 0;
}

void AddProfileWizard::toTypePage() {
    if (!isAcceptableAddress(fromQ(m_address->text()))) {
        say(texts::kUrlInvalid, this);
        return;
    }
    showPage(Page::FileType, Arrival::Forward);
}

void AddProfileWizard::toFilePage() {
    m_notify = m_notifyBox->isChecked() ? 1 : 0;
    m_path = m_pathEdit->text();
    if (m_typePaste->isChecked()) {
        showPage(Page::Typed, Arrival::Forward);
        m_typed->setFocus();
        return;
    }
    if (m_typeText->isChecked()) {
        m_fileType = QStringLiteral("txt");
    } else if (m_typeCsv->isChecked()) {
        m_fileType = QStringLiteral("csv");
    }
    if (m_fileType.isEmpty()) {
        say(texts::kSelectFileType, this);
        return;
    }
    showPage(Page::File, Arrival::Forward);
}

void AddProfileWizard::fromFilePage() {
    m_notify = m_notifyBox->isChecked() ? 1 : 0;
    m_path = m_pathEdit->text();
    if (m_path.isEmpty()) {
        say(texts::kEnterPath, this);
        return;
    }
    const bool separated = m_fileType == QLatin1String("txt") && m_notify == 1;
    const bool csv = m_fileType == QLatin1String("csv");
    // A path that names no readable file keeps the wizard on this page.
    ImportResult result;
    if (separated) {
        if (const int error = checkImportFile(importPath()); error != 0) {
            showUnreadable(error);
            return;
        }
    } else {
        result = csv ? importCsv(importPath()) : importPlainText(importPath());
        if (result.m_end == ImportEnd::Unreadable) {
            showUnreadable(result.m_error);
            return;
        }
    }
    if (separated) {
        m_otherText->setEnabled(false);
        showPage(Page::Separator, Arrival::Forward);
        return;
    }
    if (!csv) {
        m_plainImport = true;
    }
    showPage(Page::ImportedList, Arrival::Forward);
    m_model->clearRows();
    if (csv) {
        putMailColumns(false);
    }
    showImport(result, csv);
}

void AddProfileWizard::fromSeparatorPage() {
    const QString otherText = m_otherText->text();
    SeparatorChoice choice = SeparatorChoice::None;
    if (m_semicolon->isChecked()) {
        choice = SeparatorChoice::Semicolon;
    } else if (m_comma->isChecked()) {
        choice = SeparatorChoice::Comma;
    } else if (m_other->isChecked()) {
        choice = SeparatorChoice::Other;
    }
    if (const char* message = checkSeparator(choice, fromQ(otherText)); message != nullptr) {
        say(message, this);
        return;
    }
    const ImportResult result =
        importSeparatedText(importPath(), separatorOf(choice, fromQ(otherText)));
    if (result.m_end == ImportEnd::Unreadable) {
        showUnreadable(result.m_error);
        return;
    }
    showPage(Page::ImportedList, Arrival::Forward);
    putMailColumns(true);
    m_model->clearRows();
    showImport(result, true);
}

void AddProfileWizard::fromTypedPage() {
    const TypedPages typed = parseTypedPages(fromQ(m_typed->toPlainText()));
    if (typed.m_line != 0) {
        AppMessageBox::show(toQ(typed.m_message), AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (typed.m_rows.empty()) {
        say(texts::kNoItem, this);
        return;
    }
    showPage(Page::ImportedList, Arrival::Forward);
    setColumns({tr("links"), tr("Mail")});
    m_importSummary->clear();
    m_model->clearRows();
    m_model->setRows(std::vector<ImportRow>(typed.m_rows));
}

void AddProfileWizard::saveAndFinish() {
    if (m_model->rowCount() == 0) {
        say(texts::kNoItem, this);
        return;
    }
    const std::string address = fromQ(m_address->text());
    std::vector<ImportRow> rows = m_model->rows();
    if (m_model->columnCount() < 2) {
        for (ImportRow& row : rows) {
            row.m_mail.clear();
        }
    }
    const bool notify = m_notify == 1;
    const DataFolder folder = DataFolder::fromEnvironment();
    try {
        const SavePlan plan = planSave(folder, address);
        SavedProfile saved;
        if (!plan.asksAppendOrOverwrite()) {
            saved = saveNewProfile(folder, plan, address, rows, notify);
        } else {
            OverwriteOrAppendQuestion choice(this);
            if (choice.exec() != QDialog::Accepted ||
                (choice.m_choice != OverwriteOrAppendQuestion::kAppend &&
                 choice.m_choice != OverwriteOrAppendQuestion::kOverwrite)) {
                return;  // nothing written; the wizard stays on its page
            }
            saved = choice.m_choice == OverwriteOrAppendQuestion::kAppend
                        ? appendToProfile(folder, plan, address, rows, notify)
                        : overwriteProfile(folder, plan, address, rows, notify);
        }
        m_skipped = saved.m_skipped;
        // The new row goes where its line went in index.txt.
        if (saved.m_row >= 0) {
            m_panes.insertProfileRow(saved.m_row, toQ(saved.m_displayText));
            m_panes.setProfileTicked(saved.m_row, true);
        }
        if (plan.asksAppendOrOverwrite()) {
            m_panes.rebuildResults();
        }
    } catch (const FileError& error) {
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, this);
        // Keep the pane row for row with index.txt when the list did change.
        if (static_cast<int>(ProfileList(folder).read().size()) != m_panes.profileRowCount()) {
            m_panes.loadProfiles();
            m_panes.rebuildResults();
        }
        return;
    }
    accept();
}

void AddProfileWizard::onBackButton() {
    switch (m_page) {
        case Page::Address:
            reject();
            return;
        case Page::FileType:
            showPage(Page::Address, Arrival::Back);
            break;
        case Page::File:
            showPage(Page::FileType, Arrival::Back);
            break;
        case Page::Separator:
            showPage(Page::File, Arrival::Back);
            break;
        case Page::ImportedList:
            showPage(m_listAfter, Arrival::Back);
            break;
        case Page::Typed:
            showPage(Page::FileType, Arrival::Back);
            break;
    }
    m_plainImport = false;
}

void AddProfileWizard::onSeparatorClicked(QRadioButton* button) {
    m_otherText->setEnabled(button == m_other);
}

void AddProfileWizard::onNotifyClicked() {
    m_notify = m_notifyBox->isChecked() ? 1 : 0;
    m_mailSettings->setVisible(m_notifyBox->isChecked());
}

void AddProfileWizard::onBrowse() {
    if (m_fileType.isEmpty()) {
        return;
    }
    const QString path = runImportDialog(this, importDialogSettingsFor(m_fileType));
    if (!path.isEmpty()) {
        m_pathEdit->setText(path);
    }
}

}  // namespace tarnwick
