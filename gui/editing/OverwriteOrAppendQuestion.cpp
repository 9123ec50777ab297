#include "gui/editing/OverwriteOrAppendQuestion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/EditingTexts.h"
#include "gui/controls/DialogLayout.h"
#include "gui/editing/MakeButton.h"

namespace tarnwick {

OverwriteOrAppendQuestion::OverwriteOrAppendQuestion(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("147"));
    setWindowTitle(QStringLiteral("Overwrite/Append"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QString::fromLatin1(texts::kAppendQuestion), this);
    question->setWordWrap(true);
    // Two lines, as the form had them, whatever the font.
    question->setMinimumWidth(dluSize(219, 0).width());
    layout->addWidget(question);

    QPushButton* append = makeButton(this, "1028", QStringLiteral("&Append"));
    QPushButton* overwrite = makeButton(this, "1029", QStringLiteral("&Overwrite"));
    QPushButton* cancel = makeButton(this, "1030", QStringLiteral("Cancel"));
    // Enter keeps the pages the profile has and adds the new ones.
    append->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {append, overwrite, cancel}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    // The template's own OK and Cancel are never shown.
    for (const char* id : {"1", "2"}) {
        QPushButton* hidden =
            makeButton(this, id, QString::fromLatin1(id[0] == '1' ? "OK" : "Cancel"));
        hidden->setEnabled(false);
        hidden->hide();
    }
    connect(append, &QPushButton::clicked, this, [this] { onChoice(kAppend); });
    connect(overwrite, &QPushButton::clicked, this, [this] { onChoice(kOverwrite); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    openAtLeast(this, dluSize(233, 49));
}

void OverwriteOrAppendQuestion::onChoice(int choice) {
    m_choice = choice;
    accept();
}

}  // namespace tarnwick
