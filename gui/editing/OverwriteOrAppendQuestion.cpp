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
    setWindowTitle(tr("Overwrite/Append"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(tr(texts::kAppendQuestion), this);
    question->setWordWrap(true);
    // Two lines, as the form had them, whatever the font.
    question->setMinimumWidth(dluSize(219, 0).width());
    layout->addWidget(question);

    QPushButton* append = makeButton(this, kAppendButton, tr("&Append"));
    QPushButton* overwrite = makeButton(this, kOverwriteButton, tr("&Overwrite"));
    QPushButton* cancel = makeButton(this, kCancelButton, tr("Cancel"));
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
    } hiddenButtons[] = {{kHiddenOkButton, QT_TR_NOOP("OK")},
                         {kHiddenCancelButton, QT_TR_NOOP("Cancel")}};
    for (const auto& button : hiddenButtons) {
        QPushButton* hidden = makeButton(this, button.name, tr(button.text));
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
