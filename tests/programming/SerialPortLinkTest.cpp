#include "programming/Frame.h"
#include "programming/SerialPortLink.h"
#include "programming/SteadyClock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace veskar {
namespace {

// The PC's side of a pseudo-terminal is the port; the test writes as the unit would.
class PtyPort {
  public:
    PtyPort() : master_(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            device_ = ::ptsname(master_);
    }
    ~PtyPort()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    [[nodiscard]] const std::string& device() const { return device_; }
    bool send(const std::vector<Byte>& bytes) const
    {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

  private:
    int master_;
    std::string device_;
};

// A loaded machine may serve the deadline before the port's notice of the
// reply; the reply must still come first.
TEST(SerialPortLinkTest, ReplyWaitingAtThePortIsHandedOverBeforeTheDeadline)
{
    const PtyPort unit;
    ASSERT_FALSE(unit.device().empty());
    SteadyClock clock;
    SerialPortLink link(unit.device(), clock);
    std::vector<std::string> events;
    link.setEvents({[&events](std::span<const Byte> bytes) { events.push_back("bytes " + std::to_string(bytes.size())); },
                    [] {}, [&events] { events.push_back("timer"); }, {}});
    std::string whyNot;
    ASSERT_TRUE(link.open(whyNot)) << whyNot;
    ASSERT_TRUE(unit.send(BuildFrame(kSourceUnit, kCmdAcknowledge, 0)));
    ::usleep(50'000); // in the system's buffer; no event has been served since

    link.timerExpired();
    EXPECT_EQ(events, (std::vector<std::string>{"bytes 7", "timer"}));
}

TEST(SerialPortLinkTest, ADeviceThatIsNoSerialPortIsNamedForWhatItIs)
{
    const PtyPort unit;
    const std::string folder = ::testing::TempDir();
    const std::string file = folder + "/not-a-port.txt";
    ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    const std::pair<std::string, std::string> cases[] = {
        {unit.device(), ""},
        {"/dev/null", "/dev/null is a device, but not a serial port."},
        {file, file + " is a file, not a serial port."},
        {folder, folder + " is a folder, not a serial port."},
    };
    for (const auto& [device, said] : cases)
        EXPECT_EQ(NotASerialPort(device), said) << device;
    ::unlink(file.c_str());
}

} // namespace
} // namespace veskar
