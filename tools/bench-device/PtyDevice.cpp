// The device's end of a pseudo-terminal, with the optional link the recorder opens as COM<n>.
#include "PtyDevice.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

PtyDevice::~PtyDevice()
{
    close();
}

bool PtyDevice::open(std::string &error)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        error = systemError("cannot open a pseudo-terminal");
        return false;
    }
    m_slavePath = name;
    const int flags = fcntl(m_master, F_GETFL);
    if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0
        || fcntl(m_master, F_SETFD, FD_CLOEXEC) != 0 || fcntl(m_slave, F_SETFD, FD_CLOEXEC) != 0) {
        error = systemError("cannot set up the pseudo-terminal");
        return false;
    }
    return true;
}

bool PtyDevice::makeLink(const std::string &path, std::string &error)
{
    struct stat info{};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        error = path + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    // Through a temporary name and rename(), so the link is replaced in one step.
    const std::string temporary = path + ".bench-device." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(m_slavePath.c_str(), temporary.c_str()) != 0) {
        error = systemError("cannot make the link " + path);
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = systemError("cannot make the link " + path);
        ::unlink(temporary.c_str());
        return false;
    }
    m_link = path;
    return true;
}

int PtyDevice::queued() const
{
    int n = 0;
    if (m_slave < 0 || ::ioctl(m_slave, TIOCINQ, &n) != 0)
        return 0;
    return n;
}

void PtyDevice::dropQueued()
{
    if (m_slave >= 0)
        ::tcflush(m_slave, TCIFLUSH);
}

void PtyDevice::hangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PtyDevice::close()
{
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
    if (!m_link.empty()) {
        // Another device may have taken the name over since; leave its link alone.
        char target[4096];
        const ssize_t n = ::readlink(m_link.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, size_t(n)) == m_slavePath)
            ::unlink(m_link.c_str());
        m_link.clear();
    }
}
