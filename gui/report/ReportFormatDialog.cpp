#include "gui/report/ReportFormatDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

#include "gui/controls/DialogLayout.h"
#include "gui/controls/FileDialog.h"
#include "gui/controls/TextCodec.h"

namespace tarnwick {

const QString ReportFormatDialog::kHtmlFilter =
    QStringLiteral("HTML Files(*.html);;txt Files(*.txt);;All Files(*.*)");
const QString ReportFormatDialog::kTextFilter =
    QStringLiteral("txt Files(*.txt);;html Files(*.html);;All Files(*.*)");
const QString ReportFormatDialog::kHtmlDefaultName = QStringLiteral("Report.html");
const QString ReportFormatDialog::kTextDefaultName = QStringLiteral("Report.txt");

ReportFormatDialog::ReportFormatDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportFormatDialog"));
    setWindowTitle(tr("Save As.."));
    setAccessibleName(windowTitle());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_htmlButton = new QRadioButton(tr(".html format "), this);
    m_htmlButton->setObjectName(kHtmlRadio);
    m_text = new QRadioButton(tr(".txt format"), this);
    m_text->setObjectName(kTextRadio);
    // One exclusive group: exactly one choice is ticked, a click on the ticked
    // one leaves it ticked, and screen readers hear two radio buttons.
    auto* formats = new QButtonGroup(this);
    formats->setExclusive(true);
    formats->addButton(m_htmlButton);
    formats->addButton(m_text);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(kOkButton);
    // Enter asks for the file in the chosen format, wherever the focus is.
    m_ok->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_htmlButton, 0, 0);
    layout->addWidget(m_text, 1, 0);
    layout->addWidget(m_ok, 0, 1, 2, 1, Qt::AlignVCenter);

    connect(m_htmlButton, &QRadioButton::clicked, this, [this] { onHtmlFormat(); });
    connect(m_text, &QRadioButton::clicked, this, [this] { onTextFormat(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { onReportOk(); });
    onInitDialog();
    // The designed size at least; larger when the texts need it.
    openAtLeast(this, QSize(192, 80));
}

void ReportFormatDialog::onInitDialog() {
    onHtmlFormat();
    m_htmlButton->setFocus();
}

void ReportFormatDialog::onHtmlFormat() {
    m_htmlButton->setChecked(true);
    m_text->setChecked(false);
    m_html = true;
}

void ReportFormatDialog::onTextFormat() {
    m_text->setChecked(true);
    m_htmlButton->setChecked(false);
    m_html = false;
}

void ReportFormatDialog::onReportOk() {
    chooseReportFile();
    accept();
}

void ReportFormatDialog::chooseReportFile() {
    const QString filter = m_html ? kHtmlFilter : kTextFilter;
    const QString name = m_html ? kHtmlDefaultName : kTextDefaultName;
    FileDialog dialog(false, this, QString(), name, filter);
    if (dialog.runDialog()) {
        // File names are the file system's bytes, not the code page's text.
        m_reportPath = pathFromQ(dialog.getChosenPath());
    }
}

}  // namespace tarnwick
