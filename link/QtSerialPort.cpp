#include "link/QtSerialPort.h"

#include <sys/file.h>

#include <QSerialPort>
#include <filesystem>

QtSerialPort::QtSerialPort() = default;

QtSerialPort::~QtSerialPort() { Close(); }

bool QtSerialPort::Open(const std::string& device)
{
    Close();
    // A COMn link in the program directory is opened through its target, so the port's lock
    // carries the real device name that other programs lock too.
    std::error_code ec;
    std::filesystem::path path = device;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::canonical(path, ec);
        if (!ec)
            path = target;
    }
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(path.string()));
    if (!port_->open(QIODevice::ReadWrite))
        return false;
    // Hold an advisory lock as well: a port test of another instance sees the port as busy even
    // where the exclusive mode of the terminal does not apply (root).
    if (::flock(static_cast<int>(port_->handle()), LOCK_EX | LOCK_NB) != 0) {
        port_->close();
        return false;
    }
    const bool ok = port_->setBaudRate(kLinkBaudRate) && port_->setDataBits(QSerialPort::Data8) &&
                    port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
                    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        port_->close();
        return false;
    }
    return true;
}

void QtSerialPort::Close()
{
    if (port_ && port_->isOpen())
        port_->close();
}

bool QtSerialPort::IsOpen() const { return port_ && port_->isOpen(); }

std::size_t QtSerialPort::BytesWaiting()
{
    if (!IsOpen())
        return 0;
    port_->waitForReadyRead(0);  // moves what the device holds into the port's buffer
    return static_cast<std::size_t>(port_->bytesAvailable());
}

std::vector<std::uint8_t> QtSerialPort::ReadAll()
{
    if (!IsOpen())
        return {};
    port_->waitForReadyRead(0);
    const QByteArray data = port_->readAll();
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

bool QtSerialPort::Write(std::span<const std::uint8_t> bytes)
{
    if (!IsOpen())
        return false;
    const qint64 n = port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size()))
        return false;
    // No event loop runs here: push the bytes out now (a few seconds at most for 64 KiB).
    while (port_->bytesToWrite() > 0)
        if (!port_->waitForBytesWritten(5000))
            return false;
    return true;
}

std::string QtSerialPort::ErrorText() const { return port_ ? port_->errorString().toStdString() : std::string(); }

SerialPortFactory QtSerialPortFactory()
{
    return []() -> std::unique_ptr<SerialPort> { return std::make_unique<QtSerialPort>(); };
}
