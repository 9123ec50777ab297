// "Do you want to exit from Osgrel Tarnwick Ambrel ? ": the exit confirmation.
// OK opens the product's web site and closes with OK; Cancel, Esc and the
// close box close with Cancel.
#pragma once

#include <QDialog>

namespace tarnwick {

class ConfirmExitDialog : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kOkButton[] = "okButton";
    static constexpr char kCancelButton[] = "cancelButton";

    explicit ConfirmExitDialog(QWidget* parent = nullptr);

    void onOk();
};

}  // namespace tarnwick
