#pragma once

// The serial line over QSerialPort and the Qt event loop: bytes, write
// completion and deadlines come back as calls to the handlers set in Events.

#include "programming/SerialLink.h"
#include "programming/TransferEngine.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <functional>
#include <string>

namespace veskar {

class SerialPortLink final : public QObject, public SerialLink {
    Q_OBJECT

  public:
    struct Events {
        std::function<void(std::span<const Byte>)> bytesArrived;
        std::function<void()> writeFinished;
        std::function<void()> timerFired;
        // The port failed for good and has been closed; says why, for the user.
        std::function<void(const std::string& why)> lost;
    };

    SerialPortLink(std::string device, const Clock& clock, QObject* parent = nullptr);
    ~SerialPortLink() override;

    void setEvents(Events events) { events_ = std::move(events); }
    // Takes effect at the next open; closes the port when it is open.
    void setDevice(std::string device);
    [[nodiscard]] const std::string& device() const { return device_; }

    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] bool open(std::string& whyNot) override;
    void close() override;
    void write(std::span<const Byte> frame) override;
    void purge(unsigned purgeFlags) override;
    void armTimer(Tick at) override;

    // What the timer does when it expires. Bytes already waiting at the port
    // are handed over first: on a loaded machine the timer can be served before
    // the port's own notice, and a reply that has arrived is no silence.
    void timerExpired();

  private:
    void readArrived();
    void bytesWritten();
    void portError(QSerialPort::SerialPortError error);

    std::string device_;
    const Clock& clock_;
    QSerialPort port_;
    QTimer timer_;
    Events events_;
};

// Why `device` cannot be the unit's port ("/dev/null is a device, but not a
// serial port."), or empty when it may be one.
[[nodiscard]] std::string NotASerialPort(const std::string& device);

// The line's events, routed into the transfer engine.
[[nodiscard]] SerialPortLink::Events EngineEvents(TransferEngine& engine);

// What to tell the user when a device cannot be opened; empty when there is
// nothing useful to add to "Error opening COM port".
// `accessible`: the device's permissions let this user read and write it, so a
// refusal means another program holds it.
[[nodiscard]] std::string OpenFailureAdvice(QSerialPort::SerialPortError error, const std::string& device,
                                            bool accessible);

} // namespace veskar
