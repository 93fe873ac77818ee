#pragma once
// The about box: program icon, product name and version, and an OK button.
#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kProductName = "ZR-740 NV";
    static constexpr const char* kVersion = "V1.03.01";

    explicit CAboutDlg(bool chinese, QWidget* parent = nullptr);
};
