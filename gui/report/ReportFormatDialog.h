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
    // Filters and default names of the save-file dialog, per format.
    static const QString kHtmlFilter;
    static const QString kTextFilter;
    static const QString kHtmlDefaultName;
    static const QString kTextDefaultName;

    explicit ReportFormatDialog(QWidget* parent = nullptr);

    // The file chosen, as the file system spells it; empty when none was.
    const std::string& ReportPath() const { return m_strReportPath; }
    // Whether the HTML format is the one chosen now.
    bool IsHtml() const { return m_bHtml; }

    void OnHtmlFormat();
    void OnTextFormat();
    void OnReportOk();
    void ChooseReportFile();

private:
    void OnInitDialog();

    QRadioButton* m_pHtml = nullptr;
    QRadioButton* m_pText = nullptr;
    QPushButton* m_pOk = nullptr;
    bool m_bHtml = true;
    std::string m_strReportPath;
};

}  // namespace tarnwick
