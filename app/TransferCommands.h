#pragma once
// The main window's radio commands: read and write (with the codeplug check before a write),
// radio information, the port, the radio's password and the adjustment values. Each opens its
// dialog through the main window, so tests can see which dialog a command opens.
#include <QObject>

#include "link/CDialog_RW.h"

class MainWindowHost;
class CVanticApp;

class TransferCommands : public QObject {
    Q_OBJECT
public:
    TransferCommands(MainWindowHost& frame, CVanticApp& app);

    void OnRead();
    void OnWrite();
    // Runs the codeplug check; with errors lists them and asks whether to write anyway.
    bool CheckBeforeWrite();
    void RunTransferDialog(CDialog_RW::Mode mode);
    void OnRadioInfo();
    void OnSetPort();
    void OnPasswordSet();
    void OnAdjustValue();

private:
    MainWindowHost& frame_;
    CVanticApp& app_;
};
