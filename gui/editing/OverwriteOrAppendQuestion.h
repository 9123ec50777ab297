// The question titled "Overwrite/Append": the address was added before; the user
// appends the imported pages to its profile, overwrites it, or cancels.
#pragma once

#include <QDialog>

namespace tarnwick {

class OverwriteOrAppendQuestion : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kAppendButton[] = "appendButton";
    static constexpr char kOverwriteButton[] = "overwriteButton";
    static constexpr char kCancelButton[] = "cancelButton";
    static constexpr char kHiddenOkButton[] = "hiddenOkButton";
    static constexpr char kHiddenCancelButton[] = "hiddenCancelButton";

    enum { kAppend = 5, kOverwrite = 10 };

    explicit OverwriteOrAppendQuestion(QWidget* parent = nullptr);

    // 5 after Append, 10 after Overwrite (the dialog then closes with OK).
    int m_choice = 0;

private:
    void onChoice(int choice);
};

}  // namespace tarnwick
