#include "programming/SerialPortLink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veskar {

namespace {

bool HungUp(int descriptor)
{
    pollfd watched{descriptor, POLLIN, 0};
    return ::poll(&watched, 1, 0) == 1 && (watched.revents & POLLHUP) != 0;
}

} // namespace

std::string NotASerialPort(const std::string& device)
{
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0)
        return {}; // missing: Qt's own error says so
    if (S_ISDIR(info.st_mode))
        return device + " is a folder, not a serial port.";
    if (S_ISREG(info.st_mode))
        return device + " is a file, not a serial port.";
    if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
        return device + " is a pipe, not a serial port.";
    const int descriptor = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {}; // in use or no permission: told from Qt's error
    const bool terminal = ::isatty(descriptor) == 1;
    ::close(descriptor);
    return terminal ? std::string() : device + " is a device, but not a serial port.";
}

SerialPortLink::SerialPortLink(std::string device, const Clock& clock, QObject* parent)
    : QObject(parent), device_(std::move(device)), clock_(clock)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SerialPortLink::timerExpired);
    connect(&port_, &QSerialPort::readyRead, this, &SerialPortLink::readArrived);
    connect(&port_, &QSerialPort::bytesWritten, this, &SerialPortLink::bytesWritten);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialPortLink::portError);
}

SerialPortLink::~SerialPortLink()
{
    close();
}

void SerialPortLink::setDevice(std::string device)
{
    close();
    device_ = std::move(device);
}

bool SerialPortLink::isOpen() const
{
    return port_.isOpen();
}

bool SerialPortLink::open(std::string& whyNot)
{
    whyNot = NotASerialPort(device_);
    if (!whyNot.empty())
        return false;
    port_.setPortName(QString::fromStdString(device_));
    if (!port_.open(QIODevice::ReadWrite)) {
        whyNot = OpenFailureAdvice(port_.error(), device_, ::access(device_.c_str(), R_OK | W_OK) == 0);
        return false;
    }
    const bool configured = port_.setBaudRate(QSerialPort::Baud38400) &&
                            port_.setDataBits(QSerialPort::Data8) && port_.setParity(QSerialPort::NoParity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        whyNot = device_ + " does not accept 38400 baud 8N1: " + port_.errorString().toStdString();
        port_.close();
        return false;
    }
    // Modem lines do not exist on every device (pseudo-terminals, some adapters):
    // the unit does not need them to talk, so a refusal here is not fatal.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(false);
    port_.clearError();
    return true;
}

void SerialPortLink::close()
{
    timer_.stop();
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::AllDirections);
    port_.close();
}

void SerialPortLink::write(std::span<const Byte> frame)
{
    if (!port_.isOpen())
        return; // the missing reply makes the protocol retry
    port_.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
}

void SerialPortLink::purge(unsigned purgeFlags)
{
    if (!port_.isOpen())
        return;
    // Reads are never left pending here: every byte is handed on as it arrives,
    // so abandoning a read needs nothing from the port.
    if (purgeFlags & kPurgeRxClear) {
        port_.clear(QSerialPort::Input);
        port_.readAll();
    }
    if (purgeFlags & kPurgeTxClear)
        port_.clear(QSerialPort::Output);
}

void SerialPortLink::armTimer(Tick at)
{
    // A deadline has passed once the tick is past it, hence the extra millisecond.
    const auto wait = static_cast<std::int32_t>(at - clock_.now()) + 1;
    timer_.start(std::max(wait, 0));
}

void SerialPortLink::timerExpired()
{
    if (port_.isOpen())
        port_.waitForReadyRead(0); // reads what the system holds; emits readyRead if anything came
    readArrived();
    if (events_.timerFired)
        events_.timerFired();
}

void SerialPortLink::readArrived()
{
    if (!port_.isOpen())
        return;
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty() || !events_.bytesArrived)
        return;
    events_.bytesArrived(
        {reinterpret_cast<const Byte*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
}

void SerialPortLink::bytesWritten()
{
    if (port_.bytesToWrite() == 0 && events_.writeFinished)
        events_.writeFinished();
}

void SerialPortLink::portError(QSerialPort::SerialPortError error)
{
    // A device that went away (adapter pulled out, the other end of a
    // pseudo-terminal closed) is closed at once, so nothing more is read from
    // or written to it and the next transfer opens it afresh. Passing errors
    // (a read or write that failed once) are left to the reply deadline.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port_.isOpen())
        return;
    // The other end of a pseudo-terminal closing reads as end of file, which
    // Qt reports as a plain read error: the hang-up tells it apart.
    if (error != QSerialPort::ResourceError && !HungUp(port_.handle()))
        return;
    timer_.stop();
    port_.close();
    const std::string why = device_ + " is no longer there (unplugged, switched off or closed at the other end).";
    // Told from the event loop, never from inside a call the engine is making.
    QMetaObject::invokeMethod(
        this, [this, why] {
            if (events_.lost)
                events_.lost(why);
        },
        Qt::QueuedConnection);
}

SerialPortLink::Events EngineEvents(TransferEngine& engine)
{
    return {[&engine](std::span<const Byte> bytes) { engine.bytesArrived(bytes); },
            [&engine] { engine.writeFinished(); }, [&engine] { engine.timerFired(); },
            [&engine](const std::string& why) { engine.lineLost(why); }};
}

std::string OpenFailureAdvice(QSerialPort::SerialPortError error, const std::string& device, bool accessible)
{
    switch (error) {
    case QSerialPort::PermissionError:
        // Qt reports a port locked by another program as a permission error too.
        if (accessible)
            return device + " is in use by another program.";
        return "No permission to use " + device +
               ". Add yourself to the group that owns it, usually dialout: "
               "sudo usermod -aG dialout $USER, then log out and in again.";
    case QSerialPort::DeviceNotFoundError:
        return "There is no device " + device +
               ". Pick another port, or set the device for it in the [Ports] group "
               "of CorvaneVeskar.ini, e.g. COM1=/dev/ttyUSB0.";
    default: return {};
    }
}

} // namespace veskar
