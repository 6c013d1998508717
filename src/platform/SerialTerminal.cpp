#include "platform/SerialTerminal.h"

#include <termios.h>

namespace {

speed_t speedOf(int speed) {
    switch (speed) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

tcflag_t sizeOf(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

} // namespace

bool SetSerialLine(int fd, const SerialLine& line) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= sizeOf(line.dataBits) | CLOCAL | CREAD;
    if (line.parity != 'N') t.c_cflag |= PARENB;
    if (line.parity == 'O') t.c_cflag |= PARODD;
    if (line.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cflag &= ~CRTSCTS;
    if (line.flow == 'H') t.c_cflag |= CRTSCTS;
    if (line.flow == 'X') t.c_iflag |= IXON | IXOFF;
    if (::cfsetispeed(&t, speedOf(line.speed)) != 0 || ::cfsetospeed(&t, speedOf(line.speed)) != 0)
        return false;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}
