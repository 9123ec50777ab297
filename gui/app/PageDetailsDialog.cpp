#include "gui/app/PageDetailsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/controls/TextCodec.h"

namespace tarnwick {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PageDetailsDialog::PageDetailsDialog(const ResultRow& row, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PageDetails"));
    setWindowTitle(QStringLiteral("Page Details"));
    auto* layout = new QVBoxLayout(this);
    m_pForm = new QFormLayout;
    layout->addLayout(m_pForm);

    AddLine(QStringLiteral("Advertiser's site"), ToQ(row.m_strAdvertiser));
    AddLine(QStringLiteral("Page"), ToQ(row.m_strPage));
    AddLine(QStringLiteral("Result"), ToQ(row.m_strStatus));
    if (row.m_eLetter != LetterMark::None) {
        AddLine(QStringLiteral("Letter"), ToQ(row.m_strLetterNote));
    }
    if (!row.m_evidence->m_bChecked) {
        AddLine(QStringLiteral("Verdict"), QStringLiteral("not checked yet"));
    } else {
        for (const auto& [name, value] : EvidenceFacts(row.m_evidence)) {
            AddLine(QString::fromStdString(name), FromUtf8(value));
        }
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    layout->addWidget(buttons);
}

void PageDetailsDialog::AddLine(const QString& name, const QString& value) {
    auto* label = new QLabel(value, this);
    label->setObjectName(name);
    label->setAccessibleDescription(name);  // its accessible name is its text
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    m_pForm->addRow(name + QLatin1Char(':'), label);
}

QString PageDetailsDialog::Value(const QString& name) const {
    const auto* label = findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    return label != nullptr ? label->text() : QString();
}

}  // namespace tarnwick
