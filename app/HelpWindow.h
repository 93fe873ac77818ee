#pragma once
// The user manual (Markdown with pictures, docs/manual.md in the data folder) shown rendered in a
// window of the program: what the Help command opens when there is no Vantic.chm.
#include <filesystem>

#include <QDialog>

class QTextBrowser;

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    CHelpWindow(const std::filesystem::path& manual, bool chinese, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }

    // The manual for the language in the data folder: docs/manual.zh_CN.md for Chinese when it
    // exists, docs/manual.md otherwise; empty when there is none.
    static std::filesystem::path ManualPath(const std::filesystem::path& dataDirectory, bool chinese);

private:
    QTextBrowser* browser_ = nullptr;
};
