// The "Save As.." dialog of the report prompt: the report format (HTML or
// text) and, on OK, the save-file dialog. Its result is ReportPath().
#pragma once

#include <QDialog>
#include <string>

class QPushButton;
class QRadioButton;

namespace tarnwick {

class ReportFormatDialog : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kHtmlRadio[] = "htmlRadio";
    static constexpr char kTextRadio[] = "textRadio";
    static constexpr char kOkButton[] = "okButton";

    // Filters and default names of the save-file dialog, per format.
    static const QString kHtmlFilter;
    static const QString kTextFilter;
    static const QString kHtmlDefaultName;
    static const QString kTextDefaultName;

    explicit ReportFormatDialog(QWidget* parent = nullptr);

    // The file chosen, as the file system spells it; empty when none was.
    const std::string& reportPath() const { return m_reportPath; }
    // Whether the HTML format is the one chosen now.
    bool isHtml() const { return m_html; }

    void onHtmlFormat();
    void onTextFormat();
    void onReportOk();
    void chooseReportFile();

private:
    void onInitDialog();

    QRadioButton* m_htmlButton = nullptr;
    QRadioButton* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_html = true;
    std::string m_reportPath;
};

}  // namespace tarnwick
