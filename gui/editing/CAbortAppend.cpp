#include "gui/editing/CAbortAppend.h"

#include <QLabel>
#include <QPushButton>

#include "editing/EditingTexts.h"
#include "gui/editing/DialogUnits.h"
#include "gui/editing/MakeButton.h"

namespace tarnwick {

CAbortAppend::CAbortAppend(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("147"));
    setWindowTitle(QStringLiteral("Overwrite/Append"));
    setFixedSize(DluSize(233, 49));
    auto* question = new QLabel(QString::fromLatin1(texts::kAppendQuestion), this);
    question->setWordWrap(true);
    question->setGeometry(Dlu(7, 5, 219, 18));

    QPushButton* append = MakeButton(this, "1028", QStringLiteral("Append"), Dlu(36, 28, 50, 14));
    QPushButton* overwrite =
        MakeButton(this, "1029", QStringLiteral("Overwrite"), Dlu(91, 28, 50, 14));
    QPushButton* cancel = MakeButton(this, "1030", QStringLiteral("Cancel"), Dlu(146, 28, 50, 14));
    // The template's own OK and Cancel are never shown.
    for (const char* id : {"1", "2"}) {
        QPushButton* hidden = MakeButton(
            this, id, QString::fromLatin1(id[0] == '1' ? "OK" : "Cancel"), Dlu(0, 0, 1, 1));
        hidden->setEnabled(false);
        hidden->hide();
    }
    connect(append, &QPushButton::clicked, this, [this] { OnChoice(kAppend); });
    connect(overwrite, &QPushButton::clicked, this, [this] { OnChoice(kOverwrite); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CAbortAppend::OnChoice(int choice) {
    m_nChoice = choice;
    accept();
}

}  // namespace tarnwick
