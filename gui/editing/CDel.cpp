#include "gui/editing/CDel.h"

#include <QLabel>
#include <QPushButton>

#include "common/ProductName.h"
#include "editing/EditingTexts.h"
#include "gui/editing/DialogUnits.h"

namespace tarnwick {

CDel::CDel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("168"));
    setWindowTitle(QLatin1String(kProductName));
    setFixedSize(DluSize(141, 46));
    auto* question = new QLabel(QString::fromLatin1(texts::kDeleteQuestion), this);
    question->setGeometry(Dlu(7, 7, 130, 10));

    auto* yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("1070"));
    yes->setGeometry(Dlu(22, 24, 45, 14));
    yes->setAutoDefault(false);
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("1045"));
    no->setGeometry(Dlu(74, 24, 45, 14));
    no->setDefault(true);
    no->setFocus();
    for (const char* id : {"1073", "1"}) {
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QString::fromLatin1(id));
        ok->setAutoDefault(false);
        ok->setEnabled(false);
        ok->hide();
    }
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tarnwick
