#include "gui/app/PageDetailsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/controls/TextCodec.h"

namespace tarnwick {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PageDetailsDialog::PageDetailsDialog(const ResultRow& row, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PageDetails"));
    setWindowTitle(tr("Page Details"));
    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);

    addLine(tr("Advertiser's site"), toQ(row.m_advertiser));
    addLine(tr("Page"), toQ(row.m_page));
    addLine(tr("Result"), toQ(row.statusText()));
    if (row.m_letter != LetterMark::None) {
        addLine(tr("Letter"), toQ(row.m_letterNote));
    }
    if (!row.m_evidence->m_checked) {
        addLine(tr("Verdict"), tr("not checked yet"));
    } else {
        for (const auto& [name, value] : evidenceFacts(row.m_evidence)) {
            addLine(QString::fromStdString(name), fromUtf8(value));
        }
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    layout->addWidget(buttons);
}

void PageDetailsDialog::addLine(const QString& name, const QString& value) {
    auto* label = new QLabel(value, this);
    label->setObjectName(name);
    label->setAccessibleDescription(name);  // its accessible name is its text
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    m_form->addRow(name + QLatin1Char(':'), label);
}

QString PageDetailsDialog::value(const QString& name) const {
    const auto* label = findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    return label != nullptr ? label->text() : QString();
}

}  // namespace tarnwick
