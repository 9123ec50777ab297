// "Do you want to save report before exit?": asked when the user leaves while
// a run is in progress and its report is not saved. Yes stops the run (which
// offers the report) and closes with OK; No closes with OK; Cancel, Esc and
// the close box close with Cancel.
#pragma once

#include <QDialog>
#include <functional>

namespace tarnwick {

class SaveReportQuestion : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kYesButton[] = "yesButton";
    static constexpr char kNoButton[] = "noButton";
    static constexpr char kCancelButton[] = "cancelButton";

    explicit SaveReportQuestion(std::function<void()> onStop, QWidget* parent = nullptr);

    void onYes();
    void onNo();

private:
    std::function<void()> m_stop;
};

}  // namespace tarnwick
