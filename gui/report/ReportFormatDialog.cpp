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
    setObjectName(QStringLiteral("163"));
    setWindowTitle(QStringLiteral("Save As.."));
    setAccessibleName(windowTitle());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_pHtml = new QRadioButton(QStringLiteral(".html format "), this);
    m_pHtml->setObjectName(QStringLiteral("1060"));
    m_pText = new QRadioButton(QStringLiteral(".txt format"), this);
    m_pText->setObjectName(QStringLiteral("1061"));
    // One exclusive group: exactly one choice is ticked, a click on the ticked
    // one leaves it ticked, and screen readers hear two radio buttons.
    auto* formats = new QButtonGroup(this);
    formats->setExclusive(true);
    formats->addButton(m_pHtml);
    formats->addButton(m_pText);
    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setObjectName(QStringLiteral("1044"));
    // Enter asks for the file in the chosen format, wherever the focus is.
    m_pOk->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pHtml, 0, 0);
    layout->addWidget(m_pText, 1, 0);
    layout->addWidget(m_pOk, 0, 1, 2, 1, Qt::AlignVCenter);

    connect(m_pHtml, &QRadioButton::clicked, this, [this] { OnHtmlFormat(); });
    connect(m_pText, &QRadioButton::clicked, this, [this] { OnTextFormat(); });
    connect(m_pOk, &QPushButton::clicked, this, [this] { OnReportOk(); });
    OnInitDialog();
    // The designed size at least; larger when the texts need it.
    OpenAtLeast(this, QSize(192, 80));
}

void ReportFormatDialog::OnInitDialog() {
    OnHtmlFormat();
    m_pHtml->setFocus();
}

void ReportFormatDialog::OnHtmlFormat() {
    m_pHtml->setChecked(true);
    m_pText->setChecked(false);
    m_bHtml = true;
}

void ReportFormatDialog::OnTextFormat() {
    m_pText->setChecked(true);
    m_pHtml->setChecked(false);
    m_bHtml = false;
}

void ReportFormatDialog::OnReportOk() {
    ChooseReportFile();
    accept();
}

void ReportFormatDialog::ChooseReportFile() {
    const QString filter = m_bHtml ? kHtmlFilter : kTextFilter;
    const QString name = m_bHtml ? kHtmlDefaultName : kTextDefaultName;
    FileDialog dialog(false, this, QString(), name, filter);
    if (dialog.RunDialog()) {
        // File names are the file system's bytes, not the code page's text.
        m_strReportPath = PathFromQ(dialog.GetChosenPath());
    }
}

}  // namespace tarnwick
