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
    setObjectName(QStringLiteral("OverwriteOrAppendQuestion"));
    setWindowTitle(QStringLiteral("Overwrite/Append"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QString::fromLatin1(texts::kAppendQuestion), this);
    question->setWordWrap(true);
    // Two lines, as the form had them, whatever the font.
    question->setMinimumWidth(dluSize(219, 0).width());
    layout->addWidget(question);

    QPushButton* append = makeButton(this, kAppendButton, QStringLiteral("&Append"));
    QPushButton* overwrite = makeButton(this, kOverwriteButton, QStringLiteral("&Overwrite"));
    QPushButton* cancel = makeButton(this, kCancelButton, QStringLiteral("Cancel"));
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
    const struct {
        const char* name;
        const char* text;
    } hiddenButtons[] = {{kHiddenOkButton, "OK"}, {kHiddenCancelButton, "Cancel"}};
    for (const auto& button : hiddenButtons) {
        QPushButton* hidden = makeButton(this, button.name, QString::fromLatin1(button.text));
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
