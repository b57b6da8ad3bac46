// The device's end of a pseudo-terminal. The recorder opens the slave side (directly or through
// a symbolic link such as run/COM1); the device writes and reads the master side.
#pragma once

#include <string>

class PtyDevice
{
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    // Opens the pair with the slave raw (8 data bits, no parity, no echo, no signal characters,
    // so that ETX is data). The master is non-blocking. The device keeps a slave descriptor of
    // its own, so the recorder can open and close the port at will without a hang-up.
    bool open(std::string &error);
    // Makes path a symbolic link to the slave, replacing an existing link (never another kind of
    // file). The link is removed again at close if it still points to this slave.
    bool makeLink(const std::string &path, std::string &error);

    const std::string &slavePath() const { return m_slavePath; }
    int master() const { return m_master; }
    bool isOpen() const { return m_master >= 0; }

    // Bytes sent but not yet read on the slave side. Only what the line discipline holds: bytes
    // still on their way through the kernel are not counted.
    int queued() const;
    // Throws away the bytes nobody read.
    void dropQueued();

    // Closes the master side: whoever has the slave open sees a hang-up.
    void hangUp();
    // Hangs up, closes the slave and removes the link.
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_link;
};
