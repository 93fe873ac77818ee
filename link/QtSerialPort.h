#pragma once
// SerialPort on QSerialPort. A QSerialPort belongs to the thread that created it: create it
// (through QtSerialPortFactory) on the thread that uses it. Without an event loop its buffers
// move only inside waitFor... calls, so every poll runs waitForReadyRead(0) first and every
// write waits until the bytes have left.
#include <memory>

#include "link/SerialPort.h"

class QSerialPort;

class QtSerialPort final : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override;
    std::size_t BytesWaiting() override;
    std::vector<std::uint8_t> ReadAll() override;
    bool Write(std::span<const std::uint8_t> bytes) override;

    // The last error text of the underlying port.
    std::string ErrorText() const;

private:
    std::unique_ptr<QSerialPort> port_;
};

SerialPortFactory QtSerialPortFactory();
